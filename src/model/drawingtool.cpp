#include "model/drawingtool.h"

#include "model/records.h"

#include <cstdlib>

namespace kelvara {

namespace {

// Segments a tool collects before its object is created, by ToolMode.
constexpr int32_t kSegmentsNeeded[7] = {0, 1, 3, 1, 2, 2, 2};

bool isDrawingKind(int32_t kind)
{
    return kind >= KindRun && kind <= KindCircle;
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
    return {ToolPhaseKind::Collecting, tools.clickCount, kSegmentsNeeded[tools.toolMode]};
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
    return isDrawingKind(kind) ? kSegmentsNeeded[kind] : 0;
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
    if (toolMode != -1 && !isDrawingKind(toolMode))
        return false;
    tools.toolMode = toolMode;
    tools.insertingPoint = 0;
    tools.clickCount = 0;
    tools.preview.clear();
    tools.rubberBand.active = 0;
    if (toolMode != -1) {
        tools.rubberBand.curvesAllowed = toolMode <= KindSteil ? 1 : 0;
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

bool finishObject(ToolState& tools, const ObjectParams* created)
{
    bool ended = false;
    switch (tools.toolMode) {
    case KindRun:
        if (created)
            startSegmentAt(tools.rubberBand, int32_t(created->run.line.x2), int32_t(created->run.line.y2));
        break;
    case KindSteil:
        if (created)
            startSegmentAt(tools.rubberBand, int32_t(created->steil.line.x2),
                           int32_t(created->steil.line.y2));
        break;
    case KindSaten:
        if (created)
            startSegmentAt(tools.rubberBand, int32_t(created->saten.edgeA.x2),
                           int32_t(created->saten.edgeA.y2));
        break;
    default:
        tools.rubberBand.active = 0;
        tools.toolMode = 0;
        ended = true;
        break;
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
}

void resetTools(ToolState& tools)
{
    tools = ToolState{};
}

} // namespace kelvara
