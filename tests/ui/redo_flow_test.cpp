// Undo and Redo through the real window's keys: each kind of edit a user
// makes on the canvas and in the list, taken back and done again to the
// same bytes, and a new edit that ends what can be redone.

#include "ui/objectlistwidget.h"
#include "window_fixture.h"

#include <QTest>

namespace kelvara::testing {
namespace {

struct RedoFlow : WindowFixture {
    void SetUp() override
    {
        start();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        files.answer(folder.write("design.kvp", "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n"
                                                "CIRCLE X=90 Y=110 RX=20 RY=20\r\n"
                                                "RUN LINE=1 X1=40 Y1=170 X2=140 Y2=170\r\n"
                                                "CIRCLE X=220 Y=110 RX=15 RY=15\r\n"));
        ctrl('O');
        ASSERT_EQ(ws.table.objectCount, 4);
        press(VkSpace, WindowId::Canvas, ' ');
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
    int px(int x) const { return x * ws.view.zoom - ws.view.scrollX; }
    int py(int y) const { return y * ws.view.zoom - ws.view.scrollY; }
    // Clicks and drags at design points.
    void clickAt(int x, int y) { click(px(x), py(y)); }
    void drag(int x0, int y0, int x1, int y1)
    {
        moveMouse(px(x0), py(y0));
        mouse(MsgLButtonDown, px(x0), py(y0));
        mouse(MsgMouseMove, px(x1), py(y1), kMouseLeftFlag);
        mouse(MsgLButtonUp, px(x1), py(y1));
    }

    // Rows, records, current object and list lines with their rows.
    std::vector<unsigned char> designBytes()
    {
        std::vector<unsigned char> out;
        const auto* rows = reinterpret_cast<const unsigned char*>(ws.table.rows.data());
        out.insert(out.end(), rows, rows + sizeof ws.table.rows);
        for (int32_t row : displayOrderRows(ws.table)) {
            const unsigned char* bytes = ws.records.bytes(ws.table.rows[row].params);
            out.insert(out.end(), bytes, bytes + ws.table.rows[row].paramsSize);
        }
        out.push_back(static_cast<unsigned char>(ws.table.currentObject));
        ObjectListWidget& list = *window->objectList();
        for (int i = 0; i < list.count(); ++i) {
            const std::string text = list.text(i) + char(list.itemData(i));
            out.insert(out.end(), text.begin(), text.end());
        }
        return out;
    }
};

TEST_F(RedoFlow, NodeDragDrawingDeleteAndDropUndoneAndRedoneByEveryKey)
{
    const std::vector<unsigned char> opened = designBytes();
    // A node dragged.
    clickAt(90, 50);
    press('N', WindowId::Canvas, 'n');
    drag(140, 50, 150, 65);
    press(VkEscape);
    ASSERT_FALSE(designBytes() == opened);
    // A line drawn after the current object.
    clickAt(90, 170);
    press('R', WindowId::Canvas, 'r');
    clickAt(300, 300);
    clickAt(360, 320);
    press(VkSpace, WindowId::Canvas, ' ');
    ASSERT_EQ(ws.table.objectCount, 5);
    // Two objects deleted.
    clickAt(90, 110);
    send(WindowId::Canvas, MsgKeyDown, VkShift);
    clickAt(220, 110);
    send(WindowId::Canvas, MsgKeyUp, VkShift);
    press(VkDelete);
    ASSERT_EQ(ws.table.objectCount, 3);

    // Each redo gives back what there was before the undo it takes back.
    std::vector<std::vector<unsigned char>> edited(3);
    for (int k = 2; k >= 0; --k) {
        edited[size_t(k)] = designBytes();
        ctrl('Z');
    }
    EXPECT_EQ(ws.table.objectCount, 4);
    EXPECT_TRUE(designBytes() == opened);
    ctrl('R');
    EXPECT_TRUE(designBytes() == edited[0]);
    ctrl('Y');
    EXPECT_TRUE(designBytes() == edited[1]);
    ctrl('Z', true);
    EXPECT_TRUE(designBytes() == edited[2]);
    ctrl('R');
    EXPECT_TRUE(designBytes() == edited[2]) << "nothing left to redo";

    // Undo, then a new edit: the undone step is gone for good.
    ctrl('U');
    ASSERT_EQ(ws.table.objectCount, 5);
    clickAt(90, 110);
    press(VkDelete);
    const std::vector<unsigned char> afterNewEdit = designBytes();
    ctrl('Y');
    EXPECT_TRUE(designBytes() == afterNewEdit);
    EXPECT_EQ(ws.table.objectCount, 4);
}

} // namespace
} // namespace kelvara::testing
