#include "model/selection.h"

#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

namespace {

bool isUsedRow(const ObjectTable& table, int32_t row)
{
    return row >= 0 && row < ObjectTable::kRows && table.rows[row].kind != KindFree;
}

} // namespace

bool isSelected(const Workspace& ws, int32_t row)
{
    return isUsedRow(ws.table, row) && ws.selection.rows.test(size_t(row));
}

std::vector<int32_t> selectedRows(const Workspace& ws)
{
    std::vector<int32_t> rows;
    if (ws.selection.rows.none())
        return rows;
    for (int32_t row : DisplayOrder(ws.table))
        if (ws.selection.rows.test(size_t(row)))
            rows.push_back(row);
    return rows;
}

int32_t selectedCount(const Workspace& ws)
{
    return int32_t(selectedRows(ws).size());
}

void clearSelection(Workspace& ws)
{
    ws.selection.drawn = false;
    if (ws.selection.rows.none())
        return;
    ws.selection.rows.reset();
    markCanvasChanged(ws);
}

void selectOnly(Workspace& ws, int32_t row)
{
    ws.selection.drawn = false;
    ws.selection.rows.reset();
    if (isUsedRow(ws.table, row)) {
        ws.selection.rows.set(size_t(row));
        ws.table.currentObject = row;
    }
    markCanvasChanged(ws);
}

void setSelected(Workspace& ws, int32_t row, bool selected)
{
    if (!isUsedRow(ws.table, row))
        return;
    ws.selection.drawn = false;
    ws.selection.rows.set(size_t(row), selected);
    if (selected)
        ws.table.currentObject = row;
    markCanvasChanged(ws);
}

void toggleSelected(Workspace& ws, int32_t row)
{
    if (isUsedRow(ws.table, row))
        setSelected(ws, row, !ws.selection.rows.test(size_t(row)));
}

void showSelectionInList(const Workspace& ws, const Platform& platform)
{
    ListBox* list = platform.list;
    if (list == nullptr)
        return;
    std::vector<int> positions;
    int anchor = -1;
    const int count = list->count();
    for (int position = 0; position < count; ++position) {
        const int32_t row = list->itemData(position);
        if (isSelected(ws, row)) {
            positions.push_back(position);
            if (row == ws.table.currentObject)
                anchor = position;
        }
    }
    list->setSelection(positions);
    // The current object's line is the anchor of Shift-clicks and keys.
    if (anchor >= 0)
        list->setSelected(anchor, true);
}

void takeSelectionFromList(Workspace& ws, const Platform& platform)
{
    ListBox* list = platform.list;
    if (list == nullptr)
        return;
    ws.selection.drawn = false;
    ws.selection.rows.reset();
    for (int position : list->selectedPositions()) {
        const int32_t row = list->itemData(position);
        if (isUsedRow(ws.table, row))
            ws.selection.rows.set(size_t(row));
    }
    markCanvasChanged(ws);
}

} // namespace kelvara
