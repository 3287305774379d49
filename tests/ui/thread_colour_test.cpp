// The colour command on a real window: it recolours the selection as one
// undo step, its answer is what the file saves and what the next object takes.
#include "stitch/designinfo.h"
#include "window_fixture.h"

#include "model/selection.h"
#include "ui/objectlistwidget.h"
#include "ui/statuswidget.h"

#include <QFile>

namespace kelvara::testing {
namespace {

struct ThreadColourTest : WindowFixture {
    // Every used row and its record bytes, and the list's lines.
    std::vector<std::string> designBytes()
    {
        std::vector<std::string> out;
        for (int32_t row = 0; row < ObjectTable::kRows; ++row) {
            const ObjectEntry& e = ws.table.rows[std::size_t(row)];
            std::string bytes(reinterpret_cast<const char*>(&e), sizeof e);
            if (e.kind != KindFree)
                bytes.append(reinterpret_cast<const char*>(ws.records.bytes(e.params)),
                             std::size_t(e.paramsSize));
            out.push_back(bytes);
        }
        for (int i = 0; i < window->objectList()->count(); ++i)
            out.push_back(window->objectList()->text(i));
        return out;
    }
    // The lines the list would show if built afresh from the design.
    std::vector<std::string> freshLines()
    {
        ListNumbering numbering;
        restartListNumbering(numbering);
        std::vector<std::string> lines;
        for (int32_t row : DisplayOrder(ws.table))
            lines.push_back(buildListLine(numbering, ws.table, ws.records, row));
        return lines;
    }
    std::vector<std::string> listLines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < window->objectList()->count(); ++i)
            lines.push_back(window->objectList()->text(i));
        return lines;
    }
    int32_t colourOf(int32_t row) { return objectColour(ws.table.rows[std::size_t(row)], ws.records); }
    void chooseColour(int32_t answer)
    {
        colours.answer = answer;
        press('C', WindowId::Canvas, 'c');
    }
    void undo()
    {
        holdCtrl();
        press('U');
        releaseCtrl();
    }
};

TEST_F(ThreadColourTest, RecolourTwoSavedAsChosenTheNextObjectTakesItAndUndoRestoresBytes)
{
    start();
    send(WindowId::Canvas, MsgMouseWheel, uint64_t(makeParam(0, uint16_t(int16_t(-120)))), 0); // zoom in
    press('R', WindowId::Canvas, 'r');
    for (const auto& [x, y] : {std::pair{40, 40}, {140, 40}, {140, 140}, {40, 140}})
        click(x, y);
    press(VkEscape);
    ASSERT_EQ(ws.table.objectCount, 3);
    const std::vector<std::string> before = designBytes();

    setSelected(ws, 0, true);
    setSelected(ws, 2, true);
    showSelectionInList(ws, window->editor().platform);
    const int32_t blue = 0xCC6633; // red 0x33, green 0x66, blue 0xCC
    chooseColour(blue);
    // One keystroke, one dialog, opened on the current object's colour (none: white).
    EXPECT_EQ(colours.initials, (std::vector<int32_t>{0xFFFFFF}));
    EXPECT_EQ(colourOf(0), blue);
    EXPECT_EQ(colourOf(1), -1);
    EXPECT_EQ(colourOf(2), blue);
    EXPECT_EQ(ws.table.currentColour, blue);
    // The colour-change marks follow, and the selection still shows.
    EXPECT_EQ(listLines(), freshLines());
    EXPECT_EQ(window->objectList()->selectedPositions(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(statusText(window->editor()).contains(QStringLiteral("2 selected (2 RUN)")));

    const std::string project = folder.file("colours.kvp");
    files.answer(project);
    holdCtrl();
    press('S');
    releaseCtrl();
    QFile saved(QString::fromStdString(project));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(saved.readAll());
    EXPECT_EQ(text.count(QStringLiteral("R=51 G=102 B=204")), 2) << text.toStdString();

    // With nothing selected the choice is for the objects drawn next, even
    // when drawn after an object of another colour.
    clearSelection(ws);
    const int32_t green = 0x00C000;
    chooseColour(green);
    EXPECT_EQ(colours.initials.back(), blue);
    EXPECT_EQ(colourOf(2), blue);
    press('R', WindowId::Canvas, 'r');
    click(200, 40);
    click(260, 40);
    press(VkEscape);
    ASSERT_EQ(ws.table.objectCount, 4);
    EXPECT_EQ(colourOf(3), green);

    // Undo takes the new object, then the recolour, back to the very bytes.
    undo();
    undo();
    EXPECT_EQ(designBytes(), before);
}

// With PICKCOLOUR, C right after drawing is for the next objects; once the
// user picks (list or select tool) it recolours again.
TEST_F(ThreadColourTest, AfterDrawingTheColourIsForTheNextObjectsOnly)
{
    start("PICKCOLOUR=1\n");
    press('R', WindowId::Canvas, 'r');
    click(40, 40);
    click(140, 40);
    ASSERT_EQ(ws.table.objectCount, 1);
    ASSERT_EQ(selectedCount(ws), 1);
    chooseColour(0x0000FF);
    EXPECT_EQ(colourOf(0), -1);
    EXPECT_TRUE(statusText(window->editor()).contains(QStringLiteral("next objects")));
    click(140, 140);
    ASSERT_EQ(ws.table.objectCount, 2);
    EXPECT_EQ(colourOf(1), 0x0000FF);

    // A pick in the list (Space first, as a user leaves the tool) is recoloured.
    press(VkSpace, WindowId::Canvas, ' ');
    window->objectList()->setSelection({0});
    send(WindowId::ObjectList, MsgCommand, makeParam(0, kNotifyListSelectionChanged));
    chooseColour(0x00FF00);
    EXPECT_EQ(colourOf(0), 0x00FF00);
    EXPECT_EQ(colourOf(1), 0x0000FF);
}

TEST_F(ThreadColourTest, StitchCountFollowsEditsAndTheStitchView)
{
    start();
    press('R', WindowId::Canvas, 'r');
    click(20, 20);
    click(220, 20);
    press(VkEscape);
    const int64_t one = window->editor().plans.shown().stitchCount();
    EXPECT_GT(one, 2);
    // The size is the sewn area's, as the design information gives it.
    StitchPlan plan;
    ASSERT_EQ(generatePlan(ws, plan), PlanStatus::Ok);
    EXPECT_TRUE(statusText(window->editor())
                    .endsWith(QString::fromStdString(designSummary(measureDesign(plan, 1, 800)))))
        << statusText(window->editor()).toStdString();
    // The stitch view draws the kept pieces; a recolour draws them again.
    press('P', WindowId::Canvas, 'p');
    ASSERT_TRUE(window->editor().stitchView);
    const QRgb white = canvasImage().pixel(120, 20);
    setSelected(ws, 0, true);
    chooseColour(0x0000FF); // red
    clearSelection(ws);     // its highlight would cover the thread
    moveMouse(300, 300);
    EXPECT_NE(canvasImage().pixel(120, 20), white);
    EXPECT_EQ(canvasImage().pixel(120, 20), qRgb(255, 0, 0));
    EXPECT_EQ(window->editor().plans.shown().stitchCount(), one);
}

// Four short lines side by side in alternating threads: the button gathers
// the threads in one step, says so, and Undo puts the order back exactly.
TEST_F(ThreadColourTest, OptimiseOrderGathersThreadsInOneStepThatUndoRestores)
{
    start();
    for (int i = 0; i < 4; ++i) {
        press('R', WindowId::Canvas, 'r');
        click(20 + 60 * i, 20);
        click(60 + 60 * i, 20);
        press(VkEscape);
    }
    const std::vector<int32_t> rows = displayOrderRows(ws.table);
    ASSERT_EQ(rows.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        selectOnly(ws, rows[std::size_t(i)]);
        chooseColour(i % 2 == 0 ? 0x0000FF : 0xFF0000);
    }
    clearSelection(ws);
    std::vector<std::string> before = designBytes();
    before.resize(ObjectTable::kRows);

    send(WindowId::ToolbarStrip, MsgCommand, makeParam(31, kNotifyClicked));
    const std::vector<int32_t> after = displayOrderRows(ws.table);
    // From the second red line the nearer blue one is the last.
    EXPECT_EQ(after, (std::vector<int32_t>{rows[0], rows[2], rows[3], rows[1]}));
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_NE(boxes.shown.back().text.find("Colour changes: 3 before, 1 after"), std::string::npos);
    EXPECT_EQ(listLines(), freshLines());

    undo();
    std::vector<std::string> undone = designBytes();
    undone.resize(ObjectTable::kRows);
    EXPECT_EQ(undone, before);
}

} // namespace
} // namespace kelvara::testing
