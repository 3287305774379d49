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

TEST_F(Picking, AColumnIsPickedWithinItsWidthWhereThePointIs)
{
    // 20 wide at its start, 200 at its end: 19 and 91 half widths a tenth
    // of the way from either end.
    ObjectParams p = steilParams(straightEdge(0, 500, 1000, 500), 20);
    p.steil.TWIDTH = 200;
    const int32_t column = addObject(ws, KindSteil, p);
    EXPECT_EQ(at(900, 588, 0.5), column);
    EXPECT_EQ(at(900, 594, 0.5), -1);
    EXPECT_EQ(at(100, 518, 0.5), column);
    EXPECT_EQ(at(100, 524, 0.5), -1);
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

TEST(ShiftHeldDrag, EndsHoldToTheOtherEndAndRadiiToTheCentre)
{
    const ObjectParams saten =
        satenParams(curvedEdge(0, 0, 10, 5, 20, 5, 30, 0), straightEdge(0, 20, 30, 20));
    const ObjectHandles handles = objectHandles(KindSaten, saten);
    const auto anchorOf = [&](HandleEdge edge, HandlePoint point) {
        for (const ObjectHandle& h : handles)
            if (h.edge == edge && h.point == point)
                return stitch::shiftAnchor(handles, h, {-1, -1});
        return Vec{-2, -2};
    };
    EXPECT_EQ(anchorOf(HandleEdge::EdgeA, HandlePoint::Start).x, 30);
    EXPECT_EQ(anchorOf(HandleEdge::EdgeA, HandlePoint::Control2).x, 30);
    EXPECT_EQ(anchorOf(HandleEdge::EdgeB, HandlePoint::End).y, 20);

    const ObjectParams star = starParams(100, 100, 30, 20);
    const ObjectHandles points = objectHandles(KindStar, star);
    EXPECT_EQ(stitch::shiftAnchor(points, points.items[2], {-1, -1}).x, 100);
    EXPECT_EQ(stitch::shiftAnchor(points, points.items[0], {7, 8}).x, 7) << "the centre from the press";
}

} // namespace
} // namespace kelvara::testing
