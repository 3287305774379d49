// Which object lies under a point, which objects a box holds, and the
// handles node editing drags.

#include "stitch/objectpicking.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

using stitch::Vec;

struct Picking : ::testing::Test {
    std::unique_ptr<Workspace> owned = std::make_unique<Workspace>();
    Workspace& ws = *owned;
    int32_t at(double x, double y, double tolerance = 4)
    {
        return stitch::objectAt(ws.table, ws.records, {x, y}, tolerance);
    }
};

TEST_F(Picking, OutlinesWithinTheToleranceAndFilledAreasPickTheTopmost)
{
    const int32_t disc = addObject(ws, KindCircle, circleParams(100, 100, 50, 30));
    const int32_t line = addObject(ws, KindRun, runParams(straightEdge(0, 100, 300, 100)));
    const int32_t column = addObject(ws, KindSteil, steilParams(straightEdge(200, 200, 300, 200), 20));
    // A slice from 0 to 90 degrees: up and right of the centre on screen.
    const int32_t slice = addObject(ws, KindStar, starParams(400, 400, 50, 50, 0, 90));
    const int32_t area =
        addObject(ws, KindRect, rectParams(straightEdge(500, 0, 600, 0), straightEdge(500, 80, 600, 80)));

    EXPECT_EQ(at(100, 103), line) << "the line drawn later lies on top of the disc";
    EXPECT_EQ(at(100, 120), disc) << "inside the disc";
    EXPECT_EQ(at(100, 133), disc) << "3 units outside its edge";
    EXPECT_EQ(at(100, 135), -1);
    EXPECT_EQ(at(1, 100, 0.5), line);
    EXPECT_EQ(at(250, 209), column) << "inside the column's width";
    EXPECT_EQ(at(250, 215), -1);
    EXPECT_EQ(at(420, 380), slice);
    EXPECT_EQ(at(380, 420), -1) << "outside the slice's arc";
    EXPECT_EQ(at(550, 40), area);
    EXPECT_EQ(at(550, 86), -1);
}

TEST_F(Picking, ABoxTakesOnlyWhatItEncloses)
{
    // The control points reach y = 0, the curve itself only about y = 25.
    const int32_t curve = addObject(ws, KindRun, runParams(curvedEdge(0, 100, 30, 0, 70, 0, 100, 100)));
    const int32_t disc = addObject(ws, KindCircle, circleParams(300, 100, 40, 40));
    addObject(ws, KindRun, runParams(straightEdge(0, 300, 500, 300)));

    EXPECT_EQ(stitch::objectsInBox(ws.table, ws.records, {-5, 20}, {400, 150}),
              (std::vector<int32_t>{curve, disc}));
    EXPECT_EQ(stitch::objectsInBox(ws.table, ws.records, {400, 150}, {-5, 30}), (std::vector<int32_t>{disc}));
    EXPECT_TRUE(stitch::objectsInBox(ws.table, ws.records, {1, 0}, {290, 290}).empty());
}

TEST_F(Picking, HandlesAreEveryPointAndMoveTheirOwnField)
{
    ObjectParams saten = satenParams(curvedEdge(0, 0, 10, 5, 20, 5, 30, 0), straightEdge(0, 20, 30, 20));
    const std::vector<stitch::ObjectHandle> handles = stitch::objectHandles(KindSaten, saten);
    ASSERT_EQ(handles.size(), 6u);
    EXPECT_EQ(handles[2].role, stitch::HandleRole::EdgeControl1);
    EXPECT_EQ(handles[5].edge, 1);
    stitch::moveHandle(KindSaten, saten, handles[3], {21, 9});
    EXPECT_EQ(saten.saten.edgeA.xc2, 21);
    EXPECT_EQ(saten.saten.edgeA.yc2, 9);

    ObjectParams star = starParams(100, 100, 30, 20);
    const std::vector<stitch::ObjectHandle> points = stitch::objectHandles(KindStar, star);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].at.y, 80) << "the RY handle sits above the centre";
    stitch::moveHandle(KindStar, star, points[1], {60, 140});
    EXPECT_EQ(star.star.RX, 40);
    stitch::moveHandle(KindStar, star, points[0], {110, 90});
    EXPECT_EQ(star.star.X, 110);
    EXPECT_EQ(star.star.RX, 40) << "the centre carries the radii along";

    // Shift: the end stays on a line through the edge's other end.
    EXPECT_EQ(stitch::shiftAnchor(KindSaten, saten, handles[1], {}).x, 0);
    const Vec held = stitch::constrainToShift({0, 0}, {50, 7});
    EXPECT_EQ(held.y, 0);
    EXPECT_EQ(stitch::constrainToShift({0, 0}, {50, -40}).y, -50);
}

} // namespace
} // namespace kelvara::testing
