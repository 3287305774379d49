// Flip, turn and resize of a selection, and cutting a line in two: the
// geometry each kind ends with, one undo step back to exact bytes, and the
// refusals.

#include "designchecks.h"
#include "model/curvesplit.h"
#include "model/editing.h"
#include "model/splitobject.h"
#include "model/transformselection.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace kelvara {
namespace {

using namespace kelvara::testing;

struct TransformFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    int32_t run = 0, saten = 0, steil = 0, rect = 0, star = 0, circle = 0;

    void SetUp() override
    {
        run = create(*ws, platform, KindRun, {{100, 100}, {300, 100}});
        saten = create(*ws, platform, KindSaten, {{100, 200}, {300, 210}, {300, 240}, {100, 250}});
        steil = create(*ws, platform, KindSteil, {{400, 100}, {600, 100}});
        rect = create(*ws, platform, KindRect, {{400, 200}, {600, 200}, {600, 300}});
        star = create(*ws, platform, KindStar, {{100, 400}, {201, 460}, {0, 0}});
        circle = create(*ws, platform, KindCircle, {{400, 400}, {480, 470}, {0, 0}});
        params(rect).rect.ANGLE = 10;
        params(star).star.STARTANGLE = 30;
        params(star).star.STOPANGLE = 120;
    }
    ObjectParams& params(int32_t row) { return ws->records[ws->table.rows[row].params]; }
    void select(std::initializer_list<int32_t> rows)
    {
        clearSelection(*ws);
        for (int32_t row : rows)
            setSelected(*ws, row, true);
    }
    void selectAll()
    {
        for (int32_t row : displayOrderRows(ws->table))
            setSelected(*ws, row, true);
    }
};

TEST_F(TransformFixture, FlipMirrorsInItsBoxAndFlipsBackToTheSameBytesEitherWay)
{
    selectAll();
    const DesignSnapshot original = takeSnapshot(*ws, fake.list);
    const GeometryBox box = selectionBounds(*ws, selectedRows(*ws));

    ASSERT_EQ(flipSelection(*ws, platform, MirrorAxis::LeftRight), TransformResult::Applied);
    const GeometryBox flipped = selectionBounds(*ws, selectedRows(*ws));
    EXPECT_NEAR(flipped.left, box.left, 0.5);
    EXPECT_NEAR(flipped.right, box.right, 0.5);
    const double sum = std::round(box.left + box.right);
    EXPECT_EQ(+params(run).run.line.x1, sum - 100);
    EXPECT_EQ(params(star).star.RX, -50);
    EXPECT_EQ(params(steil).steil.SWIDTH, -ws->settings.STEIL);
    EXPECT_EQ(params(rect).rect.ANGLE, -10);

    ASSERT_EQ(flipSelection(*ws, platform, MirrorAxis::LeftRight), TransformResult::Applied);
    EXPECT_TRUE(sameDesign(original, *ws, fake.list, false));

    ASSERT_EQ(flipSelection(*ws, platform, MirrorAxis::TopBottom), TransformResult::Applied);
    EXPECT_EQ(params(rect).rect.ANGLE, 170);
    EXPECT_EQ(params(star).star.RY, -30);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(original, *ws, fake.list, false));
}

TEST_F(TransformFixture, TurnAndResizeMoveGeometryAndAnglesButKeepStitchLengthsAsOneStep)
{
    select({run, rect, star});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int32_t len = params(run).run.LEN;

    // Half size across about the selection's middle (350, 280), then a
    // quarter turn: the line's left end goes to the bottom.
    ASSERT_EQ(turnAndScaleSelection(*ws, platform, 90, 0.5, 1), TransformResult::Applied);
    const BezierEdge& line = params(run).run.line;
    EXPECT_NEAR(+line.x1, 170, 1e-9);
    EXPECT_NEAR(+line.y1, 405, 1e-9);
    EXPECT_NEAR(+line.x2, 170, 1e-9);
    EXPECT_NEAR(+line.y2, 305, 1e-9);
    EXPECT_EQ(params(run).run.LEN, len);
    // Rows at 10 degrees squeezed across lean at 19.4, then turn.
    EXPECT_EQ(params(rect).rect.ANGLE, 19 + 90);
    EXPECT_EQ(params(star).star.STARTANGLE, 120);
    EXPECT_EQ(params(star).star.X, 500);
    EXPECT_EQ(params(star).star.RX, 30); // radii swap on a quarter turn
    EXPECT_EQ(params(star).star.RY, 25);

    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));

    // A column resized down, along its width, widens; across, along its line, it does not.
    select({steil});
    const int32_t width = params(steil).steil.SWIDTH;
    ASSERT_EQ(turnAndScaleSelection(*ws, platform, 0, 2, 1), TransformResult::Applied);
    EXPECT_EQ(params(steil).steil.SWIDTH, width);
    ASSERT_EQ(turnAndScaleSelection(*ws, platform, 0, 1, 2), TransformResult::Applied);
    EXPECT_EQ(params(steil).steil.SWIDTH, 2 * width);
}

TEST_F(TransformFixture, ResultsOutsideTheDesignAreaAreRefusedWithAMessageAndChangeNothing)
{
    selectAll();
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    EXPECT_EQ(turnAndScaleSelection(*ws, platform, 0, 30, 1), TransformResult::Refused);
    EXPECT_EQ(turnAndScaleSelection(*ws, platform, 45, 0, 1), TransformResult::Refused);
    EXPECT_EQ(fake.boxes.shown.size(), 2u);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
}

// The pieces traced at their own parameters run over the original curve.
void expectPiecesTrace(const BezierEdge& whole, double t, const BezierEdge& first, const BezierEdge& second)
{
    for (int i = 0; i <= 20; ++i) {
        const double u = i / 20.0;
        double wx, wy, px, py;
        edgePointAt(first, u, px, py);
        edgePointAt(whole, u * t, wx, wy);
        EXPECT_NEAR(px, wx, 1e-9);
        EXPECT_NEAR(py, wy, 1e-9);
        edgePointAt(second, u, px, py);
        edgePointAt(whole, t + u * (1 - t), wx, wy);
        EXPECT_NEAR(px, wx, 1e-9);
        EXPECT_NEAR(py, wy, 1e-9);
    }
}

TEST(CurveSplit, PiecesTraceTheCurveAndASatinsEdgesAreCutAtOneParameter)
{
    const BezierEdge curve{0, 10, 20, 310, 40, 90, -60, 200, 180};
    ObjectParams run{};
    run.run.line = curve;
    run.run.TIEIN = run.run.TIEOUT = 2;
    run.run.TRIM = 1;
    ObjectParams first, second;
    ASSERT_TRUE(splitRecord(KindRun, run, 0.37, first, second));
    expectPiecesTrace(curve, 0.37, first.run.line, second.run.line);
    EXPECT_EQ(first.run.TIEIN, 2);
    EXPECT_EQ(first.run.TIEOUT, -1);
    EXPECT_EQ(first.run.TRIM, 0);
    EXPECT_EQ(second.run.TIEIN, -1);
    EXPECT_EQ(second.run.TRIM, 1);

    // Edge B drawn against A: the piece next to A's start takes B's end.
    ObjectParams saten{};
    saten.saten.edgeA = curve;
    saten.saten.edgeB = BezierEdge{1, 300, 90, 0, 70, 0, 0, 0, 0};
    ASSERT_TRUE(splitRecord(KindSaten, saten, 0.25, first, second));
    expectPiecesTrace(curve, 0.25, first.saten.edgeA, second.saten.edgeA);
    EXPECT_EQ(+first.saten.edgeB.x2, 0);
    EXPECT_EQ(+first.saten.edgeB.x1, 75);
    EXPECT_EQ(+second.saten.edgeB.x1, 300);
    EXPECT_EQ(+second.saten.edgeB.x2, 75);

    ObjectParams steil{};
    steil.steil.line = BezierEdge{1, 0, 0, 100, 0, 0, 0, 0, 0};
    steil.steil.SWIDTH = 20;
    steil.steil.TWIDTH = 60;
    ASSERT_TRUE(splitRecord(KindSteil, steil, 0.5, first, second));
    EXPECT_EQ(first.steil.TWIDTH, 40);
    EXPECT_EQ(second.steil.SWIDTH, 40);

    // A click by the line finds its parameter; one near an end cuts nothing.
    EXPECT_NEAR(splitParameterAt(KindSteil, steil, 30, 8, 2), 0.3, 1e-6);
    EXPECT_EQ(splitParameterAt(KindSteil, steil, 30, 40, 2), -1);
    EXPECT_EQ(splitParameterAt(KindSteil, steil, 0.5, 0, 2), -1);
}

TEST_F(TransformFixture, SplittingAddsThePieceAfterTheObjectInItsGroupAsOneStep)
{
    select({saten});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int32_t group = ws->table.rows[saten].group;
    const int32_t next = ws->table.rows[saten].next;

    const int32_t piece = splitObjectAt(*ws, platform, saten, 0.5);
    ASSERT_GE(piece, 0);
    EXPECT_EQ(ws->table.rows[saten].next, piece);
    EXPECT_EQ(ws->table.rows[piece].next, next);
    EXPECT_EQ(ws->table.rows[piece].group, group);
    EXPECT_EQ(+params(saten).saten.edgeA.x2, +params(piece).saten.edgeA.x1);
    EXPECT_TRUE(designConsistent(*ws, fake.list));
    EXPECT_EQ(selectedRows(*ws), (std::vector<int32_t>{saten, piece}));

    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

} // namespace
} // namespace kelvara
