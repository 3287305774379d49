#include "model/editing.h"

#include "model/arrange.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <unordered_map>
#include <vector>

namespace kelvara {

namespace {

constexpr int32_t kRows = ObjectTable::kRows;

// Rows of the selected lines in list order, each once, used rows only.
std::vector<int32_t> selectedLineRows(const ObjectTable& table, const ListBox& list)
{
    std::vector<int32_t> rows;
    std::vector<bool> seen(kRows, false);
    for (int position : list.selectedPositions()) {
        const int32_t row = list.itemData(position);
        if (row < 0 || row >= kRows || table.rows[row].kind == KindFree || seen[row])
            continue;
        seen[row] = true;
        rows.push_back(row);
    }
    return rows;
}

// Selected ungrouped objects first, then every object of each group met
// among the selection (in order of first meeting), each group in display
// order.
std::vector<int32_t> expandToGroups(const ObjectTable& table, const std::vector<int32_t>& order,
                                    const std::vector<int32_t>& selected)
{
    std::vector<int32_t> block;
    std::unordered_map<int32_t, size_t> groupIndex;
    for (int32_t row : selected) {
        const int32_t group = table.rows[row].group;
        if (group == 0)
            block.push_back(row);
        else
            groupIndex.emplace(group, groupIndex.size());
    }
    std::vector<std::vector<int32_t>> members(groupIndex.size());
    for (int32_t row : order) {
        const int32_t group = table.rows[row].group;
        if (group == 0)
            continue;
        if (auto found = groupIndex.find(group); found != groupIndex.end())
            members[found->second].push_back(row);
    }
    for (const auto& group : members)
        block.insert(block.end(), group.begin(), group.end());
    return block;
}

} // namespace

void dropObjects(Workspace& ws, const Platform& platform, int32_t target)
{
    ObjectTable& table = ws.table;
    ListBox* list = platform.list;
    if (table.objectCount < 2 || list == nullptr)
        return;
    ws.drop.dragTarget = target;
    if (target < 0)
        return;

    const std::vector<int32_t> selected = selectedLineRows(table, *list);
    const std::vector<int32_t> block =
        ws.input.shiftDown != 0 ? expandToGroups(table, displayOrderRows(table), selected) : selected;
    moveBlock(ws, platform, block, target);
}

bool moveBlock(Workspace& ws, const Platform& platform, const std::vector<int32_t>& block, int32_t target)
{
    if (!block.empty() && target >= 0) {
        const std::vector<int32_t> order = displayOrderRows(ws.table);
        std::vector<bool> moved(kRows, false);
        for (int32_t row : block)
            moved[row] = true;

        // The block goes before the object shown at the target line, or
        // before the first unmoved object after it; at the end when none.
        size_t at = static_cast<size_t>(target);
        while (at < order.size() && moved[order[at]])
            ++at;
        const int32_t before = at < order.size() ? order[at] : -1;

        std::vector<int32_t> arranged;
        arranged.reserve(order.size());
        for (int32_t row : order) {
            if (row == before)
                arranged.insert(arranged.end(), block.begin(), block.end());
            if (!moved[row])
                arranged.push_back(row);
        }
        if (before == -1)
            arranged.insert(arranged.end(), block.begin(), block.end());
        if (arrangeObjects(ws, platform, arranged))
            return true;
    }
    // A move that moves nothing (no line selected, or lines dropped where
    // they stand) leaves no step for Undo to spend; the list is shown anew.
    refillObjectList(ws, platform);
    return false;
}

bool moveSelectionToStart(Workspace& ws, const Platform& platform)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.empty())
        return false;
    const bool moved = moveBlock(ws, platform, rows, 0);
    showSelectionInList(ws, platform);
    return moved;
}

bool moveSelectionToEnd(Workspace& ws, const Platform& platform)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.empty())
        return false;
    const bool moved = moveBlock(ws, platform, rows, ws.table.objectCount);
    showSelectionInList(ws, platform);
    return moved;
}

} // namespace kelvara
