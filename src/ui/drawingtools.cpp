#include "ui/drawingtools.h"

#include "model/editing.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "ui/messages.h"

#include <algorithm>
#include <cstdlib>

namespace kelvara {

namespace {

constexpr int32_t kMaxZoom = 32;

// Segments a tool collects before its object is created, by ToolMode.
constexpr int32_t kSegmentsNeeded[7] = {0, 1, 3, 1, 2, 2, 2};

struct DesignPoint {
    int32_t x;
    int32_t y;
};

void invalidate(const Platform& platform)
{
    if (platform.canvas)
        platform.canvas->invalidateCanvas();
}

void render(const Platform& platform)
{
    if (platform.canvas)
        platform.canvas->renderCanvas();
}

void showCursor(Workspace& ws, const Platform& platform, int32_t number)
{
    ws.cursorNumber = number;
    if (platform.cursor)
        platform.cursor->setCursor(number);
}

DesignPoint toDesign(const ViewState& view, int32_t px, int32_t py)
{
    const int32_t zoom = view.zoom >= 1 ? view.zoom : 1;
    return {(px + view.scrollX) / zoom, (py + view.scrollY) / zoom};
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

void leftButtonUp(Workspace& ws)
{
    ToolState& tools = ws.tools;
    RubberBand& band = tools.rubberBand;
    const DesignPoint p = clickPoint(ws);

    if (band.active && tools.clickCount < 3) {
        PreviewSegment& seg = tools.preview.segments[tools.clickCount];
        seg.used = 1;
        seg.startX = band.startX;
        seg.startY = band.startY;
        seg.endX = p.x;
        seg.endY = p.y;
        seg.straight = band.straight;
        seg.c1X = band.c1X;
        seg.c1Y = band.c1Y;
        seg.c2X = band.c2X;
        seg.c2Y = band.c2Y;
        ++tools.clickCount;
    }

    band.active = 1;
    band.startX = p.x;
    band.startY = p.y;
    band.straight = 1;
    band.c1X = band.c2X = p.x;
    band.c1Y = band.c2Y = p.y;
}

void rightButtonDown(Workspace& ws)
{
    RubberBand& band = ws.tools.rubberBand;
    if (band.curvesAllowed != 1)
        return;
    const DesignPoint p = mouseDesignPoint(ws.view);
    band.straight = 0;
    if (ws.input.ctrlDown) {
        band.c2X = p.x;
        band.c2Y = p.y;
    } else {
        band.c1X = p.x;
        band.c1Y = p.y;
    }
}

void restartBandAt(RubberBand& band, double x, double y)
{
    band.active = 1;
    band.startX = static_cast<int32_t>(x);
    band.startY = static_cast<int32_t>(y);
    band.straight = 1;
    band.c1X = band.c2X = band.startX;
    band.c1Y = band.c2Y = band.startY;
}

// What the tool does once its object exists: the line tools go on from the
// end point, the shape tools end.
void followUp(Workspace& ws, const Platform& platform, int32_t row)
{
    RubberBand& band = ws.tools.rubberBand;
    const ObjectEntry& entry = ws.table.rows[row];
    const bool live =
        entry.params >= 1 && entry.params <= RecordStore::kSlots && ws.records.isLive(entry.params);
    const ObjectParams* params = live ? &ws.records[entry.params] : nullptr;
    switch (ws.tools.toolMode) {
    case KindRun:
        if (params)
            restartBandAt(band, params->run.line.x2, params->run.line.y2);
        break;
    case KindSteil:
        if (params)
            restartBandAt(band, params->steil.line.x2, params->steil.line.y2);
        break;
    case KindSaten:
        if (params)
            restartBandAt(band, params->saten.edgeA.x2, params->saten.edgeA.y2);
        break;
    default:
        band.active = 0;
        ws.tools.toolMode = 0;
        showCursor(ws, platform, 0);
        break;
    }
}

void completionCheck(Workspace& ws, const Platform& platform)
{
    ToolState& tools = ws.tools;
    if (tools.toolMode < KindRun || tools.toolMode > KindCircle)
        return;
    if (tools.clickCount != kSegmentsNeeded[tools.toolMode])
        return;

    const int32_t row = createObject(ws, platform);
    if (row < 0) {
        // The table is full: the segments stay, so the next event tries again.
        tools.rubberBand.active = 0;
        tools.preview.segments[0].used = 0;
        invalidate(platform);
        return;
    }

    followUp(ws, platform, row);
    tools.clickCount = 0;
    tools.preview.clear();
    render(platform);
    invalidate(platform);
}

} // namespace

void constrainToShift(int32_t sx, int32_t sy, int32_t& ex, int32_t& ey)
{
    const int32_t dx = ex - sx;
    const int32_t dy = ey - sy;
    const int32_t ax = std::abs(dx);
    const int32_t ay = std::abs(dy);
    const int32_t signX = dx >= 0 ? 1 : -1;
    const int32_t signY = dy >= 0 ? 1 : -1;
    if (ax > ay) {
        ey = ay < ax / 2 ? sy : sy + ax * signY;
    } else if (ay > ax) {
        ex = ax < ay / 2 ? sx : sx + ay * signX;
    }
}

void toolEvent(Workspace& ws, const Platform& platform, int32_t /*x*/, int32_t /*y*/, uint32_t code,
               int32_t wheelDelta, int32_t /*ctrl*/, int32_t /*shift*/)
{
    switch (code) {
    case MsgLButtonUp:
        if (ws.tools.toolMode >= 1)
            leftButtonUp(ws);
        break;
    case MsgRButtonDown:
        if (ws.tools.toolMode >= 1)
            rightButtonDown(ws);
        break;
    case MsgMouseWheel:
        zoomStep(ws, platform, wheelDelta);
        break;
    default:
        break;
    }
    completionCheck(ws, platform);
}

void selectTool(Workspace& ws, const Platform& platform, int32_t t)
{
    if (t != -1 && (t < KindRun || t > KindCircle))
        return;
    showCursor(ws, platform, t == -1 ? 2 : 1);

    ToolState& tools = ws.tools;
    tools.toolMode = t;
    tools.clickCount = 0;
    tools.preview.clear();
    tools.rubberBand.active = 0;

    if (t == -1) {
        ws.table.currentObject = -1;
    } else {
        tools.rubberBand.curvesAllowed = t <= KindSteil ? 1 : 0;
        tools.newGroupPending = 1;
    }
    invalidate(platform);
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
    zoomBy(ws, platform, -notches);
}

void zoomBy(Workspace& ws, const Platform& platform, int32_t steps)
{
    int32_t& zoom = ws.view.zoom;
    const int32_t before = zoom;
    zoom = std::clamp(zoom + std::clamp(steps, -kMaxZoom, kMaxZoom), 1, kMaxZoom);
    if (zoom == before)
        return;
    render(platform);
    if (platform.canvas)
        platform.canvas->updateScrollBars();
    invalidate(platform);
}

} // namespace kelvara
