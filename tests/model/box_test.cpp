// The one box every layer measures with: its edges, where the callers rely
// on them.

#include "model/box.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kelvara {
namespace {

TEST(Box, AnEmptyBoxAddsNothingAndOnePointIsABox)
{
    const PlanBox none;
    PlanBox point;
    point.add(7, -3);
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(point.empty()) << "one needle has no width, yet it is somewhere";
    EXPECT_EQ(point.width(), 0);
    EXPECT_TRUE(point.contains(7, -3));

    PlanBox both = none;
    both.add(point);
    EXPECT_EQ(both, point);
    both.add(none);
    EXPECT_EQ(both, point);
    EXPECT_FALSE(point.intersects(none));
    EXPECT_FALSE(none.intersects(none));
}

TEST(Box, EdgesBelongToTheBoxAndFarNeedlesMeasureIn64Bits)
{
    const GeometryBox a{0, 0, 10, 10};
    EXPECT_TRUE(a.intersects({10, 10, 20, 20})) << "boxes that share a corner meet";
    EXPECT_FALSE(a.intersects({10.5, 0, 20, 10}));
    EXPECT_TRUE(a.contains(GeometryBox{0, 0, 10, 10}));
    EXPECT_FALSE(a.grown(-1).contains(a));

    PlanBox far;
    far.add(INT32_MIN, INT32_MAX);
    far.add(INT32_MAX, INT32_MIN);
    EXPECT_EQ(far.width(), int64_t{UINT32_MAX});
    EXPECT_EQ(far.centreX(), 0);
    EXPECT_EQ(far.centreY(), 0);
}

} // namespace
} // namespace kelvara
