// Moving the selection by dragging it, flipping it with F and cutting a line
// with Insert point, through the real window's messages.

#include "window_fixture.h"

#include "ui/objectlistwidget.h"
#include "ui/propertiespanel.h"
#include "ui/transformbox.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace kelvara::testing {
namespace {

struct TransformFlow : WindowFixture {
    int32_t a = -1, b = -1, c = -1;

    void SetUp() override
    {
        start();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        files.answer(folder.write("design.kvp", "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n"
                                                "CIRCLE X=90 Y=110 RX=20 RY=20\r\n"
                                                "RUN LINE=1 X1=40 Y1=170 X2=140 Y2=170\r\n"));
        holdCtrl();
        press('O');
        releaseCtrl();
        ASSERT_EQ(ws.table.objectCount, 3);
        const std::vector<int32_t> rows = displayOrderRows(ws.table);
        a = rows[0], b = rows[1], c = rows[2];
        press(VkSpace, WindowId::Canvas, ' ');
    }

    void shift(bool down) { send(WindowId::Canvas, down ? MsgKeyDown : MsgKeyUp, VkShift); }
    void drag(int x0, int y0, int x1, int y1, bool finish = true)
    {
        moveMouse(x0, y0);
        mouse(MsgLButtonDown, x0, y0);
        mouse(MsgMouseMove, (x0 + x1) / 2, (y0 + y1) / 2, kMouseLeftFlag);
        mouse(MsgMouseMove, x1, y1, kMouseLeftFlag);
        if (finish)
            mouse(MsgLButtonUp, x1, y1);
    }
    void undo()
    {
        holdCtrl();
        press('U');
        releaseCtrl();
    }
    const ObjectParams& params(int32_t row) { return ws.records[ws.table.rows[row].params]; }
    std::vector<unsigned char> records()
    {
        std::vector<unsigned char> out;
        for (int32_t row : displayOrderRows(ws.table))
            out.insert(out.end(), params(row).bytes, params(row).bytes + ws.table.rows[row].paramsSize);
        return out;
    }
};

TEST_F(TransformFlow, DraggingASelectedObjectMovesTheSelectionFreeOrHeldByShift)
{
    const std::vector<unsigned char> original = records();
    click(90, 50);
    shift(true);
    click(90, 110);
    shift(false);
    press('P', WindowId::Canvas, 'p'); // the stitch view on
    const PlanBox box = window->editor().plans.shown().piece(a).box;

    drag(90, 50, 120, 70, false);
    EXPECT_EQ(+params(a).run.line.x1, 70);
    EXPECT_EQ(+params(a).run.line.y1, 70);
    EXPECT_EQ(params(b).circle.X, 120);
    // The stitches follow the drag.
    EXPECT_EQ(window->editor().plans.shown().piece(a).box.left, box.left + 30);
    mouse(MsgLButtonUp, 120, 70);
    EXPECT_EQ(+params(c).run.line.y1, 170);
    const std::vector<unsigned char> afterFree = records();

    shift(true);
    drag(120, 130, 150, 138); // held level
    shift(false);
    EXPECT_EQ(+params(a).run.line.x1, 100);
    EXPECT_EQ(+params(a).run.line.y1, 70);
    EXPECT_EQ(selectedRows(ws), (std::vector<int32_t>{a, b}));

    // Escape during a drag puts the objects back.
    const std::vector<unsigned char> beforeCancelled = records();
    drag(150, 130, 10, 10, false);
    EXPECT_NE(records(), beforeCancelled);
    press(VkEscape);
    EXPECT_EQ(records(), beforeCancelled);
    mouse(MsgLButtonUp, 10, 10);
    EXPECT_EQ(records(), beforeCancelled);

    undo();
    EXPECT_EQ(records(), afterFree);
    undo();
    EXPECT_EQ(records(), original);
}

TEST_F(TransformFlow, FOncePerKeystrokeFlipsAndFlipsBackAndShiftFlipsTopToBottom)
{
    const std::vector<unsigned char> original = records();
    click(90, 110);
    shift(true);
    click(90, 170);
    shift(false);

    press('F', WindowId::Canvas, 'f');
    // The box spans 40..140 across: the line now starts at its right end.
    EXPECT_EQ(+params(c).run.line.x1, 140);
    EXPECT_EQ(+params(c).run.line.x2, 40);
    EXPECT_EQ(params(b).circle.X, 90);
    press('F', WindowId::Canvas, 'f');
    EXPECT_EQ(records(), original);

    shift(true);
    press('F', WindowId::Canvas, 'F');
    shift(false);
    EXPECT_EQ(+params(c).run.line.y1, 90);
    EXPECT_EQ(+params(c).run.line.x1, 40);
    undo();
    EXPECT_EQ(records(), original);

    // T pressed before F is let go: F's late release flips nothing more.
    send(WindowId::Canvas, MsgKeyDown, 'F');
    send(WindowId::Canvas, MsgChar, 'f');
    send(WindowId::Canvas, MsgKeyDown, 'T');
    send(WindowId::Canvas, MsgChar, 't');
    send(WindowId::Canvas, MsgKeyUp, 'F');
    send(WindowId::Canvas, MsgKeyUp, 'T');
    EXPECT_EQ(+params(c).run.line.x1, 140);
    EXPECT_EQ(+params(c).run.TRIM, 1);
    undo();
    undo();
    EXPECT_EQ(records(), original);

    // An arrow goes down and up while F is held: F's release still flips nothing.
    send(WindowId::Canvas, MsgKeyDown, 'F');
    send(WindowId::Canvas, MsgChar, 'f');
    send(WindowId::Canvas, MsgKeyDown, VkLeft);
    send(WindowId::Canvas, MsgKeyUp, VkLeft);
    send(WindowId::Canvas, MsgKeyUp, 'F');
    EXPECT_EQ(+params(c).run.line.x1, 140);
    undo();
    EXPECT_EQ(records(), original);
}

TEST_F(TransformFlow, InsertPointCutsTheSelectedLineWhereClickedAsOneStep)
{
    const std::vector<unsigned char> original = records();
    click(90, 50);
    press('I', WindowId::Canvas, 'i');
    ASSERT_EQ(ws.tools.insertingPoint, 1);
    click(70, 51);
    ASSERT_EQ(ws.table.objectCount, 4);
    const int32_t piece = ws.table.rows[a].next;
    EXPECT_NEAR(+params(a).run.line.x2, 70, 1e-6);
    EXPECT_NEAR(+params(piece).run.line.x1, 70, 1e-6);
    EXPECT_EQ(+params(piece).run.line.x2, 140);
    EXPECT_EQ(window->objectList()->count(), 4);

    undo();
    EXPECT_EQ(ws.table.objectCount, 3);
    EXPECT_EQ(records(), original);
    press(VkEscape);
    EXPECT_EQ(ws.tools.insertingPoint, 0);
}

TEST_F(TransformFlow, ThePropertiesPanelTurnsTheSelectionAndRefusesLeavingTheArea)
{
    click(90, 50);
    press('E', WindowId::Canvas, 'e');
    PropertiesPanel* panel = &window->propertiesPanel();
    ASSERT_NE(panel, nullptr);
    panel->transformBox()->turnEditor()->setValue(90);
    panel->applyButton()->click();
    EXPECT_EQ(+params(a).run.line.x1, 90);
    EXPECT_EQ(+params(a).run.line.y1, 100);
    EXPECT_EQ(panel->transformBox()->turnEditor()->value(), 0);

    panel->transformBox()->acrossEditor()->setValue(10000);
    panel->transformBox()->downEditor()->setValue(10000);
    panel->applyButton()->click();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(+params(a).run.line.y1, 100);
}

} // namespace
} // namespace kelvara::testing
