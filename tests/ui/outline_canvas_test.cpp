// The objects on the canvas: outlines in thread colours, the selection with
// its handles in both views, the handles of node editing, and the ellipse a
// STAR or CIRCLE shows before its last click.

#include "window_fixture.h"

#include "model/selection.h"
#include "stitch/stitchtesting.h"
#include "ui/canvasview.h"

#include <QPainter>

#include <limits>

namespace kelvara::testing {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kNodeHandle = qRgb(255, 150, 0);

using OutlineTest = WindowFixture;

// True when a pixel within `reach` of (x, y) has the colour: lines of one
// pixel land on either side of a half-unit.
bool near(const QImage& image, int x, int y, QRgb colour, int reach = 1)
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (image.pixel(x + dx, y + dy) == colour)
                return true;
    return false;
}

void setColour(Workspace& ws, int32_t row, int32_t colour)
{
    ObjectParams& p = ws.records[ws.table.rows[size_t(row)].params];
    p.run.colour = colour; // a RUN keeps its colour last
}

TEST_F(OutlineTest, EveryKindIsOutlinedInItsColourWhereTheViewPutsIt)
{
    start("OUTLINES=1\n");
    resizeClient(827, 568); // canvas 700 x 500
    press('R', WindowId::Canvas, 'r');
    click(100, 100);
    click(300, 100);
    press(VkEscape);
    ASSERT_EQ(ws.table.objectCount, 1);
    // A new object is selected, and a selection is highlighted.
    clearSelection(ws);
    canvas().renderCanvas();
    const int32_t run = displayOrderRows(ws.table).front();
    const QImage& image = canvasImage();
    // No colour chosen yet: white.
    EXPECT_EQ(image.pixel(200, 100), kWhite);
    setColour(ws, run, 0x0000FF);
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(200, 100), qRgb(255, 0, 0));

    // A column with its width across both ends; a satin with the rungs
    // joining the ends its stitches join, not across the middle.
    press('O', WindowId::Canvas, 'o');
    click(100, 200);
    click(300, 200);
    press('S', WindowId::Canvas, 's');
    for (const auto& [x, y] : {std::pair{100, 300}, {300, 300}, {300, 350}, {100, 350}})
        click(x, y);
    press(VkEscape);
    press('K', WindowId::Canvas, 'k');
    click(400, 100);
    click(460, 160);
    click(0, 0);
    ASSERT_EQ(ws.table.objectCount, 4);
    clearSelection(ws);
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(200, 200), kWhite);
    EXPECT_TRUE(near(image, 100, 207, kWhite)); // STEIL 20 wide: the bar reaches 10 each way
    EXPECT_TRUE(near(image, 300, 193, kWhite));
    EXPECT_EQ(image.pixel(100, 180), kBlack);
    EXPECT_TRUE(near(image, 100, 325, kWhite));
    EXPECT_TRUE(near(image, 300, 325, kWhite));
    EXPECT_EQ(image.pixel(200, 325), kBlack);
    EXPECT_TRUE(near(image, 430, 100, kWhite)); // circle centre (430, 130), radii 30
    EXPECT_TRUE(near(image, 460, 130, kWhite));
    EXPECT_EQ(image.pixel(430, 130), kBlack);

    // Zoom 2 scrolled by (100, 50): design (200, 100) is at (300, 150).
    ws.view.zoom = 2;
    ws.view.scrollX = 100;
    ws.view.scrollY = 50;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(300, 150), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(200, 100), kBlack);

    // Switched off, the canvas holds no objects again.
    ws.settings.OUTLINES = 0;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(300, 150), kBlack);
}

TEST_F(OutlineTest, SelectionAndNodeEditingShowHandlesInBothViews)
{
    start("OUTLINES=1\n");
    resizeClient(827, 568);
    press('R', WindowId::Canvas, 'r');
    click(100, 100);
    click(400, 100);
    press(VkEscape);
    const int32_t run = displayOrderRows(ws.table).front();
    setColour(ws, run, 0x0000FF);
    const QImage& image = canvasImage();

    for (bool stitchView : {false, true}) {
        window->editor().stitchView = stitchView;
        selectOnly(ws, run);
        canvas().renderCanvas();
        // Highlighted over the thread colour, a square handle on each end;
        // a straight line shows no control points.
        EXPECT_EQ(image.pixel(250, 100), kWhite) << stitchView;
        EXPECT_EQ(image.pixel(100, 100), kWhite) << stitchView;
        EXPECT_EQ(image.pixel(103, 97), kBlack) << stitchView; // the handle's border
        EXPECT_FALSE(near(image, 200, 100, kNodeHandle, 3)) << stitchView;
        clearSelection(ws);
        canvas().renderCanvas();
        EXPECT_NE(image.pixel(250, 100), kWhite) << stitchView;
    }

    // Editing nodes: the current object's control points are handles too,
    // at the thirds of its straight line, without any selection.
    window->editor().stitchView = false;
    ws.table.currentObject = run;
    ws.tools.nodeEditing = 1;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(200, 100), kNodeHandle);
    EXPECT_EQ(image.pixel(300, 100), kNodeHandle);
    EXPECT_EQ(image.pixel(250, 100), kWhite);
    ws.tools.nodeEditing = 0;
    canvas().renderCanvas();
    EXPECT_EQ(image.pixel(200, 100), qRgb(255, 0, 0));
}

TEST_F(OutlineTest, RecordsFromAnyFileAreDrawnClippedOrLeftOut)
{
    start("OUTLINES=1\n");
    resizeClient(827, 568);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Far beyond the canvas on both sides: clipped to the part in view.
    addObject(ws, KindRun, runParams(straightEdge(-1e300, 100, 1e300, 100)));
    addObject(
        ws, KindSaten,
        satenParams(curvedEdge(0, 200, 1e200, -1e200, -1e200, 1e200, 600, 200), straightEdge(nan, 0, 1, 1)));
    const int32_t star =
        addObject(ws, KindStar, starParams(350, 300, std::numeric_limits<int32_t>::max(), 40));
    ws.selection.rows.set();
    ws.table.currentObject = star;
    ws.tools.nodeEditing = 1;
    canvas().renderCanvas();
    const QImage& image = canvasImage();
    EXPECT_EQ(image.pixel(5, 100), kWhite); // the selection's highlight
    EXPECT_EQ(image.pixel(690, 100), kWhite);
    EXPECT_EQ(image.pixel(350, 300), kNodeHandle); // the star's centre
}

QImage painted(const QImage& lower, const Workspace& ws)
{
    QImage target(lower.size(), QImage::Format_RGB32);
    QPainter painter(&target);
    presentCanvas(painter, lower, ws);
    return target;
}

TEST_F(OutlineTest, ShapeToolsShowTheirEllipseBeforeTheLastClick)
{
    start();
    resizeClient(827, 568);
    const QRgb blue = qRgb(0, 0, 255);
    for (uint32_t tool : {'H', 'K'}) {
        press(tool, WindowId::Canvas, int(tool) + 32);
        click(200, 100);
        moveMouse(260, 140);
        // One click: no ellipse yet, only the rubber band.
        EXPECT_FALSE(near(painted(canvasImage(), ws), 230, 140, blue, 2));
        click(260, 140);
        moveMouse(500, 400);
        // Centre (230, 120), radii 30 and 20, as the object will have them.
        const QImage image = painted(canvasImage(), ws);
        EXPECT_TRUE(near(image, 230, 140, blue, 2)) << tool;
        EXPECT_TRUE(near(image, 200, 120, blue, 2)) << tool;
        EXPECT_TRUE(near(image, 260, 120, blue, 2)) << tool;
        press(VkEscape);
    }
}

} // namespace
} // namespace kelvara::testing
