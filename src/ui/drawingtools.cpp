#include "ui/drawingtools.h"

#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/pentool.h"
#include "model/letteringedit.h"
#include "model/recordgeometry.h"
#include "model/refresh.h"
#include "model/shiftrule.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "ui/canvasview.h"
#include "ui/messages.h"
#include "ui/pentool.h"
#include "ui/selecttool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvara {

namespace {

constexpr int32_t kMaxZoom = 32;

struct DesignPoint {
    int32_t x;
    int32_t y;
};

DesignPoint toDesign(const ViewState& view, int32_t px, int32_t py)
{
    const int32_t zoom = view.zoom >= 1 ? view.zoom : 1;
    // A click just outside the canvas stores the nearest edge of the area.
    return {std::clamp((px + view.scrollX) / zoom, 0, kDesignArea),
            std::clamp((py + view.scrollY) / zoom, 0, kDesignArea)};
}

DesignPoint mouseDesignPoint(const ViewState& view)
{
    return toDesign(view, view.mouseX, view.mouseY);
}

// The point a click stores. With Shift held and a live segment, the same
// constraint the rubber band shows is applied in canvas pixels; the result is
// then straightened again in design units, because a 45-degree offset that is
// not a multiple of the zoom would otherwise round to a slightly steeper or
// flatter line than the one on screen.
DesignPoint clickPoint(const Workspace& ws)
{
    const ViewState& view = ws.view;
    const RubberBand& band = ws.tools.rubberBand;
    if (!ws.input.shiftDown || !band.active)
        return mouseDesignPoint(view);

    const int32_t sx = band.startX * view.zoom - view.scrollX;
    const int32_t sy = band.startY * view.zoom - view.scrollY;
    int32_t ex = view.mouseX;
    int32_t ey = view.mouseY;
    constrainToShift(sx, sy, ex, ey);
    DesignPoint p = toDesign(view, ex, ey);
    constrainToShift(band.startX, band.startY, p.x, p.y);
    return p;
}

// What the tool does once its object exists: the line tools go on from the
// end point, the shape tools end.
void followUp(Workspace& ws, int32_t row)
{
    const ObjectEntry& entry = ws.table.rows[row];
    const bool live =
        entry.params >= 1 && entry.params <= RecordStore::kSlots && ws.records.isLive(entry.params);
    if (finishObject(ws.tools, live ? &ws.records[entry.params] : nullptr))
        markCursor(ws, kArrowCursor);
}

void completionCheck(Workspace& ws, const Platform& platform)
{
    if (!objectComplete(ws.tools))
        return;

    // A full table keeps the segments (createObject holds them), so the next
    // event tries again.
    const int32_t row = createObject(ws, platform);
    if (row < 0) {
        return;
    }

    followUp(ws, row);
}

} // namespace

void constrainToShift(int32_t sx, int32_t sy, int32_t& ex, int32_t& ey)
{
    constrainToShift<int32_t>(sx, sy, ex, ey);
}

void toolEvent(Workspace& ws, const Platform& platform, int32_t x, int32_t y, uint32_t code,
               int32_t wheelDelta, int32_t /*ctrl*/, int32_t /*shift*/)
{
    if (code == MsgLButtonDown || code == MsgLButtonUp || code == MsgMouseMove) {
        if (penActive(ws.tools)) {
            penToolEvent(ws, platform, x, y, code);
            return;
        }
        if (ws.tools.toolMode == -1)
            selectToolEvent(ws, platform, code, x, y);
        if (code == MsgMouseMove)
            return;
    }
    switch (code) {
    case MsgLButtonUp:
        if (ws.tools.toolMode == KindLetters) {
            const DesignPoint p = mouseDesignPoint(ws.view);
            placeLettering(ws, platform, p.x, p.y);
        } else if (isDrawing(ws.tools)) {
            const DesignPoint p = clickPoint(ws);
            addClick(ws.tools, p.x, p.y);
        }
        break;
    case MsgRButtonDown:
        if (isDrawing(ws.tools)) {
            const DesignPoint p = mouseDesignPoint(ws.view);
            bendSegment(ws.tools, p.x, p.y, ws.input.ctrlDown != 0);
        }
        break;
    case MsgMouseWheel:
        zoomStep(ws, platform, wheelDelta);
        break;
    default:
        break;
    }
    completionCheck(ws, platform);
}

void selectTool(Workspace& ws, const Platform& /*platform*/, int32_t t)
{
    if (!beginTool(ws.tools, t))
        return;
    if (ws.tools.nodeEditing != 0)
        markCanvasChanged(ws);
    ws.tools.nodeEditing = 0;
    markCursor(ws, t == -1 ? kSizeAllCursor : t == KindLetters ? kIBeamCursor : kCrossCursor);
    if (t == -1)
        ws.table.currentObject = -1;
    markRepaint(ws);
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
    const int32_t before = std::max(view.zoom, 1);
    const int32_t after = std::clamp(before + std::clamp(steps, -kMaxZoom, kMaxZoom), 1, kMaxZoom);
    if (after == view.zoom)
        return;
    // The design point under (px, py) is drawn there again at the new zoom,
    // as far as the scroll range lets the view go.
    const auto keep = [&](int32_t offset, int32_t at, int32_t extent, int32_t reachBefore, int32_t reachBeyond) {
        const double design = double(int64_t(at) + offset) / before;
        const double wanted = std::round(design * after) - at;
        const double first = -double(reachBefore) * after;
        const double last = std::max(first, double(scrollRange(after)) + double(reachBeyond) * after -
                                                 scrollPage(extent, after));
        return int32_t(std::clamp(wanted, first, last));
    };
    view.scrollX = keep(view.scrollX, px, view.canvasWidth, view.reach.left, view.reach.right);
    view.scrollY = keep(view.scrollY, py, view.canvasHeight, view.reach.top, view.reach.bottom);
    view.zoom = after;
    markViewChanged(ws);
    markRepaint(ws);
}

} // namespace kelvara
