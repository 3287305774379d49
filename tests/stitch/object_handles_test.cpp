// The handles of an object: where each point is, which fields it stands
// for, and what moving it writes into the record.
#include "stitch/objecthandles.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using namespace kelvara;
using namespace kelvara::testing;

namespace {

std::string keys(const ObjectHandle& h)
{
    return std::string(h.keyX ? h.keyX : "-") + "/" + (h.keyY ? h.keyY : "-");
}

} // namespace

TEST(ObjectHandles, ListEveryPointInTheirFixedOrderWithTheirFields)
{
    const ObjectParams saten =
        satenParams(curvedEdge(0, 0, 10, -20, 50, -20, 60, 0), straightEdge(0, 30, 90, 30));
    const ObjectHandles s = objectHandles(KindSaten, saten);
    ASSERT_EQ(s.count, 8);
    const char* expected[8] = {"AX1/AY1", "AX2/AY2", "AXC1/AYC1", "AXC2/AYC2",
                               "BX1/BY1", "BX2/BY2", "BXC1/BYC1", "BXC2/BYC2"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(keys(s.items[size_t(i)]), expected[i]) << i;
    EXPECT_EQ(s.items[2].x, 10);
    EXPECT_EQ(s.items[3].y, -20);
    EXPECT_FALSE(s.items[3].onStraightEdge);
    // A straight edge's control points ride at its thirds.
    EXPECT_TRUE(s.items[6].onStraightEdge);
    EXPECT_EQ(s.items[6].x, 30);
    EXPECT_EQ(s.items[7].x, 60);
    EXPECT_EQ(s.items[7].edge, HandleEdge::EdgeB);
    EXPECT_EQ(s.items[7].point, HandlePoint::Control2);

    const ObjectHandles run = objectHandles(KindRun, runParams(straightEdge(1, 2, 3, 4)));
    ASSERT_EQ(run.count, 4);
    EXPECT_EQ(keys(run.items[1]), "X2/Y2");

    const ObjectHandles circle = objectHandles(KindCircle, circleParams(100, 50, 30, -20));
    ASSERT_EQ(circle.count, 3);
    EXPECT_EQ(keys(circle.items[0]), "X/Y");
    EXPECT_EQ(keys(circle.items[1]), "RX/-");
    EXPECT_EQ(keys(circle.items[2]), "-/RY");
    EXPECT_EQ(circle.items[1].x, 130);
    EXPECT_EQ(circle.items[2].y, 30); // a negative radius lies on the other side
    EXPECT_EQ(objectHandles(KindFree, ObjectParams{}).count, 0);
}

TEST(ObjectHandles, MovingAHandleWritesOnlyItsFields)
{
    ObjectParams saten = satenParams(curvedEdge(0, 0, 10, -20, 50, -20, 60, 0), straightEdge(0, 30, 90, 30));
    const ObjectParams before = saten;
    ObjectHandles handles = objectHandles(KindSaten, saten);
    // Bending the straight edge B: its other control point stays on the line.
    ASSERT_TRUE(moveHandle(KindSaten, saten, handles.items[6], 35.5, 70));
    EXPECT_EQ(saten.saten.edgeB.straight, 0);
    EXPECT_EQ(+saten.saten.edgeB.xc1, 35.5);
    EXPECT_EQ(+saten.saten.edgeB.yc1, 70);
    EXPECT_EQ(+saten.saten.edgeB.xc2, 60);
    EXPECT_EQ(+saten.saten.edgeB.yc2, 30);
    EXPECT_EQ(std::memcmp(&saten, &before, offsetof(SatenParams, edgeB)), 0);
    handles = objectHandles(KindSaten, saten);
    EXPECT_EQ(handles.items[6].x, 35.5);
    ASSERT_TRUE(moveHandle(KindSaten, saten, handles.items[1], 61, 2));
    EXPECT_EQ(+saten.saten.edgeA.x2, 61);
    EXPECT_EQ(+saten.saten.edgeA.y2, 2);

    ObjectParams star = starParams(100, 50, 30, 20);
    handles = objectHandles(KindStar, star);
    ASSERT_TRUE(moveHandle(KindStar, star, handles.items[1], 74.6, 999));
    EXPECT_EQ(star.star.RX, -25); // left of the centre; the radius is its size
    EXPECT_EQ(star.star.RY, 20);
    ASSERT_TRUE(moveHandle(KindStar, star, handles.items[0], 10.5, -3.2));
    EXPECT_EQ(star.star.X, 10); // halves to even, as the project file rounds
    EXPECT_EQ(star.star.Y, -3);

    // Refused, nothing written: a point that is not finite, a value no field
    // can hold, an edge the kind does not have.
    const ObjectParams kept = star;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(moveHandle(KindStar, star, handles.items[0], nan, 0));
    EXPECT_FALSE(moveHandle(KindStar, star, handles.items[0], 1e12, 0));
    EXPECT_FALSE(moveHandle(KindStar, star, handles.items[1], -3e9, 0));
    EXPECT_EQ(std::memcmp(&star, &kept, sizeof(StarParams)), 0);
    ObjectParams run = runParams(straightEdge(1, 2, 3, 4));
    EXPECT_FALSE(moveHandle(KindRun, run, objectHandles(KindSaten, saten).items[0], 5, 5));
    EXPECT_EQ(+run.run.line.x1, 1);
}
