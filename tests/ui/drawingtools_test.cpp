// The drawing tools through the real window procedure: clicks, the held
// right button, Escape, the wheel and the tool buttons.

#include "drawingtools_driver.h"

#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/shiftrule.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using testing::ToolDriver;

void expectEdge(const BezierEdge& e, int straight, double x1, double y1, double x2, double y2)
{
    EXPECT_EQ(e.straight, straight);
    EXPECT_DOUBLE_EQ(+e.x1, x1);
    EXPECT_DOUBLE_EQ(+e.y1, y1);
    EXPECT_DOUBLE_EQ(+e.x2, x2);
    EXPECT_DOUBLE_EQ(+e.y2, y2);
}

void expectControls(const BezierEdge& e, double xc1, double yc1, double xc2, double yc2)
{
    EXPECT_DOUBLE_EQ(+e.xc1, xc1);
    EXPECT_DOUBLE_EQ(+e.yc1, yc1);
    EXPECT_DOUBLE_EQ(+e.xc2, xc2);
    EXPECT_DOUBLE_EQ(+e.yc2, yc2);
}

// ---- Clicks to records, one tool at a time ----

TEST(DrawingTools, ClickIsMappedThroughZoomAndScroll)
{
    ToolDriver d;
    d.ws.view.zoom = 3;
    d.ws.view.scrollX = 10;
    d.ws.view.scrollY = 20;
    d.tool(KindRun);
    d.click(31, 62);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 1);
    EXPECT_EQ(d.ws.tools.rubberBand.startX, 13);
    EXPECT_EQ(d.ws.tools.rubberBand.startY, 27);

    d.click(92, 5); // (102 div 3, 25 div 3)
    ASSERT_EQ(d.ws.table.objectCount, 1);
    const RunParams& run = d.params(0).run;
    expectEdge(run.line, 1, 13, 27, 34, 8);
    EXPECT_EQ(run.LEN, d.ws.settings.STITCH);
    EXPECT_EQ(run.JUMP, 1);
    EXPECT_EQ(run.TRIM, 0);
    EXPECT_EQ(run.MOTIVE, -1);
}

// Left of or above the canvas the pointer's halves are negative; read as
// unsigned they stored about 65,000.
TEST(DrawingTools, PositionsOutsideTheCanvasStayOnTheDesignAreasEdge)
{
    ToolDriver d;
    d.ws.view.zoom = 2;
    d.ws.view.scrollX = 4;
    d.tool(KindRun);
    d.click(-20, 30);
    d.bend({{-3, 20}});
    d.click(50, -1);
    ASSERT_EQ(d.ws.table.objectCount, 1);
    expectEdge(d.params(0).run.line, 0, 0, 15, 27, 0);
    EXPECT_DOUBLE_EQ(+d.params(0).run.line.xc1, 0);
    EXPECT_DOUBLE_EQ(+d.params(0).run.line.yc1, 20);
    EXPECT_EQ(d.ws.view.mouseY, -1);
}

TEST(DrawingTools, RunContinuesFromItsEndWithinOneGroup)
{
    ToolDriver d;
    d.tool(KindRun);
    d.clickAll({{10, 10}, {50, 10}, {50, 60}});
    ASSERT_EQ(d.ws.table.objectCount, 2);
    expectEdge(d.params(0).run.line, 1, 10, 10, 50, 10);
    expectEdge(d.params(1).run.line, 1, 50, 10, 50, 60);
    EXPECT_EQ(d.ws.table.rows[0].group, 1);
    EXPECT_EQ(d.ws.table.rows[1].group, 1);
    EXPECT_EQ(d.ws.tools.toolMode, KindRun);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 1);
    EXPECT_EQ(d.ws.tools.rubberBand.startX, 50);
    EXPECT_EQ(d.ws.tools.rubberBand.startY, 60);
    EXPECT_EQ(d.ws.tools.clickCount, 0);
    EXPECT_EQ(d.ws.tools.preview.segments[0].used, 0);

    // The list shows both, the newest selected.
    ASSERT_EQ(d.fakes.list.count(), 2);
    EXPECT_EQ(d.fakes.list.data(), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(d.fakes.list.selectedPositions(), std::vector<int>{1});
    EXPECT_EQ(d.ws.refresh.designRevision, 2u);

    // Pressing the tool button again starts a new group.
    d.tool(KindRun);
    d.clickAll({{0, 0}, {5, 5}});
    ASSERT_EQ(d.ws.table.objectCount, 3);
    EXPECT_EQ(d.ws.table.rows[2].group, 2);
}

TEST(DrawingTools, SatenEdgesAndNextStart)
{
    ToolDriver d;
    d.tool(KindSaten);
    d.clickAll({{10, 10}, {100, 10}, {100, 40}, {10, 40}});
    ASSERT_EQ(d.ws.table.objectCount, 1);
    const SatenParams& s = d.params(0).saten;
    expectEdge(s.edgeA, 1, 10, 10, 100, 10);
    expectEdge(s.edgeB, 1, 10, 40, 100, 40);
    EXPECT_EQ(s.SDENS, d.ws.settings.DENSITY);
    EXPECT_EQ(s.STARTA, 1);
    EXPECT_EQ(s.STOPA, 1);
    EXPECT_EQ(d.ws.tools.toolMode, KindSaten);

    // The next column starts at the end of edge A.
    d.clickAll({{150, 10}, {150, 40}, {100, 40}});
    ASSERT_EQ(d.ws.table.objectCount, 2);
    expectEdge(d.params(1).saten.edgeA, 1, 100, 10, 150, 10);
    expectEdge(d.params(1).saten.edgeB, 1, 100, 40, 150, 40);
}

TEST(DrawingTools, SatenCurvedEdgeBIsReversedWithSwappedControls)
{
    ToolDriver d;
    d.tool(KindSaten);
    d.clickAll({{0, 0}, {100, 0}, {100, 50}});
    d.bend({{70, 80}, {60, 90}}); // control point 1 follows the mouse
    d.holdCtrl();
    d.bend({{20, 70}, {30, 75}}); // Ctrl moves control point 2
    d.releaseCtrl();
    d.clickDesign(0, 50);
    ASSERT_EQ(d.ws.table.objectCount, 1);
    const BezierEdge& b = d.params(0).saten.edgeB;
    expectEdge(b, 0, 0, 50, 100, 50);
    expectControls(b, 30, 75, 60, 90);
    EXPECT_EQ(d.params(0).saten.edgeA.straight, 1);
}

TEST(DrawingTools, SteilTakesOneSegmentAndWidths)
{
    ToolDriver d;
    d.ws.settings.STEIL = 33;
    d.tool(KindSteil);
    d.clickAll({{5, 6}, {70, 80}});
    ASSERT_EQ(d.ws.table.objectCount, 1);
    const SteilParams& s = d.params(0).steil;
    expectEdge(s.line, 1, 5, 6, 70, 80);
    EXPECT_EQ(s.SWIDTH, 33);
    EXPECT_EQ(s.TWIDTH, 33);
    EXPECT_EQ(d.ws.tools.rubberBand.startX, 70);
    EXPECT_EQ(d.ws.tools.rubberBand.startY, 80);
}

TEST(DrawingTools, RectEdgeBIsTheFarSideOfTheParallelogramAndTheToolEnds)
{
    ToolDriver d;
    d.tool(KindRect);
    d.clickAll({{0, 0}, {100, 0}, {100, 50}});
    ASSERT_EQ(d.ws.table.objectCount, 1);
    const RectParams& r = d.params(0).rect;
    expectEdge(r.edgeA, 1, 0, 0, 100, 0);
    expectEdge(r.edgeB, 1, 0, 50, 100, 50);
    EXPECT_EQ(r.ANGLE, 0);
    EXPECT_EQ(d.ws.tools.toolMode, 0);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 0);
    EXPECT_EQ(d.ws.cursorNumber, 0);
    ASSERT_FALSE(d.fakes.cursor.history.empty());
    EXPECT_EQ(d.fakes.cursor.history.back(), 0);

    // Further clicks do nothing until a tool is chosen again.
    d.clickAll({{1, 1}, {2, 2}, {3, 3}});
    EXPECT_EQ(d.ws.table.objectCount, 1);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 0);
}

TEST(DrawingTools, StarAndCircleCentreAndRadii)
{
    for (int32_t kind : {KindStar, KindCircle}) {
        SCOPED_TRACE(kind);
        ToolDriver d;
        d.tool(kind);
        d.clickAll({{10, 10}, {31, 40}, {500, 500}});
        ASSERT_EQ(d.ws.table.objectCount, 1);
        const ObjectParams& p = d.params(0);
        if (kind == KindStar) {
            EXPECT_EQ(p.star.X, 20);
            EXPECT_EQ(p.star.Y, 25);
            EXPECT_EQ(p.star.RX, 10);
            EXPECT_EQ(p.star.RY, 15);
        } else {
            EXPECT_EQ(p.circle.X, 20);
            EXPECT_EQ(p.circle.Y, 25);
            EXPECT_EQ(p.circle.RX, 10);
            EXPECT_EQ(p.circle.RY, 15);
            EXPECT_EQ(p.circle.ANGLE, 0);
        }
        EXPECT_EQ(d.ws.tools.toolMode, 0);
        EXPECT_EQ(d.ws.cursorNumber, 0);
    }
}

// ---- The right button ----

TEST(DrawingTools, RightButtonBendsTheLiveSegment)
{
    ToolDriver d;
    d.tool(KindRun);
    d.clickDesign(0, 0);
    d.bend({{10, 40}, {20, 50}, {25, 55}});
    EXPECT_EQ(d.ws.tools.rubberBand.straight, 0);
    EXPECT_EQ(d.ws.tools.rubberBand.c1X, 25);
    EXPECT_EQ(d.ws.tools.rubberBand.c1Y, 55);
    EXPECT_EQ(d.ws.tools.rubberBand.c2X, 0); // untouched without Ctrl

    d.holdCtrl();
    d.bend({{80, 10}, {90, 20}});
    d.releaseCtrl();
    EXPECT_EQ(d.ws.tools.rubberBand.c1X, 25);
    EXPECT_EQ(d.ws.tools.rubberBand.c2X, 90);
    EXPECT_EQ(d.ws.tools.rubberBand.c2Y, 20);

    d.clickDesign(100, 0);
    ASSERT_EQ(d.ws.table.objectCount, 1);
    expectEdge(d.params(0).run.line, 0, 0, 0, 100, 0);
    expectControls(d.params(0).run.line, 25, 55, 90, 20);
    // The next segment starts straight again.
    EXPECT_EQ(d.ws.tools.rubberBand.straight, 1);
}

TEST(DrawingTools, RightButtonBeforeTheFirstClickLeavesNoTrace)
{
    ToolDriver d;
    d.tool(KindRun);
    d.bend({{40, 40}});
    d.clickAll({{0, 0}, {10, 0}});
    ASSERT_EQ(d.ws.table.objectCount, 1);
    expectEdge(d.params(0).run.line, 1, 0, 0, 10, 0);
    expectControls(d.params(0).run.line, 0, 0, 0, 0);
}

TEST(DrawingTools, RightButtonDoesNothingForShapeTools)
{
    for (int32_t kind : {KindRect, KindStar, KindCircle}) {
        SCOPED_TRACE(kind);
        ToolDriver d;
        d.tool(kind);
        d.clickDesign(10, 10);
        const RubberBand before = d.ws.tools.rubberBand;
        d.bend({{50, 60}, {70, 80}});
        d.holdCtrl();
        d.bend({{50, 60}});
        EXPECT_EQ(d.ws.tools.rubberBand.straight, before.straight);
        EXPECT_EQ(d.ws.tools.rubberBand.c1X, before.c1X);
        EXPECT_EQ(d.ws.tools.rubberBand.c2Y, before.c2Y);
    }
}

// ---- No tool, abandoning, the wheel ----

TEST(DrawingTools, WithoutADrawingToolClicksDoNothingButTheWheelZooms)
{
    for (int32_t mode : {0, -1}) {
        SCOPED_TRACE(mode);
        ToolDriver d;
        if (mode == -1)
            d.tool(-1);
        d.clickAll({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
        EXPECT_EQ(d.ws.tools.rubberBand.active, 0);
        EXPECT_EQ(d.ws.tools.clickCount, 0);
        EXPECT_EQ(d.ws.table.objectCount, 0);
        d.wheel(-120);
        EXPECT_EQ(d.ws.view.zoom, 2);
    }
}

TEST(DrawingTools, SelectToolSetsCursorAndEndsTheCurrentObject)
{
    ToolDriver d;
    d.tool(KindRun);
    EXPECT_EQ(d.ws.cursorNumber, 1);
    EXPECT_EQ(d.ws.tools.rubberBand.curvesAllowed, 1);
    d.clickAll({{0, 0}, {10, 0}});
    EXPECT_EQ(d.ws.table.currentObject, 0);
    d.tool(KindStar);
    EXPECT_EQ(d.ws.tools.rubberBand.curvesAllowed, 0);
    EXPECT_EQ(d.ws.table.currentObject, 0);
    d.tool(-1);
    EXPECT_EQ(d.ws.cursorNumber, 2);
    EXPECT_EQ(d.ws.refresh.cursor, 2); // the button's message shows it
    EXPECT_EQ(d.ws.tools.toolMode, -1);
    EXPECT_EQ(d.ws.table.currentObject, -1);
    EXPECT_EQ(toolPhase(d.ws.tools).kind, ToolPhaseKind::Selecting);
    // Values no button uses are refused.
    d.tool(7);
    EXPECT_EQ(d.ws.tools.toolMode, -1);
}

TEST(DrawingTools, EscapeAndToolChangesAbandonAHalfDrawnObject)
{
    ToolDriver d;
    d.tool(KindSaten);
    d.clickAll({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(d.ws.tools.clickCount, 2);
    const ToolPhase collecting = toolPhase(d.ws.tools);
    EXPECT_EQ(collecting.kind, ToolPhaseKind::Collecting);
    EXPECT_EQ(collecting.collected, 2);
    EXPECT_EQ(collecting.needed, 3);
    d.escape();
    EXPECT_EQ(toolPhase(d.ws.tools).kind, ToolPhaseKind::Idle);
    EXPECT_EQ(d.ws.cursorNumber, 0);
    d.clickAll({{0, 0}, {10, 0}}); // ignored: no tool
    EXPECT_EQ(d.ws.table.objectCount, 0);

    d.tool(KindSaten);
    d.clickAll({{50, 50}, {60, 50}, {60, 60}});
    d.tool(KindSaten); // choosing a tool again drops the three clicks
    EXPECT_EQ(d.ws.tools.clickCount, 0);
    EXPECT_EQ(d.ws.tools.preview.segments[0].used, 0);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 0);
    d.clickAll({{200, 0}, {300, 0}, {300, 30}, {200, 30}});
    ASSERT_EQ(d.ws.table.objectCount, 1);
    expectEdge(d.params(0).saten.edgeA, 1, 200, 0, 300, 0);
    expectEdge(d.params(0).saten.edgeB, 1, 200, 30, 300, 30);
}

TEST(DrawingTools, AfterEscapeTheNewObjectIsAppended)
{
    ToolDriver d;
    d.tool(KindRun);
    d.clickAll({{0, 0}, {10, 0}, {20, 0}, {30, 0}}); // rows 0, 1, 2
    d.releaseShift();
    d.fakes.list.setSelected(-1, false);
    d.fakes.list.setSelected(2, true);
    d.ws.drop.dragSource = 2;
    dropObjects(d.ws, d.platform, 0); // the current object (row 2) leaves the end
    ASSERT_EQ(d.displayOrder().back(), 1);

    d.escape();
    d.tool(KindCircle);
    d.clickAll({{5, 5}, {9, 9}, {0, 0}});
    ASSERT_EQ(d.ws.table.objectCount, 4);
    EXPECT_EQ(d.displayOrder().back(), 3);
    EXPECT_EQ(d.fakes.list.count(), 4);
    EXPECT_EQ(d.fakes.list.itemData(3), 3);
}

TEST(DrawingTools, ZoomStepsStayWithinOneToThirtyTwo)
{
    ToolDriver d;
    d.fakes.canvas.view = &d.ws.view;
    d.wheel(120);
    EXPECT_EQ(d.ws.view.zoom, 1);
    EXPECT_EQ(d.fakes.canvas.drawnZoom, 0); // nothing changed: not drawn

    d.wheel(-120);
    EXPECT_EQ(d.ws.view.zoom, 2);
    EXPECT_EQ(d.fakes.canvas.drawnZoom, 2);
    EXPECT_EQ(d.fakes.canvas.barsZoom, 2);

    for (int i = 0; i < 40; ++i)
        d.wheel(-120);
    EXPECT_EQ(d.ws.view.zoom, 32);
    EXPECT_EQ(d.fakes.canvas.drawnZoom, 32);
    EXPECT_EQ(d.fakes.canvas.barsZoom, 32);
    d.wheel(0);
    EXPECT_EQ(d.ws.view.zoom, 32);
    d.wheel(120);
    EXPECT_EQ(d.ws.view.zoom, 31);
}

// ---- Shift ----

TEST(ShiftConstraint, SnapsLikeTheRubberBand)
{
    auto snap = [](int32_t ex, int32_t ey) {
        constrainToShift(100, 100, ex, ey);
        return std::pair{ex, ey};
    };
    EXPECT_EQ(snap(130, 130), std::pair(130, 130)); // exactly diagonal stays
    EXPECT_EQ(snap(140, 120), std::pair(140, 140)); // |dy| = |dx| / 2: 45 degrees
    EXPECT_EQ(snap(140, 80), std::pair(140, 60));
    EXPECT_EQ(snap(140, 119), std::pair(140, 100)); // below half: horizontal
    EXPECT_EQ(snap(60, 118), std::pair(60, 100));
    EXPECT_EQ(snap(110, 40), std::pair(100, 40));   // vertical
    EXPECT_EQ(snap(70, 40), std::pair(40, 40));     // steep: 45 degrees, sign of dx
    EXPECT_EQ(snap(101, 100), std::pair(101, 101)); // sign(0) is +1
    EXPECT_EQ(snap(100, 100), std::pair(100, 100));
    // Whole units halve as integers do; a dragged handle's doubles do not.
    EXPECT_EQ(snap(141, 120), std::pair(141, 141));
    double x = 141, y = 120;
    constrainToShift(100.0, 100.0, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(141.0, 100.0));
}

TEST(ShiftConstraint, StoredPointFollowsTheRubberBand)
{
    ToolDriver d;
    d.tool(KindRun);
    d.holdShift();
    d.clickDesign(10, 10); // no live segment yet: taken as it is
    EXPECT_EQ(d.ws.tools.rubberBand.startX, 10);
    d.clickDesign(110, 40);
    ASSERT_EQ(d.ws.table.objectCount, 1);
    expectEdge(d.params(0).run.line, 1, 10, 10, 110, 10);
    d.clickDesign(50, 80);
    expectEdge(d.params(1).run.line, 1, 110, 10, 40, 80);
    d.releaseShift();
    d.clickDesign(47, 95);
    expectEdge(d.params(2).run.line, 1, 40, 80, 47, 95);
}

TEST(ShiftConstraint, DiagonalStaysExactAtAnyZoom)
{
    ToolDriver d;
    d.ws.view.zoom = 3;
    d.ws.view.scrollX = 4;
    d.ws.view.scrollY = 7;
    d.tool(KindSteil);
    d.clickDesign(10, 10);
    d.holdShift();
    // 20 pixels right and up: 6.67 design units, which rounds differently
    // on the two axes unless the constraint is kept in design units.
    const int32_t sx = 10 * 3 - 4, sy = 10 * 3 - 7;
    d.click(sx + 20, sy - 20);
    ASSERT_EQ(d.ws.table.objectCount, 1);
    const BezierEdge& line = d.params(0).steil.line;
    EXPECT_DOUBLE_EQ(+line.x2 - +line.x1, -(+line.y2 - +line.y1));
    EXPECT_NEAR(+line.x2 - +line.x1, 20.0 / 3, 1.0);
}

// ---- A full table ----

TEST(DrawingTools, FullTableKeepsTheSegmentsAndRetriesOnEveryEvent)
{
    ToolDriver d;
    d.tool(KindRun);
    d.clickDesign(0, 0);
    for (int32_t i = 1; i <= ObjectTable::kRows; ++i)
        d.clickDesign(i % 500, i / 500);
    ASSERT_EQ(d.ws.table.objectCount, 4096);
    const RubberBand band = d.ws.tools.rubberBand;
    ASSERT_EQ(band.active, 1);

    d.clickDesign(777, 888); // refused
    EXPECT_EQ(d.ws.table.objectCount, 4096);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 0);
    EXPECT_EQ(d.ws.tools.preview.segments[0].used, 0);
    EXPECT_EQ(d.ws.tools.clickCount, 1);
    EXPECT_EQ(d.fakes.list.count(), 4096);

    d.clickDesign(5, 5); // restarts and at once ends the band
    d.wheel(-120);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 0);
    EXPECT_EQ(d.ws.tools.clickCount, 1);

    deleteCurrent(d.ws, d.platform);
    ASSERT_EQ(d.ws.table.objectCount, 4095);
    d.wheel(120); // the next event creates the object from the kept segment
    ASSERT_EQ(d.ws.table.objectCount, 4096);
    const int32_t row = d.ws.table.currentObject;
    expectEdge(d.params(row).run.line, 1, band.startX, band.startY, 777, 888);
    EXPECT_EQ(d.ws.tools.rubberBand.active, 1);
    EXPECT_EQ(d.ws.tools.rubberBand.startX, 777);
    EXPECT_EQ(d.ws.tools.clickCount, 0);
    EXPECT_EQ(d.fakes.list.count(), 4096);
}

} // namespace
} // namespace kelvara
