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

struct DesignPoint {
    int32_t x;
    int32_t y;
};

DesignPoint toDesign(const ViewState& view, int32_t px, int32_t py)
{
    // A click just outside the canvas stores the nearest edge of the area.
    return {int32_t(std::clamp<int64_t>(view.designX(px), 0, kDesignArea)),
            int32_t(std::clamp<int64_t>(view.designY(py), 0, kDesignArea))};
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

    const auto sx = int32_t(std::floor(view.canvasX(band.startX)));
    const auto sy = int32_t(std::floor(view.canvasY(band.startY)));
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
    if (finishObject(ws.tools, live ? &ws.records[entry.params] : nullptr, ws.settings.TOOLSTAYS != 0))
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
        ws.view.clickNote = message(ws, kSlotTableFull);
        return;
    }

    followUp(ws, row);
}

// Why a click of the left or the right button will do nothing; empty when
// it does something.
std::string idleClickNote(const Workspace& ws, uint32_t code)
{
    const ToolState& tools = ws.tools;
    if (penActive(tools) || tools.toolMode == -1 || tools.toolMode == KindLetters)
        return {};
    if (tools.toolMode == 0)
        return code == MsgLButtonDown ? std::string() : message(ws, kSlotNoToolClick);
    if (code != MsgRButtonDown)
        return {};
    if (tools.rubberBand.curvesAllowed != 1)
        return message(ws, kSlotStraightTool);
    if (tools.rubberBand.active == 0)
        return message(ws, kSlotRightClickFirst);
    return {};
}

} // namespace

void toolEvent(Workspace& ws, const Platform& platform, int32_t x, int32_t y, uint32_t code,
               int32_t wheelDelta, int32_t /*ctrl*/, int32_t /*shift*/)
{
    if (code == MsgLButtonDown || code == MsgLButtonUp || code == MsgRButtonDown) {
        if (!ws.view.clickNote.empty())
            markRepaint(ws);
        ws.view.clickNote = idleClickNote(ws, code);
    }
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
    // What the last tool's click could not do says nothing about this one.
    ws.view.clickNote.clear();
    if (ws.tools.nodeEditing != 0)
        markCanvasChanged(ws);
    ws.tools.nodeEditing = 0;
    markCursor(ws, t == -1 ? kSizeAllCursor : t == KindLetters ? kIBeamCursor : kCrossCursor);
    if (t == -1)
        ws.table.currentObject = -1;
    markRepaint(ws);
}

} // namespace kelvara
