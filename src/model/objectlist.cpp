#include "model/editing.h"

#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

void refillObjectList(Workspace& ws, const Platform& platform)
{
    ListBox* list = platform.list;
    if (list == nullptr)
        return;
    list->setRedraw(false);
    list->resetContent();
    list->initStorage(ObjectTable::kRows, 262144);
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
