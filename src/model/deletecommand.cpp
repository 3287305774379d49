#include "model/editing.h"

#include "model/journal.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <string>
#include <vector>

namespace kelvara {

namespace {

// Removes used row `r`, its record and its list line, journaled so that Undo
// brings all three back; its neighbours are linked to each other.
void deleteRow(Workspace& ws, const Platform& platform, int32_t r, JournalStep step)
{
    ObjectTable& table = ws.table;
    ObjectEntry& entry = table.rows[r];

    journalRecordBytes(ws, r, step);
    journalRowImage(ws, r, JournalStep::Continues);

    entry.kind = KindFree;
    ws.records.release(entry.params);
    entry.params = 0;
    entry.paramsSize = 0;

    // The deleted object's line: its place in the display order.
    int32_t q = 0;
    for (int32_t row : DisplayOrder(table)) {
        if (row == r)
            break;
        ++q;
    }
    std::string text = platform.list != nullptr ? platform.list->text(q) : std::string();

    const int32_t prev = entry.prev;
    const int32_t next = entry.next;
    if (prev != -1) {
        journalRowImage(ws, prev, JournalStep::Continues);
        table.rows[prev].next = next;
    }
    if (table.firstObject == r)
        table.firstObject = next;
    if (next != -1) {
        table.currentObject = next;
        journalRowImage(ws, next, JournalStep::Continues);
        table.rows[next].prev = prev;
    } else if (prev != -1) {
        table.currentObject = prev;
    }
    entry.prev = -1;
    entry.next = -1;

    journalListReinsert(ws, q, text, JournalStep::Continues);
    if (platform.list != nullptr && q < platform.list->count())
        platform.list->deleteString(q);

    --table.objectCount;
    if (table.objectCount == 0) {
        table.firstObject = 0;
        table.currentObject = -1;
    }
}

// The journal bytes deleting `rows` takes: each row's record, its row image
// and its neighbours', and its list line.
int64_t deletionJournalBytes(const Workspace& ws, const std::vector<int32_t>& rows)
{
    int64_t bytes = UndoJournal::recordLength(int32_t(sizeof(int32_t))); // the current object
    for (int32_t row : rows)
        bytes += UndoJournal::recordLength(ws.table.rows[row].paramsSize) +
                 3 * UndoJournal::recordLength(int32_t(sizeof(ObjectEntry))) + UndoJournal::recordLength(64);
    return bytes;
}

} // namespace

void deleteCurrent(Workspace& ws, const Platform& platform)
{
    if (ws.input.shiftDown != 0) {
        if (ws.picture.loaded()) {
            releaseBackgroundPicture(ws.picture);
            markCanvasChanged(ws);
        }
        return;
    }

    // The current object is the one picked last: with it, the whole
    // selection goes as one step. A current object outside the selection
    // (the successor a deletion leaves current) goes alone.
    const int32_t current = ws.table.currentObject;
    if (current < 0 || current >= ObjectTable::kRows || ws.table.rows[current].kind == KindFree)
        return;
    const std::vector<int32_t> rows =
        isSelected(ws, current) ? selectedRows(ws) : std::vector<int32_t>{current};
    deleteObjects(ws, platform, rows);
}

bool deleteObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows)
{
    if (rows.empty())
        return false;
    // A deletion Undo could bring back only in part is refused whole.
    if (deletionJournalBytes(ws, rows) > UndoJournal::kSize) {
        if (platform.boxes != nullptr)
            platform.boxes->showError(message(ws, kSlotErrorCaption),
                                      "Too many objects to delete in one step that can be undone. "
                                      "Select fewer objects and delete again.");
        return false;
    }
    JournalStep step = JournalStep::Starts;
    // Undo revives the rows newest first, each becoming current: the object
    // the user had picked must be current again after them.
    if (rows.size() > 1) {
        journalCurrentObject(ws, step);
        step = JournalStep::Continues;
    }
    for (int32_t row : rows) {
        // The row's selection bit stays: a freed row does not count, and
        // Undo brings it back selected, as its list line comes back.
        deleteRow(ws, platform, row, step);
        step = JournalStep::Continues;
    }
    markDesignChanged(ws);
    return true;
}

} // namespace kelvara
