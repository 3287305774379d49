#include "model/drawingtool.h"

#include "model/kinds/kind.h"
#include "model/pentool.h"

#include <cstdlib>

namespace kelvara {

namespace {

bool isDrawingKind(int32_t kind)
{
    const KindRow* row = kindRow(kind);
    return row != nullptr && row->segments > 0;
}

// A new live segment from (x, y), straight until the right button bends it.
void startSegmentAt(RubberBand& band, int32_t x, int32_t y)
{
    band.active = 1;
    band.startX = x;
    band.startY = y;
    band.straight = 1;
    band.c1X = band.c2X = x;
    band.c1Y = band.c2Y = y;
}

} // namespace

ToolPhase toolPhase(const ToolState& tools)
{
    if (tools.toolMode == -1)
        return {ToolPhaseKind::Selecting, 0, 0};
    if (!isDrawingKind(tools.toolMode))
        return {};
    return {ToolPhaseKind::Collecting, tools.clickCount, kindRow(tools.toolMode)->segments};
}

bool isDrawing(const ToolState& tools)
{
    return toolPhase(tools).kind == ToolPhaseKind::Collecting;
}

bool objectComplete(const ToolState& tools)
{
    const ToolPhase phase = toolPhase(tools);
    return phase.kind == ToolPhaseKind::Collecting && phase.collected == phase.needed;
}

int32_t segmentsNeeded(int32_t kind)
{
    return isDrawingKind(kind) ? kindRow(kind)->segments : 0;
}

SegmentEllipse ellipseOf(const PreviewSegment& s)
{
    const int64_t dx = int64_t(s.endX) - s.startX;
    const int64_t dy = int64_t(s.endY) - s.startY;
    return SegmentEllipse{static_cast<int32_t>(s.startX + dx / 2), static_cast<int32_t>(s.startY + dy / 2),
                          static_cast<int32_t>(std::llabs(dx) / 2), static_cast<int32_t>(std::llabs(dy) / 2)};
}

bool beginTool(ToolState& tools, int32_t toolMode)
{
    // The text tool places lettering with one click and collects nothing.
    if (toolMode != -1 && toolMode != KindLetters && !isDrawingKind(toolMode))
        return false;
    tools.toolMode = toolMode;
    tools.insertingPoint = 0;
    tools.clickCount = 0;
    tools.pen = PenState{};
    tools.preview.clear();
    tools.rubberBand.active = 0;
    if (toolMode != -1) {
        tools.rubberBand.curvesAllowed = kindRow(toolMode)->drawsLines ? 1 : 0;
        tools.newGroupPending = 1;
    }
    return true;
}

void addClick(ToolState& tools, int32_t x, int32_t y)
{
    RubberBand& band = tools.rubberBand;
    // The preview holds three segments, the most any object takes.
    if (band.active && tools.clickCount < 3) {
        PreviewSegment& seg = tools.preview.segments[tools.clickCount];
        seg.used = 1;
        seg.startX = band.startX;
        seg.startY = band.startY;
        seg.endX = x;
        seg.endY = y;
        seg.straight = band.straight;
        seg.c1X = band.c1X;
        seg.c1Y = band.c1Y;
        seg.c2X = band.c2X;
        seg.c2Y = band.c2Y;
        ++tools.clickCount;
    }
    startSegmentAt(band, x, y);
}

void bendSegment(ToolState& tools, int32_t x, int32_t y, bool secondControl)
{
    RubberBand& band = tools.rubberBand;
    if (band.curvesAllowed != 1)
        return;
    band.straight = 0;
    if (secondControl) {
        band.c2X = x;
        band.c2Y = y;
    } else {
        band.c1X = x;
        band.c1Y = y;
    }
}

bool finishObject(ToolState& tools, const ObjectParams* created, bool staysReady)
{
    bool ended = false;
    // A line tool goes on drawing from where the object it made ends.
    const KindRow* row = kindRow(tools.toolMode);
    if (row != nullptr && row->drawsLines) {
        if (created) {
            const BezierEdge& first = *kindEdges(*row, *created).at[0];
            startSegmentAt(tools.rubberBand, int32_t(first.x2), int32_t(first.y2));
        }
    } else if (staysReady) {
        // Ready for the next shape, which is not part of this one.
        tools.rubberBand.active = 0;
        tools.newGroupPending = 1;
    } else {
        tools.rubberBand.active = 0;
        tools.toolMode = 0;
        ended = true;
    }
    tools.clickCount = 0;
    tools.preview.clear();
    return ended;
}

void holdObject(ToolState& tools)
{
    tools.rubberBand.active = 0;
    tools.preview.segments[0].used = 0;
}

bool takeNewGroup(ToolState& tools)
{
    if (tools.newGroupPending == 0)
        return false;
    tools.newGroupPending = 0;
    return true;
}

void abandonDrawing(ToolState& tools)
{
    tools.toolMode = 0;
    tools.insertingPoint = 0;
    tools.clickCount = 0;
    tools.preview.clear();
    tools.rubberBand.active = 0;
    tools.pen = PenState{};
}

bool dropCollected(ToolState& tools)
{
    const bool collected = tools.clickCount > 0 || tools.rubberBand.active != 0 || !tools.pen.nodes.empty() ||
                           tools.pen.pressed != 0;
    if (tools.toolMode <= 0 || !collected)
        return false;
    tools.clickCount = 0;
    tools.preview.clear();
    tools.rubberBand.active = 0;
    penClear(tools.pen);
    return true;
}

void resetTools(ToolState& tools)
{
    tools = ToolState{};
}

} // namespace kelvara
