// Steps over every object of a full design (delete, recolour, paste) are
// one undo step each, undone and redone to exact bytes, with what Undo and
// Redo estimate equal to what they write; and a step is refused whole, with
// its one message, exactly where it would outgrow the journal.

#include "designchecks.h"
#include "model/editing.h"
#include "model/journalring.h"
#include "model/recolour.h"
#include "model/selection.h"
#include "model/stepreplay.h"
#include "model/stepstore.h"
#include "model/undostep.h"
#include "project/clipboard.h"
#include "project/openproject.h"
#include "shell/texts.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelvara {
namespace {

using namespace kelvara::testing;

// Bytes of the newest step in the journal, headers and padding included.
int64_t newestStepBytes(const UndoJournal& journal)
{
    int64_t bytes = 0;
    for (int32_t p = journal.newestRecord; p != journal.oldestRecord;) {
        const JournalHeader h = readJournalHeader(journal, p);
        bytes += UndoJournal::recordLength(h.size);
        if (h.stepStart == 1)
            break;
        p = h.back;
    }
    return bytes;
}

// 4096 objects, most of them fills with the largest record.
std::string fullDesign()
{
    std::string text;
    for (int i = 0; i < ObjectTable::kRows; ++i) {
        const std::string x = std::to_string(i % 64 * 100), y = std::to_string(i / 64 * 100);
        if (i % 5 == 4)
            text += "RUN GROUP=0 X1=" + x + " Y1=" + y + " X2=" + x + " Y2=" + y + "9 R=1 G=2 B=3\n";
        else
            text += "RECT GROUP=" + std::to_string(i % 3) + " AX1=" + x + " AY1=" + y + " AX2=" + x +
                    "5 AY2=" + y + " BX1=" + x + " BY1=" + y + "5 BX2=" + x + "5 BY2=" + y +
                    "5 R=9 G=8 B=7 ANGLE=" + std::to_string(i % 180) + "\n";
    }
    return text;
}

struct WholeDesign : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();

    void SetUp() override
    {
        loadMessages(ws->lines, std::string(KELVARA_SOURCE_DATA) + "/");
        loadProjectBytes(*ws, platform, QString(), fullDesign());
        ASSERT_EQ(ws->table.objectCount, ObjectTable::kRows);
        for (int32_t row : displayOrderRows(ws->table))
            setSelected(*ws, row, true);
    }
};

TEST_F(WholeDesign, DeleteRecolourAndPasteOfEveryObjectUndoAndRedoExactly)
{
    PasteState paste;
    const struct {
        const char* name;
        std::function<void()> prepare, edit;
    } edits[] = {
        {"delete", [&] { ws->table.currentObject = ws->table.firstObject; },
         [&] { deleteCurrent(*ws, platform); }},
        {"recolour", [] {}, [&] { recolourSelection(*ws, platform, 0x123456); }},
        {"paste",
         [&] {
             fake.clipboard.text = fullDesign();
             loadProjectBytes(*ws, platform, QString(), std::string());
         },
         [&] { pasteObjects(*ws, platform, paste); }},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.name);
        SetUp();
        e.prepare();
        resetJournal(ws->journal);
        clearRedo(ws->redo);
        const DesignSnapshot before = takeSnapshot(*ws, fake.list);
        e.edit();
        const DesignSnapshot edited = takeSnapshot(*ws, fake.list);
        ASSERT_TRUE(fake.boxes.shown.empty());
        ASSERT_EQ(countJournalSteps(ws->journal), 1);
        EXPECT_NE(ws->table.objectCount == before.objectCount, std::string(e.name) != "recolour");

        for (int round = 0; round < 2; ++round) {
            const int64_t undoEstimate = inverseStepBytes(*ws, platform, JournalSteps(ws->journal));
            undoStep(*ws, platform);
            EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
            EXPECT_EQ(int64_t(ws->redo.area.size()), undoEstimate);

            const int64_t redoEstimate = inverseStepBytes(*ws, platform, RedoSteps(ws->redo));
            ASSERT_TRUE(redoStep(*ws, platform));
            EXPECT_TRUE(sameDesign(edited, *ws, fake.list, false));
            EXPECT_TRUE(designConsistent(*ws, fake.list));
            EXPECT_EQ(newestStepBytes(ws->journal), redoEstimate);
        }
        EXPECT_TRUE(fake.boxes.shown.empty());
    }
}

// A step measured at exactly the room is taken; one record more and it is
// refused with its message before anything is written.
TEST(UndoStepRoom, AStepThatJustFitsIsTakenAndOneRecordMoreIsRefusedWhole)
{
    auto ws = makeWorkspace();
    FakePlatform fake;
    const Platform platform = fake.platform();
    loadMessages(ws->lines, std::string(KELVARA_SOURCE_DATA) + "/");
    const int64_t room = UndoStep::largestStep();
    EXPECT_EQ(room, UndoJournal::kSize - UndoJournal::recordLength(UndoJournal::kMaxData));

    for (const bool over : {false, true}) {
        UndoStep step(*ws, platform);
        // Row images of 48 bytes and list actions of 20, to the byte.
        int images = int(room / 48);
        while (images > 0 && (room - images * int64_t(48)) % 20 != 0)
            --images;
        const int64_t actions = (room - images * int64_t(48)) / 20;
        ASSERT_EQ(images * int64_t(48) + actions * 20, room);
        step.willSaveRowImages(images);
        for (int64_t i = 0; i < actions; ++i)
            step.willChangeList();
        ASSERT_EQ(step.measured(), room);
        if (over)
            step.willSaveCurrentObject();
        EXPECT_EQ(step.open(), !over);
    }
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, kSlotStepTooLarge));
    EXPECT_NE(fake.boxes.shown[0].text.find("Too many objects"), std::string::npos);
    EXPECT_TRUE(journalEmpty(ws->journal));
}

} // namespace
} // namespace kelvara
