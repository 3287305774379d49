#include "model/pathconvert.h"

#include "model/kinds/kind.h"
#include "model/replaceobjects.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "stitch/generators.h"

namespace kelvara {

TransformResult convertSelectionToPath(Workspace& ws, const Platform& platform)
{
    std::vector<int32_t> rows, kinds;
    std::vector<ObjectParams> records;
    // Each row's objects, kept apart only when one becomes several.
    std::vector<std::vector<ReplacingObject>> objects;
    bool several = false;
    const stitch::GenContext ctx{ws.settings, ws.libraries};
    for (int32_t row : selectedRows(ws)) {
        const ObjectEntry& e = ws.table.rows[row];
        const KindRow* kind = kindRow(e.kind);
        if (kind == nullptr || (kind->toPath == nullptr && kind->toPaths == nullptr) ||
            !recordSizeFits(e.kind, e.paramsSize) || !ws.records.isLive(e.params))
            continue;
        std::vector<std::pair<int32_t, ObjectParams>> converted;
        if (kind->toPaths != nullptr) {
            if (!kind->toPaths(ws.records[e.params], ctx, converted) || converted.empty())
                continue;
            several = true;
        } else {
            converted.emplace_back(e.kind, ObjectParams{});
            if (!kind->toPath(ws.records[e.params], ws.settings, converted[0].first, converted[0].second))
                continue;
        }
        rows.push_back(row);
        kinds.push_back(converted[0].first);
        records.push_back(converted[0].second);
        objects.emplace_back();
        for (const auto& [k, params] : converted)
            objects.back().push_back({k, params});
    }
    ws.view.note.clear();
    if (rows.empty()) {
        ws.view.note = message(ws, kSlotNothingToConvert);
        return TransformResult::Unchanged;
    }
    if (several)
        return replaceObjects(ws, platform, rows, objects);
    return writeObjects(ws, platform, rows, kinds, records);
}

} // namespace kelvara
