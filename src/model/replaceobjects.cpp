#include "model/replaceobjects.h"

#include "model/editing.h"
#include "model/kinds/kind.h"
#include "model/refresh.h"
#include "model/refusal.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <cstring>

namespace kelvara {

TransformResult replaceObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows,
                               const std::vector<std::vector<ReplacingObject>>& objects)
{
    ObjectTable& table = ws.table;
    int64_t added = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (objects[i].empty())
            return TransformResult::Unchanged;
        added += int64_t(objects[i].size()) - 1;
    }
    int64_t freeRows = 0;
    for (const ObjectEntry& e : table.rows)
        freeRows += e.kind == KindFree;
    if (table.objectCount + added > ObjectTable::kRows || freeRows < added ||
        ws.records.liveCount() + added > RecordStore::kSlots) {
        showRefusal(ws, platform, Outcome(kSlotNoRoomToConvert));
        return TransformResult::Refused;
    }
    // Each row, each new row, and the row after them whose link changes.
    UndoStep step(ws, platform);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        step.willSaveRecord(rows[i]);
        step.willSaveRowImages(int(2 * objects[i].size()));
    }
    step.willChangeList();
    step.willSaveCurrentObject();
    if (!step.open())
        return TransformResult::Refused;
    // Undo replays newest first: the list is rebuilt after the rows are back.
    step.listRefill();
    step.currentObject();
    clearSelection(ws);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int32_t row = rows[i];
        ObjectEntry& e = table.rows[row];
        // The bytes first: Undo gives the row its kind and size back before
        // the record's bytes, at that size, come back.
        step.recordBytes(row);
        step.rowImage(row);
        e.kind = objects[i].front().kind;
        e.paramsSize = kindRow(e.kind)->size;
        std::memcpy(ws.records.bytes(e.params), objects[i].front().params.bytes, std::size_t(e.paramsSize));
        setSelected(ws, row, true);
        int32_t anchor = row;
        for (std::size_t k = 1; k < objects[i].size(); ++k) {
            const ReplacingObject& object = objects[i][k];
            const int32_t r = findFreeRow(table);
            step.rowImage(r);
            if (const int32_t successor = table.rows[anchor].next; successor >= 0)
                step.rowImage(successor);
            const int32_t size = kindRow(object.kind)->size;
            const int32_t handle = ws.records.allocate(size);
            ObjectEntry& n = table.rows[r];
            n.kind = object.kind;
            n.params = handle;
            n.paramsSize = size;
            n.group = table.rows[row].group;
            insertAfter(table, r, anchor);
            ++table.objectCount;
            std::memcpy(ws.records.bytes(handle), object.params.bytes, std::size_t(size));
            setSelected(ws, r, true);
            anchor = r;
        }
    }
    refillObjectList(ws, platform);
    showSelectionInList(ws, platform);
    markDesignChanged(ws);
    return TransformResult::Applied;
}

} // namespace kelvara
