#include "ui/propertiesopen.h"

#include "model/letteringedit.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "ui/editor.h"

namespace kelvara {

void openPropertiesOf(Editor& editor, int32_t row)
{
    Workspace& ws = editor.ws;
    if (row < 0 || row >= ObjectTable::kRows || ws.table.rows[row].kind == KindFree)
        return;
    if (!isSelected(ws, row)) {
        selectOnly(ws, row);
        showSelectionInList(ws, editor.platform);
    }
    if (isLettering(ws, row)) {
        editLettering(ws, editor.platform, row);
        return;
    }
    if (editor.openProperties)
        editor.openProperties(PanelField::Any);
}

} // namespace kelvara
