// Running lines.
//
// A stitched RUN places penetrations evenly by arc length along its line or
// Bezier, at most LEN apart, the first on the start point and the last on the
// end point. The configuration's REPEAT (3, 5, 7 or 9) turns every stitch into
// that many passes back and forth over the same two holes (bean stitch), so
// the line still ends on its end point. With a MOTIVE the motif's points are
// laid along the line instead: motif x runs along the arc, motif y along the
// line's normal, and the copies are stretched slightly so that a whole number
// of them fills the line. A RUN marked as a jump moves without stitching.
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

double clampedLength(int32_t value, double low, double high)
{
    return std::clamp(static_cast<double>(value), low, high);
}

int clampedRepeat(int32_t value)
{
    return value >= 1 && value <= 9 && value % 2 == 1 ? value : 1;
}

void runAlong(const ArcPath& path, double s0, double s1, double stitchLength, bool includeFirst,
              NeedleSink& sink)
{
    const double span = std::abs(s1 - s0);
    const double n = std::max(1.0, std::ceil(span / stitchLength - 1e-9));
    if (includeFirst)
        sink.needle(path.pointAt(s0));
    for (double k = 1; k <= n && !sink.exhausted(); ++k)
        sink.needle(path.pointAt(s0 + (s1 - s0) * (k / n)));
}

namespace {

void layMotif(const ArcPath& path, const LibraryPoint* points, int count, double fallbackWidth,
              NeedleSink& sink)
{
    double minX = points[0].x, maxX = points[0].x;
    for (int i = 1; i < count; ++i) {
        minX = std::min<double>(minX, points[i].x);
        maxX = std::max<double>(maxX, points[i].x);
    }
    const double width = maxX - minX >= 1 ? maxX - minX : fallbackWidth;
    const double total = path.length();
    const double copies = std::max(1.0, std::round(total / width));
    const double stretch = total > 0 ? total / (copies * width) : 1.0;
    for (double c = 0; c < copies && !sink.exhausted(); ++c) {
        for (int i = 0; i < count && !sink.exhausted(); ++i) {
            const double s = (c * width + (points[i].x - minX)) * stretch;
            sink.needle(path.pointAt(s) + perp(path.tangentAt(s)) * points[i].y);
        }
    }
}

} // namespace

void generateRun(const RunParams& p, const GenContext& ctx, NeedleSink& sink)
{
    if (p.JUMP == 0) {
        sink.jump({p.line.x1, p.line.y1});
        sink.jump({p.line.x2, p.line.y2});
        return;
    }
    const ArcPath path(flattenEdge(p.line));
    const double len = clampedLength(p.LEN, 1, 1e9);

    const MotifLibrary& motifs = ctx.libraries.motifs;
    if (p.MOTIVE >= 0 && p.MOTIVE < motifs.count) {
        const auto& figure = motifs.points[static_cast<std::size_t>(p.MOTIVE)];
        const int count = figureLength(figure);
        if (count > 0) {
            layMotif(path, figure.data(), count, len, sink);
            return;
        }
    }

    const double total = path.length();
    const double n = std::max(1.0, std::ceil(total / len - 1e-9));
    const int passes = clampedRepeat(ctx.settings.REPEAT);
    Vec prev = path.pointAt(0);
    sink.needle(prev);
    for (double k = 1; k <= n && !sink.exhausted(); ++k) {
        const Vec next = path.pointAt(total * (k / n));
        for (int pass = 1; pass < passes; ++pass)
            sink.needle(pass % 2 == 1 ? next : prev);
        sink.needle(next);
        prev = next;
    }
}

} // namespace kelvara::stitch
