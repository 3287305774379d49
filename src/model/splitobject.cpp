#include "model/splitobject.h"

#include "model/curvesplit.h"
#include "model/kinds/kind.h"
#include "model/refresh.h"
#include "model/refusal.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

int32_t splitObjectAt(Workspace& ws, const Platform& platform, int32_t row, double t)
{
    ObjectTable& table = ws.table;
    if (row < 0 || row >= ObjectTable::kRows)
        return -1;
    const ObjectEntry& entry = table.rows[row];
    if (!recordSizeFits(entry.kind, entry.paramsSize) || !ws.records.isLive(entry.params))
        return -1;
    ObjectParams first, second;
    if (!splitRecord(entry.kind, ws.records[entry.params], t, first, second))
        return -1;
    if (table.objectCount >= ObjectTable::kRows || findFreeRow(table) < 0 ||
        ws.records.liveCount() >= RecordStore::kSlots) {
        showRefusal(ws, platform, Outcome(kSlotNoRoomToSplit));
        return -1;
    }

    // The new line goes right after the cut object's line.
    const int32_t r = findFreeRow(table);
    const int32_t p = displayPosition(table, row);
    const int32_t successor = entry.next;
    UndoStep step(ws, platform);
    step.willChangeList();
    step.willSaveRowImages(3);
    step.willSaveCurrentObject();
    step.willSaveRecord(row);
    if (!step.open())
        return -1;
    step.listDelete(p);
    step.rowImage(r);
    step.rowImage(row);
    if (successor >= 0)
        step.rowImage(successor);
    step.currentObject();
    step.recordBytes(row);

    const int32_t kind = entry.kind;
    const int32_t handle = ws.records.allocate(entry.paramsSize);
    ObjectEntry& added = table.rows[r];
    added.kind = kind;
    added.params = handle;
    added.paramsSize = entry.paramsSize;
    added.group = entry.group;
    insertAfter(table, r, row);
    ++table.objectCount;
    ws.records[table.rows[row].params] = first;
    ws.records[handle] = second;

    if (ListBox* list = platform.list) {
        // The numbering continues from the cut object's line.
        ws.numbering.firstLinePending = 0;
        ws.numbering.listNumber = p;
        ws.numbering.lastLineColour = objectColour(table.rows[row], ws.records);
        const std::string text = listLine(ws, ws.numbering, r);
        int position = p;
        if (added.next == -1)
            position = list->addString(text);
        else
            list->insertString(p, text);
        list->setItemData(position, r);
    }
    setSelected(ws, row, true);
    setSelected(ws, r, true);
    showSelectionInList(ws, platform);
    markDesignChanged(ws);
    return r;
}

} // namespace kelvara
