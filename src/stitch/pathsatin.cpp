// A satin column along a path of any number of nodes (a satin STROKE, a
// shape's satin border).
//
// The column is a ladder of rungs over the centre line. At every point of
// the flattened line the rung lies along the bisector of the two pieces'
// normals, lengthened so both edges stay at half the width from the line (a
// mitre); between two points both rung ends move in straight lines. Where the
// inner side of a turn is tighter than half the width, neighbouring rungs
// would cross there and pile every stitch on one hole (a fan): such rungs
// are dropped, so the ladder passes the turn from the last rung before it to
// the first that does not cross, its inner end walking along instead of
// standing still. A turn sharper than kSplitTurn (the corner is narrower than
// 60 degrees) cannot be mitred within reason: the column is split there, the
// second column starting over the end of the first.
#include "stitch/pathsatin.h"

#include "stitch/pathstitch.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSplitTurn = 120 * kPi / 180;

double cross(Vec a, Vec b)
{
    return a.x * b.y - a.y * b.x;
}

// The turn at the middle point of a -> b -> c, in radians (0: straight on).
double turnAt(Vec a, Vec b, Vec c)
{
    const Vec u = unit(b - a), v = unit(c - b);
    return std::atan2(std::abs(cross(u, v)), dot(u, v));
}

bool segmentsCross(Vec p1, Vec p2, Vec q1, Vec q2)
{
    const double d1 = cross(p2 - p1, q1 - p1), d2 = cross(p2 - p1, q2 - p1);
    const double d3 = cross(q2 - q1, p1 - q1), d4 = cross(q2 - q1, p2 - q1);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 && d4 != 0;
}

struct Rung {
    double s; // along the centre line
    Vec a, b;
};

// Points without repeats (a zero piece has no direction).
std::vector<Vec> distinctPoints(const std::vector<Vec>& points)
{
    std::vector<Vec> out;
    for (const Vec& p : points)
        if (out.empty() || length(p - out.back()) > 1e-6)
            out.push_back(p);
    return out;
}

// The ladder of one column over `line`, whose width at distance s from the
// path's start is width(s); `s0` is where the line starts on the path.
std::vector<Rung> ladder(const std::vector<Vec>& line, double s0, const SatinAlong& how)
{
    std::vector<Rung> all;
    double s = s0;
    const std::size_t n = line.size();
    const bool closed = n > 3 && length(line.front() - line.back()) <= 1e-6 &&
                        turnAt(line[n - 2], line[0], line[1]) <= kSplitTurn;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0)
            s += length(line[i] - line[i - 1]);
        // A closed line's two ends meet at one corner, mitred like the others.
        Vec in = i > 0 ? unit(line[i] - line[i - 1]) : unit(line[1] - line[0]);
        Vec out = i + 1 < n ? unit(line[i + 1] - line[i]) : in;
        if (closed && i == 0)
            in = unit(line[n - 1] - line[n - 2]);
        if (closed && i + 1 == n)
            out = unit(line[1] - line[0]);
        const Vec normal = unit(perp(in) + perp(out), perp(in));
        // The bisector is longer than the width by 1 / cos(half the turn);
        // turns are below kSplitTurn here, so at most twice.
        const double stretch = 1 / std::max(0.5, dot(normal, perp(in)));
        const double half = how.widthAt(s) / 2 * stretch;
        all.push_back({s, line[i] - normal * half, line[i] + normal * half});
    }
    // Drop the rungs that cross the last one kept; the end rung is always
    // kept, dropping kept ones before it while they cross it.
    std::vector<Rung> kept;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool last = i + 1 == all.size();
        if (kept.empty()) {
            kept.push_back(all[i]);
            continue;
        }
        if (!last) {
            if (!segmentsCross(kept.back().a, kept.back().b, all[i].a, all[i].b))
                kept.push_back(all[i]);
            continue;
        }
        while (kept.size() > 1 && segmentsCross(kept.back().a, kept.back().b, all[i].a, all[i].b))
            kept.pop_back();
        kept.push_back(all[i]);
    }
    return kept;
}

void sewLadder(const std::vector<Rung>& rungs, const SatinAlong& how, NeedleSink& sink)
{
    if (rungs.size() < 2)
        return;
    const double first = rungs.front().s, total = rungs.back().s - first;
    if (total <= 1e-6)
        return;
    ColumnSpec column = how.column;
    column.length = total;
    column.edges = [&](double t, Vec& a, Vec& b) {
        const double s = first + std::clamp(t, 0.0, 1.0) * total;
        auto next = std::upper_bound(rungs.begin(), rungs.end(), s, [](double v, const Rung& r) { return v < r.s; });
        if (next == rungs.end()) {
            a = rungs.back().a;
            b = rungs.back().b;
            return;
        }
        if (next == rungs.begin())
            ++next;
        const Rung& lo = *(next - 1);
        const double span = next->s - lo.s;
        const double f = span > 1e-9 ? (s - lo.s) / span : 0;
        a = lerp(lo.a, next->a, f);
        b = lerp(lo.b, next->b, f);
    };
    const double d0 = how.spacingAt(first), d1 = how.spacingAt(first + total);
    const double c0 = how.compAt(first), c1 = how.compAt(first + total);
    column.startSpacing = d0;
    column.endSpacing = d1;
    column.startComp = c0;
    column.endComp = c1;
    stitchColumn(column, sink);
}

} // namespace

double pathLength(const PathData& path)
{
    double total = 0;
    for (const SubPath& sub : path.subpaths) {
        const std::vector<Vec> points = flattenSubPath(sub);
        for (std::size_t i = 1; i < points.size(); ++i)
            total += length(points[i] - points[i - 1]);
    }
    return total;
}

void satinAlongPath(const PathData& path, const SatinAlong& how, NeedleSink& sink)
{
    double s = 0;
    bool firstSub = true;
    for (const SubPath& sub : path.subpaths) {
        if (sink.exhausted())
            return;
        const std::vector<Vec> points = distinctPoints(flattenSubPath(sub));
        if (points.size() < 2)
            continue;
        if (!firstSub)
            sink.jump(points.front());
        firstSub = false;
        // Split at the sharp turns; each piece is one column.
        std::vector<Vec> piece{points.front()};
        double pieceStart = s;
        for (std::size_t i = 1; i < points.size() && !sink.exhausted(); ++i) {
            piece.push_back(points[i]);
            s += length(points[i] - points[i - 1]);
            const bool sharp = i + 1 < points.size() && turnAt(points[i - 1], points[i], points[i + 1]) > kSplitTurn;
            if (sharp || i + 1 == points.size()) {
                sewLadder(ladder(piece, pieceStart, how), how, sink);
                piece.assign(1, points[i]);
                pieceStart = s;
            }
        }
    }
}

} // namespace kelvara::stitch
