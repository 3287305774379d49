#include "model/pathconvert.h"

#include "model/kinds/kind.h"
#include "model/selection.h"
#include "model/workspace.h"

namespace kelvara {

TransformResult convertSelectionToPath(Workspace& ws, const Platform& platform)
{
    std::vector<int32_t> rows, kinds;
    std::vector<ObjectParams> records;
    for (int32_t row : selectedRows(ws)) {
        const ObjectEntry& e = ws.table.rows[row];
        const KindRow* kind = kindRow(e.kind);
        if (kind == nullptr || kind->toPath == nullptr || !recordSizeFits(e.kind, e.paramsSize) ||
            !ws.records.isLive(e.params))
            continue;
        int32_t newKind = e.kind;
        ObjectParams converted;
        if (!kind->toPath(ws.records[e.params], ws.settings, newKind, converted))
            continue;
        rows.push_back(row);
        kinds.push_back(newKind);
        records.push_back(converted);
    }
    ws.view.note.clear();
    if (rows.empty()) {
        ws.view.note = "Nothing selected has a path form: lines and areas convert, stars do not.";
        return TransformResult::Unchanged;
    }
    return writeObjects(ws, platform, rows, kinds, records);
}

} // namespace kelvara
