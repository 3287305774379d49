#include "model/editing.h"

#include "model/refresh.h"
#include "model/undostep.h"
#include "model/workspace.h"

namespace kelvara {

bool arrangeObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& arranged)
{
    ObjectTable& table = ws.table;
    if (arranged.empty() || std::ssize(arranged) != table.objectCount)
        return false;
    // Only rows whose links really change are journaled, each once and
    // before it changes; the step begins with the first of them, so an
    // order that changes nothing leaves no step for Undo to spend.
    UndoStep step(ws, platform);
    step.willChangeList();
    step.willSaveRowImages(int(arranged.size()));
    if (!step.open())
        return false;
    ws.drop.rowRecorded.fill(false);
    bool stepStarted = false;
    for (std::size_t i = 0; i < arranged.size(); ++i) {
        const int32_t row = arranged[i];
        const int32_t prev = i > 0 ? arranged[i - 1] : -1;
        const int32_t next = i + 1 < arranged.size() ? arranged[i + 1] : -1;
        ObjectEntry& entry = table.rows[row];
        if (entry.prev == prev && entry.next == next)
            continue;
        if (!stepStarted) {
            step.listRefill();
            stepStarted = true;
        }
        if (!ws.drop.rowRecorded[row]) {
            step.rowImage(row);
            ws.drop.rowRecorded[row] = true;
        }
        entry.prev = prev;
        entry.next = next;
    }
    if (!stepStarted)
        return false;
    table.firstObject = arranged.front();
    // The stitch order follows the links, so the stitch view is stale.
    markDesignChanged(ws);
    refillObjectList(ws, platform);
    return true;
}

} // namespace kelvara
