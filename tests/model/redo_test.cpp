// Redo: every kind of edit undone and redone to the bytes it left, and the
// rules that empty what can be redone.

#include "designchecks.h"
#include "model/editing.h"
#include "model/fieldedit.h"
#include "model/journalring.h"
#include "model/recolour.h"
#include "model/redostore.h"
#include "model/undostep.h"
#include "project/openproject.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kelvara {
namespace {

using namespace kelvara::testing;

// Five objects of three kinds. Two were inserted in the middle, so the list
// shows running numbers a rebuild would not give (lines keep the number they
// were made with): a replayed rebuild must not leave them renumbered.
struct RedoFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    int32_t first = 0, last = 0;

    void SetUp() override
    {
        first = create(*ws, platform, KindRun, {{0, 0}, {100, 0}});
        last = create(*ws, platform, KindSaten, {{0, 0}, {100, 0}, {100, 30}, {0, 30}});
        ws->table.currentObject = first;
        create(*ws, platform, KindStar, {{200, 200}, {250, 200}, {200, 240}});
        create(*ws, platform, KindRun, {{10, 10}, {50, 90}});
        ws->table.currentObject = last;
        create(*ws, platform, KindCircle, {{300, 300}, {340, 300}, {300, 330}});
        resetJournal(ws->journal);
        EXPECT_NE(fake.list.texts(), freshListTexts(*ws));
    }

    void select(const std::vector<int>& lines)
    {
        selectLines(fake.list, lines);
        takeSelectionFromList(*ws, platform);
    }
};

using Edit = std::function<void(RedoFixture&)>;

const std::vector<std::pair<std::string, Edit>>& everyEdit()
{
    static const std::vector<std::pair<std::string, Edit>> edits = {
        {"create after the first",
         [](RedoFixture& f) {
             f.ws->table.currentObject = f.first;
             create(*f.ws, f.platform, KindSteil, {{5, 5}, {80, 40}});
         }},
        {"create into an empty design",
         [](RedoFixture& f) {
             loadProjectBytes(*f.ws, f.platform, QString(), std::string());
             create(*f.ws, f.platform, KindRun, {{1, 2}, {3, 4}});
         }},
        {"delete the first",
         [](RedoFixture& f) {
             f.select({0});
             deleteCurrent(*f.ws, f.platform);
         }},
        {"delete a selection",
         [](RedoFixture& f) {
             f.select({1, 2, 4});
             deleteCurrent(*f.ws, f.platform);
         }},
        {"delete everything",
         [](RedoFixture& f) {
             f.select({0, 1, 2, 3, 4});
             deleteCurrent(*f.ws, f.platform);
         }},
        {"drop to the start",
         [](RedoFixture& f) {
             selectLines(f.fake.list, {2, 4});
             dropObjects(*f.ws, f.platform, 0);
         }},
        {"apply a field",
         [](RedoFixture& f) {
             f.select({0, 3});
             applyFieldValues(*f.ws, f.platform, std::vector<FieldValue>{{FieldMeaning::Density, 44}});
         }},
        {"apply trim, shown in the list",
         [](RedoFixture& f) {
             f.select({1, 2});
             applyFieldValues(*f.ws, f.platform, std::vector<FieldValue>{{FieldMeaning::Trim, 1}});
         }},
        {"recolour",
         [](RedoFixture& f) {
             f.select({1, 3});
             recolourSelection(*f.ws, f.platform, 0x3366CC);
         }},
    };
    return edits;
}

TEST_F(RedoFixture, EveryEditUndoneAndRedoneTwiceToExactBytes)
{
    for (const auto& [name, edit] : everyEdit()) {
        SCOPED_TRACE(name);
        SetUp();
        edit(*this);
        const DesignSnapshot edited = takeSnapshot(*ws, fake.list);
        const int steps = countJournalSteps(ws->journal);
        ASSERT_EQ(steps, 1);

        undoStep(*ws, platform);
        const DesignSnapshot undone = takeSnapshot(*ws, fake.list);
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(redoStep(*ws, platform));
            EXPECT_TRUE(sameDesign(edited, *ws, fake.list, false));
            EXPECT_TRUE(designConsistent(*ws, fake.list));
            EXPECT_EQ(countJournalSteps(ws->journal), steps);
            EXPECT_FALSE(redoStep(*ws, platform));

            undoStep(*ws, platform);
            EXPECT_TRUE(sameDesign(undone, *ws, fake.list, false));
            EXPECT_EQ(countRedoSteps(ws->redo), 1);
        }
        EXPECT_TRUE(fake.boxes.shown.empty() || name == "create into an empty design");
    }
}

TEST_F(RedoFixture, NewEditOpenAndEmptyJournalLeaveNothingToRedo)
{
    const DesignSnapshot start = takeSnapshot(*ws, fake.list);
    EXPECT_FALSE(redoStep(*ws, platform));
    EXPECT_TRUE(sameDesign(start, *ws, fake.list, false));

    // A new edit after Undo.
    select({0});
    deleteCurrent(*ws, platform);
    deleteCurrent(*ws, platform);
    undoStep(*ws, platform);
    undoStep(*ws, platform);
    EXPECT_EQ(countRedoSteps(ws->redo), 2);
    recolourSelection(*ws, platform, 0x00FF00);
    EXPECT_TRUE(redoEmpty(ws->redo));
    EXPECT_FALSE(redoStep(*ws, platform));

    // Opening a design.
    undoStep(*ws, platform);
    EXPECT_FALSE(redoEmpty(ws->redo));
    loadProjectBytes(*ws, platform, QString(), std::string());
    EXPECT_FALSE(redoStep(*ws, platform));
    EXPECT_EQ(ws->table.objectCount, 0);
}

TEST_F(RedoFixture, ARefusedRedoKeepsTheDesignTheUndoStepsAndWhatCanBeRedone)
{
    select({0});
    deleteCurrent(*ws, platform);
    recolourSelection(*ws, platform, 0x00FF00);
    undoStep(*ws, platform);
    // On top, a step whose undoing again would not fit the journal: each
    // record puts back a live row's record, saving that row's bytes first.
    const int32_t row = walkOrder(*ws).front();
    const int32_t size = ws->table.rows[row].paramsSize;
    const int64_t records = UndoStep::largestStep() / UndoJournal::recordLength(size) + 1;
    for (int64_t i = 0; i < records; ++i)
        appendRedoRecord(ws->redo, row, ws->records.bytes(ws->table.rows[row].params), size,
                         ListAction::kNone, i == 0);
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int redoSteps = countRedoSteps(ws->redo);
    const int undoSteps = countJournalSteps(ws->journal);
    ASSERT_EQ(redoSteps, 2);

    EXPECT_FALSE(redoStep(*ws, platform));
    EXPECT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    EXPECT_EQ(countRedoSteps(ws->redo), redoSteps);
    EXPECT_EQ(countJournalSteps(ws->journal), undoSteps);
}

} // namespace
} // namespace kelvara
