// The docked properties panel and the list in words (DOCKPANEL, LISTWORDS),
// through the real window's messages and the panel's own widgets.

#include "window_fixture.h"

#include "model/journalring.h"
#include "model/transformselection.h"
#include "ui/objectlistwidget.h"
#include "ui/placebox.h"
#include "ui/propertiespanel.h"
#include "ui/transformbox.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

namespace kelvara::testing {
namespace {

struct DockPanelFlow : WindowFixture {
    int32_t a = -1, b = -1, c = -1;

    void SetUp() override
    {
        start("DOCKPANEL=1\nLISTWORDS=1\n");
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

    PropertiesPanel& panel() { return window->propertiesPanel(); }
    const ObjectParams& params(int32_t row) { return ws.records[ws.table.rows[row].params]; }
    std::vector<unsigned char> records()
    {
        std::vector<unsigned char> out;
        for (int32_t row : displayOrderRows(ws.table))
            out.insert(out.end(), params(row).bytes, params(row).bytes + ws.table.rows[row].paramsSize);
        return out;
    }
    void undo()
    {
        holdCtrl();
        press('U');
        releaseCtrl();
    }
    // The list's lines, each checked to begin with its own number from 1.
    void expectNumberedLines(int count)
    {
        ObjectListWidget& list = *window->objectList();
        ASSERT_EQ(list.count(), count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(std::stoi(list.text(i)), i + 1) << list.text(i);
    }
    GeometryBox selectedBox() { return selectionBounds(ws, {a, b, c}); }
};

TEST_F(DockPanelFlow, ASplitLineTakesTheNextNumberAndTheLinesBelowMoveOnByOne)
{
    EXPECT_EQ(window->objectList()->text(1).substr(0, 10), "2   Circle");
    click(90, 50);
    press('I', WindowId::Canvas, 'i');
    click(70, 51);
    ASSERT_EQ(ws.table.objectCount, 4);
    // Before, the new line took the number of the line below it.
    expectNumberedLines(4);
    EXPECT_NE(window->objectList()->text(2).find("Circle"), std::string::npos);
    undo();
    expectNumberedLines(3);
}

TEST_F(DockPanelFlow, ClosingTheDockGivesTheCanvasItsWidthAndEBringsItBack)
{
    const int narrow = canvas().width();
    window->propertiesDock()->close();
    EXPECT_GT(canvas().width(), narrow + 200);
    EXPECT_EQ(ws.view.canvasWidth, canvas().width());
    click(90, 50);
    press('E', WindowId::Canvas, 'e');
    EXPECT_TRUE(window->propertiesDock()->isVisible());
    EXPECT_EQ(canvas().width(), narrow);
}

TEST_F(DockPanelFlow, TheWheelOverAFieldWithoutTheFocusLeavesItAlone)
{
    ws.libraries.tieOffs.count = 2;
    ws.libraries.tieOffs.names[0] = "triangle";
    ws.libraries.tieOffs.names[1] = "square";
    click(90, 50);
    ASSERT_TRUE(window->propertiesDock()->isVisible());
    auto* tieIn = qobject_cast<QComboBox*>(panel().fieldEditor(FieldMeaning::TieIn));
    auto* length = qobject_cast<QDoubleSpinBox*>(panel().fieldEditor(FieldMeaning::StitchLength));
    ASSERT_NE(tieIn, nullptr);
    ASSERT_NE(length, nullptr);
    ASSERT_EQ(tieIn->count(), 3);
    const auto turn = [](QWidget* field) {
        QWheelEvent wheel(QPointF(5, 5), field->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(field, &wheel);
    };
    const int index = tieIn->currentIndex();
    const double value = length->value();
    turn(tieIn);
    turn(length);
    EXPECT_EQ(tieIn->currentIndex(), index);
    EXPECT_EQ(length->value(), value);
    EXPECT_EQ(tieIn->focusPolicy(), Qt::StrongFocus);

    // The field with the focus takes the wheel as before.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    tieIn->setFocus();
    ASSERT_TRUE(tieIn->hasFocus());
    turn(tieIn);
    EXPECT_NE(tieIn->currentIndex(), index);
}

TEST_F(DockPanelFlow, HotkeysAndCtrlShortcutsWorkWhileAFieldHasTheFocus)
{
    const std::vector<unsigned char> original = records();
    click(90, 50);
    press('F', WindowId::Canvas, 'f');
    ASSERT_NE(records(), original);
    auto* length = qobject_cast<QDoubleSpinBox*>(panel().fieldEditor(FieldMeaning::StitchLength));
    ASSERT_NE(length, nullptr);

    // A digit is the field's; P (the stitch view) and Ctrl+Z are the editor's.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    length->setFocus();
    ASSERT_TRUE(length->hasFocus());
    length->selectAll();
    const bool view = window->editor().stitchView;
    QTest::keyClick(length, Qt::Key_5);
    EXPECT_NE(length->text().indexOf(QLatin1Char('5')), -1);
    QTest::keyClick(length, Qt::Key_P, Qt::NoModifier);
    EXPECT_NE(window->editor().stitchView, view);
    QTest::keyClick(length, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(records(), original);

    // Ctrl+A let go Ctrl first: the A's release belongs to the field that
    // took its press, and does not start the simulator.
    QTest::keyPress(length, Qt::Key_Control);
    QTest::keyPress(length, Qt::Key_A, Qt::ControlModifier);
    QTest::keyRelease(length, Qt::Key_Control);
    QTest::keyRelease(length, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(window->editor().stitchOut);
    QTest::keyClick(length, Qt::Key_A, Qt::NoModifier);
    EXPECT_TRUE(window->editor().stitchOut);
}

TEST_F(DockPanelFlow, SizeAndPositionInMmAreOneStepOfExactValuesThatUndoesToTheBytes)
{
    const std::vector<unsigned char> original = records();
    click(90, 110); // the circle, 4 x 4 mm at 7, 9 mm
    PlaceBox& place = *panel().placeBox();
    EXPECT_EQ(place.field(PlaceBox::Left)->value(), 7.0);
    EXPECT_EQ(place.field(PlaceBox::Width)->value(), 4.0);
    const int steps = countJournalSteps(ws.journal);
    place.field(PlaceBox::Left)->setValue(12.5);
    place.field(PlaceBox::Width)->setValue(6.0);
    panel().applyButton()->click();
    const GeometryBox box = selectionBounds(ws, {b});
    EXPECT_EQ(box.left, 125);
    EXPECT_EQ(box.right, 185);
    EXPECT_EQ(box.top, 90); // the height and top were not touched
    EXPECT_EQ(box.bottom, 130);
    EXPECT_EQ(countJournalSteps(ws.journal), steps + 1);
    undo();
    EXPECT_EQ(records(), original);
}

TEST_F(DockPanelFlow, APlaceOrResizeBeyondTheAreaMovesTheSelectionInsideAndSaysSo)
{
    click(90, 50); // the line from 4 to 14 mm across
    panel().placeBox()->field(PlaceBox::Left)->setValue(995);
    panel().applyButton()->click();
    GeometryBox box = selectionBounds(ws, {a});
    EXPECT_EQ(box.right, kDesignArea);
    EXPECT_EQ(box.left, kDesignArea - 100);
    EXPECT_NE(ws.view.note.find("1000 mm"), std::string::npos);

    // Ten times as wide about its middle reaches past the right edge.
    panel().transformBox()->acrossEditor()->setValue(1000);
    panel().applyButton()->click();
    box = selectionBounds(ws, {a});
    EXPECT_EQ(box.right, kDesignArea);
    EXPECT_NEAR(box.right - box.left, 1000, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace kelvara::testing
