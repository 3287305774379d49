// Keys typed while the object list has the focus belong to the list alone.

#include "window_fixture.h"

#include "ui/drawingtools.h"
#include "ui/objectlistwidget.h"

#include <QTest>

namespace kelvara::testing {
namespace {

using ListKeysTest = WindowFixture;

TEST_F(ListKeysTest, KeysInTheListDoNotReachTheProcedure)
{
    start();
    ObjectListWidget* list = window->objectList();
    for (int i = 0; i < 5; ++i)
        list->addString("line " + std::to_string(i));

    // Shift and Ctrl pressed in the list are not seen: a drop started there
    // must not take whole groups.
    QTest::keyPress(list, Qt::Key_Shift);
    EXPECT_EQ(ws.input.shiftDown, 0);
    QTest::keyRelease(list, Qt::Key_Shift);
    QTest::keyPress(list, Qt::Key_Control);
    EXPECT_EQ(ws.input.ctrlDown, 0);
    QTest::keyRelease(list, Qt::Key_Control);

    // Moving through the lines does not scroll the canvas.
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(ws.view.scrollY, 0);

    // Letters, Space, Escape and Delete are the list's, not hotkeys.
    selectTool(ws, window->editor().platform, KindStar);
    QTest::keyClick(list, Qt::Key_R);
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(ws.tools.toolMode, KindStar);

    // The same key on the canvas still scrolls it.
    QTest::keyClick(canvas().surface(), Qt::Key_Down);
    EXPECT_EQ(ws.view.scrollY, 100);
}

} // namespace
} // namespace kelvara::testing
