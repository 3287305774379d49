// Picking, box selection, the list in step with the canvas, deleting a
// selection and dragging nodes, all through the real window's messages at
// zoom 2 with the canvas scrolled.

#include "ui/objectlistwidget.h"
#include "window_fixture.h"

#include <QTest>

#include <cstring>

namespace kelvara::testing {
namespace {

struct SelectFlow : WindowFixture {
    int32_t a = -1, b = -1, c = -1, d = -1;

    void SetUp() override
    {
        start();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        files.answer(folder.write("design.kvp", "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n"
                                                "CIRCLE X=90 Y=110 RX=20 RY=20\r\n"
                                                "RUN LINE=1 X1=40 Y1=170 X2=140 Y2=170\r\n"
                                                "CIRCLE X=220 Y=110 RX=15 RY=15\r\n"));
        holdCtrl();
        press('O');
        releaseCtrl();
        ASSERT_EQ(ws.table.objectCount, 4);
        const std::vector<int32_t> rows = displayOrderRows(ws.table);
        a = rows[0], b = rows[1], c = rows[2], d = rows[3];

        send(WindowId::Canvas, MsgMouseWheel, makeParam(0, uint16_t(int16_t(-120))));
        for (int i = 0; i < 3; ++i) {
            send(WindowId::Canvas, MsgHScroll, ScrollLineDown);
            send(WindowId::Canvas, MsgVScroll, ScrollLineDown);
        }
        ASSERT_EQ(ws.view.zoom, 2);
        ASSERT_GT(ws.view.scrollX, 0);
        ASSERT_GT(ws.view.scrollY, 0);
        press(VkSpace, WindowId::Canvas, ' ');
        ASSERT_EQ(ws.tools.toolMode, -1);
    }

    int px(double x) const { return int(x * ws.view.zoom) - ws.view.scrollX; }
    int py(double y) const { return int(y * ws.view.zoom) - ws.view.scrollY; }

    void clickAt(double x, double y) { click(px(x), py(y)); }
    void shiftClickAt(double x, double y)
    {
        send(WindowId::Canvas, MsgKeyDown, VkShift);
        clickAt(x, y);
        send(WindowId::Canvas, MsgKeyUp, VkShift);
    }
    // The left button held from one design point to another.
    void dragDesign(double x0, double y0, double x1, double y1, bool finish = true)
    {
        moveMouse(px(x0), py(y0));
        mouse(MsgLButtonDown, px(x0), py(y0));
        mouse(MsgMouseMove, px((x0 + x1) / 2), py((y0 + y1) / 2), kMouseLeftFlag);
        mouse(MsgMouseMove, px(x1), py(y1), kMouseLeftFlag);
        if (finish)
            mouse(MsgLButtonUp, px(x1), py(y1));
    }

    std::vector<int32_t> picked() const { return selectedRows(ws); }
    std::vector<int> lines() { return window->objectList()->selectedPositions(); }

    std::vector<unsigned char> record(int32_t row) const
    {
        const ObjectEntry& entry = ws.table.rows[row];
        const unsigned char* bytes = ws.records.bytes(entry.params);
        return {bytes, bytes + entry.paramsSize};
    }
    // Rows, records and list lines: what Undo must bring back exactly.
    std::vector<unsigned char> designBytes()
    {
        std::vector<unsigned char> out;
        const auto* rows = reinterpret_cast<const unsigned char*>(ws.table.rows.data());
        out.insert(out.end(), rows, rows + sizeof ws.table.rows);
        for (int32_t row : displayOrderRows(ws.table)) {
            const std::vector<unsigned char> bytes = record(row);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
        ObjectListWidget& list = *window->objectList();
        for (int i = 0; i < list.count(); ++i) {
            const std::string text = list.text(i) + char(list.itemData(i));
            out.insert(out.end(), text.begin(), text.end());
        }
        return out;
    }
};

TEST_F(SelectFlow, ClickShiftClickAndBoxPickAndTheListFollowsBothWays)
{
    clickAt(90, 50);
    EXPECT_EQ(picked(), (std::vector<int32_t>{a}));
    EXPECT_EQ(lines(), (std::vector<int>{0}));
    shiftClickAt(90, 115); // inside the disc
    EXPECT_EQ(picked(), (std::vector<int32_t>{a, b}));
    EXPECT_EQ(ws.table.currentObject, b);
    shiftClickAt(141, 51); // within 4 pixels of the line's end
    EXPECT_EQ(picked(), (std::vector<int32_t>{b}));
    EXPECT_EQ(lines(), (std::vector<int>{1}));
    clickAt(200, 180);
    EXPECT_TRUE(picked().empty());
    EXPECT_TRUE(lines().empty());

    dragDesign(30, 35, 160, 185);
    EXPECT_EQ(picked(), (std::vector<int32_t>{a, b, c}));
    EXPECT_EQ(lines(), (std::vector<int>{0, 1, 2}));

    // The user's clicks in the list select on the canvas.
    ObjectListWidget& list = *window->objectList();
    const auto lineCentre = [&](int line) { return list.visualItemRect(list.item(line)).center(); };
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, lineCentre(3));
    EXPECT_EQ(picked(), (std::vector<int32_t>{d}));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, lineCentre(0));
    EXPECT_EQ(picked(), (std::vector<int32_t>{a, d}));
    EXPECT_EQ(ws.table.currentObject, a);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(picked(), (std::vector<int32_t>{b}));
    EXPECT_EQ(ws.table.currentObject, b);
}

TEST_F(SelectFlow, DeletingThreeIsOneStepThatUndoesToTheSameBytes)
{
    dragDesign(30, 35, 160, 185);
    ASSERT_EQ(picked().size(), 3u);
    const std::vector<unsigned char> before = designBytes();

    // Delete typed in the list runs as on the canvas.
    ObjectListWidget& list = *window->objectList();
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(ws.table.objectCount, 1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.itemData(0), d);

    holdCtrl();
    press('U');
    releaseCtrl();
    EXPECT_EQ(ws.table.objectCount, 4);
    EXPECT_TRUE(designBytes() == before);
    EXPECT_EQ(picked(), (std::vector<int32_t>{a, b, c}));
    EXPECT_EQ(lines(), (std::vector<int>{0, 1, 2}));
}

TEST_F(SelectFlow, NodesDragFreeOrHeldByShiftAndEscapePutsThemBack)
{
    clickAt(90, 50);
    press('N', WindowId::Canvas, 'n');
    ASSERT_EQ(ws.tools.nodeEditing, 1);
    const std::vector<unsigned char> original = record(a);
    const RunParams& run = ws.records[ws.table.rows[a].params].run;

    dragDesign(140, 50, 150, 55);
    EXPECT_EQ(+run.line.x2, 150);
    EXPECT_EQ(+run.line.y2, 55);
    const std::vector<unsigned char> afterFree = record(a);

    send(WindowId::Canvas, MsgKeyDown, VkShift);
    dragDesign(150, 55, 180, 60); // held on the level of the start
    send(WindowId::Canvas, MsgKeyUp, VkShift);
    EXPECT_EQ(+run.line.x2, 180);
    EXPECT_EQ(+run.line.y2, 50);

    dragDesign(40, 50, 20, 80, false);
    EXPECT_EQ(+run.line.x1, 20);
    press(VkEscape);
    EXPECT_EQ(+run.line.x1, 40);
    mouse(MsgLButtonUp, px(20), py(80));
    EXPECT_EQ(+run.line.x1, 40);

    // Each drag was one step, the cancelled one none.
    holdCtrl();
    press('U');
    EXPECT_TRUE(record(a) == afterFree);
    press('U');
    releaseCtrl();
    EXPECT_TRUE(record(a) == original);
}

} // namespace
} // namespace kelvara::testing
