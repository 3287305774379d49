// Stitches of STROKE and SHAPE from their paths.
#include "stitch/pathstitch.h"

#include "stitch/fill.h"
#include "stitch/loopstart.h"
#include "stitch/pathsatin.h"

#include "shell/libraries.h"
#include "shell/settings.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

Vec vecOf(PathPoint p)
{
    return {double(p.x), double(p.y)};
}

bool same(Vec a, Vec b)
{
    return a.x == b.x && a.y == b.y;
}

Vec cubicAt(Vec a, Vec b, Vec c, Vec d, double t)
{
    const double u = 1 - t;
    return a * (u * u * u) + b * (3 * u * u * t) + c * (3 * u * t * t) + d * (t * t * t);
}

// Pieces of a cubic: about one per 3 units of its control polygon, bounded
// so a forged path cannot make the planner cut for ever.
int piecesOf(Vec a, Vec b, Vec c, Vec d)
{
    const double around = length(b - a) + length(c - b) + length(d - c);
    return static_cast<int>(std::clamp(std::ceil(around / 3), 1.0, 256.0));
}

} // namespace

std::vector<Vec> flattenSubPath(const SubPath& sub, std::vector<std::size_t>* nodes)
{
    std::vector<Vec> out;
    out.push_back(vecOf(sub.start));
    if (nodes)
        nodes->push_back(0);
    for (const PathSegment& seg : sub.segments) {
        const Vec from = out.back();
        const Vec to = vecOf(seg.to);
        if (seg.cubic) {
            const Vec c1 = vecOf(seg.c1), c2 = vecOf(seg.c2);
            const int n = piecesOf(from, c1, c2, to);
            for (int i = 1; i < n; ++i)
                out.push_back(cubicAt(from, c1, c2, to, double(i) / n));
        }
        out.push_back(to);
        if (nodes)
            nodes->push_back(out.size() - 1);
    }
    if (sub.closed && !sub.segments.empty() && !same(out.back(), out.front())) {
        out.push_back(out.front());
        if (nodes)
            nodes->push_back(out.size() - 1);
    }
    return out;
}

void runAlongPath(const PathData& path, double stitchLength, int passes, NeedleSink& sink)
{
    bool first = true;
    for (const SubPath& sub : path.subpaths) {
        std::vector<std::size_t> nodes;
        const std::vector<Vec> points = flattenSubPath(sub, &nodes);
        if (first)
            sink.needle(points.front());
        else
            sink.jump(points.front());
        first = false;
        Vec prev = points.front();
        for (std::size_t k = 1; k < nodes.size() && !sink.exhausted(); ++k) {
            // Between two nodes, the stitches share the length along the
            // pieces evenly, so every node is a penetration.
            const std::size_t from = nodes[k - 1], to = nodes[k];
            double total = 0;
            for (std::size_t i = from; i < to; ++i)
                total += length(points[i + 1] - points[i]);
            const double n = std::max(1.0, std::ceil(total / stitchLength - 1e-9));
            std::size_t i = from;
            double walked = 0;
            for (double s = 1; s <= n && !sink.exhausted(); ++s) {
                Vec next = points[to];
                if (s < n) {
                    const double target = total * s / n;
                    while (i + 1 < to && walked + length(points[i + 1] - points[i]) < target) {
                        walked += length(points[i + 1] - points[i]);
                        ++i;
                    }
                    const double piece = length(points[i + 1] - points[i]);
                    const double t = piece > 0 ? (target - walked) / piece : 0;
                    next = points[i] + (points[i + 1] - points[i]) * t;
                }
                for (int pass = 1; pass < passes; ++pass)
                    sink.needle(pass % 2 == 1 ? next : prev);
                sink.needle(next);
                prev = next;
            }
        }
    }
}

namespace {

// A path of one closed sub-path is sewn round from where closedLineStart
// puts the needle down, with ENTRYEXIT; any other path from its start.
PathData startedNearNeighbours(const PathData& path, const GenContext& ctx)
{
    if (ctx.settings.ENTRYEXIT == 0 || path.subpaths.size() != 1)
        return path;
    const SubPath& sub = path.subpaths.front();
    if (sub.segments.empty() || !(sub.closed || sub.segments.back().to == sub.start))
        return path;
    const ArcPath line(flattenSubPath(sub));
    return {{subPathFrom(sub, closedLineStart(line.points(), line.length(), ctx))}};
}

} // namespace

PathData reversedPath(const PathData& path)
{
    PathData out;
    for (std::size_t k = path.subpaths.size(); k-- > 0;) {
        const SubPath& sub = path.subpaths[k];
        SubPath back;
        back.closed = sub.closed;
        const std::vector<PathSegment>& segs = sub.segments;
        // A closed sub-path comes back to its start before it turns round.
        back.start = sub.closed ? sub.start : segs.empty() ? sub.start : segs.back().to;
        if (sub.closed && !segs.empty() && segs.back().to != sub.start)
            back.segments.push_back({false, {}, {}, segs.back().to});
        for (std::size_t i = segs.size(); i-- > 0;)
            back.segments.push_back({segs[i].cubic, segs[i].c2, segs[i].c1, i > 0 ? segs[i - 1].to : sub.start});
        back.closed = false;
        out.subpaths.push_back(std::move(back));
    }
    return out;
}

void generateStroke(const StrokeParams& p, const PathData& path, const GenContext& ctx, NeedleSink& sink)
{
    if (p.STYLE == 1) {
        SatinAlong how;
        how.column.maxStitch = generatorMaxStitch(ctx.settings);
        how.column.repeat = clampedRepeat(p.REPEAT);
        if (p.UNDER != -1) {
            how.column.contourLength = clampedLength(p.UNDER, 1, 1e9);
            how.column.contourInset = std::max(0, ctx.settings.EDGE);
        }
        how.startWidth = std::abs(static_cast<double>(p.SWIDTH));
        how.endWidth = std::abs(static_cast<double>(p.TWIDTH));
        how.startSpacing = clampedLength(p.SDENS, 5, 1e7) / 10;
        how.endSpacing = clampedLength(p.TDENS, 5, 1e7) / 10;
        how.startComp = p.SCOMP;
        how.endComp = p.TCOMP;
        how.total = pathLength(path);
        satinAlongPath(path, how, sink);
        return;
    }
    const double len = clampedLength(p.LEN, 1, 1e9);
    const MotifLibrary& motifs = ctx.libraries.motifs;
    if (p.MOTIVE >= 0 && p.MOTIVE < motifs.count) {
        const auto& figure = motifs.points[static_cast<std::size_t>(p.MOTIVE)];
        if (const int count = figureLength(figure); count > 0) {
            const double scale = motifScale(p.MSIZE);
            for (const SubPath& sub : path.subpaths) {
                const ArcPath line(flattenSubPath(sub));
                if (&sub != &path.subpaths.front())
                    sink.jump(line.pointAt(0));
                layMotif(line, figure.data(), count, len, scale, sink);
            }
            return;
        }
    }
    // A double run goes out and comes back over its own holes; odd repeats
    // sew each stitch that many times over, ending at the end.
    const PathData sewn = startedNearNeighbours(path, ctx);
    const int repeat = runPasses(p.REPEAT, ctx.settings);
    if (repeat % 2 == 1) {
        runAlongPath(sewn, len, repeat, sink);
        return;
    }
    runAlongPath(sewn, len, repeat - 1, sink);
    runAlongPath(reversedPath(sewn), len, 1, sink);
}

} // namespace kelvara::stitch
