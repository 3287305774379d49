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
        int32_t row = table.firstObject;
        for (int32_t n = 0; n < table.objectCount && row >= 0 && row < ObjectTable::kRows; ++n) {
            const int position = list->addString(buildListLine(ws.numbering, table, ws.records, row));
            list->setItemData(position, row);
            row = table.rows[row].next;
        }
    }
    list->setRedraw(true);
}

} // namespace kelvara
