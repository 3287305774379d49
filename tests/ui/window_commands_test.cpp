// The New command and its question.

#include "window_fixture.h"

#include "ui/commands.h"
#include "ui/objectlistwidget.h"

namespace kelvara::testing {
namespace {

using NewDesignTest = WindowFixture;

TEST_F(NewDesignTest, EmptyDesignAsksNothing)
{
    start();
    window->setWindowTitle("Kelvara Stitches (old.kvp)");
    ws.rememberedFileName = "old.kvp";
    holdCtrl();
    press('N');
    releaseCtrl();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(window->windowTitle(), "Kelvara Stitches");
    EXPECT_TRUE(ws.rememberedFileName.isEmpty());
}

TEST_F(NewDesignTest, NoKeepsDesignJournalAndToolState)
{
    start();
    press('R', WindowId::Canvas, 'r');
    click(10, 10);
    click(60, 10);
    click(60, 60);
    ASSERT_EQ(ws.table.objectCount, 2);
    const int32_t newest = ws.journal.newestRecord;
    boxes.answers = {false};
    holdCtrl();
    press('N');
    releaseCtrl();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].question);
    EXPECT_EQ(boxes.shown[0].caption, "message 0");
    EXPECT_EQ(boxes.shown[0].text, "message 1");
    EXPECT_EQ(ws.table.objectCount, 2);
    EXPECT_EQ(ws.journal.newestRecord, newest);
    EXPECT_EQ(ws.tools.toolMode, 1);
    EXPECT_EQ(ws.tools.rubberBand.active, 1);
    EXPECT_EQ(window->objectList()->count(), 2);
}

TEST_F(NewDesignTest, YesClearsEverythingOfTheDesign)
{
    start();
    press('S', WindowId::Canvas, 's');
    for (int i = 0; i < 4; ++i)
        click(10 + 30 * i, 10 + 20 * (i % 2));
    click(200, 200);
    ASSERT_EQ(ws.table.objectCount, 1);
    ws.picture.pictureName = "picture.bmp";
    ws.picture.pixels = QImage(10, 10, QImage::Format_RGB32);
    ws.rememberedFileName = "design.kvp";
    boxes.answers = {true};
    send(WindowId::ToolbarStrip, MsgCommand, makeParam(0, kNotifyClicked));
    EXPECT_EQ(ws.table.objectCount, 0);
    EXPECT_EQ(ws.records.liveCount(), 0);
    EXPECT_FALSE(ws.picture.loaded());
    EXPECT_EQ(window->objectList()->count(), 0);
    EXPECT_EQ(ws.journal.newestRecord, ws.journal.oldestRecord);
    EXPECT_EQ(ws.tools.toolMode, 0);
    EXPECT_EQ(ws.tools.clickCount, 0);
    EXPECT_EQ(ws.tools.rubberBand.active, 0);
    EXPECT_EQ(ws.tools.rubberBand.curvesAllowed, 0);
    EXPECT_EQ(ws.tools.preview.segments[0].used, 0);
    EXPECT_EQ(ws.cursorNumber, 0);
    EXPECT_EQ(ws.table.currentObject, -1);
    EXPECT_EQ(window->windowTitle(), "Kelvara Stitches");
    // The next Save dialog starts with an empty name.
    press('R', WindowId::Canvas, 'r');
    click(10, 10);
    click(60, 10);
    holdCtrl();
    press('S');
    releaseCtrl();
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_TRUE(files.requests[0].startName.isEmpty());
}

} // namespace
} // namespace kelvara::testing
