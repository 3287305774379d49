#include "model/kinds/kind.h"
#include "model/pathconvert.h"
#include "model/pathgeometry.h"
#include "model/workspace.h"

namespace kelvara {

bool addHoleToShape(Workspace& ws, const Platform& platform, int32_t row, const PathData& hole)
{
    if (row < 0 || row >= ObjectTable::kRows || hole.subpaths.empty())
        return false;
    const ObjectEntry& e = ws.table.rows[row];
    const KindRow* kind = kindRow(e.kind);
    if (e.kind != KindShape || !recordSizeFits(e.kind, e.paramsSize) || !ws.records.isLive(e.params))
        return false;
    const PathData* path = kindPath(*kind, ws.records[e.params]);
    if (path == nullptr || path->nodeCount() + hole.nodeCount() > kMostPathNodes)
        return false;
    PathData grown = *path;
    for (const SubPath& sub : hole.subpaths) {
        if (!sub.closed)
            return false;
        grown.subpaths.push_back(sub);
    }
    ObjectParams record = ws.records[e.params];
    if (!setKindPath(*kind, record, std::move(grown)))
        return false;
    return writeObjects(ws, platform, {row}, {}, {record}) == TransformResult::Applied;
}

} // namespace kelvara
