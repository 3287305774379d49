// The optimised stitching order: shorter and with fewer thread changes, and
// never one that puts a lower layer over an upper one.
#include "model/stitchingorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kelvara {
namespace {

OrderItem square(int32_t x, int32_t y, int32_t size, int32_t colour)
{
    OrderItem item;
    item.colour = colour;
    item.startX = x;
    item.startY = y;
    item.endX = x + size;
    item.endY = y + size;
    item.box = {x, y, x + size, y + size};
    return item;
}

TEST(StitchingOrder, ThreadsAreGatheredAndTravelShortened)
{
    // Small squares apart in two rows, one for each thread, visited
    // alternately and back and forth.
    std::vector<OrderItem> items;
    for (int i = 0; i < 8; ++i)
        items.push_back(square((i % 2 == 0 ? i : 7 - i) * 300, i % 2 * 500, 50, i % 2 == 0 ? 0xFF : 0xFF00));
    std::vector<int32_t> present(items.size());
    for (std::size_t i = 0; i < present.size(); ++i)
        present[i] = int32_t(i);
    const OrderCosts before = measureOrder(items, present);
    const OrderCosts after = measureOrder(items, optimisedOrder(items));
    EXPECT_EQ(before.colourChanges, 7);
    EXPECT_EQ(after.colourChanges, 1);
    EXPECT_LT(after.jumpUnits, before.jumpUnits);
}

// Random designs: overlapping objects of different threads keep their
// order, and objects left out of the selection their places.
TEST(StitchingOrder, LayersAndUnselectedObjectsStayPut)
{
    std::mt19937 rng(7);
    auto random = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    for (int round = 0; round < 40; ++round) {
        std::vector<OrderItem> items;
        const int count = random(2, 60);
        for (int i = 0; i < count; ++i) {
            OrderItem item = square(random(0, 2000), random(0, 2000), random(10, 600), random(0, 3));
            item.movable = random(0, 5) != 0;
            if (random(0, 9) == 0)
                item.box.right = item.box.left - 1; // nothing sewn
            items.push_back(item);
        }
        const std::vector<int32_t> order = optimisedOrder(items);
        ASSERT_EQ(order.size(), items.size());
        std::vector<int32_t> placeOf(items.size(), -1);
        for (std::size_t p = 0; p < order.size(); ++p) {
            ASSERT_EQ(placeOf[std::size_t(order[p])], -1) << "placed twice";
            placeOf[std::size_t(order[p])] = int32_t(p);
        }
        for (int i = 0; i < count; ++i) {
            const OrderItem& a = items[std::size_t(i)];
            if (!a.movable)
                EXPECT_EQ(placeOf[std::size_t(i)], i) << "round " << round;
            for (int j = i + 1; j < count; ++j) {
                const OrderItem& b = items[std::size_t(j)];
                const bool overlap = a.box.right >= a.box.left && b.box.right >= b.box.left &&
                                     a.box.left <= b.box.right && b.box.left <= a.box.right &&
                                     a.box.top <= b.box.bottom && b.box.top <= a.box.bottom;
                if (overlap && a.colour != b.colour)
                    EXPECT_LT(placeOf[std::size_t(i)], placeOf[std::size_t(j)]) << "round " << round;
            }
        }
    }
}

TEST(StitchingOrder, ARunAfterAnObjectKeptInPlaceStartsFromWhereThatObjectEnds)
{
    // The first object ends at the origin, the one kept in place far away:
    // the run after it starts with the object beside the kept one's end.
    std::vector<OrderItem> items{square(0, 0, 0, 1), square(900, 900, 100, 1), square(0, 0, 10, 1),
                                 square(1000, 1000, 10, 1)};
    items[1].movable = false;
    EXPECT_EQ(optimisedOrder(items), (std::vector<int32_t>{0, 1, 3, 2}));
}

} // namespace
} // namespace kelvara
