// Running lines.
//
// A stitched RUN places penetrations evenly by arc length along its line or
// Bezier, at most LEN apart, the first on the start point and the last on the
// end point. The configuration's REPEAT (3, 5, 7 or 9) turns every stitch into
// that many passes back and forth over the same two holes (bean stitch), so
// the line still ends on its end point. With a MOTIVE the motif's points are
// laid along the line instead: motif x runs along the arc, motif y along the
// line's normal, and the copies are stretched slightly so that a whole number
// of them fills the line. A RUN marked as a jump moves without stitching. A
// closed line (ending on its start) is sewn round from its point nearest
// where the needle is, which saves the jump, and often the trim, to its start.
//
// A motif is a figure to sew, not a list of needle points: a thread floating
// over a long segment snags and sags. So every segment of a copy, the join
// from one copy to the next, and the run on from the last copy to the line's
// end point (where the next line starts) are sewn as running stitches of at
// most LEN, spaced in the line's frame so that they bend with the line. A
// closed figure is entered at its point nearest the line on the copy's
// start side and left at the one on its end side (sewing back over its own
// stitches to get there); copies that do not meet there are joined along
// the line, and the last one runs out along the line: a straight join from
// tip to tip or to the end point would draw a line the motif does not have.
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/generators.h"
#include "stitch/loopstart.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvara::stitch {

double clampedLength(int32_t value, double low, double high)
{
    return std::clamp(static_cast<double>(value), low, high);
}

int clampedRepeat(int32_t value)
{
    return value >= 1 && value <= 9 && value % 2 == 1 ? value : 1;
}

int runPasses(int32_t value, const Settings& settings)
{
    return value != 0 ? std::clamp(value, 1, 9) : clampedRepeat(settings.REPEAT);
}

double motifScale(int32_t msize)
{
    return msize > 0 ? std::clamp(msize, 10, 1000) / 100.0 : 1.0;
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

// A point of the motif in the line's frame: s along the arc, y across it.
struct FramePoint {
    double s = 0;
    double y = 0;
};

class MotifSewer {
    static constexpr long kMostSteps = 1L << 16;

public:
    MotifSewer(const ArcPath& path, double stitchLength, NeedleSink& sink)
        : path_(path), len_(stitchLength), sink_(sink)
    {
    }

    // Running stitches from the last point to `to`, none longer than LEN.
    void sewTo(FramePoint to)
    {
        if (!started_) {
            sink_.needle(at(to));
            started_ = true;
            last_ = to;
            return;
        }
        if (sink_.exhausted())
            return;
        double span = 0, longest = 0;
        measure(to, 8, span, longest);
        if (span < 1e-9)
            return; // the next copy starts where this one ended
        // As many stitches as the mapped segment's length asks for, and more
        // where the line's bends stretch a stitch beyond LEN. A forged length
        // could ask for billions; no real line across the design area needs
        // more than kMostSteps.
        long n = static_cast<long>(std::clamp(std::ceil(span / len_ - 1e-9), 1.0, double(kMostSteps)));
        for (int attempt = 0; attempt < 4; ++attempt) {
            measure(to, n, span, longest);
            if (longest <= len_ + 1e-9 || n * 2 > kMostSteps)
                break;
            n *= 2;
        }
        for (long k = 1; k <= n && !sink_.exhausted(); ++k)
            sink_.needle(at(between(to, static_cast<double>(k) / static_cast<double>(n))));
        last_ = to;
    }

private:
    Vec at(FramePoint p) const { return path_.pointAt(p.s) + perp(path_.tangentAt(p.s)) * p.y; }
    FramePoint between(FramePoint to, double t) const
    {
        return {lerp(last_.s, to.s, t), lerp(last_.y, to.y, t)};
    }
    // Total and longest of n equal steps from the last point to `to`, on the line.
    void measure(FramePoint to, long n, double& total, double& longest) const
    {
        total = longest = 0;
        Vec from = at(last_);
        for (long k = 1; k <= n; ++k) {
            const Vec next = at(between(to, static_cast<double>(k) / static_cast<double>(n)));
            total += length(next - from);
            longest = std::max(longest, length(next - from));
            from = next;
        }
    }

    const ArcPath& path_;
    double len_;
    NeedleSink& sink_;
    bool started_ = false;
    FramePoint last_;
};

// Where a copy of the figure is entered and left: its point nearest the
// line towards the copy's start, and nearest the line towards its end.
struct CopyEnds {
    int entry = 0, exit = 0;
};

CopyEnds copyEnds(const LibraryPoint* points, int count)
{
    CopyEnds ends;
    double bestIn = 1e300, bestOut = -1e300;
    for (int i = 0; i < count; ++i) {
        const double x = points[i].x, y = std::abs(static_cast<double>(points[i].y));
        if (x + y < bestIn)
            bestIn = x + y, ends.entry = i;
        if (x - y > bestOut)
            bestOut = x - y, ends.exit = i;
    }
    return ends;
}

// The order in which one copy's points are sewn. A closed figure (its last
// point on its first) is sewn round from where it is entered, then back over
// its own stitches to where it is left, so the copy starts and ends near the
// line on either side; an open one is sewn as drawn.
std::vector<int> copyOrder(const LibraryPoint* points, int count)
{
    std::vector<int> order;
    const bool closed = count > 2 && points[0].x == points[count - 1].x && points[0].y == points[count - 1].y;
    if (!closed) {
        for (int i = 0; i < count; ++i)
            order.push_back(i);
        return order;
    }
    const int ring = count - 1; // the last point repeats the first
    const CopyEnds ends = copyEnds(points, ring);
    // Round the figure so that the way from the entry to the exit comes last
    // the shorter way; it is then sewn back over.
    auto span = [&](int from, int step) {
        double total = 0;
        for (int i = from; i != ends.exit; i = (i + step + ring) % ring) {
            const int j = (i + step + ring) % ring;
            total += std::hypot(points[j].x - points[i].x, points[j].y - points[i].y);
        }
        return total;
    };
    const int step = span(ends.entry, 1) <= span(ends.entry, -1) ? -1 : 1;
    for (int k = 0; k <= ring; ++k)
        order.push_back(((ends.entry + step * k) % ring + ring) % ring);
    // Back over the last stretch, from the entry to the exit.
    for (int i = ends.entry; i != ends.exit;) {
        i = ((i - step) % ring + ring) % ring;
        order.push_back(i);
    }
    return order;
}

} // namespace

void layMotif(const ArcPath& path, const LibraryPoint* points, int count, double stitchLength, double scale,
              NeedleSink& sink)
{
    double minX = points[0].x, maxX = points[0].x;
    for (int i = 1; i < count; ++i) {
        minX = std::min<double>(minX, points[i].x);
        maxX = std::max<double>(maxX, points[i].x);
    }
    const double width = maxX - minX >= 1 ? (maxX - minX) * scale : stitchLength;
    const double total = path.length();
    const double copies = std::max(1.0, std::round(total / width));
    // Each copy puts down at least one needle: more copies than the plan
    // has room for cannot fit, however tiny they are.
    if (copies > static_cast<double>(sink.room())) {
        sink.markOverflow();
        return;
    }
    const double stretch = total > 0 ? total / (copies * width) : 1.0;
    const std::vector<int> order = copyOrder(points, count);
    MotifSewer sewer(path, stitchLength, sink);
    auto frameOf = [&](double c, int i) {
        return FramePoint{(c * width + (points[i].x - minX) * scale) * stretch, points[i].y * scale};
    };
    FramePoint left;
    for (double c = 0; c < copies && !sink.exhausted(); ++c) {
        // From the last copy to this one along the line, where the two do
        // not meet: a straight join would float over the fabric between them.
        const FramePoint entry = frameOf(c, order.front());
        if (c > 0 && std::hypot(entry.s - left.s, entry.y - left.y) > stitchLength) {
            sewer.sewTo({left.s, 0});
            sewer.sewTo({entry.s, 0});
        }
        for (int i : order)
            sewer.sewTo(frameOf(c, i));
        left = frameOf(c, order.back());
    }
    // Out along the line to its end point, where the next line starts.
    if (std::abs(left.y) > 1e-9 && total - left.s > 1e-9)
        sewer.sewTo({left.s, 0});
    sewer.sewTo({total, 0});
}

namespace {

// Where along a closed line (one ending on its start) the needle is put
// down, as closedLineStart finds it; 0 for an open line.
double closedLoopStart(const BezierEdge& line, const ArcPath& path, const GenContext& ctx)
{
    if (std::abs(line.x1 - line.x2) > 0.5 || std::abs(line.y1 - line.y2) > 0.5 || !(path.length() > 0))
        return 0;
    return closedLineStart(path.points(), path.length(), ctx);
}

} // namespace

void generateRun(const RunRecord& r, const GenContext& ctx, NeedleSink& sink)
{
    const RunParams& p = r.fixed;
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
            layMotif(path, figure.data(), count, len, motifScale(r.tail.MSIZE), sink);
            return;
        }
    }

    const double total = path.length();
    const double n = std::max(1.0, std::ceil(total / len - 1e-9));
    // Odd passes go back and forth over each stitch; an even count sews the
    // line with one pass fewer and comes back over its holes.
    const int passes = runPasses(r.tail.REPEAT, ctx.settings);
    const int each = passes % 2 == 1 ? passes : passes - 1;
    const double from = closedLoopStart(p.line, path, ctx);
    auto at = [&](double k) {
        return k == n && from == 0 ? path.pointAt(total)
                                   : path.pointAt(std::fmod(from + total * (k / n), total + 1e-300));
    };
    Vec prev = at(0);
    sink.needle(prev);
    for (double k = 1; k <= n && !sink.exhausted(); ++k) {
        const Vec next = at(k);
        for (int pass = 1; pass < each; ++pass)
            sink.needle(pass % 2 == 1 ? next : prev);
        sink.needle(next);
        prev = next;
    }
    if (passes != each)
        for (double k = n - 1; k >= 0 && !sink.exhausted(); --k)
            sink.needle(at(k));
}

} // namespace kelvara::stitch
