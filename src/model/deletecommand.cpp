#include "model/editing.h"

#include "model/journal.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <string>

namespace kelvara {

void deleteCurrent(Workspace& ws, const Platform& platform)
{
    if (ws.input.shiftDown != 0) {
        if (ws.picture.loaded()) {
            releaseBackgroundPicture(ws.picture);
            markCanvasChanged(ws);
        }
        return;
    }

    ObjectTable& table = ws.table;
    const int32_t r = table.currentObject;
    if (r < 0 || r >= ObjectTable::kRows || table.rows[r].kind == KindFree)
        return;
    ObjectEntry& entry = table.rows[r];

    journalRecordBytes(ws, r, JournalStep::Starts);
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
    markDesignChanged(ws);
}

} // namespace kelvara
