// The pen through the real window's messages: a shape drawn node by node,
// a hole added to it, a node dragged, and undo back to exact bytes; the
// stroke pen's Backspace, Enter and double click.

#include "window_fixture.h"

#include "model/kinds/kind.h"
#include "model/pathgeometry.h"

#include <QTest>

namespace kelvara::testing {
namespace {

struct PenFlow : WindowFixture {
    void SetUp() override
    {
        start();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void drag(int x0, int y0, int x1, int y1)
    {
        moveMouse(x0, y0);
        mouse(MsgLButtonDown, x0, y0);
        mouse(MsgMouseMove, x1, y1, kMouseLeftFlag);
        send(WindowId::Canvas, MsgMouseMove, kMouseLeftFlag, makeParam(uint32_t(x1), uint32_t(y1)));
        mouse(MsgLButtonUp, x1, y1);
    }
    void ctrlKey(char key)
    {
        holdCtrl();
        press(uint32_t(key));
        releaseCtrl();
    }
    std::string pathOf(int32_t row)
    {
        const ObjectEntry& e = ws.table.rows[row];
        const PathData* path = kindPath(*kindRow(e.kind), ws.records[e.params]);
        return path ? writePath(*path) : std::string();
    }
    std::vector<unsigned char> bytesOf(int32_t row)
    {
        const ObjectEntry& e = ws.table.rows[row];
        const unsigned char* b = ws.records[e.params].bytes;
        return {b, b + e.paramsSize};
    }
};

TEST_F(PenFlow, AShapeWithAHoleIsDrawnItsNodeDraggedAndUndoneToExactBytes)
{
    press('G', WindowId::Canvas, 'g');
    ASSERT_EQ(ws.tools.toolMode, KindShape);
    click(40, 40);
    // A drag from a node's place makes it smooth, its tangent along the drag.
    drag(200, 40, 220, 60);
    click(200, 200);
    click(40, 200);
    ASSERT_EQ(ws.table.objectCount, 0);
    click(41, 41); // on the first node: closed
    ASSERT_EQ(ws.table.objectCount, 1);
    const int32_t shape = ws.table.currentObject;
    ASSERT_EQ(ws.table.rows[shape].kind, KindShape);
    EXPECT_EQ(pathOf(shape), "M40,40C40,40,180,20,200,40C220,60,200,200,200,200L40,200Z");
    const std::vector<unsigned char> drawn = bytesOf(shape);

    ctrlKey('D');
    click(80, 80);
    click(150, 80);
    press(8, WindowId::Canvas, 8); // Backspace: that node goes
    click(160, 80);
    click(160, 160);
    press(VkReturn, WindowId::Canvas, '\r'); // Enter closes a shape's path
    EXPECT_EQ(ws.table.objectCount, 1);
    EXPECT_EQ(pathOf(shape), "M40,40C40,40,180,20,200,40C220,60,200,200,200,200L40,200ZM80,80L160,80L160,160Z");
    EXPECT_EQ(ws.tools.toolMode, 0); // the hole ends the pen
    const std::vector<unsigned char> holed = bytesOf(shape);

    press(VkSpace, WindowId::Canvas, ' ');
    click(100, 190);
    ASSERT_EQ(ws.table.currentObject, shape);
    press('N', WindowId::Canvas, 'n');
    drag(40, 200, 30, 210); // the corner node bottom left
    EXPECT_EQ(pathOf(shape), "M40,40C40,40,180,20,200,40C220,60,200,200,200,200L30,210ZM80,80L160,80L160,160Z");

    ctrlKey('U');
    EXPECT_EQ(bytesOf(shape), holed);
    ctrlKey('U');
    EXPECT_EQ(bytesOf(shape), drawn);
    ctrlKey('U');
    EXPECT_EQ(ws.table.objectCount, 0);
}

TEST_F(PenFlow, TheStrokePenEndsOnEnterOrADoubleClickAndGoesOnDrawing)
{
    press('Y', WindowId::Canvas, 'y');
    ASSERT_EQ(ws.tools.toolMode, KindStroke);
    click(50, 50);
    press(VkReturn, WindowId::Canvas, '\r'); // one node is no line yet, and it says so
    EXPECT_EQ(ws.table.objectCount, 0);
    EXPECT_NE(ws.view.note.find("at least 2 nodes; it has 1"), std::string::npos) << ws.view.note;
    click(150, 50);
    press(VkReturn, WindowId::Canvas, '\r');
    ASSERT_EQ(ws.table.objectCount, 1);
    EXPECT_TRUE(ws.view.note.empty());
    EXPECT_EQ(pathOf(ws.table.currentObject), "M50,50L150,50");
    EXPECT_EQ(ws.tools.toolMode, KindStroke);

    click(50, 100);
    click(100, 150);
    click(150, 100);
    click(150, 100); // a double click on the last node
    ASSERT_EQ(ws.table.objectCount, 2);
    EXPECT_EQ(pathOf(ws.table.currentObject), "M50,100L100,150L150,100");
    // The two strokes of one pen are one group.
    const std::vector<int32_t> rows = displayOrderRows(ws.table);
    EXPECT_EQ(ws.table.rows[rows[0]].group, ws.table.rows[rows[1]].group);
    press(VkEscape);
    EXPECT_EQ(ws.tools.toolMode, 0);
    EXPECT_TRUE(ws.tools.pen.nodes.empty());
}

TEST_F(PenFlow, ShiftHoldsANodeStraightAndCtrlLConvertsACircleInOneUndoStep)
{
    press('Y', WindowId::Canvas, 'y');
    click(50, 50);
    send(WindowId::Canvas, MsgKeyDown, VkShift);
    click(150, 60); // nearer across than at 45 degrees: straight across
    click(250, 150); // nearer 45 degrees: on the diagonal
    send(WindowId::Canvas, MsgKeyUp, VkShift);
    press(VkReturn, WindowId::Canvas, '\r');
    ASSERT_EQ(ws.table.objectCount, 1);
    const int32_t stroke = ws.table.currentObject;
    EXPECT_EQ(pathOf(stroke), "M50,50L150,50L250,150");

    // A stroke is a path already: Ctrl+L leaves it and says why.
    press(VkEscape);
    press(VkSpace, WindowId::Canvas, ' ');
    click(100, 50);
    ASSERT_EQ(ws.table.currentObject, stroke);
    const std::vector<unsigned char> before = bytesOf(stroke);
    ctrlKey('L');
    EXPECT_EQ(bytesOf(stroke), before);
    EXPECT_FALSE(ws.view.note.empty());

    // A circle becomes a shape in one step, and Undo gives the circle back.
    press('K', WindowId::Canvas, 'k');
    click(400, 300);
    click(480, 360);
    click(480, 360);
    press(VkSpace, WindowId::Canvas, ' ');
    click(440, 330);
    const int32_t circle = ws.table.currentObject;
    ASSERT_EQ(ws.table.rows[circle].kind, KindCircle);
    const std::vector<unsigned char> round = bytesOf(circle);
    ctrlKey('L');
    EXPECT_EQ(ws.table.rows[circle].kind, KindShape);
    EXPECT_EQ(pathOf(circle).substr(0, 8), "M480,330");
    ctrlKey('U');
    EXPECT_EQ(ws.table.rows[circle].kind, KindCircle);
    EXPECT_EQ(bytesOf(circle), round);
    EXPECT_EQ(ws.table.rows[stroke].kind, KindStroke);
}

} // namespace
} // namespace kelvara::testing
