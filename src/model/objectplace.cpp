#include "model/objectplace.h"

#include "model/kinds/kind.h"
#include "model/pathgeometry.h"

#include <cmath>

namespace kelvara {

namespace {

void translateEdge(BezierEdge& edge, double dx, double dy)
{
    edge.x1 += dx;
    edge.y1 += dy;
    edge.x2 += dx;
    edge.y2 += dy;
    edge.xc1 += dx;
    edge.yc1 += dy;
    edge.xc2 += dx;
    edge.yc2 += dy;
}

// The start and the control point next to it move together.
void shiftEdgeStart(BezierEdge& edge, double dx, double dy)
{
    edge.x1 += dx;
    edge.y1 += dy;
    edge.xc1 += dx;
    edge.yc1 += dy;
}

int32_t shifted(int32_t value, double by)
{
    const double moved = double(value) + std::round(by);
    return moved > INT32_MAX ? INT32_MAX : moved < INT32_MIN ? INT32_MIN : int32_t(moved);
}

} // namespace

void translateRecord(int32_t kind, ObjectParams& params, double dx, double dy)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return;
    const KindEdges edges = kindEdges(*row, params);
    for (int i = 0; i < edges.count; ++i)
        translateEdge(*edges.at[i], dx, dy);
    if (const KindEllipse e = kindEllipse(*row, params); e.x != nullptr) {
        *e.x = shifted(*e.x, dx);
        *e.y = shifted(*e.y, dy);
    }
    // A path keeps whole units: it moves by the rounded offset, and stays
    // where it was should that leave the coordinate range.
    mapKindPath(*row, params, [&](double& x, double& y) {
        x += std::round(dx);
        y += std::round(dy);
    });
    if (row->mapStored)
        row->mapStored(params, [&](double& x, double& y) { x += dx, y += dy; });
}

namespace {

// The edge stitching starts (or stops) on: the line, or the side the
// record's STARTA (STOPA) names, edge B for 2, else A.
const BezierEdge* endEdge(const KindRow& row, const ObjectParams& params, int32_t* (*side)(ObjectParams&))
{
    const KindEdges edges = kindEdges(row, params);
    if (edges.count == 0)
        return nullptr;
    if (side != nullptr && edges.count > 1 && *side(const_cast<ObjectParams&>(params)) == 2)
        return edges.at[1];
    return edges.at[0];
}

} // namespace

std::optional<PlacePoint> objectStart(int32_t kind, const ObjectParams& params)
{
    const KindRow* row = kindRow(kind);
    if (const PathData* path = row ? kindPath(*row, params) : nullptr) {
        const SubPath& first = path->subpaths.front();
        return PlacePoint{double(first.start.x), double(first.start.y)};
    }
    const BezierEdge* e = row ? endEdge(*row, params, row->startSide) : nullptr;
    if (e == nullptr)
        return std::nullopt;
    return PlacePoint{e->x1, e->y1};
}

std::optional<PlacePoint> objectEnd(int32_t kind, const ObjectParams& params)
{
    const KindRow* row = kindRow(kind);
    if (const PathData* path = row ? kindPath(*row, params) : nullptr) {
        const SubPath& last = path->subpaths.back();
        const PathPoint end = last.closed || last.segments.empty() ? last.start : last.segments.back().to;
        return PlacePoint{double(end.x), double(end.y)};
    }
    const BezierEdge* e = row ? endEdge(*row, params, row->stopSide) : nullptr;
    if (e == nullptr)
        return std::nullopt;
    return PlacePoint{e->x2, e->y2};
}

bool moveStartTo(int32_t kind, ObjectParams& params, PlacePoint to)
{
    const std::optional<PlacePoint> from = objectStart(kind, params);
    if (!from || !std::isfinite(to.x) || !std::isfinite(to.y))
        return false;
    const double dx = to.x - from->x;
    const double dy = to.y - from->y;
    if (const PathData* path = kindPath(*kindRow(kind), params)) {
        // The first node with the control point next to it.
        PathData moved = *path;
        SubPath& first = moved.subpaths.front();
        const auto shift = [&](PathPoint& pt) {
            pt.x = static_cast<int32_t>(std::lround(pt.x + dx));
            pt.y = static_cast<int32_t>(std::lround(pt.y + dy));
        };
        if (std::abs(from->x + dx) > kPathCoordinateLimit || std::abs(from->y + dy) > kPathCoordinateLimit)
            return false;
        shift(first.start);
        if (!first.segments.empty() && first.segments.front().cubic)
            shift(first.segments.front().c1);
        return setKindPath(*kindRow(kind), params, std::move(moved));
    }
    // Every edge's start, so a column keeps its width at the start.
    const KindEdges edges = kindEdges(*kindRow(kind), params);
    for (int i = 0; i < edges.count; ++i)
        shiftEdgeStart(*edges.at[i], dx, dy);
    return true;
}

} // namespace kelvara
