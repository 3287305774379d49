#include "ui/pentool.h"

#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/pathconvert.h"
#include "model/pentool.h"
#include "model/recordgeometry.h"
#include "model/refresh.h"
#include "model/shiftrule.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "ui/messages.h"

#include <algorithm>

namespace kelvara {

namespace {

constexpr uint32_t kBackspace = 8;
// How near (canvas pixels) a click must come to a node to hit it.
constexpr int32_t kNodeReach = 6;

struct DesignPoint {
    int32_t x, y;
};

DesignPoint toDesign(const ViewState& view, int32_t px, int32_t py)
{
    return {int32_t(std::clamp<int64_t>(view.designX(px), 0, kDesignArea)),
            int32_t(std::clamp<int64_t>(view.designY(py), 0, kDesignArea))};
}

// With Shift, a new node lies straight across, up or at 45 degrees from
// the last one, as the other tools' clicks do.
DesignPoint nodePoint(const Workspace& ws, int32_t px, int32_t py)
{
    DesignPoint p = toDesign(ws.view, px, py);
    const std::vector<PenNode>& nodes = ws.tools.pen.nodes;
    if (ws.input.shiftDown != 0 && !nodes.empty())
        constrainToShift(nodes.back().x, nodes.back().y, p.x, p.y);
    return p;
}

void endPen(Workspace& ws)
{
    abandonDrawing(ws.tools);
    markCursor(ws, kArrowCursor);
}

// The path is done: a hole of the shape named, or a new object. A path
// that cannot end yet stays, and the user is told why nothing happened.
void finishPath(Workspace& ws, const Platform& platform, PenOutcome outcome)
{
    PenState& pen = ws.tools.pen;
    if (outcome == PenOutcome::TooFew) {
        const bool shape = ws.tools.toolMode == KindShape;
        ws.view.note = std::string(shape ? "A shape" : "A stroke") + " needs at least " +
                       std::to_string(fewestPenNodes(ws.tools.toolMode, shape)) + " nodes; it has " +
                       std::to_string(pen.nodes.size()) + ". Click to place more.";
        return;
    }
    ws.view.note.clear();
    if (pen.holeFor >= 0) {
        if (outcome == PenOutcome::Closed)
            addHoleToShape(ws, platform, pen.holeFor, penPath(pen, true));
        endPen(ws);
    } else if (createObject(ws, platform) >= 0) {
        penClear(pen);
    }
    markCanvasChanged(ws);
}

} // namespace

void penToolEvent(Workspace& ws, const Platform& platform, int32_t x, int32_t y, uint32_t code)
{
    PenState& pen = ws.tools.pen;
    switch (code) {
    case MsgLButtonDown: {
        const DesignPoint p = nodePoint(ws, x, y);
        penPress(pen, p.x, p.y);
        break;
    }
    case MsgMouseMove: {
        const DesignPoint p = toDesign(ws.view, x, y);
        penDrag(pen, p.x, p.y);
        markRepaint(ws);
        break;
    }
    case MsgLButtonUp: {
        const PenOutcome outcome = penRelease(ws.tools, int32_t(std::max<int64_t>(1, ws.view.ratio().units(kNodeReach))));
        if (outcome != PenOutcome::None)
            finishPath(ws, platform, outcome);
        markRepaint(ws);
        break;
    }
    default:
        break;
    }
}

bool penKey(Workspace& ws, const Platform& platform, uint32_t key)
{
    if (!penActive(ws.tools) || (key != kBackspace && key != VkReturn))
        return false;
    if (key == kBackspace) {
        penRemoveLast(ws.tools.pen);
    } else if (const PenOutcome outcome = penFinish(ws.tools); outcome != PenOutcome::None) {
        finishPath(ws, platform, outcome);
    }
    markRepaint(ws);
    return true;
}

void selectPen(Workspace& ws, const Platform& /*platform*/, int32_t kind)
{
    if (ws.tools.nodeEditing != 0)
        markCanvasChanged(ws);
    if (!beginPen(ws.tools, kind, -1))
        return;
    ws.view.clickNote.clear();
    markCursor(ws, kCrossCursor);
    markRepaint(ws);
}

bool startHole(Workspace& ws, const Platform& /*platform*/)
{
    const int32_t row = ws.table.currentObject;
    if (row < 0 || row >= ObjectTable::kRows || ws.table.rows[row].kind != KindShape) {
        ws.view.note = message(ws, kSlotHoleNeedsShape);
        markRepaint(ws);
        return false;
    }
    beginPen(ws.tools, KindShape, row);
    ws.view.note = message(ws, kSlotDrawHole);
    markCursor(ws, kCrossCursor);
    markRepaint(ws);
    return true;
}

} // namespace kelvara
