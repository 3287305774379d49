// Satin columns (SATEN and STEIL).
//
// A column is a ladder of rungs between edge A and edge B. Rungs sit at equal
// fractions of both edges' arc lengths; one penetration is made per rung,
// alternating between the edges, so penetrations on one edge are `spacing`
// apart and the rungs half of that. The spacing moves linearly from the start
// density to the end density along the column (rung positions come from the
// integral of 1/spacing, which is exact for a linear change). Each rung is
// widened by the compensation, half on each side, and never narrower than
// nothing; push compensation shortens both ends. The rung count is chosen so
// that the first and, when asked, the last penetration fall on the chosen
// edges. Underlays come first and return to the start: a contour run along
// both inset edges (out along A, back along B; with an inset of half the
// width or more, a centre walk down the middle and back over its own holes),
// then a zigzag out and back; a centre walk asked for besides the contour
// comes before it.
// Repeated top layers run back and forth over the same holes.
//
// Short stitches: on the inside of a tight curve the holes of one edge crowd
// together and cut the fabric. Where an edge's holes would fall closer than
// 0.25 mm (or than the requested spacing, whichever is less) to the last hole
// on that edge, the rung stops short, 15 to 35 % of the way across (the more the edge
// crowds, the further), so usually every second rung reaches the inner edge
// and the others lie between. The rung count follows the longer edge, which
// keeps the spacing asked for on the outside of a curve. A
// straight column keeps the density it was given. Top stitches longer than the maximum stitch are split,
// staggered (see longstitch.cpp).
#include "stitch/column.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvara::stitch {

namespace {

// Maps rung counts to column fractions for a spacing changing linearly.
class RungScale {
public:
    RungScale(double length, double d0, double d1) : length_(length), d0_(d0), d1_(d1) {}

    // Rungs between the start and fraction t.
    double rungsAt(double t) const
    {
        if (std::abs(d1_ - d0_) < 1e-9)
            return length_ * t / d0_;
        return length_ / (d1_ - d0_) * std::log(lerp(d0_, d1_, t) / d0_);
    }
    double fractionAt(double rungs) const
    {
        if (std::abs(d1_ - d0_) < 1e-9)
            return rungs * d0_ / length_;
        return (d0_ * std::exp(rungs * (d1_ - d0_) / length_) - d0_) / (d1_ - d0_);
    }

private:
    double length_, d0_, d1_;
};

// The rung at fraction t, widened by the compensation at t.
void rungAt(const ColumnSpec& shape, double t, Vec& a, Vec& b)
{
    shape.edges(t, a, b);
    const double width = length(b - a);
    const Vec dir = unit(b - a, {0, 0});
    double extra = lerp(shape.startComp, shape.endComp, t) / 2;
    extra = std::max(extra, -width / 2);
    a = a - dir * extra;
    b = b + dir * extra;
}

// The edges pulled towards each other by `inset`, meeting at most in the middle.
void insetRungAt(const ColumnSpec& shape, double t, double inset, Vec& a, Vec& b)
{
    shape.edges(t, a, b);
    const double width = length(b - a);
    const Vec dir = unit(b - a, {0, 0});
    const double in = std::clamp(inset, 0.0, width / 2);
    a = a + dir * in;
    b = b - dir * in;
}

void contourUnderlay(const ColumnSpec& shape, double t0, double t1, double inset, double stitchLength,
                     NeedleSink& sink)
{
    const int samples = static_cast<int>(std::clamp(std::ceil(shape.length / 2), 4.0, 4096.0));
    std::vector<Vec> edgeA, edgeB;
    edgeA.reserve(static_cast<std::size_t>(samples) + 1);
    edgeB.reserve(static_cast<std::size_t>(samples) + 1);
    for (int i = 0; i <= samples; ++i) {
        Vec a, b;
        insetRungAt(shape, lerp(t0, t1, static_cast<double>(i) / samples), inset, a, b);
        edgeA.push_back(a);
        edgeB.push_back(b);
    }
    std::reverse(edgeB.begin(), edgeB.end());
    const ArcPath pathA(std::move(edgeA)), pathB(std::move(edgeB));
    runAlong(pathA, 0, pathA.length(), stitchLength, true, sink);
    runAlong(pathB, 0, pathB.length(), stitchLength, true, sink);
}

void zigzagUnderlay(const ColumnSpec& shape, double t0, double t1, NeedleSink& sink)
{
    const double span = shape.length * (t1 - t0);
    const long steps = std::max(1L, std::lround(std::min(span / (shape.zigzagSpacing / 2), 1e9)));
    for (int pass = 0; pass < 2 && !sink.exhausted(); ++pass) {
        for (long k = 0; k <= steps && !sink.exhausted(); ++k) {
            const long i = pass == 0 ? k : steps - k;
            Vec a, b;
            insetRungAt(shape, lerp(t0, t1, static_cast<double>(i) / steps), shape.zigzagInset, a, b);
            // The way back uses the other edge at each step, crossing the way out.
            sink.needle((i + pass) % 2 == 0 ? a : b);
        }
    }
}

// The length of the longer edge, or `middle` when neither is longer: a
// straight column keeps the count its length gives.
double longerEdge(const ColumnSpec& shape, double middle)
{
    const int samples = static_cast<int>(std::clamp(std::ceil(middle / 2), 16.0, 4096.0));
    double lengthA = 0, lengthB = 0;
    Vec lastA, lastB;
    for (int i = 0; i <= samples; ++i) {
        Vec a, b;
        shape.edges(static_cast<double>(i) / samples, a, b);
        if (i > 0) {
            lengthA += length(a - lastA);
            lengthB += length(b - lastB);
        }
        lastA = a;
        lastB = b;
    }
    const double longer = std::max(lengthA, lengthB);
    return std::isfinite(longer) && longer > middle * 1.01 ? longer : middle;
}

constexpr double kMinEdgeGap = 2.5; // design units between holes on one edge
// A short stitch stops this far across: further where the edge crowds more.
constexpr double kShortInsetLeast = 0.15, kShortInsetMost = 0.35;

// The top layer's rungs: rung i sits at fraction t(i) and has one hole.
class TopLayer {
public:
    TopLayer(const ColumnSpec& shape, const RungScale& scale, double u0, double step, double t0)
        : shape_(shape), scale_(scale), u0_(u0), step_(step), t0_(t0)
    {
    }

    double t(long i) const
    {
        const double t = step_ > 0 ? scale_.fractionAt(u0_ + step_ * static_cast<double>(i)) : t0_;
        return std::clamp(t, 0.0, 1.0);
    }

    // Marks the rungs that stop short, walking the column once: a hole goes
    // to the edge only as far from that edge's last hole as wanted. Marked
    // once, so a repeated top layer runs back over the same holes.
    void markShortRungs(long n)
    {
        inset_.assign(static_cast<std::size_t>(n), 0.0);
        Vec last[2];
        bool any[2] = {false, false};
        for (long i = 0; i < n; ++i) {
            const double ti = t(i);
            const int side = rungSide(shape_, i);
            Vec a, b;
            rungAt(shape_, ti, a, b);
            const Vec edge = side == 0 ? a : b;
            // The slack keeps a straight column, holes exactly `spacing` apart, whole.
            const double wanted =
                0.98 * std::min(kMinEdgeGap, lerp(shape_.startSpacing, shape_.endSpacing, ti));
            const double gap = any[side] ? length(edge - last[side]) : wanted;
            if (gap < wanted) {
                inset_[static_cast<std::size_t>(i)] =
                    lerp(kShortInsetMost, kShortInsetLeast, std::clamp(gap / wanted, 0.0, 1.0));
                continue;
            }
            last[side] = edge;
            any[side] = true;
        }
    }

    Vec hole(long i) const
    {
        Vec a, b;
        rungAt(shape_, t(i), a, b);
        const bool sideA = rungSide(shape_, i) == 0;
        const Vec edge = sideA ? a : b;
        return lerp(edge, sideA ? b : a, inset_[static_cast<std::size_t>(i)]);
    }

private:
    const ColumnSpec& shape_;
    const RungScale& scale_;
    double u0_, step_, t0_;
    std::vector<double> inset_; // 0 for a rung that reaches its edge
};

} // namespace

void stitchColumn(const ColumnSpec& shape, NeedleSink& sink)
{
    const double len = std::max(shape.length, 0.0);
    double t0 = len > 0 ? std::clamp(shape.push / len, 0.0, 0.5) : 0.5;
    double t1 = 1 - t0;
    if (t1 - t0 < 1e-9)
        t0 = t1 = 0.5;

    // An inset no column is wide enough for meets in the middle.
    if (shape.centreWalkLength > 0)
        contourUnderlay(shape, t0, t1, 1e9, shape.centreWalkLength, sink);
    if (shape.contourLength > 0)
        contourUnderlay(shape, t0, t1, shape.contourInset, shape.contourLength, sink);
    if (shape.zigzagSpacing > 0)
        zigzagUnderlay(shape, t0, t1, sink);
    if (!shape.topLayer)
        return;

    // Rungs are half the edge spacing apart, counted along the longer edge:
    // on a curve the outer edge would fan open if the middle set the count,
    // and the inner edge's crowding is what the short stitches are for.
    const RungScale scale(std::max(longerEdge(shape, len), 1e-9), shape.startSpacing / 2,
                          shape.endSpacing / 2);
    const double u0 = scale.rungsAt(t0);
    const double total = len > 0 ? scale.rungsAt(t1) - u0 : 0.0;
    long n = std::max(2L, std::lround(std::min(total, 1e9)) + 1);
    if (shape.stopSide >= 0 && rungSide(shape, n - 1) != shape.stopSide)
        ++n;
    const double step = total / static_cast<double>(n - 1);
    if (n > sink.room()) {
        sink.markOverflow(); // more rungs than the plan could ever hold
        return;
    }
    TopLayer top(shape, scale, u0, total > 0 ? step : 0, t0);
    top.markShortRungs(n);

    Vec prev;
    long prevI = -1;
    for (int pass = 0; pass < shape.repeat && !sink.exhausted(); ++pass) {
        for (long k = 0; k < n && !sink.exhausted(); ++k) {
            const long i = pass % 2 == 0 ? k : n - 1 - k;
            const Vec hole = top.hole(i);
            if (prevI >= 0 && prevI != i) {
                // Split from the edge-A end so that a stitch sewn back is split alike.
                const bool fromA = rungSide(shape, prevI) == 0;
                splitStitch(fromA ? prev : hole, fromA ? hole : prev, shape.maxStitch, std::max(i, prevI),
                            !fromA, sink);
            }
            sink.needle(hole);
            prev = hole;
            prevI = i;
        }
    }
}

} // namespace kelvara::stitch
