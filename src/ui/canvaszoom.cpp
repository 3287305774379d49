#include "model/refresh.h"
#include "model/workspace.h"
#include "ui/canvasview.h"
#include "ui/drawingtools.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

constexpr int32_t kMaxZoom = 32;
// The fine steps run from 1/32 (the whole design area on a small canvas)
// to 32, three to each doubling.
constexpr int32_t kLowestStep = -15;
constexpr int32_t kHighestStep = 15;

// Step n of the fine ladder: 2^(n div 3) times 1, 5/4 or 8/5, so each step
// is 1.25 or 1.28 times the one before and the powers of two are exact.
ZoomRatio zoomLadder(int32_t n)
{
    constexpr int32_t kZoom[3] = {4, 5, 8};
    constexpr int32_t kDivisor[3] = {4, 4, 5};
    const int32_t octave = n >= 0 ? n / 3 : -((2 - n) / 3);
    const int32_t j = n - 3 * octave;
    return octave >= 0 ? ZoomRatio(kZoom[j] << octave, kDivisor[j])
                       : ZoomRatio(kZoom[j], kDivisor[j] << -octave);
}

// The whole design area, with the stitches' reach, already shows.
bool wholeAreaShown(const ViewState& view, const ZoomRatio& zoom)
{
    const StitchReach& r = view.reach;
    return zoom.pixels(int64_t(kScrollRange) + r.left + r.right) <= view.canvasWidth &&
           zoom.pixels(int64_t(kScrollRange) + r.top + r.bottom) <= view.canvasHeight;
}

// `steps` fine steps from `from` (which need not be on the ladder: a fit
// lies between steps), no further out than the first view of the whole
// design area.
ZoomRatio fineStep(const ViewState& view, ZoomRatio from, int32_t steps)
{
    for (; steps > 0; --steps) {
        int32_t n = kLowestStep;
        while (n < kHighestStep && !zoomLadder(n).above(from))
            ++n;
        if (!zoomLadder(n).above(from))
            break;
        from = zoomLadder(n);
    }
    for (; steps < 0; ++steps) {
        if (wholeAreaShown(view, from))
            break;
        int32_t n = kHighestStep;
        while (n > kLowestStep && !from.above(zoomLadder(n)))
            --n;
        if (!from.above(zoomLadder(n)))
            break;
        from = zoomLadder(n);
    }
    return from;
}

} // namespace

ZoomRatio fittingZoom(double width, double height, int32_t canvasWidth, int32_t canvasHeight)
{
    // Thousandths are finer than the eye can tell apart and keep the
    // ratio's products small.
    constexpr int32_t kFineDivisor = 1000;
    const double scale = std::min(canvasWidth / std::max(width, 1.0), canvasHeight / std::max(height, 1.0));
    const ZoomRatio lowest = zoomLadder(kLowestStep);
    if (!std::isfinite(scale) || scale <= lowest.scale())
        return lowest;
    const ZoomRatio fit(int32_t(std::floor(std::min(scale, double(kMaxZoom)) * kFineDivisor)), kFineDivisor);
    return lowest.above(fit) ? lowest : fit;
}

void zoomStep(Workspace& ws, const Platform& platform, int32_t wheelDelta)
{
    int32_t& remainder = ws.view.wheelRemainder;
    // A turn the other way starts afresh: it does not first pay off the
    // part of a notch left over from the last one.
    if ((remainder < 0 && wheelDelta > 0) || (remainder > 0 && wheelDelta < 0))
        remainder = 0;
    // Messages carry 16-bit deltas; a larger one is no real turn.
    remainder += std::clamp(wheelDelta, -0x8000, 0x7FFF);
    const int32_t notches = remainder / kWheelNotch;
    remainder -= notches * kWheelNotch;
    if (ws.settings.ZOOMSTEPS == 0) {
        zoomBy(ws, platform, -notches);
        return;
    }
    // Wheel up (a positive turn) zooms in, around the pointer when it is
    // over the canvas.
    const ViewState& view = ws.view;
    const bool overCanvas = view.mouseX >= 0 && view.mouseY >= 0 && view.mouseX < view.canvasWidth &&
                            view.mouseY < view.canvasHeight;
    if (overCanvas)
        zoomAround(ws, notches, view.mouseX, view.mouseY);
    else
        zoomAround(ws, notches, view.canvasWidth / 2, view.canvasHeight / 2);
}

void zoomBy(Workspace& ws, const Platform& /*platform*/, int32_t steps)
{
    if (ws.settings.ZOOMSTEPS != 0) {
        zoomAround(ws, steps, ws.view.canvasWidth / 2, ws.view.canvasHeight / 2);
        return;
    }
    int32_t& zoom = ws.view.zoom;
    const int32_t before = zoom;
    zoom = std::clamp(zoom + std::clamp(steps, -kMaxZoom, kMaxZoom), 1, kMaxZoom);
    if (zoom == before)
        return;
    markViewChanged(ws);
    markRepaint(ws);
}

void zoomAround(Workspace& ws, int32_t steps, int32_t px, int32_t py)
{
    ViewState& view = ws.view;
    const ZoomRatio before = view.ratio();
    const ZoomRatio after = fineStep(view, before, std::clamp(steps, -2 * kHighestStep, 2 * kHighestStep));
    if (after == before)
        return;
    // The design point under (px, py) is drawn there again at the new zoom,
    // as far as the scroll range lets the view go.
    const auto keep = [&](int32_t offset, int32_t at, int32_t extent, int32_t reachBefore, int32_t reachBeyond) {
        const double design = before.exactUnits(double(int64_t(at) + offset));
        const double wanted = std::round(after.exactPixels(design)) - at;
        const double first = double(firstScrollOffset(after, reachBefore));
        const double last = double(lastScrollOffset(after, extent, reachBefore, reachBeyond));
        return int32_t(std::clamp(wanted, first, last));
    };
    view.scrollX = keep(view.scrollX, px, view.canvasWidth, view.reach.left, view.reach.right);
    view.scrollY = keep(view.scrollY, py, view.canvasHeight, view.reach.top, view.reach.bottom);
    view.setRatio(after);
    markViewChanged(ws);
    markRepaint(ws);
}

} // namespace kelvara
