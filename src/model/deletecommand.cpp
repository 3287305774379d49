#include "model/editing.h"

#include "model/refresh.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <string>
#include <vector>

namespace kelvara {

void deleteRowInStep(Workspace& ws, const Platform& platform, UndoStep& step, int32_t r)
{
    ObjectTable& table = ws.table;
    ObjectEntry& entry = table.rows[r];

    step.recordBytes(r);
    step.rowImage(r);

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
    if (prev != -1)
        step.rowImage(prev);
    if (next != -1)
        step.rowImage(next);
    unlinkRow(table, r);
    if (next != -1)
        table.currentObject = next;
    else if (prev != -1)
        table.currentObject = prev;

    step.listReinsert(q, text);
    if (platform.list != nullptr && q < platform.list->count())
        platform.list->deleteString(q);

    --table.objectCount;
    if (table.objectCount == 0) {
        table.firstObject = 0;
        table.currentObject = -1;
    }
}

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
    // Each row's record, its row image and its neighbours', and its line.
    UndoStep step(ws, platform);
    if (rows.size() > 1)
        step.willSaveCurrentObject();
    for (int32_t row : rows) {
        step.willSaveRecord(row);
        step.willSaveRowImages(3);
        step.willSaveListLine();
    }
    if (!step.open())
        return false;
    // Undo revives the rows newest first, each becoming current: the object
    // the user had picked must be current again after them.
    if (rows.size() > 1)
        step.currentObject();
    // The row's selection bit stays: a freed row does not count, and Undo
    // brings it back selected, as its list line comes back.
    for (int32_t row : rows)
        deleteRowInStep(ws, platform, step, row);
    markDesignChanged(ws);
    return true;
}

} // namespace kelvara
