#include "model/objecttable.h"

#include "model/editing.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kelvara {
namespace {

using testing::makeWorkspace;

TEST(RecordStore, HandsOutHandlesOneToFourThousandNinetySixThenRefuses)
{
    auto ws = makeWorkspace();
    RecordStore& store = ws->records;
    std::vector<bool> seen(RecordStore::kSlots + 1, false);
    for (int i = 0; i < RecordStore::kSlots; ++i) {
        const int32_t h = store.allocate(96);
        ASSERT_GE(h, 1);
        ASSERT_LE(h, RecordStore::kSlots);
        ASSERT_FALSE(seen[h]);
        seen[h] = true;
    }
    EXPECT_EQ(store.liveCount(), RecordStore::kSlots);
    EXPECT_EQ(store.allocate(96), 0);
    EXPECT_FALSE(store.isLive(0));
    EXPECT_FALSE(store.isLive(RecordStore::kSlots + 1));
}

TEST(RecordStore, ReusedSlotIsZeroFilledAndReleaseIgnoresForeignHandles)
{
    auto ws = makeWorkspace();
    RecordStore& store = ws->records;
    const int32_t h = store.allocate(kMaxRecordSize);
    std::memset(store.bytes(h), 0xAB, kMaxRecordSize);
    store.release(h);
    store.release(h);     // twice: must not free the slot twice
    store.release(0);     // none
    store.release(99999); // out of range
    EXPECT_EQ(store.liveCount(), 0);
    // Last released is handed out first, so Undo can give a row its handle back.
    const int32_t again = store.allocate(84);
    EXPECT_EQ(again, h);
    for (int i = 0; i < kMaxRecordSize; ++i)
        ASSERT_EQ(store.bytes(again)[i], 0) << "byte " << i;
    EXPECT_EQ(store.allocate(kMaxRecordSize + 1), 0);
    EXPECT_EQ(store.allocate(-1), 0);
}

// Links rows into the display order given, as used rows of kind RUN.
void buildChain(Workspace& ws, const std::vector<int32_t>& order)
{
    ObjectTable& t = ws.table;
    for (size_t i = 0; i < order.size(); ++i) {
        ObjectEntry& e = t.rows[order[i]];
        e.kind = KindRun;
        e.paramsSize = recordSize(KindRun);
        e.params = ws.records.allocate(e.paramsSize);
        e.prev = i == 0 ? -1 : order[i - 1];
        e.next = i + 1 == order.size() ? -1 : order[i + 1];
    }
    t.objectCount = static_cast<int32_t>(order.size());
    t.firstObject = order.empty() ? 0 : order.front();
}

TEST(ObjectTableOps, FindFreeRowAndDisplayPosition)
{
    auto ws = makeWorkspace();
    ObjectTable& t = ws->table;
    // Empty table: first row free, every position 0.
    EXPECT_EQ(findFreeRow(t), 0);
    EXPECT_EQ(t.firstObject, 0);
    EXPECT_EQ(displayPosition(t, -1), 0);
    EXPECT_EQ(displayPosition(t, 0), 0);

    buildChain(*ws, {5, 0, 2}); // rows 1, 3, 4 are holes
    EXPECT_EQ(findFreeRow(t), 1);
    EXPECT_EQ(displayPosition(t, 5), 1);
    EXPECT_EQ(displayPosition(t, 0), 2);
    EXPECT_EQ(displayPosition(t, 2), 3);
    EXPECT_EQ(displayPosition(t, -1), 3);
    EXPECT_EQ(displayPosition(t, 4), 3); // not in the chain
}

// Every user of the display order walks it this way: damage ends the walk
// instead of leading out of the table or round a loop.
TEST(DisplayOrderWalk, StopsAtTheCountTheEndALinkOutsideAndALoop)
{
    auto ws = makeWorkspace();
    ObjectTable& t = ws->table;
    EXPECT_TRUE(displayOrderRows(t).empty());
    EXPECT_EQ(lastInDisplayOrder(t), -1);

    buildChain(*ws, {5, 0, 2});
    EXPECT_EQ(displayOrderRows(t), (std::vector<int32_t>{5, 0, 2}));
    EXPECT_EQ(lastInDisplayOrder(t), 2);
    t.objectCount = 2;
    EXPECT_EQ(displayOrderRows(t), (std::vector<int32_t>{5, 0}));
    t.objectCount = 9;
    EXPECT_EQ(displayOrderRows(t), (std::vector<int32_t>{5, 0, 2}));
    t.rows[0].next = ObjectTable::kRows;
    EXPECT_EQ(displayOrderRows(t), (std::vector<int32_t>{5, 0}));
    t.rows[0].next = 2;
    t.rows[2].next = 5;
    EXPECT_EQ(displayOrderRows(t), (std::vector<int32_t>{5, 0, 2}));
    EXPECT_EQ(displayPosition(t, 2), 3);

    // A looping chain used to be listed round and round up to the count.
    testing::FakePlatform fake;
    refillObjectList(*ws, fake.platform());
    EXPECT_EQ(fake.list.count(), 3);
}

TEST(ObjectTableOps, InsertAfterCoversEmptyMiddleEndAndNoAnchor)
{
    auto ws = makeWorkspace();
    ObjectTable& t = ws->table;
    insertAfter(t, 7, -1);
    EXPECT_EQ(t.firstObject, 7);
    EXPECT_EQ(t.rows[7].prev, -1);
    EXPECT_EQ(t.rows[7].next, -1);

    buildChain(*ws, {3, 1, 2});
    insertAfter(t, 9, 1); // middle
    EXPECT_EQ(t.rows[1].next, 9);
    EXPECT_EQ(t.rows[9].prev, 1);
    EXPECT_EQ(t.rows[9].next, 2);
    EXPECT_EQ(t.rows[2].prev, 9);

    insertAfter(t, 10, 2); // after the last
    EXPECT_EQ(t.rows[2].next, 10);
    EXPECT_EQ(t.rows[10].next, -1);

    t.objectCount = 5;
    insertAfter(t, 11, -1); // no anchor: appended after the last in display order
    EXPECT_EQ(t.rows[10].next, 11);
    EXPECT_EQ(t.rows[11].prev, 10);
    EXPECT_EQ(t.firstObject, 3);
}

TEST(ObjectTableOps, UnlinkRowAtHeadMiddleAndTail)
{
    auto ws = makeWorkspace();
    ObjectTable& t = ws->table;
    buildChain(*ws, {4, 8, 6, 2});
    unlinkRow(t, 4);
    EXPECT_EQ(t.firstObject, 8);
    EXPECT_EQ(t.rows[8].prev, -1);
    unlinkRow(t, 6);
    EXPECT_EQ(t.rows[8].next, 2);
    EXPECT_EQ(t.rows[2].prev, 8);
    unlinkRow(t, 2);
    EXPECT_EQ(t.rows[8].next, -1);
    for (int r : {4, 6, 2}) {
        EXPECT_EQ(t.rows[r].prev, -1);
        EXPECT_EQ(t.rows[r].next, -1);
    }
}

// #12: the release at shutdown (and on New/Open) must free the records of
// used rows wherever they sit, also beyond the first objectCount rows.
TEST(ObjectTableOps, ClearTableReleasesEveryUsedRowWhateverItsIndex)
{
    auto ws = makeWorkspace();
    ObjectTable& t = ws->table;
    buildChain(*ws, {4095, 17, 3000});
    t.groupCounter = 12;
    t.currentColour = 0x123456;
    t.currentObject = 17;
    ASSERT_EQ(ws->records.liveCount(), 3);

    clearTable(t, ws->records);
    EXPECT_EQ(ws->records.liveCount(), 0);
    EXPECT_EQ(t.objectCount, 0);
    EXPECT_EQ(t.firstObject, 0);
    EXPECT_EQ(t.currentObject, -1);
    EXPECT_EQ(t.groupCounter, 0);
    EXPECT_EQ(t.currentColour, -1);
    static const ObjectEntry zero{};
    for (const ObjectEntry& e : t.rows)
        ASSERT_EQ(std::memcmp(&e, &zero, sizeof e), 0);
}

} // namespace
} // namespace kelvara
