// RECT and CIRCLE: both become an outline for the fill generator.
//
// RECT's area is bounded by edge A, edge B and the two lines joining their
// ends; when B was drawn the other way round (its start nearer the end of A)
// it is joined end to end the other way, so the outline never crosses
// itself. CIRCLE's area is its ellipse. Rows run at ANGLE degrees,
// counter-clockwise as seen on screen with 0 along +x (the way the star's
// STARTANGLE and STOPANGLE turn), SDENS / 10 units apart;
// SCOMP lengthens every row, a PATTERN places the penetrations (a character
// across as wide as a row is deep, ZOOMX stretches it along the rows, ZOOMY
// repeats each pattern row that many times), UNDER other than -1 adds the underlay with stitches that long,
// inset by OFSUND; the tail's FLEN and ROWSHIFT set the tatami as in SHAPE.
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/fill.h"
#include "stitch/fillborders.h"
#include "stitch/fillkeys.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

FillSpec rectShape(const RectRecord& r, const GenContext& ctx)
{
    const RectParams& p = r.fixed;
    FillSpec shape;
    shape.outline = flattenEdge(p.edgeA);
    std::vector<Vec> b = flattenEdge(p.edgeB);
    const Vec a0{p.edgeA.x1, p.edgeA.y1}, a1{p.edgeA.x2, p.edgeA.y2};
    const Vec b0{p.edgeB.x1, p.edgeB.y1}, b1{p.edgeB.x2, p.edgeB.y2};
    if (length(a0 - b0) + length(a1 - b1) <= length(a0 - b1) + length(a1 - b0))
        std::reverse(b.begin(), b.end());
    shape.outline.insert(shape.outline.end(), b.begin(), b.end());
    applyFillKeys(p, ctx, shape);
    applyTatami(r.tail.FLEN, r.tail.ROWSHIFT, shape);
    return shape;
}

// No outline when the ellipse has no area to fill.
FillSpec circleShape(const CircleRecord& r, const GenContext& ctx)
{
    const CircleParams& p = r.fixed;
    FillSpec shape;
    const double rx = std::abs(static_cast<double>(p.RX)), ry = std::abs(static_cast<double>(p.RY));
    if (rx < 0.5 || ry < 0.5)
        return shape;
    const double around = 2 * 3.14159265358979323846 * std::max(rx, ry);
    const int n = static_cast<int>(std::clamp(std::ceil(around / 3), 16.0, 1024.0));
    shape.outline.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265358979323846 * i / n;
        shape.outline.push_back({p.X + rx * std::cos(a), p.Y + ry * std::sin(a)});
    }
    applyFillKeys(p, ctx, shape);
    applyTatami(r.tail.FLEN, r.tail.ROWSHIFT, shape);
    return shape;
}

// The top layer reaches under the borders sewn after the fill, and the fill
// starts near where the needle is and ends near where the next object starts.
FillSpec withBorders(FillSpec shape, const GenContext& ctx)
{
    if (ctx.borderCount > 0)
        shape.topOutline = extendUnderBorders(shape.outline, ctx.borders, ctx.borderCount);
    shape.hasEntry = ctx.hasEntry;
    shape.entry = ctx.entry;
    shape.hasExit = ctx.hasExit;
    shape.exit = ctx.exit;
    return shape;
}

} // namespace

void generateRect(const RectRecord& r, const GenContext& ctx, NeedleSink& sink)
{
    stitchFill(withBorders(rectShape(r, ctx), ctx), sink);
}

void generateCircle(const CircleRecord& r, const GenContext& ctx, NeedleSink& sink)
{
    stitchFill(withBorders(circleShape(r, ctx), ctx), sink);
}

int64_t rectRecordFloor(const RectRecord& r, const GenContext& ctx, int64_t limit)
{
    return fillRecordFloor(rectShape(r, ctx), limit);
}

int64_t circleRecordFloor(const CircleRecord& r, const GenContext& ctx, int64_t limit)
{
    return fillRecordFloor(circleShape(r, ctx), limit);
}

} // namespace kelvara::stitch
