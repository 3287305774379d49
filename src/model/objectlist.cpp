#include "model/editing.h"

#include "model/selection.h"
#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

namespace {

// Bytes of line text the list reserves: 64 for each of the table's rows.
constexpr int kListStorageBytes = ObjectTable::kRows * 64;

} // namespace

void clearObjectList(ListBox& list)
{
    list.resetContent();
    list.initStorage(ObjectTable::kRows, kListStorageBytes);
}

void refillObjectList(Workspace& ws, const Platform& platform)
{
    ListBox* list = platform.list;
    if (list == nullptr)
        return;
    list->setRedraw(false);
    clearObjectList(*list);
    const ObjectTable& table = ws.table;
    if (table.objectCount > 0) {
        restartListNumbering(ws.numbering);
        for (int32_t row : DisplayOrder(table)) {
            const int position = list->addString(listLine(ws, ws.numbering, row));
            list->setItemData(position, row);
        }
    }
    list->setRedraw(true);
}

void updateListLines(const Workspace& ws, const Platform& platform)
{
    ListBox* list = platform.list;
    if (list == nullptr)
        return;
    ListNumbering numbering;
    restartListNumbering(numbering);
    int position = 0;
    for (int32_t row : DisplayOrder(ws.table)) {
        if (position >= list->count())
            break;
        const std::string text = listLine(ws, numbering, row);
        if (list->itemData(position) == row && list->text(position) != text) {
            list->deleteString(position);
            list->insertString(position, text);
            list->setItemData(position, row);
            if (isSelected(ws, row))
                list->setSelected(position, true);
        }
        ++position;
    }
}

} // namespace kelvara
