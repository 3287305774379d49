// The properties panel driven through the real window.

#include "window_fixture.h"

#include "model/journalring.h"
#include "model/selection.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "ui/fieldspinbox.h"
#include "ui/objectlistwidget.h"
#include "ui/propertiespanel.h"
#include "ui/statuswidget.h"
#include "stitch/stitchplan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>

namespace kelvara::testing {
namespace {

struct PropertiesPanelTest : WindowFixture {
    std::vector<int32_t> rows;

    // Two running lines and a satin column, drawn with the tools.
    void drawThree()
    {
        start();
        press('R', WindowId::Canvas, 'r');
        click(10, 10);
        click(60, 10);
        click(60, 60);
        press(VkEscape);
        press('S', WindowId::Canvas, 's');
        for (auto [x, y] : {std::pair{100, 100}, {200, 100}, {200, 140}, {100, 140}, {150, 160}})
            click(x, y);
        press(VkEscape);
        // The last object drawn is selected; each test picks its own.
        clearSelection(ws);
        for (int32_t row : DisplayOrder(ws.table))
            rows.push_back(row);
        ASSERT_EQ(rows.size(), 3u);
    }
    PropertiesPanel& panel() { return window->propertiesPanel(); }
    template <typename W> W* editorOf(FieldMeaning meaning)
    {
        return qobject_cast<W*>(panel().fieldEditor(meaning));
    }
    std::vector<unsigned char> record(int32_t row)
    {
        const ObjectEntry& e = ws.table.rows[row];
        const unsigned char* bytes = ws.records.bytes(e.params);
        return {bytes, bytes + e.paramsSize};
    }
};

TEST_F(PropertiesPanelTest, EnterAppliesAChangedFieldToTwoObjectsOnceAndUndoRestoresTheBytes)
{
    drawThree();
    setSelected(ws, rows[0], true);
    setSelected(ws, rows[1], true);
    const auto before0 = record(rows[0]), before1 = record(rows[1]), before2 = record(rows[2]);
    press('E', WindowId::Canvas, 'e');
    ASSERT_TRUE(panel().isVisible());
    auto* length = editorOf<FieldSpinBox>(FieldMeaning::StitchLength);
    ASSERT_NE(length, nullptr);
    length->setValue(3.5); // mm
    const int steps = countJournalSteps(ws.journal);

    press(VkReturn, WindowId::Canvas, '\r'); // character and key release: one keystroke
    EXPECT_EQ(ws.records[ws.table.rows[rows[0]].params].run.LEN, 35);
    EXPECT_EQ(ws.records[ws.table.rows[rows[1]].params].run.LEN, 35);
    EXPECT_EQ(countJournalSteps(ws.journal), steps + 1);
    EXPECT_EQ(record(rows[2]), before2);

    holdCtrl();
    press('U');
    releaseCtrl();
    EXPECT_EQ(record(rows[0]), before0);
    EXPECT_EQ(record(rows[1]), before1);
    // The panel follows the undone design.
    EXPECT_DOUBLE_EQ(editorOf<FieldSpinBox>(FieldMeaning::StitchLength)->stored(), ws.settings.STITCH);
}

TEST_F(PropertiesPanelTest, MixedSelectionShowsSharedFieldsAndMixedValues)
{
    drawThree();
    ws.records[ws.table.rows[rows[1]].params].run.TRIM = 1;
    for (int32_t row : rows)
        setSelected(ws, row, true);
    press('D', WindowId::Canvas, 'd'); // no density on a running line: the stitching group
    EXPECT_EQ(panel().fieldEditor(FieldMeaning::Density), nullptr);
    EXPECT_EQ(panel().fieldEditor(FieldMeaning::StitchLength), nullptr);
    auto* trim = editorOf<QCheckBox>(FieldMeaning::Trim);
    ASSERT_NE(trim, nullptr);
    EXPECT_EQ(trim->checkState(), Qt::PartiallyChecked);
    auto* tieIn = editorOf<QComboBox>(FieldMeaning::TieIn);
    ASSERT_NE(tieIn, nullptr);
    EXPECT_EQ(tieIn->currentIndex(), 0); // none, the same for all three

    // A mixed field left alone is not applied; a clicked one is, to all.
    const auto before = record(rows[2]);
    panel().applyButton()->click();
    EXPECT_EQ(record(rows[2]), before);
    trim->click();
    panel().applyButton()->click();
    for (int32_t row : rows)
        EXPECT_EQ(objectTrim(ws.table.rows[row], ws.records), 1);
    // The same fields stay in their editors, now with the common value.
    EXPECT_EQ(editorOf<QCheckBox>(FieldMeaning::Trim), trim);
    EXPECT_EQ(trim->checkState(), Qt::Checked);
    EXPECT_EQ(window->objectList()->text(0).substr(0, 4), "-- T");
}

TEST_F(PropertiesPanelTest, OutOfRangeValueIsRefusedWithAMessage)
{
    drawThree();
    selectOnly(ws, rows[2]);
    press('U', WindowId::Canvas, 'u');
    auto* underlay = editorOf<FieldSpinBox>(FieldMeaning::Underlay);
    ASSERT_NE(underlay, nullptr);
    EXPECT_TRUE(underlay->hasFocus() || QApplication::focusWidget() == nullptr);
    const auto before = record(rows[2]);
    underlay->setValue(0.2); // between off and the shortest stitch
    panel().applyButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("off or between"), std::string::npos);
    EXPECT_EQ(record(rows[2]), before);

    // Below an inset of 0 the satin's walk goes down the centre.
    auto* walk = editorOf<FieldSpinBox>(FieldMeaning::WalkInset);
    ASSERT_NE(walk, nullptr);
    underlay->setValue(2.5);
    walk->setValue(0);
    walk->stepDown();
    EXPECT_EQ(walk->text(), "centre");
    panel().applyButton()->click();
    EXPECT_EQ(ws.records[ws.table.rows[rows[2]].params].saten.OFSUND, kCentreWalk);
}

TEST_F(PropertiesPanelTest, DoubleClickOnAListLineOrAnObjectOpensThePanelForIt)
{
    drawThree();
    window->show();
    ObjectListWidget& list = *window->objectList();
    const QRect line = list.visualItemRect(list.item(2));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(selectedRows(ws), (std::vector<int32_t>{rows[2]}));
    EXPECT_NE(panel().fieldEditor(FieldMeaning::EdgeBStraight), nullptr);

    // On the canvas, with the select tool, inside the satin column; Escape
    // then lets go of it, so Delete has nothing to remove.
    panel().hide();
    press(VkEscape);
    EXPECT_TRUE(selectedRows(ws).empty());
    press(' ', WindowId::Canvas, ' ');
    QWidget* surface = window->findChild<QWidget*>(QStringLiteral("canvasSurface"));
    ASSERT_NE(surface, nullptr);
    moveMouse(150, 120);
    QTest::mouseDClick(surface, Qt::LeftButton, {}, QPoint(150, 120));
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(selectedRows(ws), (std::vector<int32_t>{rows[2]}));
    panel().hide();
    press(VkEscape);
    press(VkDelete);
    EXPECT_EQ(ws.table.objectCount, 3);
}

// A flipped fill's -45 was shown as 0, and Apply then saved 0.
TEST_F(PropertiesPanelTest, NegativeAngleIsShownWithItsSign)
{
    drawThree();
    press('V', WindowId::Canvas, 'v');
    for (auto [x, y] : {std::pair{300, 100}, {400, 100}, {400, 140}})
        click(x, y);
    int32_t rect = -1;
    for (int32_t row : DisplayOrder(ws.table))
        rect = row;
    ASSERT_EQ(ws.table.rows[rect].kind, KindRect);
    ws.records[ws.table.rows[rect].params].rect.ANGLE = -405;
    selectOnly(ws, rect);
    press('D', WindowId::Canvas, 'd');
    auto* angle = editorOf<FieldSpinBox>(FieldMeaning::Angle);
    ASSERT_NE(angle, nullptr);
    EXPECT_DOUBLE_EQ(angle->stored(), -45);
}

// Apply is pressed outside any message: the count stayed stale until the
// mouse crossed the canvas.
TEST_F(PropertiesPanelTest, ApplyBringsTheStatusBarsCountUpToDate)
{
    drawThree();
    selectOnly(ws, rows[0]);
    press('E', WindowId::Canvas, 'e');
    editorOf<FieldSpinBox>(FieldMeaning::StitchLength)->setValue(1.0); // mm
    panel().applyButton()->click();
    StitchPlan plan;
    ASSERT_EQ(generatePlan(ws, plan), PlanStatus::Ok);
    const QString count = QStringLiteral("   |   %1 stitches").arg(plan.stitchCount());
    EXPECT_TRUE(window->statusBar()->text().contains(count)) << window->statusBar()->text().toStdString();
}

// A tatami stitch length of 0 is the standard one: shown and typed as a
// word, and a value past the end stops at it.
TEST(FieldSpinBoxTest, StandardIsAWordAndTheEndsHold)
{
    const Settings settings;
    const Libraries libraries;
    const FieldMeaning m = FieldMeaning::FillStitchLength;
    FieldSpinBox box(fieldInfo(m), fieldRange(m, settings, libraries));
    box.showStored(0, false);
    EXPECT_EQ(box.text(), QStringLiteral("standard"));
    box.findChild<QLineEdit*>()->setText(QStringLiteral("standard"));
    box.interpretText();
    EXPECT_EQ(box.stored(), 0);
    box.setValue(9.0); // mm
    EXPECT_EQ(box.stored(), 70);
}

} // namespace
} // namespace kelvara::testing
