// SATEN and STEIL: both become a column for the column generator.
//
// SATEN takes its edges as drawn; when edge B was drawn the other way round
// (its start lies nearer to the end of A), B is read backwards, since a
// column whose rungs all cross in the middle is never what was meant. STEIL
// builds both edges around its centre line, half the width on each side of
// it, the width moving from SWIDTH at the start to TWIDTH at the end; the
// widths' sizes count, a negative one puts edge A on the other side.
// Densities are hundredths of a millimetre, so DENS / 10 is the spacing of
// penetrations on one edge in design units; anything below half a unit is
// raised to it. OFSUND set to kCentreWalk walks the underlay down the
// centre of the column and back instead of along its edges; CENTRE adds
// that walk before the others, at the walk's stitch length (the
// configuration's underlay length when the edge walk is off). A column is
// sewn from whichever end is nearer the needle coming to it; its
// compensation and widths still go with their ends.
#include "shell/settings.h"
#include "stitch/column.h"
#include "stitch/stitchplan.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kelvara::stitch {

namespace {

// An inset no column is wide enough for: the edges meet in the middle.
constexpr double kWalkDownCentre = 1e9;

double spacingOf(int32_t density)
{
    return clampedLength(density, 5, 1e7) / 10;
}

template <typename Params>
void applyCommon(const Params& p, const ColumnTail& tail, const GenContext& ctx, ColumnSpec& shape)
{
    shape.maxStitch = generatorMaxStitch(ctx.settings);
    shape.startSpacing = spacingOf(p.SDENS);
    shape.endSpacing = spacingOf(p.TDENS);
    shape.startComp = p.SCOMP;
    shape.endComp = p.TCOMP;
    shape.push = std::max(0, p.PUSHCOMP);
    shape.repeat = clampedRepeat(p.REPEAT);
    shape.topLayer = p.STITCHES != 0;
    if (p.UNDER != -1) {
        shape.contourLength = clampedLength(p.UNDER, 1, 1e9);
        // Inset from both edges to the middle, the walk runs down the centre and back.
        shape.contourInset = p.OFSUND == kCentreWalk ? kWalkDownCentre : std::max(0, p.OFSUND);
    }
    if (p.CIKCAK != -1) {
        shape.zigzagSpacing = clampedLength(p.CIKCAK, 1, 1e9);
        shape.zigzagInset = std::max(0, p.OFSCIK);
    }
    // A walk already down the centre is not sewn twice.
    if (tail.CENTRE != 0 && shape.contourInset != kWalkDownCentre)
        shape.centreWalkLength =
            p.UNDER != -1 ? shape.contourLength : clampedLength(ctx.settings.LENGTH, 1, 1e9);
}

// Whether a column is best sewn from its end: when the needle comes from
// nearer the end than the start, the move to it is shorter that way round.
// With ENTRYEXIT, ends as near the needle as each other (within the reach
// that carries a seam on), or any end when nothing was sewn yet, leave the
// choice to the next object: the column is sewn towards whichever end lies
// nearer its start. Each end is judged by the middle of its rung.
bool startsAtEnd(Vec startA, Vec startB, Vec endA, Vec endB, const GenContext& ctx)
{
    const Vec start = lerp(startA, startB, 0.5), end = lerp(endA, endB, 0.5);
    const double toStart = ctx.hasEntry ? length(start - ctx.entry) : 0;
    const double toEnd = ctx.hasEntry ? length(end - ctx.entry) : 0;
    if (ctx.hasExit && ctx.settings.ENTRYEXIT != 0 && std::abs(toStart - toEnd) <= kContinueReach)
        return length(start - ctx.exit) < length(end - ctx.exit) - 1e-9;
    return ctx.hasEntry && toEnd < toStart - 1e-9;
}

} // namespace

void generateSaten(const SatenRecord& r, const GenContext& ctx, NeedleSink& sink)
{
    const SatenParams& p = r.fixed;
    const ArcPath edgeA(flattenEdge(p.edgeA));
    std::vector<Vec> pointsB = flattenEdge(p.edgeB);
    const Vec a0{p.edgeA.x1, p.edgeA.y1}, a1{p.edgeA.x2, p.edgeA.y2};
    const Vec b0{p.edgeB.x1, p.edgeB.y1}, b1{p.edgeB.x2, p.edgeB.y2};
    if (length(a0 - b1) + length(a1 - b0) < length(a0 - b0) + length(a1 - b1))
        std::reverse(pointsB.begin(), pointsB.end());
    const ArcPath edgeB(std::move(pointsB));

    ColumnSpec shape;
    const bool back = startsAtEnd(edgeA.pointAt(0), edgeB.pointAt(0), edgeA.pointAt(edgeA.length()),
                                  edgeB.pointAt(edgeB.length()), ctx);
    shape.edges = [&](double t, Vec& a, Vec& b) {
        const double u = back ? 1 - t : t;
        a = edgeA.pointAt(u * edgeA.length());
        b = edgeB.pointAt(u * edgeB.length());
    };
    shape.length = (edgeA.length() + edgeB.length()) / 2;
    applyCommon(p, r.tail, ctx, shape);
    if (back) {
        std::swap(shape.startSpacing, shape.endSpacing);
        std::swap(shape.startComp, shape.endComp);
    }
    shape.startSide = p.STARTA == 2 ? 1 : 0;
    shape.stopSide = p.STOPA == 1 ? 0 : p.STOPA == 2 ? 1 : -1;
    stitchColumn(shape, sink);
}

void generateSteil(const SteilRecord& r, const GenContext& ctx, NeedleSink& sink)
{
    const SteilParams& p = r.fixed;
    const ArcPath centre(flattenEdge(p.line));
    const double w0 = std::abs(static_cast<double>(p.SWIDTH)), w1 = std::abs(static_cast<double>(p.TWIDTH));

    // A negative width marks a mirrored column (a flipped STEIL): edge A
    // lies on the other side of the line, so its stitches mirror the rest.
    const double side = p.SWIDTH < 0 || p.TWIDTH < 0 ? -1.0 : 1.0;

    ColumnSpec shape;
    const Vec first = centre.pointAt(0), last = centre.pointAt(centre.length());
    const bool back = startsAtEnd(first, first, last, last, ctx);
    shape.edges = [&](double t, Vec& a, Vec& b) {
        const double u = back ? 1 - t : t;
        const double s = u * centre.length();
        const Vec c = centre.pointAt(s);
        const Vec half = perp(centre.tangentAt(s)) * (side * lerp(w0, w1, u) / 2);
        a = c - half;
        b = c + half;
    };
    shape.length = centre.length();
    applyCommon(p, r.tail, ctx, shape);
    if (back) {
        std::swap(shape.startSpacing, shape.endSpacing);
        std::swap(shape.startComp, shape.endComp);
    }
    stitchColumn(shape, sink);
}

} // namespace kelvara::stitch
