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
// both inset edges (out along A, back along B), then a zigzag out and back.
// Repeated top layers run back and forth over the same holes.
#include "stitch/column.h"

#include <algorithm>
#include <cmath>

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

void contourUnderlay(const ColumnSpec& shape, double t0, double t1, NeedleSink& sink)
{
    const int samples = static_cast<int>(std::clamp(std::ceil(shape.length / 2), 4.0, 4096.0));
    std::vector<Vec> edgeA, edgeB;
    edgeA.reserve(static_cast<std::size_t>(samples) + 1);
    edgeB.reserve(static_cast<std::size_t>(samples) + 1);
    for (int i = 0; i <= samples; ++i) {
        Vec a, b;
        insetRungAt(shape, lerp(t0, t1, static_cast<double>(i) / samples), shape.contourInset, a, b);
        edgeA.push_back(a);
        edgeB.push_back(b);
    }
    std::reverse(edgeB.begin(), edgeB.end());
    const ArcPath pathA(std::move(edgeA)), pathB(std::move(edgeB));
    runAlong(pathA, 0, pathA.length(), shape.contourLength, true, sink);
    runAlong(pathB, 0, pathB.length(), shape.contourLength, true, sink);
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

} // namespace

void stitchColumn(const ColumnSpec& shape, NeedleSink& sink)
{
    const double len = std::max(shape.length, 0.0);
    double t0 = len > 0 ? std::clamp(shape.push / len, 0.0, 0.5) : 0.5;
    double t1 = 1 - t0;
    if (t1 - t0 < 1e-9)
        t0 = t1 = 0.5;

    if (shape.contourLength > 0)
        contourUnderlay(shape, t0, t1, sink);
    if (shape.zigzagSpacing > 0)
        zigzagUnderlay(shape, t0, t1, sink);
    if (!shape.topLayer)
        return;

    // Rungs are half the edge spacing apart.
    const RungScale scale(std::max(len, 1e-9), shape.startSpacing / 2, shape.endSpacing / 2);
    const double u0 = scale.rungsAt(t0);
    const double total = len > 0 ? scale.rungsAt(t1) - u0 : 0.0;
    long n = std::max(2L, std::lround(std::min(total, 1e9)) + 1);
    if (shape.stopSide >= 0 && rungSide(shape, n - 1) != shape.stopSide)
        ++n;
    const double step = total / static_cast<double>(n - 1);

    for (int pass = 0; pass < shape.repeat && !sink.exhausted(); ++pass) {
        for (long k = 0; k < n && !sink.exhausted(); ++k) {
            const long i = pass % 2 == 0 ? k : n - 1 - k;
            const double t = total > 0 ? scale.fractionAt(u0 + step * static_cast<double>(i)) : t0;
            Vec a, b;
            rungAt(shape, std::clamp(t, 0.0, 1.0), a, b);
            sink.needle(rungSide(shape, i) == 0 ? a : b);
        }
    }
}

} // namespace kelvara::stitch
