// Ctrl, Shift and the right button as the window procedure sees them follow
// the real keyboard and mouse, also when a modal dialog, the object list or
// a release off the canvas took the event that ends them.

#include "window_fixture.h"

#include "ui/objectlistwidget.h"
#include "ui/qtplatform.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

namespace kelvara::testing {
namespace {

struct HeldKeysTest : WindowFixture {
    std::unique_ptr<QtMessageBoxes> realBoxes;
    std::unique_ptr<QtFileDialogs> realFiles;
    QTimer closer;
    int modalsClosed = 0;

    void SetUp() override
    {
        start();
        realBoxes = std::make_unique<QtMessageBoxes>(window.get());
        realFiles = std::make_unique<QtFileDialogs>(window.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        canvas().surface()->setFocus();
        // Whatever modal widget opens: the user lets go of Ctrl in it, then
        // it is closed.
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal == nullptr || !modal->isVisible())
                return;
            QTest::keyRelease(modal->windowHandle(), Qt::Key_Control);
            modal->reject();
            ++modalsClosed;
        });
        closer.start();
    }

    QWindow* mainWindow() { return window->windowHandle(); }

    // Ctrl held, the letter pressed and released: its command runs on the
    // release while Ctrl is still down. (QTest::keyRelease with a modifier
    // would let go of Ctrl as well.)
    void ctrlHotkey(Qt::Key letter)
    {
        QTest::keyPress(mainWindow(), Qt::Key_Control);
        QTest::simulateEvent(mainWindow(), true, letter, Qt::ControlModifier, {}, false);
        QTest::simulateEvent(mainWindow(), false, letter, Qt::ControlModifier, {}, false);
    }

    ObjectListWidget& list() { return *window->objectList(); }
    QPoint lineCentre(int line) { return list().visualItemRect(list().item(line)).center(); }
};

TEST_F(HeldKeysTest, CtrlLetGoInAModalDialogIsLetGo)
{
    window->editor().platform.files = realFiles.get();
    ctrlHotkey(Qt::Key_O);
    ASSERT_EQ(modalsClosed, 1) << "Ctrl+O opens the file dialog";
    EXPECT_EQ(ws.input.ctrlDown, 0);
    // R selects the running line again instead of looking for Ctrl+R.
    QTest::keyClick(mainWindow(), Qt::Key_R);
    EXPECT_EQ(ws.tools.toolMode, 1);

    // The same through a message box: Ctrl+N with an object asks first.
    window->editor().platform.boxes = realBoxes.get();
    QTest::keyClick(mainWindow(), Qt::Key_H);
    click(60, 60);
    click(90, 100);
    click(200, 200);
    ASSERT_EQ(ws.table.objectCount, 1);
    ctrlHotkey(Qt::Key_N);
    ASSERT_EQ(modalsClosed, 2) << "Ctrl+N asks before it discards the design";
    EXPECT_EQ(ws.input.ctrlDown, 0);
    EXPECT_EQ(ws.table.objectCount, 1);

    // Ctrl let go while another window had the keyboard, then back.
    QTest::keyPress(mainWindow(), Qt::Key_Control);
    ASSERT_EQ(ws.input.ctrlDown, 1);
    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::keyRelease(other.windowHandle(), Qt::Key_Control);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(ws.input.ctrlDown, 0);
}

TEST_F(HeldKeysTest, ShiftLetGoInTheObjectListIsLetGo)
{
    for (int i = 0; i < 4; ++i)
        list().addString("line " + std::to_string(i));
    // Shift goes down on the canvas, clicks a line range in the list and is
    // let go there: the list keeps that release.
    QTest::keyPress(canvas().surface(), Qt::Key_Shift);
    ASSERT_EQ(ws.input.shiftDown, 1);
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, lineCentre(0));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, Qt::ShiftModifier, lineCentre(2));
    QTest::keyRelease(&list(), Qt::Key_Shift);
    EXPECT_EQ(list().selectedPositions(), (std::vector<int>{0, 1, 2}));

    // A drag without Shift is a drop without Shift, not a group move.
    int dropsSeen = 0;
    int shiftAtDrop = -1;
    const auto drop = list().dropped;
    list().dropped = [&](int target) {
        drop(target);
        ++dropsSeen;
        shiftAtDrop = ws.input.shiftDown;
    };
    QTest::mousePress(list().viewport(), Qt::LeftButton, {}, lineCentre(1));
    QTest::mouseMove(list().viewport(), lineCentre(1) + QPoint(0, 4));
    QTest::mouseMove(list().viewport(), lineCentre(3));
    QTest::mouseRelease(list().viewport(), Qt::LeftButton, {}, lineCentre(3));
    ASSERT_EQ(dropsSeen, 1);
    EXPECT_EQ(shiftAtDrop, 0);

    // Ctrl let go in the list likewise; over the canvas it is up again.
    QTest::keyPress(canvas().surface(), Qt::Key_Control);
    QTest::mouseClick(list().viewport(), Qt::LeftButton, Qt::ControlModifier, lineCentre(3));
    QTest::keyRelease(&list(), Qt::Key_Control);
    ASSERT_EQ(ws.input.ctrlDown, 1);
    QTest::mouseMove(canvas().surface(), QPoint(100, 100));
    EXPECT_EQ(ws.input.ctrlDown, 0);
}

TEST_F(HeldKeysTest, LosingActivationEndsTheDragAndLetsTheButtonsGo)
{
    QWidget* surface = canvas().surface();
    QTest::keyClick(mainWindow(), Qt::Key_R);
    click(50, 50);
    QTest::mouseMove(surface, QPoint(100, 60));
    QTest::mousePress(surface, Qt::RightButton, {}, QPoint(100, 60));
    ws.tools.pointer.state = SelectState::BoxSelecting;
    ASSERT_EQ(ws.input.mouseButtons & 2, 2);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(mainWindow(), &deactivate);
    EXPECT_EQ(ws.input.mouseButtons, 0);
    EXPECT_EQ(ws.tools.pointer.state, SelectState::Idle);
}

TEST_F(HeldKeysTest, RightButtonReleasedOffTheCanvasIsReleased)
{
    QWidget* surface = canvas().surface();
    QTest::keyClick(mainWindow(), Qt::Key_R);
    ASSERT_EQ(ws.tools.toolMode, 1);
    click(50, 50);
    // The right button bends the segment; released beyond the canvas's
    // right edge, where Qt still hands the release to the canvas.
    QTest::mouseMove(surface, QPoint(100, 60));
    QTest::mousePress(surface, Qt::RightButton, {}, QPoint(100, 60));
    ASSERT_EQ(ws.input.mouseButtons & 2, 2);
    QTest::mouseRelease(surface, Qt::RightButton, {}, QPoint(surface->width() + 30, 60));
    EXPECT_EQ(ws.input.mouseButtons & 2, 0);

    // The control point stays where the button left it.
    const RubberBand bent = ws.tools.rubberBand;
    QTest::mouseMove(surface, QPoint(150, 120));
    QTest::mouseMove(surface, QPoint(160, 130));
    EXPECT_EQ(ws.tools.rubberBand.c1X, bent.c1X);
    EXPECT_EQ(ws.tools.rubberBand.c1Y, bent.c1Y);
}

} // namespace
} // namespace kelvara::testing
