#include "model/pathgeometry.h"

#include "model/kinds/kind.h"
#include "model/pathstore.h"

#include <cmath>

namespace kelvara {

namespace {

BezierEdge edgeBetween(PathPoint from, const PathSegment& seg)
{
    BezierEdge e{};
    e.straight = seg.cubic ? 0 : 1;
    e.x1 = from.x;
    e.y1 = from.y;
    e.x2 = seg.to.x;
    e.y2 = seg.to.y;
    e.xc1 = seg.cubic ? seg.c1.x : from.x;
    e.yc1 = seg.cubic ? seg.c1.y : from.y;
    e.xc2 = seg.cubic ? seg.c2.x : seg.to.x;
    e.yc2 = seg.cubic ? seg.c2.y : seg.to.y;
    return e;
}

bool roundedPoint(double x, double y, PathPoint& out)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    x = std::round(x);
    y = std::round(y);
    if (std::abs(x) > kPathCoordinateLimit || std::abs(y) > kPathCoordinateLimit)
        return false;
    out = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    return true;
}

bool mapPoint(PathPoint& point, const std::function<void(double&, double&)>& map)
{
    double x = point.x, y = point.y;
    map(x, y);
    return roundedPoint(x, y, point);
}

// The edge as a segment from where the path is, forwards or backwards.
bool addEdge(SubPath& sub, const BezierEdge& e, bool backwards)
{
    PathSegment seg;
    seg.cubic = e.straight == 0;
    const bool ok = backwards ? roundedPoint(e.x1, e.y1, seg.to) && roundedPoint(e.xc2, e.yc2, seg.c1) &&
                                    roundedPoint(e.xc1, e.yc1, seg.c2)
                              : roundedPoint(e.x2, e.y2, seg.to) && roundedPoint(e.xc1, e.yc1, seg.c1) &&
                                    roundedPoint(e.xc2, e.yc2, seg.c2);
    if (!seg.cubic)
        seg.c1 = seg.c2 = {};
    sub.segments.push_back(seg);
    return ok;
}

} // namespace

PathData edgePath(const BezierEdge& line)
{
    SubPath sub;
    if (!roundedPoint(line.x1, line.y1, sub.start) || !addEdge(sub, line, false))
        return {};
    return PathData{{std::move(sub)}};
}

PathData twoEdgePath(const BezierEdge& a, const BezierEdge& b)
{
    SubPath sub;
    sub.closed = true;
    const double together = std::hypot(a.x1 - b.x1, a.y1 - b.y1) + std::hypot(a.x2 - b.x2, a.y2 - b.y2);
    const double crossed = std::hypot(a.x1 - b.x2, a.y1 - b.y2) + std::hypot(a.x2 - b.x1, a.y2 - b.y1);
    const bool backwards = together <= crossed;
    PathPoint bStart;
    if (!roundedPoint(a.x1, a.y1, sub.start) || !addEdge(sub, a, false) ||
        !roundedPoint(backwards ? b.x2 : b.x1, backwards ? b.y2 : b.y1, bStart))
        return {};
    sub.segments.push_back(PathSegment{false, {}, {}, bStart});
    if (!addEdge(sub, b, backwards))
        return {};
    return PathData{{std::move(sub)}};
}

PathData ellipsePath(int32_t x, int32_t y, int32_t rx, int32_t ry)
{
    // The control distance that makes a cubic the closest to a quarter circle.
    constexpr double kQuarter = 0.5522847498;
    const double ax = std::abs(double(rx)), ay = std::abs(double(ry));
    const double kx = ax * kQuarter, ky = ay * kQuarter;
    const double cx = x, cy = y;
    SubPath sub;
    sub.closed = true;
    bool ok = roundedPoint(cx + ax, cy, sub.start);
    // Counter-clockwise on screen from the right, as the ellipse is sampled.
    const double quarters[4][6] = {{cx + ax, cy - ky, cx + kx, cy - ay, cx, cy - ay},
                                   {cx - kx, cy - ay, cx - ax, cy - ky, cx - ax, cy},
                                   {cx - ax, cy + ky, cx - kx, cy + ay, cx, cy + ay},
                                   {cx + kx, cy + ay, cx + ax, cy + ky, cx + ax, cy}};
    for (const auto& q : quarters) {
        PathSegment seg;
        seg.cubic = true;
        ok = ok && roundedPoint(q[0], q[1], seg.c1) && roundedPoint(q[2], q[3], seg.c2) &&
             roundedPoint(q[4], q[5], seg.to);
        sub.segments.push_back(seg);
    }
    return ok ? PathData{{std::move(sub)}} : PathData{};
}

const PathData* kindPath(const KindRow& row, const ObjectParams& p)
{
    const PathData* path = row.path ? storedPath(*row.path(const_cast<ObjectParams&>(p))) : nullptr;
    return path && !path->subpaths.empty() ? path : nullptr;
}

void appendPathEdges(std::vector<BezierEdge>& out, const PathData& path)
{
    for (const SubPath& sub : path.subpaths) {
        PathPoint at = sub.start;
        for (const PathSegment& seg : sub.segments) {
            out.push_back(edgeBetween(at, seg));
            at = seg.to;
        }
        if (sub.closed && !(at == sub.start))
            out.push_back(edgeBetween(at, PathSegment{false, {}, {}, sub.start}));
    }
}

std::vector<BezierEdge> pathEdges(const PathData& path)
{
    std::vector<BezierEdge> edges;
    edges.reserve(path.nodeCount());
    appendPathEdges(edges, path);
    return edges;
}

std::vector<BezierEdge> kindPathEdges(const KindRow& row, const ObjectParams& p)
{
    const PathData* path = kindPath(row, p);
    return path ? pathEdges(*path) : std::vector<BezierEdge>{};
}

PickShape pathPickShape(const PathData& path, bool area)
{
    PickShape shape;
    shape.closed = area;
    for (const SubPath& sub : path.subpaths) {
        if (!shape.points.empty())
            shape.pieceStarts.push_back(shape.points.size());
        shape.points.push_back({double(sub.start.x), double(sub.start.y)});
        PathPoint at = sub.start;
        const auto addSegment = [&](const PathSegment& seg) {
            if (seg.cubic) {
                const std::vector<stitch::Vec> curve = stitch::flattenEdge(edgeBetween(at, seg));
                shape.points.insert(shape.points.end(), curve.begin() + (curve.empty() ? 0 : 1), curve.end());
            } else {
                shape.points.push_back({double(seg.to.x), double(seg.to.y)});
            }
            at = seg.to;
        };
        for (const PathSegment& seg : sub.segments)
            addSegment(seg);
        // A closed line comes back to its start; an area closes by itself.
        if (sub.closed && !area && !(at == sub.start))
            addSegment(PathSegment{false, {}, {}, sub.start});
    }
    return shape;
}

bool mapPathPoints(PathData& path, const std::function<void(double& x, double& y)>& map)
{
    for (SubPath& sub : path.subpaths) {
        if (!mapPoint(sub.start, map))
            return false;
        for (PathSegment& seg : sub.segments) {
            if (!mapPoint(seg.to, map))
                return false;
            if (seg.cubic && !(mapPoint(seg.c1, map) && mapPoint(seg.c2, map)))
                return false;
        }
    }
    return true;
}

namespace {

// A sub-path's node k: its start, then each segment's end.
PathPoint& nodeAt(SubPath& sub, std::size_t k)
{
    return k == 0 ? sub.start : sub.segments[k - 1].to;
}

void shift(PathPoint& p, int64_t dx, int64_t dy)
{
    p.x = static_cast<int32_t>(p.x + dx);
    p.y = static_cast<int32_t>(p.y + dy);
}

// Node k moves by (dx, dy) with the control points on either side; in a
// closed sub-path whose last segment comes back onto its start, the start
// and that end are one node.
void moveNode(SubPath& sub, std::size_t k, int64_t dx, int64_t dy)
{
    const std::size_t last = sub.segments.size();
    const bool joined = sub.closed && last > 0 && sub.segments.back().to == sub.start;
    const auto moveOne = [&](std::size_t n) {
        shift(nodeAt(sub, n), dx, dy);
        if (n >= 1 && sub.segments[n - 1].cubic)
            shift(sub.segments[n - 1].c2, dx, dy);
        if (n < last && sub.segments[n].cubic)
            shift(sub.segments[n].c1, dx, dy);
    };
    moveOne(k);
    if (joined && k == 0)
        moveOne(last);
    else if (joined && k == last)
        moveOne(0);
}

} // namespace

bool movePathPoint(PathData& path, int32_t segment, int point, double x, double y)
{
    PathPoint to;
    if (segment < 0 || point < 0 || point > 3 || !roundedPoint(x, y, to))
        return false;
    std::size_t left = static_cast<std::size_t>(segment);
    for (SubPath& sub : path.subpaths) {
        const std::size_t count = sub.segments.size();
        // A closed sub-path whose last node is off its start has a closing
        // line after its segments.
        const bool closingLine = sub.closed && (count == 0 || !(sub.segments.back().to == sub.start));
        const std::size_t edges = count + (closingLine ? 1 : 0);
        if (left >= edges) {
            left -= edges;
            continue;
        }
        if (point <= 1) {
            std::size_t k = left + static_cast<std::size_t>(point);
            if (k > count)
                k = 0; // the closing line ends at the start
            const PathPoint at = nodeAt(sub, k);
            moveNode(sub, k, int64_t(to.x) - at.x, int64_t(to.y) - at.y);
            return true;
        }
        if (left == count) // a control point of the closing line makes it a curve
            sub.segments.push_back(PathSegment{false, {}, {}, sub.start});
        PathSegment& seg = sub.segments[left];
        if (!seg.cubic) {
            const PathPoint from = nodeAt(sub, left);
            seg.cubic = true;
            seg.c1 = {from.x + (seg.to.x - from.x) / 3, from.y + (seg.to.y - from.y) / 3};
            seg.c2 = {from.x + 2 * (seg.to.x - from.x) / 3, from.y + 2 * (seg.to.y - from.y) / 3};
        }
        (point == 2 ? seg.c1 : seg.c2) = to;
        return true;
    }
    return false;
}

bool setKindPath(const KindRow& row, ObjectParams& p, PathData path)
{
    const int32_t handle = storePath(std::move(path));
    if (handle == 0)
        return false;
    *row.path(p) = handle;
    return true;
}

bool mapKindPath(const KindRow& row, ObjectParams& p, const std::function<void(double& x, double& y)>& map)
{
    const PathData* stored = kindPath(row, p);
    if (stored == nullptr)
        return true;
    PathData moved = *stored;
    return mapPathPoints(moved, map) && setKindPath(row, p, std::move(moved));
}

} // namespace kelvara
