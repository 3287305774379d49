// Creation sequence, toolbar picture failures, layout and shutdown of the
// real main window.

#include "window_fixture.h"

#include "model/objecttable.h"
#include "shell/texts.h"
#include "ui/objectlistwidget.h"
#include "ui/toolbar.h"
#include "ui/toolbarpicture.h"
#include "ui/windowprocedure.h"

#include <QToolButton>

namespace kelvara::testing {
namespace {

bool hasColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

const QRgb kGridYellow = qRgb(255, 255, 0);

using CreationTest = WindowFixture;

TEST_F(CreationTest, FirstDrawingUsesBuiltInSettingsAndMessagesAreReadLast)
{
    start("MRIZ=1\nMRIZXY=2\nCROSS=1\n");
    // The configuration was read after the first drawing: the grid is on
    // but not yet in the picture.
    EXPECT_EQ(ws.settings.MRIZ, 1);
    EXPECT_EQ(ws.settings.CROSS, 1);
    ASSERT_FALSE(canvasImage().isNull());
    EXPECT_EQ(canvasImage().size(), QSize(640 - 127, 480 - 68));
    EXPECT_FALSE(hasColour(canvasImage(), kGridYellow));
    // Showing maximised resizes, which redraws with the configuration.
    resizeClient(900, 700);
    EXPECT_TRUE(hasColour(canvasImage(), kGridYellow));
    // The line table holds the message file, not the configuration or the
    // button information read before it.
    EXPECT_EQ(message(ws, 0), "message 0");
    EXPECT_EQ(message(ws, 15), "message 15");
}

TEST_F(CreationTest, EmptiesTableAndMousePositionAndBuildsTheToolbar)
{
    ws.table.rows[5].kind = KindRun;
    ws.view.mouseX = 17;
    start();
    EXPECT_EQ(ws.table.rows[5].kind, 0);
    EXPECT_EQ(ws.view.mouseX, -1);
    EXPECT_EQ(ws.view.mouseY, -1);
    EXPECT_TRUE(ws.rememberedFileName.isEmpty());
    EXPECT_EQ(window->editor().buttons.buttonCount, 47);
    // Without an information file a tooltip is only its hotkey part.
    EXPECT_EQ(window->editor().buttons.rows[0].tipText, " (CTRL+N)");
    EXPECT_EQ(window->windowTitle(), "Kelvara Stitches");
}

TEST_F(CreationTest, StitchViewStartsFromTheConfiguration)
{
    start("STITCHVIEW=1\n");
    EXPECT_TRUE(window->editor().stitchView);
}

TEST_F(CreationTest, TooltipsComeFromTheInformationFileWithTheirHotkeys)
{
    std::string info = "; tips\n";
    for (int k = 0; k < 46; ++k)
        info += "tip " + std::to_string(k) + "\n";
    writeProgramFolder(shippedButtons(), "", numberedMessages(), info);
    createWindow();
    ASSERT_EQ(createResult, 0);
    const ButtonTable& buttons = window->editor().buttons;
    EXPECT_EQ(buttons.rows[0].tipText, "tip 0 (CTRL+N)");
    EXPECT_EQ(buttons.rows[6].buttonWindow->toolTip(), "tip 2 (DEL)");
    EXPECT_TRUE(buttons.rows[6].buttonWindow->isEnabled());
    // Ctrl+O runs Open, not Optimise, which only its button runs; F runs
    // Flip, not the later Fill pattern. Such a tooltip names no key.
    EXPECT_EQ(buttons.rows[1].tipText, "tip 1 (CTRL+O)");
    EXPECT_EQ(buttons.rows[31].tipText, "tip 20");
    EXPECT_EQ(buttons.rows[13].tipText, "tip 29 (F)");
    EXPECT_EQ(buttons.rows[35].tipText, "tip 21");
    EXPECT_TRUE(buttons.rows[31].buttonWindow->isEnabled());
    EXPECT_TRUE(buttons.rows[35].buttonWindow->isEnabled());
    EXPECT_EQ(message(ws, 0), "message 0");
}

// The shipped tooltips must not promise what the button cannot do.
TEST(ShippedTooltips, ExactlyTheButtonsWithoutACommandSayNotAvailableYet)
{
    auto lines = std::make_unique<LineTable>();
    readTextFile(*lines, std::string(KELVARA_SOURCE_DATA) + "/" + kButtonInfoFileName);
    for (const ToolbarItem& item : toolbarLayout()) {
        if (item.image < 0)
            continue;
        const bool saysNotAvailable =
            lines->slot(item.image).find("(not available yet)") != std::string::npos;
        EXPECT_EQ(saysNotAvailable, item.command == nullptr) << "picture " << item.image;
    }
}

TEST_F(CreationTest, ButtonsSitAtTheTablePositions)
{
    start();
    const ButtonTable& buttons = window->editor().buttons;
    const std::pair<int, QPoint> expected[] = {
        {0, {4, 1}},   {3, {106, 1}},  {4, {148, 1}},   {6, {224, 1}},   {10, {384, 1}}, {19, {722, 1}},
        {20, {4, 35}}, {21, {46, 35}}, {27, {258, 35}}, {34, {520, 35}}, {40, {748, 35}}, {41, {790, 35}}};
    for (const auto& [row, at] : expected) {
        const QToolButton* button = buttons.rows[std::size_t(row)].buttonWindow;
        ASSERT_NE(button, nullptr) << row;
        EXPECT_EQ(button->geometry(), QRect(at, QSize(32, 32))) << "row " << row;
    }
    EXPECT_EQ(buttons.rows[47].buttonWindow, nullptr);
    EXPECT_FALSE(buttons.rows[47].handler);
    // Picture k of the strip is cut from x = 30 k.
    const QImage strip = decodeToolbarPicture(QByteArray::fromStdString(shippedButtons())).image;
    EXPECT_EQ(buttons.rows[21].image, strip.copy(30 * 7, 0, 30, 30));
}

// The toolbar picture decides whether the program can start at all.
struct BrokenPicture {
    const char* name;
    std::string bytes;
    bool boxShown;
};

void put32(std::string& bytes, std::size_t at, uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

std::string pictureWithHeader(int bitCount, int32_t imageSize, std::size_t pixelBytes, int32_t width = 1230,
                              int32_t height = 30)
{
    std::string bytes = shippedButtons().substr(0, 54);
    put32(bytes, 18, uint32_t(width));
    put32(bytes, 22, uint32_t(height));
    bytes[28] = char(bitCount);
    put32(bytes, 34, uint32_t(imageSize));
    return bytes + std::string(pixelBytes, '\x40');
}

TEST_F(CreationTest, UnusableToolbarPictureEndsWithExitCodeOne)
{
    const std::string good = shippedButtons();
    const BrokenPicture cases[] = {
        {"missing file", "", true},
        {"short file header", "BM\x10\x00", true},
        {"not BM", "XM" + good.substr(2), true},
        {"short information header", good.substr(0, 40), false},
        {"16 bits per pixel", pictureWithHeader(16, 100, 100), false},
        {"8 bits per pixel", pictureWithHeader(8, 100, 100), false},
        {"fewer pixel bytes than the image size", good.substr(0, good.size() - 1), true},
        {"image size far beyond the file", pictureWithHeader(24, 0x7FFFFFFF, 10), true},
    };
    for (const BrokenPicture& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder local;
        if (!c.bytes.empty())
            local.write("buttons.bmp", c.bytes);
        auto fresh = makeWorkspace();
        fresh->programFolder = local.file("");
        MainWindow failing(*fresh);
        FakeMessageBoxes localBoxes;
        failing.editor().platform.boxes = &localBoxes;
        EXPECT_EQ(failing.create(), 1);
        ASSERT_EQ(localBoxes.shown.size(), c.boxShown ? 1u : 0u);
        if (c.boxShown) {
            EXPECT_FALSE(localBoxes.shown[0].question);
            EXPECT_EQ(localBoxes.shown[0].caption, "!!!");
            EXPECT_EQ(localBoxes.shown[0].text, "BUTTONS.BMP");
        }
    }
}

TEST(ToolbarPictureTest, ReadsBothDepthsUprightAndNeverPastItsStorage)
{
    // 2 x 2 pixels, 24 bits, bottom-up: the first row in the file is the
    // bottom row of the picture.
    std::string bmp = pictureWithHeader(24, 16, 0, 2, 2);
    bmp += std::string("\x00\x00\xFF"
                       "\x00\xFF\x00"
                       "\x00\x00",
                       8); // red, green
    bmp += std::string("\xFF\x00\x00"
                       "\xFF\xFF\xFF"
                       "\x00\x00",
                       8); // blue, white
    ToolbarPicture picture = decodeToolbarPicture(QByteArray::fromStdString(bmp));
    ASSERT_EQ(picture.status, ToolbarPicture::Status::Loaded);
    EXPECT_EQ(picture.image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(picture.image.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(picture.image.pixel(1, 0), qRgb(255, 255, 255));

    // An image size larger than the picture's storage: the extra bytes are
    // in the file but go nowhere.
    std::string padded = bmp;
    put32(padded, 34, 64);
    padded += std::string(48, '\x7F');
    picture = decodeToolbarPicture(QByteArray::fromStdString(padded));
    ASSERT_EQ(picture.status, ToolbarPicture::Status::Loaded);
    EXPECT_EQ(picture.image.size(), QSize(2, 2));

    // 32 bits: blue, green, red, unused.
    std::string bmp32 = pictureWithHeader(32, 4, 0, 1, 1);
    bmp32 += std::string("\x10\x20\x30\x00", 4);
    picture = decodeToolbarPicture(QByteArray::fromStdString(bmp32));
    ASSERT_EQ(picture.status, ToolbarPicture::Status::Loaded);
    EXPECT_EQ(picture.image.pixel(0, 0), qRgb(0x30, 0x20, 0x10));

    // A forged size no bitmap has is refused before anything is allocated.
    const std::string forged = pictureWithHeader(24, 16, 16, 0x40000000, 0x40000000);
    EXPECT_EQ(decodeToolbarPicture(QByteArray::fromStdString(forged)).status,
              ToolbarPicture::Status::FailSilently);
}

using LayoutTest = WindowFixture;

TEST_F(LayoutTest, ChildrenFollowTheClientSize)
{
    start();
    const QSize sizes[] = {{640, 480}, {1024, 768}, {300, 200}, {1920, 1012}};
    for (const QSize& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        const int w = size.width();
        const int h = size.height();
        resizeClient(w, h);
        EXPECT_EQ(window->toolbarStripWindow()->geometry(), QRect(0, 0, w + 1, 68));
        EXPECT_EQ(window->listPanelWindow()->geometry(), QRect(w - 127, 68, 128, h - 68));
        EXPECT_EQ(window->canvasWindow()->geometry(), QRect(0, 68, w - 127, h - 68));
        EXPECT_EQ(window->objectList()->geometry(), QRect(4, 4, 120, h - 76));
        EXPECT_EQ(ws.view.canvasWidth, w - 127);
        EXPECT_EQ(ws.view.canvasHeight, h - 68);
        EXPECT_EQ(canvasImage().size(), QSize(w - 127, h - 68));
    }
}

TEST_F(LayoutTest, MinimisingLeavesNoCanvasImageAndRestoringRebuildsIt)
{
    start();
    ws.view.zoom = 3;
    ws.view.scrollX = 120;
    resizeClient(0, 0);
    EXPECT_EQ(ws.view.canvasWidth, -127);
    EXPECT_EQ(ws.view.canvasHeight, -68);
    EXPECT_TRUE(canvasImage().isNull());
    // Painting and scrolling without an image do not fail.
    send(WindowId::Canvas, MsgHScroll, ScrollBottom);
    window->canvasWindow()->surface()->repaint();
    resizeClient(800, 600);
    EXPECT_EQ(canvasImage().size(), QSize(673, 532));
    // A resize keeps zoom; the scroll request above moved the offset.
    EXPECT_EQ(ws.view.zoom, 3);
    EXPECT_EQ(ws.view.scrollX, 3 * 10000 - (-127 / 3));
}

TEST(SizingTest, OuterWindowNeverGoesBelow256)
{
    const uint32_t left = 1, top = 3, bottomRight = 8;
    SizingRect rect{100, 100, 150, 120};
    applyMinimumSize(bottomRight, rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 356);
    EXPECT_EQ(rect.bottom, 356);

    // Dragging the top edge: the bottom grows first, so the top stays.
    rect = {100, 100, 400, 150};
    applyMinimumSize(top, rect);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.bottom, 356);

    // Near the screen's origin the window is pushed back onto it.
    rect = {-20, -30, 100, 100};
    applyMinimumSize(left, rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, 256);
    EXPECT_EQ(rect.bottom - rect.top, 256);
}

using ShutdownTest = WindowFixture;

TEST_F(ShutdownTest, CloseAsksOnlyWithObjectsAndNoKeepsEverything)
{
    start();
    send(WindowId::Main, MsgClose);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(window->procedure().destroyed());
}

TEST_F(ShutdownTest, NoKeepsTheDesignAndYesFreesEveryRecord)
{
    start();
    send(WindowId::Canvas, MsgKeyDown, 'R');
    send(WindowId::Canvas, MsgKeyUp, 'R');
    click(10, 10);
    click(50, 10);
    click(90, 40);
    click(120, 80);
    ASSERT_EQ(ws.table.objectCount, 3);
    // A hole in the middle of the table: used rows lie beyond objectCount.
    ws.table.currentObject = 0;
    press(VkDelete);
    ASSERT_EQ(ws.table.objectCount, 2);
    ASSERT_EQ(ws.records.liveCount(), 2);

    boxes.answers = {false};
    send(WindowId::Canvas, MsgClose);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].question);
    EXPECT_EQ(boxes.shown[0].caption, "message 9");
    EXPECT_EQ(boxes.shown[0].text, "message 10");
    EXPECT_FALSE(window->procedure().destroyed());
    EXPECT_EQ(ws.table.objectCount, 2);

    boxes.answers = {true};
    send(WindowId::Main, MsgClose);
    EXPECT_TRUE(window->procedure().destroyed());
    EXPECT_EQ(ws.records.liveCount(), 0);
    EXPECT_TRUE(canvasImage().isNull());
}

} // namespace
} // namespace kelvara::testing
