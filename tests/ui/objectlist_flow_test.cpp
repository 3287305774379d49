#include "objectlist_support.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using testing::ListFlow;

using Order = std::vector<int32_t>;

// Draws one object of every kind; rows 0..6 in display order, each tool
// button pressed once, so RUN's two lines share group 1.
void drawEveryKind(ListFlow& f)
{
    f.tool(KindRun);
    f.clickAll({{10, 10}, {60, 10}, {60, 40}});
    f.tool(KindSaten);
    f.clickAll({{100, 0}, {200, 0}, {200, 30}, {100, 30}});
    f.tool(KindSteil);
    f.clickAll({{0, 100}, {50, 150}});
    f.tool(KindRect);
    f.clickAll({{0, 200}, {100, 200}, {100, 250}});
    f.tool(KindStar);
    f.clickAll({{300, 300}, {340, 360}, {0, 0}});
    f.tool(KindCircle);
    f.clickAll({{400, 400}, {420, 430}, {0, 0}});
}

TEST(ObjectListFlow, DrawDeleteRefillReorderAndUndoBackToEmpty)
{
    ListFlow f;
    // The display order before each undoable step, for the walk back.
    std::vector<Order> orders;
    for (int32_t n = 0; n < 7; ++n) {
        orders.emplace_back();
        for (int32_t r = 0; r < n; ++r)
            orders.back().push_back(r);
    }
    auto step = [&](auto&& action) {
        orders.push_back(f.displayOrder());
        action();
        f.expectListMirrorsOrder();
    };

    drawEveryKind(f);
    ASSERT_EQ(f.displayOrder(), (Order{0, 1, 2, 3, 4, 5, 6}));
    f.expectListMirrorsOrder();
    EXPECT_EQ(f.list->selectedPositions(), std::vector<int>{6});
    EXPECT_EQ(f.ws.table.rows[1].group, 1);
    EXPECT_EQ(f.ws.table.rows[6].group, 6);

    // The newest object (still current) is dragged into the middle.
    step([&] { f.dragToLine(6, 3); });
    EXPECT_EQ(f.displayOrder(), (Order{0, 1, 2, 6, 3, 4, 5}));
    EXPECT_EQ(f.texts(), f.expectedTexts());
    EXPECT_EQ(f.ws.table.currentObject, 6);

    // Delete it: a hole in the middle of the display order.
    step([&] { deleteCurrent(f.ws, f.platform); });
    EXPECT_EQ(f.displayOrder(), (Order{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(f.ws.table.currentObject, 3);

    // A new object fills the freed row and goes after the current object.
    step([&] {
        f.tool(KindStar);
        f.clickAll({{1, 1}, {3, 3}, {0, 0}});
    });
    EXPECT_EQ(f.displayOrder(), (Order{0, 1, 2, 3, 6, 4, 5}));
    EXPECT_EQ(f.ws.table.rows[6].kind, KindStar);
    EXPECT_EQ(f.list->selectedPositions(), std::vector<int>{4});

    // Without Shift only the selected line moves; Shift takes its group.
    f.selectOnly({1});
    f.ws.input.shiftDown = 0;
    step([&] { f.dragToLine(1, 5); });
    EXPECT_EQ(f.displayOrder(), (Order{0, 2, 3, 6, 1, 4, 5}));
    f.selectOnly({4});
    f.ws.input.shiftDown = 1;
    const QPoint below(10, f.viewport()->height() - 3);
    step([&] { f.drag(4, below); });
    f.ws.input.shiftDown = 0;
    EXPECT_EQ(f.displayOrder(), (Order{2, 3, 6, 4, 5, 0, 1}));
    EXPECT_EQ(f.texts(), f.expectedTexts());

    // Undo walks every step back, the list in step with the table.
    while (!orders.empty()) {
        SCOPED_TRACE(orders.size());
        undoStep(f.ws, f.platform);
        EXPECT_EQ(f.displayOrder(), orders.back());
        f.expectListMirrorsOrder();
        orders.pop_back();
    }
    EXPECT_EQ(f.ws.table.objectCount, 0);
    EXPECT_EQ(f.list->count(), 0);
    EXPECT_EQ(f.ws.table.currentObject, -1);
    undoStep(f.ws, f.platform); // nothing left: nothing happens
    EXPECT_EQ(f.list->count(), 0);
}

TEST(ObjectListFlow, UndoOfADeleteBringsBackTheSameObject)
{
    ListFlow f;
    drawEveryKind(f);
    f.selectOnly({6});
    f.dragToLine(6, 2);
    const CircleParams before = f.params(6).circle;
    deleteCurrent(f.ws, f.platform);
    ASSERT_EQ(f.ws.table.objectCount, 6);
    undoStep(f.ws, f.platform);
    ASSERT_EQ(f.ws.table.rows[6].kind, KindCircle);
    EXPECT_EQ(f.params(6).circle.X, before.X);
    EXPECT_EQ(f.params(6).circle.RY, before.RY);
    EXPECT_EQ(f.displayOrder(), (Order{0, 1, 6, 2, 3, 4, 5}));
    f.expectListMirrorsOrder();
    EXPECT_EQ(f.ws.table.currentObject, 6);
}

TEST(ObjectListFlow, OneObjectCannotBeReordered)
{
    ListFlow f;
    f.tool(KindRect);
    f.clickAll({{0, 0}, {10, 0}, {10, 10}});
    const int32_t journalTop = f.ws.journal.newestRecord;
    f.drag(0, QPoint(10, f.viewport()->height() - 3));
    EXPECT_EQ(f.displayOrder(), Order{0});
    EXPECT_EQ(f.ws.journal.newestRecord, journalTop);
    f.expectListMirrorsOrder();
}

TEST(ObjectListFlow, DropOutsideTheListChangesNothing)
{
    ListFlow f;
    drawEveryKind(f);
    const int32_t journalTop = f.ws.journal.newestRecord;
    f.selectOnly({2, 3});
    f.drag(3, QPoint(-30, 20));
    EXPECT_EQ(f.displayOrder(), (Order{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(f.ws.journal.newestRecord, journalTop);
}

} // namespace
} // namespace kelvara
