// Hotkeys through key and character messages, as the keyboard produces them,
// and the keys the object list keeps to itself.

#include "window_fixture.h"

#include "model/editing.h"
#include "ui/drawingtools.h"
#include "ui/objectlistwidget.h"

#include <QTest>

namespace kelvara::testing {
namespace {

struct KeyCase {
    const char* name;
    uint32_t key;
    bool ctrl;
    int character;             // typed character, -1 for none
    std::vector<int> expected; // rows whose handlers run, in order
};

// Every hotkey of the toolbar, pressed as a user does: with Ctrl, the key
// goes down and up inside Ctrl; without, the key also types its character,
// which runs the command once for the whole keystroke.
const KeyCase kKeys[] = {
    {"Ctrl+N new", 'N', true, 0x0E, {0}},
    {"Ctrl+O open, not the later row 31", 'O', true, 0x0F, {1}},
    {"Ctrl+S save", 'S', true, 0x13, {2}},
    {"Ctrl+E export", 'E', true, 0x05, {3}},
    {"Enter apply", VkReturn, false, 13, {4}},
    {"Space select tool", VkSpace, false, ' ', {5}},
    {"Delete on release only", VkDelete, false, -1, {6}},
    {"Ctrl+C copy", 'C', true, 0x03, {7}},
    {"Ctrl+V paste", 'V', true, 0x16, {8}},
    {"Ctrl+U undo", 'U', true, 0x15, {9}},
    {"Ctrl+R redo", 'R', true, 0x12, {10}},
    {"Ctrl+Z undo, outside the table", 'Z', true, 0x1A, {}},
    {"Ctrl+Y redo, outside the table", 'Y', true, 0x19, {}},
    {"Ctrl+G group", 'G', true, 0x07, {11}},
    {"Ctrl+H ungroup", 'H', true, 0x08, {12}},
    {"F flip, before the fill pattern's row", 'F', false, 'f', {13}},
    {"T trim, before the tie-offs row", 'T', false, 't', {14}},
    {"C colour", 'C', false, 'c', {15}},
    {"Home to start", VkHome, false, -1, {16}},
    {"End to end", VkEnd, false, -1, {17}},
    {"Ctrl+K cross-hair", 'K', true, 0x0B, {18}},
    {"Ctrl+M grid", 'M', true, 0x0D, {19}},
    {"Ctrl+X cut", 'X', true, 0x18, {20}},
    {"R run tool", 'R', false, 'r', {21}},
    {"O column tool", 'O', false, 'o', {22}},
    {"S satin tool", 'S', false, 's', {23}},
    {"H star tool", 'H', false, 'h', {24}},
    {"K circle tool", 'K', false, 'k', {25}},
    {"V fill tool", 'V', false, 'v', {26}},
    {"P stitch view", 'P', false, 'p', {27}},
    {"I insert point", 'I', false, 'i', {28}},
    {"U underlay", 'U', false, 'u', {29}},
    {"Ctrl+P print", 'P', true, 0x10, {32}},
    {"Ctrl+J join", 'J', true, 0x0A, {33}},
    {"D density", 'D', false, 'd', {34}},
    {"N nodes", 'N', false, 'n', {36}},
    {"E edit object", 'E', false, 'e', {37}},
    {"W column width", 'W', false, 'w', {38}},
    {"Q design information", 'Q', false, 'q', {39}},
    {"M motif", 'M', false, 'm', {40}},
    {"digits match nothing", '7', false, '7', {}},
};

using HotkeyTest = WindowFixture;

TEST_F(HotkeyTest, EveryToolbarHotkeyThroughKeysAndCharacters)
{
    start();
    recordCommands();
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.name);
        calls.clear();
        if (c.ctrl)
            holdCtrl();
        press(c.key, WindowId::Canvas, c.character);
        if (c.ctrl)
            releaseCtrl();
        EXPECT_EQ(calls, c.expected);
        EXPECT_EQ(ws.input.ctrlDown, 0);
    }
}

// Ctrl let go a moment before the letter, as fast typing and
// `xdotool key ctrl+s` do, ran the plain letter: the satin tool, no save.
TEST_F(HotkeyTest, CtrlStateAtThePressDecides)
{
    start();
    recordCommands();
    holdCtrl();
    send(WindowId::Canvas, MsgKeyDown, 'S');
    send(WindowId::Canvas, MsgChar, 0x13);
    releaseCtrl();
    send(WindowId::Canvas, MsgKeyUp, 'S');
    EXPECT_EQ(calls, std::vector<int>{2});
    // Ctrl+M the grid, not the motif panel.
    calls.clear();
    holdCtrl();
    send(WindowId::Canvas, MsgKeyDown, 'M');
    releaseCtrl();
    send(WindowId::Canvas, MsgKeyUp, 'M');
    EXPECT_EQ(calls, std::vector<int>{19});

    // Ctrl pressed after the key went down: the plain row, once for the
    // release as for any plain key; the next plain key is plain again.
    calls.clear();
    send(WindowId::Canvas, MsgKeyDown, 'N');
    holdCtrl();
    send(WindowId::Canvas, MsgKeyUp, 'N');
    releaseCtrl();
    press('R');
    EXPECT_EQ(calls, (std::vector<int>{36, 21}));
}

TEST_F(HotkeyTest, TypedCharactersMatchKeyCodes)
{
    start();
    recordCommands();
    type('.');
    EXPECT_EQ(calls, std::vector<int>{6}) << "'.' is character 46, the Delete key's code";
    calls.clear();
    type('$');
    type('#');
    EXPECT_EQ(calls, (std::vector<int>{16, 17})) << "'$' and '#' are the Home and End keys' codes";
    calls.clear();
    // Characters are ignored while Ctrl is down.
    holdCtrl();
    type('r');
    type('.');
    releaseCtrl();
    EXPECT_TRUE(calls.empty());
    // Holding "." repeats the character, and Delete with it.
    for (int i = 0; i < 3; ++i)
        type('.');
    EXPECT_EQ(calls, (std::vector<int>{6, 6, 6}));
}

TEST_F(HotkeyTest, OnlyTheEditorsOwnWindowsTakeHotkeys)
{
    start();
    recordCommands();
    press('R', WindowId::Main, 'r');
    press('R', WindowId::ToolbarStrip, 'r');
    EXPECT_EQ(calls.size(), 2u);
    calls.clear();
    press('R', WindowId::ListPanel, 'r');
    EXPECT_TRUE(calls.empty());
    // What the object list passes on is typed at the editor.
    press('R', WindowId::ObjectList, 'r');
    EXPECT_EQ(calls.size(), 1u);
    // The state keys are seen on every window.
    send(WindowId::ListPanel, MsgKeyDown, VkShift);
    EXPECT_EQ(ws.input.shiftDown, 1);
    send(WindowId::ListPanel, MsgKeyUp, VkShift);
    EXPECT_EQ(ws.input.shiftDown, 0);
}

TEST_F(HotkeyTest, ButtonClicksRunTheirRowAndGiveFocusBack)
{
    start();
    recordCommands();
    send(WindowId::ToolbarStrip, MsgCommand, makeParam(18, kNotifyClicked));
    send(WindowId::ToolbarStrip, MsgCommand, makeParam(63, kNotifyClicked)); // empty row
    send(WindowId::ToolbarStrip, MsgCommand, makeParam(200, kNotifyClicked));
    send(WindowId::ListPanel, MsgCommand, makeParam(18, kNotifyListLostFocus));
    EXPECT_EQ(calls, std::vector<int>{18});
}

// The same keys with the real commands behind them.
using KeyEffectTest = WindowFixture;

TEST_F(KeyEffectTest, TheToolKeyAgainStartsItAfresh)
{
    start();
    press('R', WindowId::Canvas, 'r');
    EXPECT_EQ(ws.tools.toolMode, 1);
    EXPECT_EQ(ws.cursorNumber, 1);
    EXPECT_EQ(ws.tools.rubberBand.curvesAllowed, 1);
    click(10, 10);
    press('R', WindowId::Canvas, 'r');
    EXPECT_EQ(ws.tools.toolMode, 1);
    EXPECT_EQ(ws.tools.rubberBand.active, 0);
    EXPECT_EQ(ws.tools.clickCount, 0);
}

TEST_F(KeyEffectTest, SpaceSelectsAndEndsAHalfDrawnObject)
{
    start();
    press('S', WindowId::Canvas, 's');
    click(10, 10);
    click(60, 10);
    ASSERT_EQ(ws.tools.clickCount, 1);
    press(VkSpace, WindowId::Canvas, ' ');
    EXPECT_EQ(ws.tools.toolMode, -1);
    EXPECT_EQ(ws.cursorNumber, 2);
    EXPECT_EQ(ws.tools.clickCount, 0);
    EXPECT_EQ(ws.tools.preview.segments[0].used, 0);
    EXPECT_EQ(ws.table.objectCount, 0);
}

TEST_F(KeyEffectTest, EscapeDropsThePreviewAndKeepsObjects)
{
    start();
    press('R', WindowId::Canvas, 'r');
    click(10, 10);
    click(60, 10);
    click(60, 60);
    ASSERT_EQ(ws.table.objectCount, 2);
    ASSERT_EQ(ws.tools.rubberBand.active, 1);
    send(WindowId::Canvas, MsgKeyDown, VkEscape);
    EXPECT_EQ(ws.tools.toolMode, 0);
    EXPECT_EQ(ws.cursorNumber, 0);
    EXPECT_EQ(ws.table.currentObject, -1);
    EXPECT_EQ(ws.tools.rubberBand.active, 0);
    EXPECT_EQ(ws.table.objectCount, 2);
}

TEST_F(KeyEffectTest, SwitchesFlipOncePerKeystroke)
{
    start();
    holdCtrl();
    press('K');
    releaseCtrl();
    EXPECT_EQ(ws.settings.CROSS, 1);
    holdCtrl();
    press('K');
    releaseCtrl();
    EXPECT_EQ(ws.settings.CROSS, 0);

    // Ctrl+M with Shift held leaves the grid alone.
    send(WindowId::Canvas, MsgKeyDown, VkShift);
    holdCtrl();
    press('M');
    releaseCtrl();
    send(WindowId::Canvas, MsgKeyUp, VkShift);
    EXPECT_EQ(ws.settings.MRIZ, 0);
    holdCtrl();
    press('M');
    releaseCtrl();
    EXPECT_EQ(ws.settings.MRIZ, 1);

    // P types a character and releases a key, yet the stitch view flips once.
    const bool before = window->editor().stitchView;
    press('P', WindowId::Canvas, 'p');
    EXPECT_NE(window->editor().stitchView, before);
    press('P', WindowId::Canvas, 'p');
    EXPECT_EQ(window->editor().stitchView, before);
    // So do two clicks on its button.
    send(WindowId::ToolbarStrip, MsgCommand, makeParam(27, kNotifyClicked));
    send(WindowId::ToolbarStrip, MsgCommand, makeParam(27, kNotifyClicked));
    EXPECT_EQ(window->editor().stitchView, before);
}

TEST_F(KeyEffectTest, ColourDialogOpensOnceAndItsAnswerIsTheNextObjectsColour)
{
    start();
    colours.answer = 0x00FF00;
    // C types a character and releases a key: still one dialog, opened on
    // the colour of the next object (none yet: white).
    press('C', WindowId::Canvas, 'c');
    EXPECT_EQ(colours.initials, (std::vector<int32_t>{0xFFFFFF}));
    EXPECT_EQ(ws.table.currentColour, 0x00FF00);
    // Cancelled, it changes nothing.
    colours.answer.reset();
    press('C', WindowId::Canvas, 'c');
    EXPECT_EQ(ws.table.currentColour, 0x00FF00);
    holdCtrl();
    press('C');
    releaseCtrl();
    EXPECT_EQ(colours.initials.size(), 2u);
}

TEST_F(KeyEffectTest, CommandsReachTheirOperations)
{
    start();
    // Open asks for a file (cancelled here).
    holdCtrl();
    press('O');
    releaseCtrl();
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_FALSE(files.wasSave[0]);
    // Save and Export refuse an empty design with their messages.
    holdCtrl();
    press('S');
    press('E');
    releaseCtrl();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "message 14");
    EXPECT_EQ(boxes.shown[1].text, "message 15");
    // Delete and Undo undo a drawn line.
    press('R', WindowId::Canvas, 'r');
    click(10, 10);
    click(60, 10);
    ASSERT_EQ(ws.table.objectCount, 1);
    holdCtrl();
    press('U');
    releaseCtrl();
    EXPECT_EQ(ws.table.objectCount, 0);
}

// Keys typed while the object list has the focus: the keys that move through
// the lines stay in the list, every other key runs as on the canvas.
using ObjectListKeysTest = WindowFixture;

TEST_F(ObjectListKeysTest, MovingKeysStayInTheListAndHotkeysRunAsOnTheCanvas)
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

    // Letters, Space and Escape are hotkeys there too.
    selectTool(ws, window->editor().platform, KindStar);
    QTest::keyClick(list, Qt::Key_R);
    EXPECT_EQ(ws.tools.toolMode, KindRun);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(ws.tools.toolMode, -1);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(ws.tools.toolMode, 0);

    // The same key on the canvas still scrolls it.
    QTest::keyClick(canvas().surface(), Qt::Key_Down);
    EXPECT_EQ(ws.view.scrollY, 100);
}

} // namespace
} // namespace kelvara::testing
