#include "model/arrange.h"

#include "model/editing.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"

#include <vector>

namespace kelvara {

namespace {

// Gives each row the number `numberFor` returns, journaling only rows that
// change; the list shows group numbers, so it is rebuilt after.
template <typename NumberFor>
int32_t regroup(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows,
                NumberFor numberFor)
{
    UndoStep step(ws, platform);
    step.willChangeList();
    step.willSaveRowImages(int(rows.size()));
    if (!step.open())
        return 0;
    int32_t count = 0;
    for (int32_t row : rows) {
        const int32_t group = numberFor(row);
        ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
        if (entry.group == group)
            continue;
        // Undo replays newest first: the list is rebuilt after the rows are back.
        if (count == 0)
            step.listRefill();
        step.rowImage(row);
        entry.group = group;
        ++count;
    }
    if (count > 0) {
        refillObjectList(ws, platform);
        showSelectionInList(ws, platform);
        markDesignChanged(ws);
    }
    return count;
}

} // namespace

int32_t takeGroupNumber(Workspace& ws)
{
    int32_t& counter = ws.table.groupCounter;
    counter = counter < INT32_MAX && counter >= 0 ? counter + 1 : 1;
    return counter;
}

int32_t groupSelection(Workspace& ws, const Platform& platform)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.empty())
        return 0;
    const int32_t group = takeGroupNumber(ws);
    return regroup(ws, platform, rows, [&](int32_t) { return group; });
}

int32_t ungroupSelection(Workspace& ws, const Platform& platform)
{
    return regroup(ws, platform, selectedRows(ws), [&](int32_t) { return takeGroupNumber(ws); });
}

} // namespace kelvara
