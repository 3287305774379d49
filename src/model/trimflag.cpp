#include "model/arrange.h"

#include "model/fieldedit.h"
#include "model/selection.h"
#include "model/workspace.h"

#include <vector>

namespace kelvara {

int32_t toggleTrimOfSelection(Workspace& ws, const Platform& platform)
{
    // Trims all when any lacks one, else takes them all away.
    const std::vector<int32_t> rows = selectedRows(ws);
    bool anyWithout = false;
    for (int32_t row : rows)
        anyWithout = anyWithout || objectTrim(ws.table.rows[static_cast<std::size_t>(row)], ws.records) == 0;
    const FieldValue value{FieldMeaning::Trim, anyWithout ? 1.0 : 0.0};
    return applyFieldValuesTo(ws, platform, rows, {&value, 1}).changed;
}

} // namespace kelvara
