#include "model/pentool.h"

#include "model/kinds/kind.h"

#include <cstdlib>

namespace kelvara {

namespace {

bool within(int32_t ax, int32_t ay, int32_t bx, int32_t by, int32_t near)
{
    return std::abs(int64_t(ax) - bx) <= near && std::abs(int64_t(ay) - by) <= near;
}

PathPoint pointOf(int32_t x, int32_t y)
{
    return {x, y};
}

PathSegment segmentBetween(const PenNode& from, const PenNode& to)
{
    PathSegment seg;
    seg.to = pointOf(to.x, to.y);
    seg.cubic = !(from.outX == from.x && from.outY == from.y && to.inX == to.x && to.inY == to.y);
    if (seg.cubic) {
        seg.c1 = pointOf(from.outX, from.outY);
        seg.c2 = pointOf(to.inX, to.inY);
    }
    return seg;
}

PenOutcome finishAs(ToolState& tools, bool closed)
{
    if (tools.pen.nodes.size() < fewestPenNodes(tools.toolMode, closed))
        return PenOutcome::TooFew;
    tools.pen.closing = closed ? 1 : 0;
    return closed ? PenOutcome::Closed : PenOutcome::EndedOpen;
}

} // namespace

std::size_t fewestPenNodes(int32_t kind, bool closed)
{
    return kind == KindShape || closed ? 3 : 2;
}

bool drawsWithPen(int32_t kind)
{
    return kind == KindStroke || kind == KindShape;
}

bool penActive(const ToolState& tools)
{
    return drawsWithPen(tools.toolMode);
}

bool beginPen(ToolState& tools, int32_t kind, int32_t holeFor)
{
    if (!drawsWithPen(kind))
        return false;
    tools.toolMode = kind;
    tools.insertingPoint = 0;
    tools.nodeEditing = 0;
    tools.clickCount = 0;
    tools.preview.clear();
    tools.rubberBand.active = 0;
    tools.newGroupPending = holeFor < 0 ? 1 : 0;
    tools.pen = PenState{};
    tools.pen.holeFor = holeFor;
    return true;
}

void penPress(PenState& pen, int32_t x, int32_t y)
{
    pen.pressed = 1;
    pen.pressX = pen.dragX = x;
    pen.pressY = pen.dragY = y;
}

void penDrag(PenState& pen, int32_t x, int32_t y)
{
    if (pen.pressed == 0)
        return;
    pen.dragX = x;
    pen.dragY = y;
}

PenOutcome penRelease(ToolState& tools, int32_t near)
{
    PenState& pen = tools.pen;
    if (pen.pressed == 0)
        return PenOutcome::None;
    pen.pressed = 0;
    const int32_t x = pen.pressX, y = pen.pressY;
    if (!pen.nodes.empty()) {
        const PenNode& first = pen.nodes.front();
        const PenNode& last = pen.nodes.back();
        if (pen.nodes.size() >= 3 && within(x, y, first.x, first.y, near))
            return finishAs(tools, true);
        // A second click on the node just placed: a double click.
        if (within(x, y, last.x, last.y, near))
            return finishAs(tools, tools.toolMode == KindShape);
    }
    PenNode node{x, y, x, y, x, y};
    // A drag sets the outgoing tangent; the incoming one mirrors it.
    if (!within(pen.dragX, pen.dragY, x, y, near)) {
        node.outX = pen.dragX;
        node.outY = pen.dragY;
        node.inX = static_cast<int32_t>(2 * int64_t(x) - pen.dragX);
        node.inY = static_cast<int32_t>(2 * int64_t(y) - pen.dragY);
    }
    if (pen.nodes.size() < kMostPathNodes)
        pen.nodes.push_back(node);
    return PenOutcome::None;
}

PenOutcome penFinish(ToolState& tools)
{
    return finishAs(tools, tools.toolMode == KindShape);
}

bool penRemoveLast(PenState& pen)
{
    if (pen.nodes.empty())
        return false;
    pen.nodes.pop_back();
    return true;
}

void penClear(PenState& pen)
{
    const int32_t holeFor = pen.holeFor;
    pen = PenState{};
    pen.holeFor = holeFor;
}

PathData penPath(const PenState& pen, bool closed)
{
    if (pen.nodes.empty())
        return {};
    SubPath sub;
    sub.start = pointOf(pen.nodes.front().x, pen.nodes.front().y);
    for (std::size_t i = 1; i < pen.nodes.size(); ++i)
        sub.segments.push_back(segmentBetween(pen.nodes[i - 1], pen.nodes[i]));
    if (closed) {
        const PenNode& last = pen.nodes.back();
        const PenNode& first = pen.nodes.front();
        // A straight way back is the Z itself; a curved one is a segment.
        const PathSegment back = segmentBetween(last, first);
        if (back.cubic)
            sub.segments.push_back(back);
        sub.closed = true;
    }
    return PathData{{std::move(sub)}};
}

} // namespace kelvara
