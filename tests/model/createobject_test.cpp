#include "designchecks.h"
#include "model/editing.h"
#include "model/journalring.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace kelvara::testing;

struct CreateFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();

    const ObjectParams& params(int32_t row) { return ws->records[ws->table.rows[row].params]; }
};

// Fields of the packed records are compared as values (+x): a reference to
// a misaligned double is undefined.
void expectEdge(const BezierEdge& e, double x1, double y1, double x2, double y2)
{
    EXPECT_EQ(+e.straight, 1);
    EXPECT_EQ(+e.x1, x1);
    EXPECT_EQ(+e.y1, y1);
    EXPECT_EQ(+e.x2, x2);
    EXPECT_EQ(+e.y2, y2);
}

TEST_F(CreateFixture, RecordValuesFollowTheClicksAndSettings)
{
    ws->settings.DENSITY = 41;
    ws->settings.PULLCOMP = 3;
    ws->settings.PUSHCOMP = 4;
    ws->settings.STITCH = 22;
    ws->settings.UNDER = 1;
    ws->settings.LENGTH = 17;
    ws->settings.CIKUND = 0;
    ws->settings.EDGE = 6;
    ws->settings.MARGIN = 2;
    ws->settings.STEIL = 33;

    const RunParams& run = params(create(*ws, platform, KindRun, {{1, 2}, {30, 40}})).run;
    EXPECT_EQ(+run.LEN, 22);
    EXPECT_EQ(+run.JUMP, 1);
    EXPECT_EQ(+run.MOTIVE, -1);
    EXPECT_EQ(+run.TIEOUT, -1);
    EXPECT_EQ(+run.colour, -1); // no colour chosen yet
    expectEdge(run.line, 1, 2, 30, 40);

    // SATEN from P1..P4: edge A runs P1->P2, edge B P4->P3 with swapped controls.
    setSegments(*ws, KindSaten, {{0, 0}, {100, 0}, {100, 50}, {0, 50}});
    ws->tools.preview.segments[2].straight = 0;
    ws->tools.preview.segments[2].c1X = 70;
    ws->tools.preview.segments[2].c2X = 20;
    const SatenParams& sat = params(createObject(*ws, platform)).saten;
    expectEdge(sat.edgeA, 0, 0, 100, 0);
    EXPECT_EQ(+sat.edgeB.straight, 0);
    EXPECT_EQ(+sat.edgeB.x1, 0);
    EXPECT_EQ(+sat.edgeB.y1, 50);
    EXPECT_EQ(+sat.edgeB.x2, 100);
    EXPECT_EQ(+sat.edgeB.xc1, 20);
    EXPECT_EQ(+sat.edgeB.xc2, 70);
    EXPECT_EQ(+sat.SDENS, 41);
    EXPECT_EQ(+sat.TDENS, 41);
    EXPECT_EQ(+sat.SCOMP, 3);
    EXPECT_EQ(+sat.TCOMP, 3);
    EXPECT_EQ(+sat.PUSHCOMP, 4);
    EXPECT_EQ(+sat.PATTERN, -1);
    EXPECT_EQ(+sat.REPEAT, 1);
    EXPECT_EQ(+sat.ZOOMX, 1.0);
    EXPECT_EQ(+sat.ZOOMY, 1.0);
    EXPECT_EQ(+sat.STITCHES, 1);
    EXPECT_EQ(+sat.STARTA, 1);
    EXPECT_EQ(+sat.STOPA, 1);
    EXPECT_EQ(+sat.UNDER, 17);
    EXPECT_EQ(+sat.CIKCAK, -1);
    EXPECT_EQ(+sat.OFSUND, 6);
    EXPECT_EQ(+sat.OFSCIK, 2);

    ws->settings.UNDER = 0;
    ws->settings.CIKUND = 1;
    ws->settings.CIKCAK = 27;
    const SteilParams& steil = params(create(*ws, platform, KindSteil, {{5, 5}, {9, 9}})).steil;
    EXPECT_EQ(+steil.SWIDTH, 33);
    EXPECT_EQ(+steil.TWIDTH, 33);
    EXPECT_EQ(+steil.UNDER, -1);
    EXPECT_EQ(+steil.CIKCAK, 27);
    expectEdge(steil.line, 5, 5, 9, 9);

    const RectParams& rect = params(create(*ws, platform, KindRect, {{0, 0}, {100, 0}, {100, 50}})).rect;
    expectEdge(rect.edgeA, 0, 0, 100, 0);
    expectEdge(rect.edgeB, 0, 50, 100, 50); // the far side, parallel to edge A
    EXPECT_EQ(+rect.ANGLE, 0);

    const StarParams& star = params(create(*ws, platform, KindStar, {{10, 10}, {31, 40}, {500, 500}})).star;
    EXPECT_EQ(+star.X, 20);
    EXPECT_EQ(+star.Y, 25);
    EXPECT_EQ(+star.RX, 10);
    EXPECT_EQ(+star.RY, 15);        // half the box's height, as RX is half its width
    EXPECT_EQ(+star.STARTANGLE, 0); // our choice for a new star
    EXPECT_EQ(+star.STOPANGLE, 0);
    EXPECT_EQ(+star.DENS, 41);
    EXPECT_EQ(+star.COMP, 3);

    // Divisions truncate toward zero with the segment running backwards too.
    const CircleParams& circle =
        params(create(*ws, platform, KindCircle, {{31, 40}, {10, 10}, {0, 0}})).circle;
    EXPECT_EQ(+circle.X, 21);
    EXPECT_EQ(+circle.Y, 25);
    EXPECT_EQ(+circle.RX, 10);
    EXPECT_EQ(+circle.RY, 15);
    EXPECT_EQ(+circle.STITCHES, 1);
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

TEST_F(CreateFixture, GroupsColourAndListLinePlacement)
{
    ws->tools.newGroupPending = 1;
    const int32_t a = create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
    const int32_t b = create(*ws, platform, KindRun, {{1, 1}, {2, 2}});
    EXPECT_EQ(ws->table.rows[a].group, 1);
    EXPECT_EQ(ws->table.rows[b].group, 1);
    ws->tools.newGroupPending = 1;
    ws->records[ws->table.rows[b].params].run.colour = 0x00FF00;

    // Inserted after the current object b, taking its colour.
    const int32_t c = create(*ws, platform, KindCircle, {{0, 0}, {4, 4}, {0, 0}});
    EXPECT_EQ(ws->table.rows[c].group, 2);
    EXPECT_EQ(ws->table.currentColour, 0x00FF00);
    EXPECT_EQ(+params(c).circle.colour, 0x00FF00);

    // Between a and b: line 1, numbered 1, selected alone.
    ws->table.currentObject = a;
    const int32_t d = create(*ws, platform, KindStar, {{0, 0}, {4, 4}, {0, 0}});
    EXPECT_EQ(walkOrder(*ws), (std::vector<int32_t>{a, d, b, c}));
    EXPECT_EQ(fake.list.lines[1].data, d);
    EXPECT_EQ(fake.list.lines[1].text.substr(0, 2), "* ");
    EXPECT_EQ(fake.list.lines[1].text.back(), '1');
    EXPECT_EQ(fake.list.selectedPositions(), std::vector<int>{1});
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

TEST_F(CreateFixture, CreateInEmptyDesignAndUndo)
{
    const int32_t r = create(*ws, platform, KindSaten, {{0, 0}, {9, 0}, {9, 9}, {0, 9}});
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ws->table.firstObject, 0);
    EXPECT_EQ(fake.list.count(), 1);
    EXPECT_EQ(ws->records.liveCount(), 1);

    undoStep(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 0);
    EXPECT_EQ(ws->table.currentObject, -1);
    EXPECT_EQ(ws->table.firstObject, 0);
    EXPECT_EQ(ws->records.liveCount(), 0);
    EXPECT_EQ(fake.list.count(), 0);
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

// Without a current object (after Escape) the new row is appended after the
// last object; that object's link changes and Undo must restore it.
TEST_F(CreateFixture, CreateAfterEscapeAppendsAndUndoRestoresTheLastLink)
{
    const int32_t a = create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
    ws->table.currentObject = -1; // Escape
    const int32_t b = create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
    ws->table.currentObject = a;
    const int32_t c = create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
    ws->table.currentObject = -1;
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);

    const int32_t d = create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
    EXPECT_EQ(walkOrder(*ws), (std::vector<int32_t>{a, c, b, d}));
    EXPECT_EQ(fake.list.lines.back().data, d);
    undoStep(*ws, platform);
    EXPECT_EQ(ws->table.rows[b].next, -1);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

TEST_F(CreateFixture, FullTableRefusesAndEndsTheRubberBand)
{
    for (int i = 0; i < 4095; ++i)
        ASSERT_GE(create(*ws, platform, KindStar, {{0, 0}, {i, i}, {0, 0}}), 0);
    EXPECT_EQ(create(*ws, platform, KindRun, {{0, 0}, {1, 1}}), 4095); // the last one fits
    ASSERT_EQ(ws->table.objectCount, 4096);

    const int32_t newest = ws->journal.newestRecord;
    refresh(*ws, platform);
    const uint64_t revision = ws->refresh.designRevision;
    setSegments(*ws, KindRun, {{0, 0}, {5, 5}});
    ws->tools.rubberBand.active = 1;
    EXPECT_EQ(createObject(*ws, platform), -1);
    EXPECT_EQ(ws->tools.rubberBand.active, 0);
    EXPECT_EQ(ws->tools.preview.segments[0].used, 0);
    EXPECT_TRUE(ws->refresh.repaint); // the rubber band is gone
    EXPECT_EQ(ws->refresh.designRevision, revision);
    EXPECT_EQ(ws->journal.newestRecord, newest);
    EXPECT_EQ(fake.list.count(), 4096);

    // A freed row lets the next attempt through.
    deleteCurrent(*ws, platform);
    EXPECT_EQ(create(*ws, platform, KindRun, {{0, 0}, {5, 5}}), 4095);
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

} // namespace
} // namespace kelvara
