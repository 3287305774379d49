// Saving and closing with QUICKSAVE through the real window's keys: Ctrl+S
// writes to the design's file without a dialog once it has one, the title
// marks unsaved changes, and only they are asked about before the design
// goes; Cancel keeps it.

#include "support/workspacefixture.h"
#include "window_fixture.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace kelvara::testing {
namespace {

struct QuickSave : WindowFixture {
    std::string design;

    void SetUp() override
    {
        start("QUICKSAVE=1\n");
        design = folder.write("design.kvp", "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n");
        files.answer(design);
        ctrl('O');
        ASSERT_EQ(ws.table.objectCount, 1);
    }
    void ctrl(uint32_t key, bool shift = false)
    {
        holdCtrl();
        if (shift)
            send(WindowId::Canvas, MsgKeyDown, VkShift);
        press(key);
        if (shift)
            send(WindowId::Canvas, MsgKeyUp, VkShift);
        releaseCtrl();
    }
    void drawRun()
    {
        press('R', WindowId::Canvas, 'r');
        click(10, 10);
        click(60, 10);
        press(VkSpace, WindowId::Canvas, ' ');
    }
    bool starred() const { return window->windowTitle().startsWith(QStringLiteral("* ")); }
};

TEST_F(QuickSave, CtrlSWritesTheDesignsFileWithoutADialogAndClearsTheStar)
{
    EXPECT_FALSE(starred()) << "a design just opened holds nothing unsaved";
    drawRun();
    ASSERT_EQ(ws.table.objectCount, 2);
    EXPECT_TRUE(starred());
    ctrl('S');
    EXPECT_EQ(files.requests.size(), 1u) << "only the Open dialog";
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(starred());
    EXPECT_NE(readWholeFile(design).find("X2=60"), std::string::npos);

    // Save As asks even so, and the design goes on in the new file.
    const std::string other = folder.file("other.kvp");
    files.answer(other);
    ctrl('S', true);
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_TRUE(files.requests.back().confirmOverwrite);
    EXPECT_EQ(ws.rememberedFileName.toStdString(), other);
    drawRun();
    ctrl('S');
    EXPECT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(readWholeFile(other).size() > readWholeFile(design).size(), true);
}

TEST_F(QuickSave, OnlyUnsavedChangesAreAskedAboutAndCancelKeepsTheEditor)
{
    // Unchanged: New asks nothing.
    ctrl('N');
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ws.table.objectCount, 0);

    drawRun();
    ASSERT_TRUE(starred());
    boxes.saveAnswers = {MessageBoxes::SaveAnswer::Cancel};
    QCloseEvent event;
    QCoreApplication::sendEvent(window.get(), &event);
    EXPECT_FALSE(event.isAccepted());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(ws.table.objectCount, 1);

    // Save with an unnamed design asks for a name; cancelling that keeps it too.
    boxes.saveAnswers = {MessageBoxes::SaveAnswer::Save};
    ctrl('N');
    EXPECT_EQ(ws.table.objectCount, 1);
    boxes.saveAnswers = {MessageBoxes::SaveAnswer::Save};
    files.answer(folder.file("new.kvp"));
    ctrl('N');
    EXPECT_EQ(ws.table.objectCount, 0);
    EXPECT_NE(readWholeFile(folder.file("new.kvp")).find("X2=60"), std::string::npos);

    // Discard lets the window close.
    drawRun();
    boxes.saveAnswers = {MessageBoxes::SaveAnswer::Discard};
    QCloseEvent closing;
    QCoreApplication::sendEvent(window.get(), &closing);
    EXPECT_TRUE(closing.isAccepted());
}

} // namespace
} // namespace kelvara::testing
