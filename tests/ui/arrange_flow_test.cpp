// Clipboard, group, trim, order and join commands through the real window's
// messages, each undone to the exact bytes it started from.

#include "model/pathdata.h"
#include "model/pathstore.h"
#include "model/selection.h"
#include "ui/objectlistwidget.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <cstring>

namespace kelvara::testing {
namespace {

struct ArrangeFlow : WindowFixture {
    std::vector<int32_t> rows; // as opened: a, b (group 5), c (group 5), d

    void SetUp() override
    {
        start();
        files.answer(folder.write("design.kvp", "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n"
                                                "RUN LINE=1 X1=40 Y1=90 X2=140 Y2=90 GROUP=5\r\n"
                                                "SATEN LINEA=1 AX1=200 AY1=50 AX2=300 AY2=50 LINEB=1 "
                                                "BX1=200 BY1=80 BX2=300 BY2=80 GROUP=5\r\n"
                                                "CIRCLE X=90 Y=110 RX=20 RY=20\r\n"));
        ctrl('O');
        ASSERT_EQ(ws.table.objectCount, 4);
        rows = displayOrderRows(ws.table);
    }

    void ctrl(char key)
    {
        holdCtrl();
        press(uint32_t(key));
        releaseCtrl();
    }
    void select(const std::vector<int>& positions)
    {
        clearSelection(ws);
        for (int p : positions)
            setSelected(ws, rows[size_t(p)], true);
    }
    const ObjectParams& params(int32_t row) const { return ws.records[ws.table.rows[size_t(row)].params]; }

    // Every byte Undo must restore: the rows (but for the record handle a
    // revived row gets anew), their records, the table's count and head.
    std::string designBytes() const
    {
        std::string bytes;
        for (ObjectEntry entry : ws.table.rows) {
            if (entry.kind != KindFree)
                bytes.append(reinterpret_cast<const char*>(ws.records.bytes(entry.params)),
                             size_t(entry.paramsSize));
            entry.params = 0;
            bytes.append(reinterpret_cast<const char*>(&entry), sizeof entry);
        }
        for (int32_t field : {ws.table.objectCount, ws.table.firstObject})
            bytes.append(reinterpret_cast<const char*>(&field), sizeof field);
        return bytes;
    }
};

TEST_F(ArrangeFlow, CopyPasteTwiceStepsOnWithNewGroupsAndUndoesBoth)
{
    select({0, 1, 2});
    const std::string before = designBytes();
    ctrl('C');
    ctrl('V');
    ctrl('V');
    ASSERT_EQ(ws.table.objectCount, 10);
    const std::vector<int32_t> order = displayOrderRows(ws.table);
    // Each paste goes after the current object, the last one pasted.
    for (int copy = 1; copy <= 2; ++copy) {
        SCOPED_TRACE(copy);
        const int32_t first = order[size_t(3 * copy)];
        EXPECT_EQ(+params(first).run.line.x1, 40 + 20 * copy);
        EXPECT_EQ(+params(first).run.line.y1, 50 + 20 * copy);
        EXPECT_EQ(ws.table.rows[size_t(first)].group, 0);
        // The copied group 5 becomes a group of its own in each copy.
        const int32_t b = order[size_t(3 * copy + 1)], c = order[size_t(3 * copy + 2)];
        EXPECT_EQ(ws.table.rows[size_t(b)].group, ws.table.rows[size_t(c)].group);
        EXPECT_NE(ws.table.rows[size_t(b)].group, 5);
        EXPECT_EQ(+params(c).saten.edgeB.y2, 80 + 20 * copy);
    }
    EXPECT_NE(ws.table.rows[size_t(order[4])].group, ws.table.rows[size_t(order[7])].group);
    EXPECT_EQ(order[9], rows[3]);
    EXPECT_EQ(selectedRows(ws), std::vector<int32_t>(order.begin() + 6, order.begin() + 9));
    EXPECT_EQ(window->objectList()->selectedPositions(), (std::vector<int>{6, 7, 8}));

    ctrl('U');
    ctrl('U');
    EXPECT_EQ(designBytes(), before);
    EXPECT_EQ(window->objectList()->count(), 4);
}

TEST_F(ArrangeFlow, CutPastesBackInPlaceAndUndoes)
{
    select({1});
    const std::string before = designBytes();
    ctrl('X');
    EXPECT_EQ(ws.table.objectCount, 3);
    ctrl('U');
    EXPECT_EQ(designBytes(), before) << "cut is one step";
    ctrl('X');
    setSelected(ws, rows[3], true);
    ctrl('V');
    const std::vector<int32_t> order = displayOrderRows(ws.table);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(+params(order[3]).run.line.y1, 90) << "nothing is left to step aside for";
}

TEST_F(ArrangeFlow, TextWithoutObjectsOrTooManyChangesNothing)
{
    const std::string before = designBytes();
    const int steps = countJournalSteps(ws.journal);
    QGuiApplication::clipboard()->setText(
        QStringLiteral("Dear diary,\nRUNNING late; = =\nGROUP=3 RUN\n\u00FF"));
    ctrl('V');
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("Nothing to paste"), std::string::npos);

    std::string many;
    for (int i = 0; i < ObjectTable::kRows - 3; ++i)
        many += "RUN X1=" + std::to_string(i) + "\n";
    QGuiApplication::clipboard()->setText(QString::fromLatin1(many));
    ctrl('V');
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[1].text.find("do not fit"), std::string::npos);
    EXPECT_EQ(designBytes(), before);
    EXPECT_EQ(countJournalSteps(ws.journal), steps);
}

TEST_F(ArrangeFlow, HomeAndEndMoveTheSelectionInItsOrderOnTheCanvasOnly)
{
    select({1, 3});
    const std::string before = designBytes();
    press(VkHome);
    EXPECT_EQ(displayOrderRows(ws.table), (std::vector<int32_t>{rows[1], rows[3], rows[0], rows[2]}));
    press(VkEnd);
    EXPECT_EQ(displayOrderRows(ws.table), (std::vector<int32_t>{rows[0], rows[2], rows[1], rows[3]}));
    EXPECT_EQ(window->objectList()->selectedPositions(), (std::vector<int>{2, 3}));
    // In the list, Home and End move through the lines.
    QTest::keyClick(window->objectList(), Qt::Key_Home);
    EXPECT_EQ(displayOrderRows(ws.table), (std::vector<int32_t>{rows[0], rows[2], rows[1], rows[3]}));
    ctrl('U');
    ctrl('U');
    EXPECT_EQ(designBytes(), before);
}

TEST_F(ArrangeFlow, TrimSwitchesOncePerKeystrokeAndEvensAMixedSelection)
{
    select({0, 3});
    press('T', WindowId::Canvas, 't');
    EXPECT_EQ(+params(rows[0]).run.TRIM, 1);
    EXPECT_EQ(+params(rows[3]).circle.TRIM, 1);
    EXPECT_NE(window->objectList()->text(0).find('T'), std::string::npos);
    press('T', WindowId::Canvas, 't');
    EXPECT_EQ(+params(rows[0]).run.TRIM, 0);
    select({0});
    press('T', WindowId::Canvas, 't');
    select({0, 3});
    press('T', WindowId::Canvas, 't');
    EXPECT_EQ(+params(rows[0]).run.TRIM, 1);
    EXPECT_EQ(+params(rows[3]).circle.TRIM, 1);
}

TEST_F(ArrangeFlow, GroupUngroupAndJoinAreOneStepEach)
{
    select({0, 3});
    const std::string before = designBytes();
    ctrl('G');
    const int32_t group = ws.table.rows[size_t(rows[0])].group;
    EXPECT_EQ(ws.table.rows[size_t(rows[3])].group, group);
    EXPECT_GT(group, 5);
    select({1, 2});
    ctrl('H');
    EXPECT_NE(ws.table.rows[size_t(rows[1])].group, ws.table.rows[size_t(rows[2])].group);

    // Join: the second line starts where the first ends, the satin column
    // where the second ends, on edge A, keeping its width at the start.
    select({0, 1, 2});
    ctrl('J');
    EXPECT_EQ(+params(rows[1]).run.line.x1, 140);
    EXPECT_EQ(+params(rows[1]).run.line.y1, 50);
    EXPECT_EQ(+params(rows[1]).run.line.x2, 140);
    const SatenParams& satin = params(rows[2]).saten;
    EXPECT_EQ(+satin.edgeA.x1, 140);
    EXPECT_EQ(+satin.edgeA.y1, 90);
    EXPECT_EQ(+satin.edgeB.x1, 140);
    EXPECT_EQ(+satin.edgeB.y1, 120);
    EXPECT_EQ(+satin.edgeA.x2, 300);
    EXPECT_EQ(ws.table.rows[size_t(rows[0])].group, ws.table.rows[size_t(rows[2])].group);
    for (int i = 0; i < 3; ++i)
        ctrl('U');
    EXPECT_EQ(designBytes(), before);
}

// Lines picked out of order, one drawn the other way, one 0.4 mm short of
// the next: one stroke through every node, back to the exact bytes on Undo.
// A line 0.6 mm off, or of another colour, keeps Join as it was.
TEST_F(ArrangeFlow, JoinMakesOneStrokeOfLinesThatMeet)
{
    files.answer(folder.write("lines.kvp", "STROKE PATH=M300,200L300,100L204,100 R=255 G=0 B=0\r\n"
                                           "RUN LINE=1 X1=100 Y1=100 X2=200 Y2=100 R=255 G=0 B=0\r\n"
                                           "RUN LINE=1 X1=300 Y1=200 X2=100 Y2=200 R=255 G=0 B=0\r\n"
                                           "RUN LINE=1 X1=100 Y1=206 X2=100 Y2=300 R=255 G=0 B=0\r\n"
                                           "RUN LINE=1 X1=100 Y1=300 X2=50 Y2=300 R=0 G=255 B=0\r\n"));
    ctrl('O');
    ASSERT_EQ(ws.table.objectCount, 5);
    rows = displayOrderRows(ws.table);
    const std::string before = designBytes();
    select({2, 0, 1});
    ctrl('J');
    ASSERT_EQ(ws.table.objectCount, 3);
    const ObjectEntry& joined = ws.table.rows[size_t(rows[0])];
    ASSERT_EQ(joined.kind, KindStroke);
    const PathData* path = storedPath(params(rows[0]).stroke.PATH);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(writePath(*path), "M100,200L300,200L300,100L204,100L100,100");
    EXPECT_EQ(+params(rows[0]).stroke.colour, 255);
    ctrl('U');
    EXPECT_EQ(designBytes(), before);

    for (const std::vector<int>& picked : {std::vector<int>{2, 3}, std::vector<int>{3, 4}}) {
        select(picked);
        ctrl('J');
        EXPECT_EQ(ws.table.objectCount, 5);
        EXPECT_EQ(ws.table.rows[size_t(rows[size_t(picked[1])])].kind, KindRun);
        ctrl('U');
        EXPECT_EQ(designBytes(), before);
    }
}

} // namespace
} // namespace kelvara::testing
