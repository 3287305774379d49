#include "designchecks.h"
#include "model/editing.h"
#include "model/journalring.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvara {
namespace {

using namespace kelvara::testing;

// Six objects in rows 0..5, listed in that order; groups 0, 1, 1, 2, 0, 1
// (the second group-1 run after the others shows groups need not be
// contiguous).
struct ReorderFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();

    void SetUp() override
    {
        const int32_t groups[] = {0, 1, 1, 2, 0, 1};
        for (int32_t g : groups) {
            create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
            ws->table.rows[ws->table.currentObject].group = g;
        }
        refillObjectList(*ws, platform);
    }

    std::vector<int32_t> drop(const std::vector<int>& lines, int32_t target, bool shift = false)
    {
        selectLines(fake.list, lines);
        ws->input.shiftDown = shift ? 1 : 0;
        dropObjects(*ws, platform, target);
        EXPECT_TRUE(designConsistent(*ws, fake.list));
        return walkOrder(*ws);
    }

    // Row images in the newest step (records after its step start).
    std::vector<int32_t> rowsJournaledInLastStep()
    {
        std::vector<int32_t> rows;
        for (int32_t p = ws->journal.newestRecord;; p = readJournalHeader(ws->journal, p).back) {
            const JournalHeader h = readJournalHeader(ws->journal, p);
            if (h.stepStart == 1)
                break;
            rows.push_back(h.target - UndoJournal::kRowImageBase);
        }
        return rows;
    }
};

using Order = std::vector<int32_t>;

TEST_F(ReorderFixture, BlockGoesBeforeTheObjectShownAtTheTargetLine)
{
    EXPECT_EQ(drop({1, 4}, 3), (Order{0, 2, 1, 4, 3, 5}));
    // A target line that is itself moved: before the next unmoved object.
    EXPECT_EQ(drop({2, 3}, 2), (Order{0, 2, 1, 4, 3, 5}));
    EXPECT_EQ(drop({0}, 0), (Order{0, 2, 1, 4, 3, 5})); // onto itself: no change
    EXPECT_EQ(drop({4, 5}, 4), (Order{0, 2, 1, 4, 3, 5}));
}

TEST_F(ReorderFixture, DropOnFirstLineMakesTheBlockFirstAndBelowLastAppends)
{
    EXPECT_EQ(drop({3, 5}, 0), (Order{3, 5, 0, 1, 2, 4}));
    EXPECT_EQ(ws->table.firstObject, 3);
    // Moving the first object away lets firstObject follow the new order.
    EXPECT_EQ(drop({0, 1}, 6), (Order{0, 1, 2, 4, 3, 5}));
    EXPECT_EQ(ws->table.firstObject, 0);
    // Target line and every line after it moved: the block goes last.
    EXPECT_EQ(drop({1, 4, 5}, 4), (Order{0, 2, 4, 1, 3, 5}));
    // Everything selected: the list order stays.
    EXPECT_EQ(drop({0, 1, 2, 3, 4, 5}, 2), (Order{0, 2, 4, 1, 3, 5}));
    EXPECT_EQ(ws->table.currentObject, 5); // a drop does not change it
}

TEST_F(ReorderFixture, ShiftMovesWholeGroupsInDisplayOrder)
{
    // Line 2 (group 1) and line 0 (no group): the ungrouped object first,
    // then all of group 1 in display order.
    EXPECT_EQ(drop({2, 0}, 4, true), (Order{3, 0, 1, 2, 5, 4}));
    // Groups in the order first met among the selected lines.
    EXPECT_EQ(drop({0, 4}, 0, true), (Order{3, 1, 2, 5, 0, 4}));
    EXPECT_EQ(drop({1, 5}, 0, true), (Order{4, 1, 2, 5, 3, 0}));
    // Without Shift only the selected lines move.
    EXPECT_EQ(drop({1}, 6, false), (Order{4, 2, 5, 3, 0, 1}));
}

TEST_F(ReorderFixture, UndoRestoresOrderHeadAndList)
{
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    drop({0, 2}, 6);
    ASSERT_NE(ws->table.firstObject, 0);
    undoStep(*ws, platform);
    EXPECT_EQ(ws->table.firstObject, 0);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false)); // list was freshly built before
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

TEST_F(ReorderFixture, EveryRowWhoseLinksChangeIsJournaledOnce)
{
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    EXPECT_EQ(drop({3}, 2), (Order{0, 1, 3, 2, 4, 5}));
    std::vector<int32_t> journaled = rowsJournaledInLastStep();
    std::sort(journaled.begin(), journaled.end());
    EXPECT_EQ(journaled, (std::vector<int32_t>{1, 2, 3, 4}));
    std::vector<int32_t> changed;
    for (const auto& [row, entry] : before.rows) {
        const ObjectEntry& now = ws->table.rows[row];
        if (now.prev != entry.prev || now.next != entry.next)
            changed.push_back(row);
    }
    EXPECT_EQ(journaled, changed);
    EXPECT_EQ(std::adjacent_find(journaled.begin(), journaled.end()), journaled.end());
}

// Undo after such a drop must undo the step before it, not an empty one.
TEST_F(ReorderFixture, ADropThatMovesNothingRebuildsTheListAndRecordsNoStep)
{
    const int32_t newest = ws->journal.newestRecord;
    fake.list.lines[3].text = "stale";
    const Order order = walkOrder(*ws);
    EXPECT_EQ(drop({}, 2), order);
    EXPECT_EQ(fake.list.lines[3].text, freshListTexts(*ws)[3]);
    EXPECT_EQ(drop({2, 3}, 2), order); // dropped where they stand
    EXPECT_EQ(drop({0, 1, 2, 3, 4, 5}, 6), order);
    EXPECT_EQ(ws->journal.newestRecord, newest);
    EXPECT_EQ(countJournalSteps(ws->journal), 6);

    undoStep(*ws, platform); // the last creation
    EXPECT_EQ(ws->table.objectCount, 5);
}

TEST_F(ReorderFixture, NothingHappensOutsideAnyLineOrWithFewerThanTwoObjects)
{
    const int32_t newest = ws->journal.newestRecord;
    const std::string stale = fake.list.lines[3].text + "9"; // a number no rebuild gives
    fake.list.lines[3].text = stale;
    EXPECT_EQ(drop({1}, -1), (Order{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(ws->journal.newestRecord, newest);
    EXPECT_EQ(fake.list.lines[3].text, stale);

    auto single = makeWorkspace();
    FakePlatform singleFake;
    const Platform p = singleFake.platform();
    create(*single, p, KindRun, {{0, 0}, {1, 1}});
    const int32_t singleNewest = single->journal.newestRecord;
    selectLines(singleFake.list, {0});
    dropObjects(*single, p, 1);
    EXPECT_EQ(single->journal.newestRecord, singleNewest);
}

TEST_F(ReorderFixture, RefillOfAnEmptyDesignLeavesAnEmptyList)
{
    auto empty = makeWorkspace();
    FakePlatform emptyFake;
    emptyFake.list.addString("left over");
    refillObjectList(*empty, emptyFake.platform());
    EXPECT_EQ(emptyFake.list.count(), 0);
    EXPECT_TRUE(emptyFake.list.redrawOn);
    EXPECT_EQ(emptyFake.list.initStorageCalls, 1);
}

} // namespace
} // namespace kelvara
