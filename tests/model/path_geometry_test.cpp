// Paths through the shared geometry: conversion of each kind keeps its
// outline, flips and quarter turns of a stroke come back to the same path,
// a circle turned off the quarters becomes a shape, node handles of a path
// and holes, each one undo step back to exact bytes.

#include "designchecks.h"
#include "model/editing.h"
#include "model/kinds/kind.h"
#include "model/pathconvert.h"
#include "model/pathgeometry.h"
#include "model/pathnodes.h"
#include "model/pathstore.h"
#include "model/recordgeometry.h"
#include "model/transformselection.h"
#include "stitch/objecthandles.h"
#include "stitch/objectpicking.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace kelvara::testing;

struct PathFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();

    ObjectParams& params(int32_t row) { return ws->records[ws->table.rows[row].params]; }
    int32_t kind(int32_t row) { return ws->table.rows[row].kind; }
    void selectOnly(int32_t row)
    {
        clearSelection(*ws);
        setSelected(*ws, row, true);
    }
    std::string pathText(int32_t row)
    {
        const PathData* path = kindPath(*kindRow(kind(row)), params(row));
        return path ? writePath(*path) : std::string();
    }
    // A stroke or shape from its path text, made as the pen makes one.
    int32_t addPath(int32_t pathKind, const char* text)
    {
        const int32_t row = create(*ws, platform, KindRun, {{0, 0}, {10, 0}});
        std::vector<int32_t> kinds{pathKind};
        ObjectParams p{};
        kindRow(pathKind)->defaults(p, ws->settings, 0);
        EXPECT_TRUE(setKindPath(*kindRow(pathKind), p, readPath(text).path));
        writeObjects(*ws, platform, {row}, kinds, {p});
        return row;
    }
};

TEST_F(PathFixture, EachKindConvertsToAPathWithTheSameOutlineInOneUndoStep)
{
    const int32_t run = create(*ws, platform, KindRun, {{100, 100}, {300, 150}});
    const int32_t steil = create(*ws, platform, KindSteil, {{400, 100}, {600, 100}});
    const int32_t rect = create(*ws, platform, KindRect, {{400, 200}, {600, 200}, {600, 300}});
    const int32_t circle = create(*ws, platform, KindCircle, {{400, 400}, {480, 470}, {0, 0}});
    const int32_t star = create(*ws, platform, KindStar, {{100, 400}, {201, 460}, {0, 0}});
    params(steil).steil.SWIDTH = -40; // a mirrored column keeps its width
    params(rect).rect.ANGLE = 30;
    std::vector<GeometryBox> before;
    for (int32_t row : {run, rect, circle})
        before.push_back(recordBounds(kind(row), params(row)));
    const DesignSnapshot original = takeSnapshot(*ws, fake.list);
    for (int32_t row : {run, steil, rect, circle, star})
        setSelected(*ws, row, true);

    ASSERT_EQ(convertSelectionToPath(*ws, platform), TransformResult::Applied);
    EXPECT_EQ(kind(run), KindStroke);
    EXPECT_EQ(pathText(run), "M100,100L300,150");
    EXPECT_EQ(kind(steil), KindStroke);
    EXPECT_EQ(params(steil).stroke.STYLE, 1);
    EXPECT_EQ(params(steil).stroke.SWIDTH, 40);
    EXPECT_EQ(kind(rect), KindShape);
    EXPECT_EQ(params(rect).shape.ANGLE, 30);
    EXPECT_EQ(pathText(rect), "M400,200L600,200L600,300L400,300Z");
    EXPECT_EQ(kind(circle), KindShape);
    EXPECT_EQ(kind(star), KindStar); // no path form: left as it is
    int i = 0;
    for (int32_t row : {run, rect, circle}) {
        const GeometryBox after = recordBounds(kind(row), params(row));
        EXPECT_NEAR(after.left, before[i].left, 1) << row;
        EXPECT_NEAR(after.right, before[i].right, 1) << row;
        EXPECT_NEAR(after.top, before[i].top, 1) << row;
        EXPECT_NEAR(after.bottom, before[i].bottom, 1) << row;
        ++i;
    }
    // Picking sees the converted circle's inside and not its box's corner.
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {440, 435}, 2), circle);
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {404, 404}, 2), -1);
    EXPECT_TRUE(designConsistent(*ws, fake.list));

    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(original, *ws, fake.list, true));
    ASSERT_TRUE(redoStep(*ws, platform));
    EXPECT_EQ(kind(circle), KindShape);
    EXPECT_EQ(pathText(run), "M100,100L300,150");

    clearSelection(*ws);
    setSelected(*ws, star, true);
    EXPECT_EQ(convertSelectionToPath(*ws, platform), TransformResult::Unchanged);
    EXPECT_FALSE(ws->view.note.empty());
}

TEST_F(PathFixture, FlipsAndQuarterTurnsOfAStrokeComeBackToTheSamePath)
{
    const char* text = "M100,100L300,100C350,100,350,150,350,200L120,260";
    const int32_t stroke = addPath(KindStroke, text);
    selectOnly(stroke);
    const std::vector<unsigned char> bytes(params(stroke).bytes, params(stroke).bytes + sizeof(StrokeParams));

    ASSERT_EQ(flipSelection(*ws, platform, MirrorAxis::LeftRight), TransformResult::Applied);
    EXPECT_EQ(pathText(stroke), "M350,100L150,100C100,100,100,150,100,200L330,260");
    ASSERT_EQ(flipSelection(*ws, platform, MirrorAxis::LeftRight), TransformResult::Applied);
    EXPECT_EQ(pathText(stroke), text);
    for (int turn = 0; turn < 4; ++turn)
        ASSERT_EQ(turnAndScaleSelection(*ws, platform, 90, 1, 1), TransformResult::Applied);
    EXPECT_EQ(pathText(stroke), text);
    // Six steps back give the first record's bytes, handle and all.
    for (int step = 0; step < 6; ++step)
        undoStep(*ws, platform);
    EXPECT_EQ(std::vector<unsigned char>(params(stroke).bytes, params(stroke).bytes + sizeof(StrokeParams)),
              bytes);
}

TEST_F(PathFixture, ACircleTurnedOffTheQuartersBecomesAShapeAndAStarSaysItStaysUpright)
{
    const int32_t circle = create(*ws, platform, KindCircle, {{400, 400}, {600, 500}, {0, 0}});
    selectOnly(circle);
    ASSERT_EQ(turnAndScaleSelection(*ws, platform, 90, 1, 1), TransformResult::Applied);
    EXPECT_EQ(kind(circle), KindCircle);
    const DesignSnapshot upright = takeSnapshot(*ws, fake.list);

    ASSERT_EQ(turnAndScaleSelection(*ws, platform, 45, 1, 1), TransformResult::Applied);
    EXPECT_EQ(kind(circle), KindShape);
    const GeometryBox box = recordBounds(kind(circle), params(circle));
    // An ellipse of radii 100 and 50 turned by 45 degrees spans about
    // 2 * sqrt((100^2 + 50^2) / 2) = 158 units each way.
    EXPECT_NEAR(box.right - box.left, 158, 3);
    EXPECT_NEAR(box.bottom - box.top, 158, 3);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(upright, *ws, fake.list, true));

    const int32_t star = create(*ws, platform, KindStar, {{100, 400}, {201, 460}, {0, 0}});
    selectOnly(star);
    ws->view.note.clear();
    turnAndScaleSelection(*ws, platform, 30, 1, 1);
    EXPECT_EQ(kind(star), KindStar);
    EXPECT_NE(ws->view.note.find("STAR"), std::string::npos);
}

TEST_F(PathFixture, NodeHandlesMoveNodesWithTheirTangentsAndBendTheClosingLine)
{
    const int32_t shape = addPath(KindShape, "M100,100C150,50,250,50,300,100L300,300L100,300Z");
    const ObjectHandles handles = objectHandles(KindShape, params(shape));
    // Three written segments and the closing line, four handles each.
    ASSERT_EQ(handles.count, 16);
    ObjectParams p = params(shape);
    // The end of the first segment is the second node: its control point
    // moves along.
    ASSERT_TRUE(moveHandle(KindShape, p, handles.items[1], 320, 110));
    const PathData* moved = storedPath(p.shape.PATH);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(writePath(*moved), "M100,100C150,50,270,60,320,110L300,300L100,300Z");
    // A control point of the closing line makes it a curve that ends on the start.
    p = params(shape);
    ASSERT_TRUE(moveHandle(KindShape, p, handles.items[14], 50, 250));
    EXPECT_EQ(writePath(*storedPath(p.shape.PATH)),
              "M100,100C150,50,250,50,300,100L300,300L100,300C50,250,100,167,100,100Z");
    // The start node of a closed path moves with its last curve's end.
    ObjectParams q = p;
    const ObjectHandles curved = objectHandles(KindShape, q);
    ASSERT_TRUE(moveHandle(KindShape, q, curved.items[0], 110, 90));
    EXPECT_EQ(writePath(*storedPath(q.shape.PATH)),
              "M110,90C160,40,250,50,300,100L300,300L100,300C50,250,110,157,110,90Z");
}

TEST_F(PathFixture, NodesAreInsertedOnACurveDeletedAndSwitchedToTheFewestAPathKeeps)
{
    const int32_t stroke = addPath(KindStroke, "M0,0C0,100,300,100,300,0L300,300");
    ObjectParams p = params(stroke);
    // Half way along the curve, split so both halves keep its shape.
    ASSERT_TRUE(insertNode(KindStroke, p, 150, 75, 2));
    EXPECT_EQ(writePath(*storedPath(p.stroke.PATH)), "M0,0C0,50,75,75,150,75C225,75,300,50,300,0L300,300");
    EXPECT_FALSE(insertNode(KindStroke, p, 150, 120, 2));

    ObjectHandles handles = objectHandles(KindStroke, p);
    // The middle node (the end of the first segment) switched to a corner
    // and back to smooth along its neighbours' line.
    ASSERT_TRUE(editNode(KindStroke, p, handles.items[1], NodeEdit::Switch));
    EXPECT_EQ(writePath(*storedPath(p.stroke.PATH)), "M0,0C0,50,150,75,150,75C150,75,300,50,300,0L300,300");
    handles = objectHandles(KindStroke, p);
    ASSERT_TRUE(editNode(KindStroke, p, handles.items[1], NodeEdit::Switch));
    EXPECT_EQ(writePath(*storedPath(p.stroke.PATH)), "M0,0C0,50,94,75,150,75C206,75,300,50,300,0L300,300");
    // Control points are no nodes; a line keeps two nodes at least.
    handles = objectHandles(KindStroke, p);
    EXPECT_FALSE(editNode(KindStroke, p, handles.items[2], NodeEdit::Delete));
    ASSERT_TRUE(editNode(KindStroke, p, handles.items[0], NodeEdit::Delete));
    handles = objectHandles(KindStroke, p);
    ASSERT_TRUE(editNode(KindStroke, p, handles.items[0], NodeEdit::Delete));
    EXPECT_EQ(writePath(*storedPath(p.stroke.PATH)), "M300,0L300,300");
    EXPECT_FALSE(editNode(KindStroke, p, objectHandles(KindStroke, p).items[1], NodeEdit::Delete));
}

TEST_F(PathFixture, AHoleIsOneUndoStepAndAnOpenPathOrAnotherKindIsRefused)
{
    const int32_t shape = addPath(KindShape, "M100,100L500,100L500,500L100,500Z");
    const int32_t run = create(*ws, platform, KindRun, {{0, 0}, {10, 0}});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    EXPECT_FALSE(addHoleToShape(*ws, platform, run, readPath("M1,1L5,1L5,5Z").path));
    EXPECT_FALSE(addHoleToShape(*ws, platform, shape, readPath("M200,200L300,200").path));
    ASSERT_TRUE(addHoleToShape(*ws, platform, shape, readPath("M200,200L300,200L300,300Z").path));
    EXPECT_EQ(pathText(shape), "M100,100L500,100L500,500L100,500ZM200,200L300,200L300,300Z");
    // Inside the hole nothing is picked; beside it the shape is.
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {280, 230}, 1), -1);
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {150, 400}, 1), shape);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
}

} // namespace
} // namespace kelvara
