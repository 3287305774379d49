#include "designchecks.h"
#include "model/editing.h"
#include "model/journalring.h"
#include "model/selection.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace kelvara::testing;

struct DeleteFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    int32_t a = 0, b = 0, c = 0;

    void SetUp() override
    {
        a = create(*ws, platform, KindRun, {{0, 0}, {10, 0}});
        b = create(*ws, platform, KindSaten, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
        c = create(*ws, platform, KindCircle, {{0, 0}, {10, 10}, {0, 0}});
        ws->records[ws->table.rows[b].params].saten.TRIM = 1;
        ws->records[ws->table.rows[b].params].saten.REPEAT = 9;
    }
};

TEST_F(DeleteFixture, MiddleObjectAndUndoBringsItBackWhereItWas)
{
    ws->table.currentObject = b;
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const uint64_t revision = ws->refresh.designRevision;
    deleteCurrent(*ws, platform);
    EXPECT_EQ(walkOrder(*ws), (std::vector<int32_t>{a, c}));
    EXPECT_EQ(ws->table.currentObject, c); // the successor
    EXPECT_EQ(ws->table.rows[b].kind, KindFree);
    EXPECT_EQ(ws->table.rows[b].params, 0);
    EXPECT_EQ(ws->refresh.designRevision, revision + 1);
    EXPECT_TRUE(designConsistent(*ws, fake.list));

    undoStep(*ws, platform);
    EXPECT_EQ(walkOrder(*ws), (std::vector<int32_t>{a, b, c}));
    EXPECT_EQ(ws->table.currentObject, b);
    EXPECT_EQ(+ws->records[ws->table.rows[b].params].saten.REPEAT, 9);
    EXPECT_TRUE(fake.list.lines[1].selected);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
}

// #10: the re-inserted line carries the revived row, not a stale value, so
// a following delete or drop finds the right object.
TEST_F(DeleteFixture, LineReinsertedByUndoCarriesTheRevivedRow)
{
    ws->table.currentObject = b;
    deleteCurrent(*ws, platform);
    undoStep(*ws, platform);
    EXPECT_EQ(fake.list.data(), (std::vector<int32_t>{a, b, c}));
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

TEST_F(DeleteFixture, FirstLastAndOnlyObject)
{
    ws->table.currentObject = a;
    deleteCurrent(*ws, platform);
    EXPECT_EQ(ws->table.firstObject, b);
    EXPECT_EQ(ws->table.currentObject, b);

    ws->table.currentObject = c;
    deleteCurrent(*ws, platform);
    EXPECT_EQ(ws->table.currentObject, b); // the predecessor

    deleteCurrent(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 0);
    EXPECT_EQ(ws->table.firstObject, 0);
    EXPECT_EQ(ws->table.currentObject, -1);
    EXPECT_EQ(fake.list.count(), 0);
    EXPECT_EQ(ws->records.liveCount(), 0);
    EXPECT_TRUE(designConsistent(*ws, fake.list));

    // Three undos give back the three objects in their places.
    for (int i = 0; i < 3; ++i)
        undoStep(*ws, platform);
    EXPECT_EQ(walkOrder(*ws), (std::vector<int32_t>{a, b, c}));
    EXPECT_EQ(ws->table.currentObject, a);
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

TEST_F(DeleteFixture, NothingHappensWithoutACurrentObject)
{
    ws->table.currentObject = -1;
    const int32_t newest = ws->journal.newestRecord;
    refresh(*ws, platform);
    deleteCurrent(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 3);
    EXPECT_EQ(ws->journal.newestRecord, newest);
    EXPECT_FALSE(ws->refresh.render);
}

TEST_F(DeleteFixture, ShiftRemovesOnlyTheBackgroundPicture)
{
    ws->input.shiftDown = 1;
    const int32_t newest = ws->journal.newestRecord;
    refresh(*ws, platform);
    const uint64_t revision = ws->refresh.designRevision;
    deleteCurrent(*ws, platform); // no picture: nothing at all
    EXPECT_FALSE(ws->refresh.render);

    ws->picture.pictureName = "/tmp/trace.bmp";
    ws->picture.pixels = QImage(4, 4, QImage::Format_RGB32);
    ws->picture.picWidth = 4;
    ws->picture.picHeight = 4;
    deleteCurrent(*ws, platform);
    EXPECT_FALSE(ws->picture.loaded());
    EXPECT_TRUE(ws->picture.pixels.isNull());
    // The canvas is drawn again; the objects did not change.
    EXPECT_TRUE(ws->refresh.render);
    EXPECT_TRUE(ws->refresh.repaint);
    EXPECT_EQ(ws->refresh.designRevision, revision);
    EXPECT_EQ(ws->table.objectCount, 3);
    EXPECT_EQ(ws->journal.newestRecord, newest);
}

TEST_F(DeleteFixture, FreedRowIsReusedByTheNextObject)
{
    ws->table.currentObject = a;
    deleteCurrent(*ws, platform);
    ws->table.currentObject = c;
    const int32_t d = create(*ws, platform, KindRun, {{0, 0}, {1, 1}});
    EXPECT_EQ(d, a);
    EXPECT_EQ(walkOrder(*ws), (std::vector<int32_t>{b, c, d}));
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

// A selection of any size is deleted as one step that undoes exactly (the
// journal takes a step over every object of a full design).
TEST_F(DeleteFixture, SelectionDeletedWholeAsOneStep)
{
    for (int k = 0; k < 1200; ++k)
        create(*ws, platform, KindSaten, {{k, 0}, {k + 10, 0}, {k + 10, 10}, {k, 10}});
    const std::vector<int32_t> rows = walkOrder(*ws);
    for (int32_t row : rows)
        setSelected(*ws, row, true);
    const DesignSnapshot all = takeSnapshot(*ws, fake.list);
    resetJournal(ws->journal);
    deleteCurrent(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 0);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(countJournalSteps(ws->journal), 1);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(all, *ws, fake.list, false));

    clearSelection(*ws);
    // Picked last to first: Undo leaves the first deleted object current.
    for (std::size_t i = 500; i-- > 0;)
        setSelected(*ws, rows[i * 2], true);
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    deleteCurrent(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 703);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
}

} // namespace
} // namespace kelvara
