#include "model/editing.h"

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
            const int position = list->addString(buildListLine(ws.numbering, table, ws.records, row));
            list->setItemData(position, row);
        }
    }
    list->setRedraw(true);
}

} // namespace kelvara
