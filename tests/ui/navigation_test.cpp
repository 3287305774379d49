// Navigation through the real main window: the scroll range at every zoom,
// the scroll bars' context menu, the wheel in notches, zoom to fit and a
// stitch view that follows the design.

#include "window_fixture.h"

#include "model/selection.h"
#include "stitch/stitchplan.h"
#include "ui/canvasview.h"
#include "ui/objectlistwidget.h"
#include "ui/statuswidget.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace kelvara::testing {
namespace {

constexpr uint32_t kPlusKey = 187;
constexpr uint32_t kMinusKey = 189;

struct Navigation : WindowFixture {
    void SetUp() override
    {
        start();
        resizeClient(827, 568); // canvas 700 x 500
    }

    // A motif rising 12.1 mm above and below its line.
    void addBumpMotif()
    {
        MotifLibrary& motifs = ws.libraries.motifs;
        motifs.count = 1;
        motifs.names[0] = "BUMP";
        motifs.points[0][0] = {0, 0};
        motifs.points[0][1] = {10, -121};
        motifs.points[0][2] = {20, 121};
        motifs.points[0][3] = {30, 0};
    }

    void ctrlKey(uint32_t key)
    {
        holdCtrl();
        press(key);
        releaseCtrl();
    }

    void openProject(const std::string& text)
    {
        files.answer(folder.write("design.kvp", text));
        ctrlKey('O');
    }

    // A real wheel event with this angle turn, sent to `target`.
    static bool turnWheel(QWidget* target, int delta)
    {
        const QPointF at(target->width() / 2, target->height() / 2);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &event);
        return event.isAccepted();
    }

    // Picks the entry `text` of the context menu the bar opens at `at`.
    void chooseFromBarMenu(QScrollBar* bar, QPoint at, const QString& text)
    {
        bool chosen = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text() == text) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    chosen = true;
                    return;
                }
            }
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
        QCoreApplication::sendEvent(bar, &event);
        EXPECT_TRUE(chosen) << text.toStdString();
    }
};

TEST_F(Navigation, FarEdgesReachDesignUnit10000AtEveryZoom)
{
    QScrollBar* horizontal = canvas().scrollBar(Qt::Horizontal);
    QScrollBar* vertical = canvas().scrollBar(Qt::Vertical);
    const ViewState& view = ws.view;
    for (const int zoom : {1, 8, 32}) {
        SCOPED_TRACE(zoom);
        while (view.zoom < zoom)
            send(WindowId::Canvas, MsgMouseWheel, makeParam(0, uint32_t(int16_t(-120))), 0);
        ASSERT_EQ(view.zoom, zoom);
        // The requests' end, the bars' end and the arrow keys' end.
        send(WindowId::Canvas, MsgHScroll, ScrollBottom);
        send(WindowId::Canvas, MsgVScroll, ScrollBottom);
        EXPECT_GE((view.scrollX + view.canvasWidth) / zoom, kScrollRange);
        EXPECT_GE((view.scrollY + view.canvasHeight) / zoom, kScrollRange);
        EXPECT_EQ(horizontal->value(), view.scrollX);
        EXPECT_EQ(vertical->value(), view.scrollY);
        EXPECT_GE((horizontal->maximum() + view.canvasWidth) / zoom, kScrollRange);
        EXPECT_GE((vertical->maximum() + view.canvasHeight) / zoom, kScrollRange);
        vertical->triggerAction(QAbstractSlider::SliderToMinimum);
        EXPECT_EQ(view.scrollY, 0);
        const int32_t limit = scrollRange(zoom) - view.canvasHeight / zoom;
        send(WindowId::Canvas, MsgVScroll, scrollParam(ScrollThumbPosition, uint32_t(limit - 1)));
        press(VkDown, WindowId::Canvas);
        EXPECT_EQ(view.scrollY, limit);
        EXPECT_GE((view.scrollY + view.canvasHeight) / zoom, kScrollRange);
        send(WindowId::Canvas, MsgHScroll, ScrollTop);
    }
    // A dragged thumb's position goes beyond 16 bits.
    send(WindowId::Canvas, MsgHScroll, scrollParam(ScrollThumbPosition, 300000));
    EXPECT_EQ(view.scrollX, 300000);
    EXPECT_EQ(horizontal->value(), 300000);
}

TEST_F(Navigation, EveryEntryOfTheBarsMenuMovesTheView)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QScrollBar* bar = canvas().scrollBar(Qt::Vertical);
    const ViewState& view = ws.view;
    chooseFromBarMenu(bar, QPoint(bar->width() / 2, bar->height() / 2), QStringLiteral("Scroll here"));
    EXPECT_GT(view.scrollY, 1000);
    EXPECT_EQ(bar->value(), view.scrollY);
    chooseFromBarMenu(bar, QPoint(bar->width() / 2, 20), QStringLiteral("Top"));
    EXPECT_EQ(view.scrollY, 0);
    chooseFromBarMenu(bar, QPoint(bar->width() / 2, 20), QStringLiteral("Page down"));
    const int32_t page = view.canvasHeight;
    EXPECT_EQ(view.scrollY, page);
    chooseFromBarMenu(bar, QPoint(bar->width() / 2, 20), QStringLiteral("Scroll down"));
    EXPECT_EQ(view.scrollY, page + 10);
    chooseFromBarMenu(bar, QPoint(bar->width() / 2, 20), QStringLiteral("Bottom"));
    EXPECT_EQ(view.scrollY, kScrollRange - page);
    EXPECT_EQ(bar->value(), view.scrollY);
    // An ordinary click on the arrow scrolls once.
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(view.scrollY, kScrollRange - page - 10);
    EXPECT_EQ(bar->value(), view.scrollY);
}

TEST_F(Navigation, WheelZoomsOneStepPerNotchAndScrollsTheList)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWidget* surface = canvas().surface();
    // A touchpad swipe: many small turns make whole notches only.
    for (int i = 0; i < 11; ++i)
        turnWheel(surface, -10);
    EXPECT_EQ(ws.view.zoom, 1);
    turnWheel(surface, -10);
    EXPECT_EQ(ws.view.zoom, 2);
    for (int i = 0; i < 30; ++i)
        turnWheel(surface, -30);
    EXPECT_EQ(ws.view.zoom, 9);
    // Half a notch is left over; turning back does not first pay it off.
    turnWheel(surface, 120);
    EXPECT_EQ(ws.view.zoom, 8);
    turnWheel(surface, 240);
    EXPECT_EQ(ws.view.zoom, 6);

    ObjectListWidget& list = *window->objectList();
    for (int i = 0; i < 200; ++i)
        list.addString("line");
    QCoreApplication::processEvents();
    QScrollBar* listBar = list.verticalScrollBar();
    ASSERT_GT(listBar->maximum(), 0);
    listBar->setValue(0);
    turnWheel(list.viewport(), -120);
    EXPECT_GT(listBar->value(), 0);
    listBar->setValue(listBar->maximum());
    turnWheel(list.viewport(), -120); // at the end: nothing to scroll
    EXPECT_EQ(ws.view.zoom, 6);
}

TEST_F(Navigation, ZoomToFitShowsTheWholeDesign)
{
    const ViewState& view = ws.view;
    ctrlKey(kPlusKey);
    ctrlKey(kPlusKey);
    EXPECT_EQ(view.zoom, 3);
    ctrlKey(kMinusKey);
    EXPECT_EQ(view.zoom, 2);
    send(WindowId::Canvas, MsgHScroll, ScrollPageDown);

    // Far from the origin: 101 x 61 units, at most 6 times on 700 x 500.
    openProject("CIRCLE X=6000 Y=4000 RX=50 RY=30\r\nRUN LINE=1 X1=5980 Y1=3990 X2=6010 Y2=4010\r\n");
    ASSERT_EQ(ws.table.objectCount, 2);
    ctrlKey('0');
    EXPECT_EQ(view.zoom, 6);
    // The circle's stitches reach a unit left of its points.
    EXPECT_EQ(view.scrollX, 5949 * 6 - 4);
    EXPECT_EQ(view.scrollY, 3970 * 6 - 4);
    EXPECT_EQ(canvas().scrollBar(Qt::Horizontal)->value(), view.scrollX);
    EXPECT_EQ(canvas().scrollBar(Qt::Vertical)->pageStep(), view.canvasHeight / 6);
    EXPECT_LE(6050 * 6 - view.scrollX, view.canvasWidth);

    // Larger than the canvas at zoom 1: zoom 1, the corner just inside.
    boxes.answers.push_back(true);
    openProject("CIRCLE X=1000 Y=800 RX=900 RY=700\r\n");
    ctrlKey('0');
    EXPECT_EQ(view.zoom, 1);
    EXPECT_EQ(view.scrollX, 95);
    EXPECT_EQ(view.scrollY, 96);

    // Empty: zoom 1 at the origin. Near the origin: offsets not below 0.
    boxes.answers.push_back(true);
    openProject("CIRCLE X=2 Y=3 RX=1 RY=1\r\n");
    ctrlKey('0');
    EXPECT_EQ(view.zoom, 32);
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.scrollY, 60);
    boxes.answers.push_back(true);
    ctrlKey('N');
    ASSERT_EQ(ws.table.objectCount, 0);
    ctrlKey('0');
    EXPECT_EQ(view.zoom, 1);
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.scrollY, 0);
}

// A selected line of lettering is shown whole, not just round its anchor.
TEST_F(Navigation, ZoomToSelectionShowsAllOfALineOfLettering)
{
    openProject("LETTERS SIZE=100 X=3000 Y=2000 ALIGN=0 TEXT=WWWWWWWWWWWW\r\n");
    ASSERT_EQ(ws.table.objectCount, 1);
    setSelected(ws, ws.table.firstObject, true);
    const GeometryBox box = selectionBox(ws);
    EXPECT_LE(box.left, 3010);
    EXPECT_GE(box.right, 3000 + 12 * 80);
    EXPECT_GE(box.top, 2000 - 150);
}

// With ZOOMSTEPS a notch up zooms in by about 1.25, the design point under
// the pointer stays put (to within a unit), zooming out goes below 1 and
// stops at the first view of the whole design area, and Ctrl+9 brings the
// selection into view at whatever ratio fits it.
TEST_F(Navigation, ZoomStepsKeepThePointUnderThePointer)
{
    const ViewState& view = ws.view;
    const auto wheel = [&](int delta) {
        send(WindowId::Canvas, MsgMouseWheel, makeParam(0, uint32_t(uint16_t(int16_t(delta)))), 0);
    };
    ctrlKey('9');
    EXPECT_EQ(view.zoom, 1); // the key is new: off, it does nothing
    ws.settings.ZOOMSTEPS = 1;
    send(WindowId::Canvas, MsgHScroll, scrollParam(ScrollThumbPosition, 3000));
    send(WindowId::Canvas, MsgVScroll, scrollParam(ScrollThumbPosition, 2000));
    moveMouse(301, 207);
    const auto at = [&](int32_t mouse, int32_t scroll) { return view.ratio().exactUnits(mouse + scroll); };
    const std::pair<int, ZoomRatio> turns[] = {{120, {5, 4}}, {120, {8, 5}}, {120, {2, 1}},
                                               {-120, {8, 5}}, {240, {5, 2}}, {-360, {5, 4}}};
    for (const auto& [delta, ratio] : turns) {
        SCOPED_TRACE(delta);
        const double x = at(view.mouseX, view.scrollX), y = at(view.mouseY, view.scrollY);
        wheel(delta);
        EXPECT_EQ(view.ratio(), ratio);
        EXPECT_NEAR(at(view.mouseX, view.scrollX), x, 1.0);
        EXPECT_NEAR(at(view.mouseY, view.scrollY), y, 1.0);
    }
    EXPECT_EQ(canvas().scrollBar(Qt::Horizontal)->value(), view.scrollX);
    // Out to the whole area: 10000 units fit 500 pixels at 1/20, not 1/16.
    wheel(-120 * 30);
    EXPECT_EQ(view.ratio(), ZoomRatio(1, 20));
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.scrollY, 0);
    EXPECT_LE(canvas().scrollBar(Qt::Vertical)->maximum(), 1);
    wheel(-120);
    EXPECT_EQ(view.ratio(), ZoomRatio(1, 20));
    EXPECT_TRUE(statusText(window->editor()).contains(QStringLiteral("zoom 0.05x")));

    openProject("CIRCLE X=6000 Y=4000 RX=50 RY=30\r\nCIRCLE X=1000 Y=800 RX=20 RY=10\r\n");
    ASSERT_EQ(ws.table.objectCount, 2);
    ctrlKey('9'); // nothing selected: the whole design, below 1
    EXPECT_LT(view.ratio().scale(), 1.0);
    EXPECT_GE(view.canvasX(980), 0);
    EXPECT_LE(view.canvasX(6050), view.canvasWidth);
    selectOnly(ws, *DisplayOrder(ws.table).begin());
    ctrlKey('9');
    // 101 x 61 units with 4 pixels to spare each side: 692 / 101 wide.
    EXPECT_EQ(view.ratio(), ZoomRatio(6851, 1000));
    EXPECT_NEAR(view.canvasX(5950), 4, 1);
    EXPECT_LE(view.canvasX(6051), view.canvasWidth);
    EXPECT_LE(view.canvasY(4031), view.canvasHeight);
}

// At a zoom below 1 the fit shows every stitch, those of a motif above the
// area's top edge too, and scrolling reaches them; at a fine zoom a click
// picks the object under it, not its neighbour's.
TEST_F(Navigation, FineZoomFitsEveryStitchAndPicksWhatIsUnderTheClick)
{
    ws.settings.ZOOMSTEPS = 1;
    addBumpMotif();
    // 141 x 93 mm of satin circle, and a line whose motif rises above y 0.
    openProject("CIRCLE X=900 Y=520 RX=705 RY=465\r\nRUN X1=100 Y1=20 X2=400 Y2=20 MOTIVE=BUMP\r\n");
    ASSERT_EQ(ws.table.objectCount, 2);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(ws, plan), PlanStatus::Ok);
    const ViewState& view = ws.view;
    ctrlKey('0');
    EXPECT_LT(view.ratio().scale(), 0.5);
    int32_t top = 0;
    for (const StitchRecord& r : plan.records) {
        top = std::min(top, r.y);
        EXPECT_GE(view.canvasX(r.x), 0);
        EXPECT_LT(view.canvasX(r.x), view.canvasWidth);
        EXPECT_GE(view.canvasY(r.y), 0);
        ASSERT_LT(view.canvasY(r.y), view.canvasHeight);
    }
    ASSERT_LT(top, -50);
    send(WindowId::Canvas, MsgVScroll, ScrollTop);
    EXPECT_GE(view.canvasY(top), 0);

    boxes.answers.push_back(true);
    openProject("RUN X1=100 Y1=100 X2=300 Y2=100\r\nRUN X1=100 Y1=108 X2=300 Y2=108\r\n");
    ASSERT_EQ(ws.table.objectCount, 2);
    const int32_t first = *DisplayOrder(ws.table).begin();
    ctrlKey('0'); // 201 x 9 units on 692 x 492 pixels: 3.442
    ASSERT_EQ(view.ratio(), ZoomRatio(3442, 1000));
    moveMouse(int(view.canvasX(200)), int(view.canvasY(104)));
    send(WindowId::Canvas, MsgMouseWheel, makeParam(0, uint32_t(uint16_t(int16_t(-240)))), 0);
    ASSERT_EQ(view.ratio(), ZoomRatio(5, 2)); // past 3.2: the lines 20 pixels apart
    press(VkSpace, WindowId::Canvas, ' ');
    for (const int32_t y : {100, 108}) {
        SCOPED_TRACE(y);
        click(int(view.canvasX(200)), int(view.canvasY(y)));
        ASSERT_EQ(selectedRows(ws).size(), 1u);
        EXPECT_EQ(selectedRows(ws)[0] == first, y == 100);
    }
}

// Motif stitches above the design area's top edge could neither be scrolled
// to nor were counted by zoom to fit.
TEST_F(Navigation, StitchesBeyondThePointsAreReachedByFitAndScrolling)
{
    addBumpMotif();
    openProject("RUN X1=100 Y1=20 X2=400 Y2=20 MOTIVE=BUMP\r\n");
    ASSERT_EQ(ws.table.objectCount, 1);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(ws, plan), PlanStatus::Ok);
    int32_t top = 0;
    for (const StitchRecord& r : plan.records)
        top = std::min(top, r.y);
    ASSERT_LT(top, -50);

    const ViewState& view = ws.view;
    ctrlKey('0');
    EXPECT_LE(view.scrollY, top * view.zoom);
    send(WindowId::Canvas, MsgVScroll, ScrollBottom);
    send(WindowId::Canvas, MsgVScroll, ScrollTop);
    EXPECT_LE(view.scrollY, top * view.zoom);
    EXPECT_EQ(canvas().scrollBar(Qt::Vertical)->minimum(), view.scrollY);
    // The arrow keys stop at the same place.
    for (int i = 0; i < 3; ++i)
        press(VkUp);
    EXPECT_EQ(canvas().scrollBar(Qt::Vertical)->minimum(), view.scrollY);
}

TEST_F(Navigation, StitchViewAfterADropEqualsAFreshRender)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Three fill areas apart: the jumps between them follow the order.
    for (const int x : {20, 250, 480}) {
        press('V', WindowId::Canvas, 'v');
        click(x, 40);
        click(x + 150, 40);
        click(x + 150, x / 2 + 150);
    }
    ASSERT_EQ(ws.table.objectCount, 3);
    if (!window->editor().stitchView)
        press('P', WindowId::Canvas, 'p');
    ASSERT_TRUE(window->editor().stitchView);
    const QImage before = canvasImage().copy();

    ObjectListWidget& list = *window->objectList();
    QWidget* viewport = list.viewport();
    const QPoint from = list.visualItemRect(list.item(2)).center();
    const QPoint to = list.visualItemRect(list.item(0)).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, from + QPoint(0, 3));
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    ASSERT_EQ(ws.table.firstObject, 2);

    const QImage afterDrop = canvasImage().copy();
    EXPECT_NE(afterDrop, before) << "the jumps of the new order show";
    canvas().renderCanvas();
    // The render leaves the last column and row as they were.
    const QRect field(0, 0, ws.view.canvasWidth - 1, ws.view.canvasHeight - 1);
    EXPECT_EQ(afterDrop.copy(field), canvasImage().copy(field));
}

} // namespace
} // namespace kelvara::testing
