// Canvas view: scroll table, arrow keys, zoom, the rendered lower layer and
// the painted upper layer.

#include "window_fixture.h"

#include "stitch/stitchplan.h"
#include "ui/canvasview.h"

#include <QPainter>
#include <QScrollBar>

namespace kelvara::testing {
namespace {

TEST(ScrollTableTest, RequestsGiveTheTablesOffsets)
{
    // Zoom 32 over 700 pixels: a page of 21.
    EXPECT_EQ(scrollPage(700, 32), 21);
    // The range grows with the zoom: 10000 design units are 320000 pixels.
    EXPECT_EQ(scrollOffset(500, 700, 32, ScrollBottom, 0), 319979);
    EXPECT_EQ(scrollOffset(500, 700, 32, ScrollTop, 0), 0);
    // Line up leaves 1..10 alone; page up from 7 goes to 0.
    EXPECT_EQ(scrollOffset(7, 700, 1, ScrollLineUp, 0), 7);
    EXPECT_EQ(scrollOffset(11, 700, 1, ScrollLineUp, 0), 1);
    EXPECT_EQ(scrollOffset(7, 700, 1, ScrollPageUp, 0), 0);
    EXPECT_EQ(scrollOffset(1000, 700, 1, ScrollPageUp, 0), 650);
    // Line down stops short of the range end.
    EXPECT_EQ(scrollOffset(9290, 700, 1, ScrollLineDown, 0), 9300);
    EXPECT_EQ(scrollOffset(9291, 700, 1, ScrollLineDown, 0), 9291);
    // Page down lands on the last page when a full step would pass it.
    EXPECT_EQ(scrollOffset(8000, 700, 1, ScrollPageDown, 0), 8700);
    EXPECT_EQ(scrollOffset(8700, 700, 1, ScrollPageDown, 0), 9300);
    // Thumb positions are taken as they come.
    EXPECT_EQ(scrollOffset(0, 700, 1, ScrollThumbTrack, 65535), 65535);
    EXPECT_EQ(scrollOffset(0, 700, 32, ScrollThumbPosition, 9999), 9999);
    EXPECT_EQ(scrollOffset(123, 700, 1, 8, 5), 123);
}

TEST(ArrowKeyTest, StepsByZoomAndStopsAtTheEnds)
{
    ViewState view;
    view.canvasWidth = 700;
    view.canvasHeight = 500;
    view.zoom = 32;
    view.scrollX = 10;
    EXPECT_TRUE(arrowKeyScroll(view, VkLeft, 0));
    EXPECT_EQ(view.scrollX, 7); // step 100 / 32 = 3
    EXPECT_TRUE(arrowKeyScroll(view, VkLeft, 1));
    EXPECT_EQ(view.scrollX, 0); // Shift: 28, more than is left
    EXPECT_FALSE(arrowKeyScroll(view, VkLeft, 0));
    view.scrollY = 319980; // limit 10000 * 32 - 500 / 32 = 319985
    EXPECT_TRUE(arrowKeyScroll(view, VkDown, 0));
    EXPECT_EQ(view.scrollY, 319983);
    EXPECT_TRUE(arrowKeyScroll(view, VkDown, 1));
    EXPECT_EQ(view.scrollY, 319985);
    EXPECT_FALSE(arrowKeyScroll(view, VkDown, 0));
}

struct CanvasTest : WindowFixture {
    // A 50 x 40 green picture, red at its first pixel and blue at `blue`,
    // loaded at scroll (20, 10) and zoom 1.
    void loadPictureAt20And10(QPoint blue)
    {
        QImage picture(50, 40, QImage::Format_RGB32);
        picture.fill(qRgb(10, 200, 30));
        picture.setPixel(0, 0, qRgb(250, 1, 2));
        picture.setPixel(blue, qRgb(3, 4, 250));
        ws.view.scrollX = 20;
        ws.view.scrollY = 10;
        ws.picture.pictureName = "picture.bmp";
        ws.picture.pixels = picture;
        ws.picture.picLeft = 20;
        ws.picture.picTop = 10;
        ws.picture.picWidth = 50;
        ws.picture.picHeight = 40;
    }
};

TEST_F(CanvasTest, ScrollBarsFollowTheViewAndMapTheirActions)
{
    start();
    resizeClient(827, 600); // canvas 700 wide
    QScrollBar* bar = canvas().scrollBar(Qt::Horizontal);
    EXPECT_EQ(bar->pageStep(), 700);
    ws.view.zoom = 32;
    canvas().updateScrollBars();
    EXPECT_EQ(bar->pageStep(), 21);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(ws.view.scrollX, 319979);
    EXPECT_EQ(bar->value(), 319979);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(ws.view.scrollX, 319969);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(ws.view.scrollX, 319969 - 350);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(ws.view.scrollX, 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ws.view.scrollX, 21);
    // The arrow keys move the bar with the view.
    send(WindowId::Canvas, MsgKeyUp, VkRight);
    EXPECT_EQ(ws.view.scrollX, 24);
    EXPECT_EQ(bar->value(), 24);
    send(WindowId::Canvas, MsgVScroll, makeParam(ScrollThumbPosition, 4321));
    EXPECT_EQ(ws.view.scrollY, 4321);
    EXPECT_EQ(canvas().scrollBar(Qt::Vertical)->value(), 4321);
}

TEST_F(CanvasTest, WheelZoomsFromEveryWindowWithoutMovingThePointer)
{
    start();
    press('R', WindowId::Canvas, 'r');
    moveMouse(40, 30);
    const auto wheel = [this](WindowId id, int delta) {
        send(id, MsgMouseWheel, makeParam(0, uint32_t(int16_t(delta))), makeParam(900, 700));
    };
    wheel(WindowId::Canvas, -120);
    EXPECT_EQ(ws.view.zoom, 2);
    wheel(WindowId::ToolbarStrip, -1);
    wheel(WindowId::ObjectList, -240);
    EXPECT_EQ(ws.view.zoom, 4);
    EXPECT_EQ(canvas().scrollBar(Qt::Horizontal)->pageStep(), ws.view.canvasWidth / 4);
    wheel(WindowId::Main, 120);
    EXPECT_EQ(ws.view.zoom, 3);
    for (int i = 0; i < 40; ++i)
        wheel(WindowId::Canvas, -120);
    EXPECT_EQ(ws.view.zoom, 32);
    for (int i = 0; i < 40; ++i)
        wheel(WindowId::Canvas, 120);
    EXPECT_EQ(ws.view.zoom, 1);
    // The wheel's screen position is not a canvas position.
    EXPECT_EQ(ws.view.mouseX, 40);
    EXPECT_EQ(ws.view.mouseY, 30);
}

TEST_F(CanvasTest, GridLinesAreDashedYellowAtTheSpacing)
{
    start("MRIZ=1\nMRIZXY=10\n");
    resizeClient(827, 568); // canvas 700 x 500
    const QImage& image = canvasImage();
    const QRgb yellow = qRgb(255, 255, 0);
    const QRgb black = qRgb(0, 0, 0);
    // First line at s = 100, not at 0; lines stop one pixel short.
    EXPECT_EQ(image.pixel(0, 5), black);
    EXPECT_EQ(image.pixel(100, 5), yellow);
    EXPECT_EQ(image.pixel(99, 5), black);
    EXPECT_EQ(image.pixel(600, 5), yellow);
    EXPECT_EQ(image.pixel(5, 100), yellow);
    // Dashed: there are gaps along a line.
    int gaps = 0;
    for (int y = 0; y < 200; ++y)
        gaps += image.pixel(100, y) == black ? 1 : 0;
    EXPECT_GT(gaps, 20);
    EXPECT_LT(gaps, 120);

    // Scrolled by 30 at zoom 2: spacing 200, first line at 200 - 30.
    ws.view.zoom = 2;
    ws.view.scrollX = 30;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(170, 5), yellow);
    EXPECT_EQ(image.pixel(100, 5), black);

    // The grid switch draws nothing when off.
    ws.settings.MRIZ = 0;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(170, 5), black);
}

QImage painted(const QImage& lower, const Workspace& ws)
{
    QImage target(lower.size(), QImage::Format_RGB32);
    target.fill(Qt::magenta);
    QPainter painter(&target);
    presentCanvas(painter, lower, ws);
    return target;
}

TEST_F(CanvasTest, CrossHairIsWhiteThroughTheMouse)
{
    start("CROSS=1\n");
    resizeClient(827, 568);
    moveMouse(200, 150);
    const QImage image = painted(canvasImage(), ws);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(image.pixel(200, 0), white);
    EXPECT_EQ(image.pixel(200, 400), white);
    EXPECT_EQ(image.pixel(0, 150), white);
    EXPECT_EQ(image.pixel(650, 150), white);
    EXPECT_EQ(image.pixel(201, 151), qRgb(0, 0, 0));
    // The lower layer is untouched.
    EXPECT_EQ(canvasImage().pixel(200, 0), qRgb(0, 0, 0));
    // Before the first move the lines lie outside the canvas.
    ws.view.mouseX = -1;
    ws.view.mouseY = -1;
    const QImage before = painted(canvasImage(), ws);
    EXPECT_EQ(before.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(before.pixel(300, 300), qRgb(0, 0, 0));
}

TEST_F(CanvasTest, RubberBandFollowsTheShiftConstraint)
{
    start();
    resizeClient(827, 568);
    press('R', WindowId::Canvas, 'r');
    click(100, 100);
    const QRgb red = qRgb(255, 0, 0);

    // Mostly horizontal, |dy| below half of |dx|: drawn horizontally.
    moveMouse(300, 140);
    send(WindowId::Canvas, MsgKeyDown, VkShift);
    QImage image = painted(canvasImage(), ws);
    EXPECT_EQ(image.pixel(250, 100), red);
    EXPECT_NE(image.pixel(300, 140), red);

    // |dy| exactly half of |dx|: 45 degrees.
    moveMouse(300, 200);
    image = painted(canvasImage(), ws);
    EXPECT_EQ(image.pixel(250, 250), red);
    EXPECT_NE(image.pixel(200, 150), red);

    // Without Shift the line goes to the mouse.
    send(WindowId::Canvas, MsgKeyUp, VkShift);
    image = painted(canvasImage(), ws);
    EXPECT_EQ(image.pixel(200, 150), red);
}

TEST_F(CanvasTest, FinishedSegmentsAreBlueWithControlSquares)
{
    start();
    resizeClient(827, 568);
    press('S', WindowId::Canvas, 's');
    click(100, 100);
    // The right button bends the live segment, then the click finishes it.
    moveMouse(150, 300);
    mouse(MsgRButtonDown, 150, 300);
    mouse(MsgRButtonUp, 150, 300);
    click(300, 100);
    ASSERT_EQ(ws.tools.preview.segments[0].used, 1);
    ASSERT_EQ(ws.tools.preview.segments[0].straight, 0);
    const QImage image = painted(canvasImage(), ws);
    const QRgb blue = qRgb(0, 0, 255);
    // The 8 x 8 square around control point 1 (150, 300).
    EXPECT_EQ(image.pixel(146, 296), blue);
    EXPECT_EQ(image.pixel(153, 303), blue);
    EXPECT_NE(image.pixel(155, 305), blue);
    EXPECT_EQ(image.pixel(100, 100), blue);
}

TEST_F(CanvasTest, BackgroundPictureAtZoomOneAndFour)
{
    start();
    resizeClient(827, 568); // canvas 700 x 500
    // Loaded at scroll (20, 10) and zoom 1: its corner at design point (20, 10).
    loadPictureAt20And10({49, 39});
    canvas().renderCanvas();
    const QImage& image = canvasImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(49, 39), qRgb(3, 4, 250));
    EXPECT_EQ(image.pixel(50, 39), qRgb(0, 0, 0));
    // Scrolled by 5 to the right: the picture moves 5 to the left.
    ws.view.scrollX = 25;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(44, 39), qRgb(3, 4, 250));
    EXPECT_EQ(image.pixel(45, 0), qRgb(0, 0, 0));

    // Zoom 4, offsets 0: design (20, 10) is at canvas (80, 40) and every
    // picture pixel is a 4 x 4 block.
    ws.view.zoom = 4;
    ws.view.scrollX = 0;
    ws.view.scrollY = 0;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(79, 40), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(80, 40), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(83, 43), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(84, 40), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(80 + 49 * 4, 40 + 39 * 4), qRgb(3, 4, 250));
    EXPECT_EQ(image.pixel(80 + 49 * 4 + 3, 40 + 39 * 4 + 3), qRgb(3, 4, 250));
    EXPECT_EQ(image.pixel(80 + 50 * 4, 40), qRgb(0, 0, 0));
    // A picture loaded at zoom 4 with scroll (400, 200) starts at design
    // (100, 50): the top-left corner of the view then.
    ws.picture.pixels = ws.picture.pixels.copy();
    ws.picture.picLeft = 400;
    ws.picture.picTop = 200;
    ws.view.scrollX = 400;
    ws.view.scrollY = 200;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(0, 0), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(4, 0), qRgb(10, 200, 30));
    ws.view.zoom = 1;
    ws.view.scrollX = 0;
    ws.view.scrollY = 0;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(100, 50), qRgb(250, 1, 2));
}

int litPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height() - 1; ++y)
        for (int x = 0; x < image.width() - 1; ++x)
            lit += image.pixel(x, y) != qRgb(0, 0, 0) ? 1 : 0;
    return lit;
}

TEST_F(CanvasTest, DesignInformationShowsOnceAKeystrokeWithThePlansCount)
{
    start("STITCHVIEW=0\n");
    resizeClient(827, 568);
    press('V', WindowId::Canvas, 'v');
    click(100, 100);
    click(300, 100);
    click(300, 250);
    ASSERT_EQ(ws.table.objectCount, 1);
    press(VkSpace, WindowId::Canvas, ' ');
    boxes.shown.clear();
    // The key types its character and is released: one box, not two.
    press('Q', WindowId::Canvas, 'q');
    ASSERT_EQ(boxes.shown.size(), 1u);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(ws, plan), PlanStatus::Ok);
    EXPECT_NE(boxes.shown[0].text.find("Stitches: " + std::to_string(plan.stitchCount()) + "\n"),
              std::string::npos)
        << boxes.shown[0].text;
    EXPECT_NE(boxes.shown[0].text.find("Objects: 1\n"), std::string::npos);
}

TEST_F(CanvasTest, StitchViewShowsTheDesignAndFollowsItsChanges)
{
    start("STITCHVIEW=0\n");
    resizeClient(827, 568);
    press('V', WindowId::Canvas, 'v');
    click(100, 100);
    click(300, 100);
    click(300, 250);
    ASSERT_EQ(ws.table.objectCount, 1);
    // Switched off, the canvas is the plain black field once the new
    // object is no longer selected (a selection is highlighted).
    clearSelection(ws);
    canvas().renderCanvas();
    EXPECT_EQ(litPixels(canvasImage()), 0);
    press('P', WindowId::Canvas, 'p');
    ASSERT_TRUE(window->editor().stitchView);
    const int lit = litPixels(canvasImage());
    EXPECT_GT(lit, 1000);
    // Zoomed in, the same stitches cover more of the canvas.
    send(WindowId::Canvas, MsgMouseWheel, makeParam(0, uint32_t(int16_t(-120))), 0);
    EXPECT_GT(litPixels(canvasImage()), lit);
    // Undone, the stitches go with the object.
    holdCtrl();
    press('U');
    releaseCtrl();
    ASSERT_EQ(ws.table.objectCount, 0);
    canvas().renderCanvas();
    EXPECT_EQ(litPixels(canvasImage()), 0);
}

TEST_F(CanvasTest, RightButtonRepeatsWhileHeldWithADrawingTool)
{
    start();
    resizeClient(827, 568);
    press('R', WindowId::Canvas, 'r');
    click(100, 100);
    mouse(MsgRButtonDown, 100, 100);
    // Every message that follows moves control point 1 to the mouse.
    for (int x = 110; x <= 150; x += 20) {
        moveMouse(x, 200);
        EXPECT_EQ(ws.tools.rubberBand.c1X, x);
        EXPECT_EQ(ws.tools.rubberBand.c1Y, 200);
    }
    EXPECT_EQ(ws.tools.rubberBand.straight, 0);
    // Released outside the canvas: the bit stays and the repeat goes on.
    send(WindowId::ToolbarStrip, MsgRButtonUp, 0, makeParam(5, 5));
    moveMouse(170, 220);
    EXPECT_EQ(ws.tools.rubberBand.c1X, 170);
    mouse(MsgRButtonUp, 170, 220);
    moveMouse(190, 240);
    EXPECT_EQ(ws.tools.rubberBand.c1X, 170);
    // With the select tool nothing is repeated.
    press(VkSpace, WindowId::Canvas, ' ');
    mouse(MsgRButtonDown, 10, 10);
    moveMouse(30, 30);
    EXPECT_EQ(ws.tools.rubberBand.c1X, 170);
}

// At a ratio each picture pixel covers 1.25 or half a canvas pixel, from
// the design point the picture was loaded at, and never spills past it.
TEST_F(CanvasTest, BackgroundPictureAtFineRatios)
{
    start();
    resizeClient(827, 568);
    loadPictureAt20And10({1, 0});
    canvas().renderCanvas(); // loaded at zoom 1: its corner at design (20, 10)
    ws.view.setRatio(ZoomRatio(5, 4));
    ws.view.scrollX = 0;
    ws.view.scrollY = 0;
    canvas().renderCanvas();
    const QImage& image = canvasImage();
    EXPECT_EQ(image.pixel(24, 13), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(25, 13), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(26, 13), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(27, 13), qRgb(3, 4, 250));
    EXPECT_EQ(image.pixel(86, 13), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(88, 13), qRgb(0, 0, 0));
    ws.view.setRatio(ZoomRatio(1, 2));
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(9, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(10, 5), qRgb(250, 1, 2));
    EXPECT_EQ(image.pixel(34, 24), qRgb(10, 200, 30));
    EXPECT_EQ(image.pixel(35, 24), qRgb(0, 0, 0));
}

} // namespace
} // namespace kelvara::testing
