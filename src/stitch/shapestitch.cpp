// SHAPE: closed paths filled by the even-odd rule, with an optional border,
// or sewn as an appliqué patch.
//
// The rings go to the fill generator as one outline, each ring closed and
// joined to the next by a bridge that no row crosses and no turn walks
// along, so the fill's spans are those of the rings and its turns stay on
// the ring they are on. The underlay is cut from the rings moved in (outer
// rings shrink, holes grow) and, with a border, the top layer from the rings
// moved out by kUnderOwnBorder, so it reaches under the border sewn after it.
// An appliqué sews a placement line, stops for the fabric to be laid, tacks
// it down with a narrow zigzag just inside the edge, stops for the fabric to
// be trimmed, and covers the edge with its satin border; it has no fill.
#include "stitch/pathsatin.h"
#include "stitch/pathstitch.h"

#include "stitch/fillborders.h"
#include "stitch/fillkeys.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kUnderOwnBorder = 3;  // the fill reaches 0.3 mm under its own border
constexpr double kTackWidth = 12;      // the tack-down zigzag's width...
constexpr double kTackInset = 8;       // ...its middle this far inside the edge
constexpr double kTackSpacing = 25;    // between its penetrations on one side

struct Ring {
    std::vector<Vec> points; // closed implicitly: the last point is not the first
    bool hole = false;
};

double signedArea(const std::vector<Vec>& v)
{
    double a = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        a += v[i].x * v[(i + 1) % v.size()].y - v[(i + 1) % v.size()].x * v[i].y;
    return a / 2;
}

bool inside(const std::vector<Vec>& ring, Vec p)
{
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Vec a = ring[i], b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// The closed sub-paths as rings; a ring inside an odd number of others is a hole.
std::vector<Ring> ringsOf(const PathData& path)
{
    std::vector<Ring> rings;
    for (const SubPath& sub : path.subpaths) {
        if (sub.segments.empty())
            continue;
        Ring ring;
        for (const Vec& p : flattenSubPath(sub))
            if (ring.points.empty() || length(p - ring.points.back()) > 1e-6)
                ring.points.push_back(p);
        while (ring.points.size() > 1 && length(ring.points.back() - ring.points.front()) <= 1e-6)
            ring.points.pop_back();
        if (ring.points.size() >= 3)
            rings.push_back(std::move(ring));
    }
    for (Ring& r : rings) {
        int around = 0;
        for (const Ring& other : rings)
            if (&other != &r && inside(other.points, r.points.front()))
                ++around;
        r.hole = around % 2 == 1;
    }
    return rings;
}

// Each ring moved by `by` to grow the filled area (negative: shrink it);
// empty when a ring would turn inside out or vanish.
std::vector<Ring> grown(const std::vector<Ring>& rings, double by)
{
    std::vector<Ring> out;
    for (const Ring& r : rings) {
        const double move = r.hole ? -by : by;
        Ring moved{offsetOutline(r.points, std::vector<double>(r.points.size(), move)), r.hole};
        const double before = signedArea(r.points), after = signedArea(moved.points);
        if (!(after * before > 0) || (move < 0 && std::abs(after) >= std::abs(before)))
            return {};
        out.push_back(std::move(moved));
    }
    return out;
}

// The rings as one outline, each closed and bridged to the next, and the
// ring of each edge (-1 for a bridge).
std::vector<Vec> joined(const std::vector<Ring>& rings, std::vector<int32_t>* ringOf)
{
    std::vector<Vec> outline;
    for (std::size_t r = 0; r < rings.size(); ++r) {
        const auto& pts = rings[r].points;
        outline.insert(outline.end(), pts.begin(), pts.end());
        outline.push_back(pts.front());
        if (ringOf) {
            ringOf->insert(ringOf->end(), pts.size(), static_cast<int32_t>(r));
            ringOf->push_back(-1); // from the ring's closing point to the next ring, or home
        }
    }
    return outline;
}

FillSpec shapeFill(const ShapeParams& p, const PathData& path, const std::vector<Ring>& rings,
                   const GenContext& ctx)
{
    FillSpec shape;
    if (rings.empty())
        return shape;
    applyFillKeys(p, ctx, shape);
    applyTatami(p.FLEN, p.ROWSHIFT, shape);
    if (rings.size() > 1) {
        shape.outline = joined(rings, &shape.ringOf);
        if (shape.underInset > 0) {
            const std::vector<Ring> inner = grown(rings, -shape.underInset);
            if (!inner.empty())
                shape.underOutline = joined(inner, nullptr);
            shape.underInset = 0; // the rows' own inset, when the rings could not move in
        }
    } else {
        shape.outline = rings.front().points;
    }
    if (p.BORDER == 1 || p.BORDER == 2) {
        const std::vector<Ring> outer = grown(rings, kUnderOwnBorder);
        if (!outer.empty())
            shape.topOutline = rings.size() > 1 ? joined(outer, nullptr) : outer.front().points;
    } else if (rings.size() == 1 && ctx.borderCount > 0) {
        shape.topOutline = extendUnderBorders(shape.outline, ctx.borders, ctx.borderCount);
    }
    shape.hasEntry = ctx.hasEntry;
    shape.entry = ctx.entry;
    // A border starts where its path does; without one, the next object.
    if ((p.BORDER == 1 || p.BORDER == 2) && !path.subpaths.empty()) {
        shape.hasExit = true;
        shape.exit = {double(path.subpaths.front().start.x), double(path.subpaths.front().start.y)};
    } else {
        shape.hasExit = ctx.hasExit;
        shape.exit = ctx.exit;
    }
    return shape;
}

void satinBorder(const ShapeParams& p, const PathData& path, const GenContext& ctx, NeedleSink& sink)
{
    SatinAlong how;
    how.column.maxStitch = generatorMaxStitch(ctx.settings);
    how.column.topLayer = true;
    how.startWidth = how.endWidth = std::clamp(std::abs(static_cast<double>(p.BWIDTH)), 1.0, 1e5);
    how.startSpacing = how.endSpacing = clampedLength(ctx.settings.DENSITY, 5, 1e7) / 10;
    how.startComp = how.endComp = ctx.settings.PULLCOMP;
    if (p.UNDER != -1) {
        how.column.contourLength = clampedLength(p.UNDER, 1, 1e9);
        how.column.contourInset = std::max(0, p.OFSUND);
    }
    how.total = pathLength(path);
    satinAlongPath(path, how, sink);
}

// A narrow zigzag along each ring, kTackInset inside the edge.
void tackDown(const std::vector<Ring>& rings, NeedleSink& sink)
{
    const std::vector<Ring> middle = grown(rings, -kTackInset);
    const std::vector<Ring>& along = middle.empty() ? rings : middle;
    for (const Ring& r : along) {
        std::vector<Vec> loop = r.points;
        loop.push_back(loop.front());
        const ArcPath line(std::move(loop));
        const double steps = std::max(2.0, std::ceil(line.length() / (kTackSpacing / 2)));
        sink.jump(line.pointAt(0));
        for (double k = 0; k <= steps && !sink.exhausted(); ++k) {
            const double s = line.length() * k / steps;
            const double side = static_cast<long>(k) % 2 == 0 ? 0.5 : -0.5;
            sink.needle(line.pointAt(s) + perp(line.tangentAt(s)) * (side * kTackWidth));
        }
    }
}

void appliqueShape(const ShapeParams& p, const PathData& path, const std::vector<Ring>& rings,
                   const GenContext& ctx, NeedleSink& sink)
{
    runAlongPath(path, clampedLength(ctx.settings.STITCH, 1, 1e9), 1, sink); // placement
    sink.stop();
    tackDown(rings, sink);
    sink.stop();
    satinBorder(p, path, ctx, sink);
}

} // namespace

void generateShape(const ShapeParams& p, const PathData& path, const GenContext& ctx, NeedleSink& sink)
{
    const std::vector<Ring> rings = ringsOf(path);
    if (rings.empty())
        return;
    if (p.APPLIQUE == 1) {
        appliqueShape(p, path, rings, ctx, sink);
        return;
    }
    const FillSpec fill = shapeFill(p, path, rings, ctx);
    stitchFill(fill, sink);
    // The border starts where its path does, wherever the fill ended.
    if ((p.BORDER == 1 || p.BORDER == 2) && !path.subpaths.empty())
        sink.jump({double(path.subpaths.front().start.x), double(path.subpaths.front().start.y)});
    if (p.BORDER == 1)
        runAlongPath(path, clampedLength(ctx.settings.STITCH, 1, 1e9), 1, sink);
    else if (p.BORDER == 2)
        satinBorder(p, path, ctx, sink);
}

int64_t shapeRecordFloor(const ShapeParams& p, const PathData& path, const GenContext& ctx, int64_t limit)
{
    if (p.APPLIQUE == 1)
        return 0;
    const FillSpec fill = shapeFill(p, path, ringsOf(path), ctx);
    return fill.outline.size() >= 3 ? fillRecordFloor(fill, limit) : 0;
}

} // namespace kelvara::stitch
