// Where closed lines start: near the needle coming to them and, since they
// end where they start, near where the next object begins.
#include "stitch/loopstart.h"

#include "shell/settings.h"
#include "stitch/pathstitch.h"
#include "stitch/stitchplan.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

// The point of a polyline nearest `target` among those within `radius` of
// `centre`: its distance from `target` and where it lies along the line;
// `best` unless a point is nearer than it.
struct LinePoint {
    double gap = 1e300;
    double at = 0;
};

constexpr double kAnywhere = 1e300;

LinePoint nearestWithin(const std::vector<Vec>& points, Vec target, Vec centre, double radius, LinePoint best)
{
    double walked = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Vec a = points[i - 1], d = points[i] - a;
        const double len2 = dot(d, d), len = std::sqrt(len2);
        double lo = 0, hi = 1;
        if (radius < kAnywhere) {
            // Where the piece lies inside the circle round `centre`.
            const double b = dot(d, a - centre), c = dot(a - centre, a - centre) - radius * radius;
            const double disc = b * b - len2 * c;
            if (len2 <= 0)
                lo = 0, hi = c <= 0 ? 0 : -1;
            else if (disc < 0)
                lo = 1, hi = 0;
            else
                lo = std::max(0.0, (-b - std::sqrt(disc)) / len2), hi = std::min(1.0, (-b + std::sqrt(disc)) / len2);
        }
        if (lo <= hi) {
            const double t = len2 > 0 ? std::clamp(dot(target - a, d) / len2, lo, hi) : 0.0;
            const double gap = length(a + d * t - target);
            if (gap < best.gap - 1e-9)
                best = {gap, walked + t * len};
        }
        walked += len;
    }
    return best;
}

PathPoint rounded(Vec v)
{
    return {static_cast<int32_t>(std::lround(v.x)), static_cast<int32_t>(std::lround(v.y))};
}

Vec vecOf(PathPoint p)
{
    return {double(p.x), double(p.y)};
}

} // namespace

double closedLineStart(const std::vector<Vec>& points, double total, const GenContext& ctx)
{
    const bool towardsExit = ctx.hasExit && ctx.settings.ENTRYEXIT != 0;
    if (points.size() < 2 || (!ctx.hasEntry && !towardsExit))
        return 0;
    double at = 0;
    if (ctx.hasEntry) {
        const LinePoint nearest =
            nearestWithin(points, ctx.entry, ctx.entry, kAnywhere, {length(points.front() - ctx.entry), 0});
        at = nearest.at;
        if (towardsExit) {
            // A start this near carries the seam on even on whole units.
            const double slack = kContinueReach - 1;
            const double reach = nearest.gap <= slack ? slack : nearest.gap + slack;
            at = nearestWithin(points, ctx.exit, ctx.entry, reach + 1e-6, {}).at;
        }
    } else {
        at = nearestWithin(points, ctx.exit, ctx.exit, kAnywhere, {}).at;
    }
    return at >= total - 1e-9 ? 0 : at;
}

SubPath subPathFrom(const SubPath& sub, double s)
{
    std::vector<std::size_t> nodes;
    const std::vector<Vec> points = flattenSubPath(sub, &nodes);
    // Every segment of the ring, the closing one too.
    std::vector<PathSegment> ring = sub.segments;
    if (nodes.size() == ring.size() + 2)
        ring.push_back({false, {}, {}, sub.start});
    if (ring.empty() || nodes.size() != ring.size() + 1 || !(s > 0))
        return sub;
    // The piece of the flattened line holding s, and how far along it.
    std::size_t piece = 0;
    double walked = 0, f = 0;
    for (; piece + 1 < points.size(); ++piece) {
        const double len = length(points[piece + 1] - points[piece]);
        if (walked + len > s) {
            f = len > 0 ? (s - walked) / len : 0;
            break;
        }
        walked += len;
    }
    if (piece + 1 >= points.size())
        return sub;
    std::size_t k = 0;
    while (k + 1 < ring.size() && nodes[k + 1] <= piece)
        ++k;
    const PathPoint from = k == 0 ? sub.start : ring[k - 1].to;
    const PathSegment& seg = ring[k];
    // Flattening cuts a cubic at even steps of its parameter.
    const double t = (double(piece - nodes[k]) + f) / double(nodes[k + 1] - nodes[k]);
    PathSegment first = seg, second = seg;
    PathPoint cut;
    if (seg.cubic) {
        const Vec a = vecOf(from), b = vecOf(seg.c1), c = vecOf(seg.c2), d = vecOf(seg.to);
        const Vec ab = lerp(a, b, t), bc = lerp(b, c, t), cd = lerp(c, d, t);
        const Vec abc = lerp(ab, bc, t), bcd = lerp(bc, cd, t);
        cut = rounded(lerp(abc, bcd, t));
        first.c1 = rounded(ab), first.c2 = rounded(abc);
        second.c1 = rounded(bcd), second.c2 = rounded(cd);
    } else {
        cut = rounded(lerp(vecOf(from), vecOf(seg.to), t));
    }
    first.to = cut;
    // A cut on whole units may land on a node: the ring then starts there.
    const std::size_t n = ring.size();
    std::size_t node = n;
    if (cut == from)
        node = k;
    else if (cut == seg.to)
        node = (k + 1) % n;
    if (node == 0)
        return sub;
    SubPath out;
    out.closed = true;
    if (node < n) {
        out.start = node == 0 ? sub.start : ring[node - 1].to;
        for (std::size_t i = 0; i < n; ++i)
            out.segments.push_back(ring[(node + i) % n]);
        return out;
    }
    out.start = cut;
    out.segments.push_back(second);
    for (std::size_t i = 1; i < n; ++i)
        out.segments.push_back(ring[(k + i) % n]);
    out.segments.push_back(first);
    return out;
}

} // namespace kelvara::stitch
