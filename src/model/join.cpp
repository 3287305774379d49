#include "model/arrange.h"

#include "model/editing.h"
#include "model/objectplace.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"

#include <cstring>
#include <optional>
#include <vector>

namespace kelvara {

int32_t joinSelection(Workspace& ws, const Platform& platform)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.size() < 2)
        return 0;
    if (joinIntoStroke(ws, platform))
        return 1;
    UndoStep step(ws, platform);
    step.willChangeList();
    for (int32_t row : rows) {
        step.willSaveRecord(row);
        step.willSaveRowImages();
    }
    if (!step.open())
        return 0;

    const int32_t group = takeGroupNumber(ws);
    bool stepStarted = false;
    const auto startStep = [&] {
        // Undo replays newest first: the list is rebuilt after the rows are back.
        if (!stepStarted)
            step.listRefill();
        stepStarted = true;
    };

    int32_t count = 0;
    std::optional<PlacePoint> previousEnd;
    for (int32_t row : rows) {
        ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
        if (!ws.records.isLive(entry.params))
            continue;
        ObjectParams& params = ws.records[entry.params];
        bool changed = false;
        if (previousEnd) {
            ObjectParams moved = params;
            if (moveStartTo(entry.kind, moved, *previousEnd) &&
                std::memcmp(moved.bytes, params.bytes, size_t(entry.paramsSize)) != 0) {
                startStep();
                step.recordBytes(row);
                params = moved;
                changed = true;
            }
        }
        if (entry.group != group) {
            startStep();
            step.rowImage(row);
            entry.group = group;
            changed = true;
        }
        count += changed ? 1 : 0;
        previousEnd = objectEnd(entry.kind, params);
    }
    if (count > 0) {
        refillObjectList(ws, platform);
        showSelectionInList(ws, platform);
        markDesignChanged(ws);
    }
    return count;
}

} // namespace kelvara
