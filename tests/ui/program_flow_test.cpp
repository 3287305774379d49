// Whole-program flows through the real main window, driven only as a user
// drives it: keys as the keyboard produces them, canvas mouse messages,
// toolbar clicks and real mouse events on the object list.

#include "window_fixture.h"

#include "model/records.h"
#include "ui/objectlistwidget.h"

#include <QTest>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kelvara::testing {
namespace {

using Order = std::vector<int32_t>;

// Distinct values, so that a record field filled from the wrong key shows.
constexpr const char* kConfig = "DENSITY=41\nPULLCOMP=-3\nPUSHCOMP=4\nSTITCH=27\nUNDER=1\nLENGTH=13\n"
                                "EDGE=6\nCIKUND=1\nCIKCAK=22\nMARGIN=7\nSTEIL=31\n";

// The view every drawing here runs in: zoom 3 with a scroll offset.
constexpr int kZoom = 3;
constexpr int kScrollX = 10;
constexpr int kScrollY = 23;

// Toolbar rows of the drawing tools.
constexpr uint32_t kRunButton = 21;
constexpr uint32_t kSteilButton = 22;
constexpr uint32_t kSatenButton = 23;
constexpr uint32_t kStarButton = 24;
constexpr uint32_t kCircleButton = 25;
constexpr uint32_t kRectButton = 26;

// A key that types no hotkey of its own: the "." key of the main keyboard.
constexpr uint32_t kVkPeriod = 190;

struct Px {
    int x;
    int y;
};

// The design point of a canvas pixel, worked out here, not by the editor.
Px design(Px p)
{
    return {(p.x + kScrollX) / kZoom, (p.y + kScrollY) / kZoom};
}

void expectEdge(const BezierEdge& e, int straight, Px start, Px end, Px c1, Px c2)
{
    EXPECT_EQ(e.straight, straight);
    EXPECT_DOUBLE_EQ(+e.x1, start.x);
    EXPECT_DOUBLE_EQ(+e.y1, start.y);
    EXPECT_DOUBLE_EQ(+e.x2, end.x);
    EXPECT_DOUBLE_EQ(+e.y2, end.y);
    EXPECT_DOUBLE_EQ(+e.xc1, c1.x);
    EXPECT_DOUBLE_EQ(+e.yc1, c1.y);
    EXPECT_DOUBLE_EQ(+e.xc2, c2.x);
    EXPECT_DOUBLE_EQ(+e.yc2, c2.y);
}

// The clicks of drawEveryKind, in canvas pixels.
namespace clicks {
constexpr Px runA{31, 62}, runB{152, 40}, runC{260, 10};
constexpr Px bendFrom{100, 150}, bend1{110, 160}, bend2{121, 171}; // control point 1 ends at bend2
constexpr Px ctrl1{200, 95}, ctrl2{212, 101};                      // control point 2 ends at ctrl2
constexpr Px sat1{40, 200}, sat2{301, 205}, sat3{299, 290}, sat4{35, 280};
constexpr Px steil1{400, 50}, steilShift{470, 70}; // Shift: horizontal from steil1
constexpr Px rect1{20, 330}, rect2{200, 332}, rect3{205, 390};
constexpr Px star1{350, 300}, star2{293, 200};
constexpr Px circle1{440, 330}, circle2{500, 400};
constexpr Px anywhere{5, 5};
} // namespace clicks

// Where a kind's record keeps its colour.
std::size_t colourOffset(int32_t kind)
{
    switch (kind) {
    case KindRun:
        return offsetof(RunParams, colour);
    case KindSaten:
        return offsetof(SatenParams, colour);
    case KindSteil:
        return offsetof(SteilParams, colour);
    case KindRect:
        return offsetof(RectParams, colour);
    case KindStar:
        return offsetof(StarParams, colour);
    default:
        return offsetof(CircleParams, colour);
    }
}

// The record a project file gives back: every field as it was, except that
// "no colour chosen" (-1) is written as white and read back as white.
std::string afterRoundTrip(int32_t kind, std::string record)
{
    int32_t colour = 0;
    std::memcpy(&colour, record.data() + colourOffset(kind), sizeof colour);
    if (colour == -1) {
        colour = 0xFFFFFF;
        std::memcpy(record.data() + colourOffset(kind), &colour, sizeof colour);
    }
    return record;
}

struct ProgramFlow : WindowFixture {
    void SetUp() override
    {
        start(kConfig);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // ---- the keyboard ----

    // A letter or key without Ctrl: down, its character, up.
    void key(uint32_t vk, char typed) { press(vk, WindowId::Canvas, typed); }

    // Ctrl+letter as typed: the character is the control code, the hotkey
    // fires on the letter's release while Ctrl is still down.
    void ctrlKey(char letter)
    {
        send(WindowId::Canvas, MsgKeyDown, VkControl);
        send(WindowId::Canvas, MsgKeyDown, uint32_t(letter));
        send(WindowId::Canvas, MsgChar, uint32_t(letter - '@'));
        send(WindowId::Canvas, MsgKeyUp, uint32_t(letter));
        send(WindowId::Canvas, MsgKeyUp, VkControl);
    }

    void toolbarClick(uint32_t row)
    {
        send(WindowId::ToolbarStrip, MsgCommand, makeParam(row, kNotifyClicked));
    }

    // ---- the canvas ----

    void clickAt(Px p, uint32_t flags = 0)
    {
        moveMouse(p.x, p.y);
        mouse(MsgLButtonDown, p.x, p.y, flags);
        mouse(MsgLButtonUp, p.x, p.y, flags);
    }

    void wheel(WindowId over, int delta)
    {
        send(over, MsgMouseWheel, makeParam(0, uint32_t(int16_t(delta))), makeParam(900, 700));
    }

    // Zoom 3 with the wheel (once over the toolbar), scroll offset (10, 23)
    // with the scroll bars' line arrows and thumb.
    void setView()
    {
        wheel(WindowId::Canvas, -120);
        wheel(WindowId::ToolbarStrip, -120);
        send(WindowId::Canvas, MsgHScroll, makeParam(ScrollLineDown, 0));
        send(WindowId::Canvas, MsgHScroll, makeParam(ScrollLineDown, 0));
        send(WindowId::Canvas, MsgHScroll, makeParam(ScrollLineUp, 0));
        send(WindowId::Canvas, MsgVScroll, makeParam(ScrollThumbPosition, kScrollY));
        ASSERT_EQ(ws.view.zoom, kZoom);
        ASSERT_EQ(ws.view.scrollX, kScrollX);
        ASSERT_EQ(ws.view.scrollY, kScrollY);
    }

    // One object of every kind, rows 0..6 in display order: two RUN lines
    // (the second bent with the right button held), SATEN, STEIL with a
    // Shift-constrained end, RECT, STAR, CIRCLE. Tools are chosen by hotkey,
    // or by their toolbar buttons.
    void drawEveryKind(bool viaButtons = false)
    {
        using namespace clicks;
        auto tool = [&](char letter, uint32_t row) {
            if (viaButtons)
                toolbarClick(row);
            else
                key(uint32_t(letter), char(letter - 'A' + 'a'));
        };
        setView();

        tool('R', kRunButton);
        clickAt(runA);
        clickAt(runB);
        // The right button held: the window repeats it after every message,
        // so control point 1 follows the mouse; with Ctrl pressed on top,
        // control point 2 follows instead.
        moveMouse(bendFrom.x, bendFrom.y);
        mouse(MsgRButtonDown, bendFrom.x, bendFrom.y);
        moveMouse(bend1.x, bend1.y);
        moveMouse(bend2.x, bend2.y);
        send(WindowId::Canvas, MsgKeyDown, VkControl);
        moveMouse(ctrl1.x, ctrl1.y);
        moveMouse(ctrl2.x, ctrl2.y);
        mouse(MsgRButtonUp, ctrl2.x, ctrl2.y, kMouseControlFlag);
        send(WindowId::Canvas, MsgKeyUp, VkControl);
        clickAt(runC);

        tool('S', kSatenButton);
        for (Px p : {sat1, sat2, sat3, sat4})
            clickAt(p);

        tool('O', kSteilButton);
        clickAt(steil1);
        send(WindowId::Canvas, MsgKeyDown, VkShift);
        clickAt(steilShift, kMouseShiftFlag);
        send(WindowId::Canvas, MsgKeyUp, VkShift);

        tool('V', kRectButton);
        for (Px p : {rect1, rect2, rect3})
            clickAt(p);

        tool('H', kStarButton);
        for (Px p : {star1, star2, anywhere})
            clickAt(p);

        tool('K', kCircleButton);
        for (Px p : {circle1, circle2, anywhere})
            clickAt(p);
    }

    // ---- the table and the list ----

    const ObjectParams& params(int32_t row) const { return ws.records[ws.table.rows[row].params]; }

    Order displayOrder() const
    {
        Order order;
        int32_t r = ws.table.objectCount > 0 ? ws.table.firstObject : -1;
        for (int32_t i = 0; i < ws.table.objectCount && r >= 0 && r < ObjectTable::kRows; ++i) {
            order.push_back(r);
            r = ws.table.rows[r].next;
        }
        return order;
    }

    ObjectListWidget& list() const { return *window->objectList(); }
    QWidget* viewport() const { return list().viewport(); }
    QPoint lineCentre(int line) const { return list().visualItemRect(list().item(line)).center(); }
    QPoint belowLastLine() const { return QPoint(20, viewport()->height() - 3); }

    // Line i shows the i-th object of the display order: its row as item
    // data, its kind's glyph and its group in the text.
    void expectListMirrorsOrder(const std::string& when) const
    {
        SCOPED_TRACE(when);
        static const char* const glyphs[] = {"", "--", "[]", "++", "# ", "* ", "()"};
        const Order order = displayOrder();
        ASSERT_EQ(list().count(), int(order.size()));
        for (int i = 0; i < list().count(); ++i) {
            const int32_t row = order[std::size_t(i)];
            EXPECT_EQ(list().itemData(i), row) << "line " << i;
            const std::string text = list().text(i);
            const ObjectEntry& entry = ws.table.rows[row];
            ASSERT_GE(entry.kind, KindRun);
            ASSERT_LE(entry.kind, KindCircle);
            ASSERT_GE(text.size(), 11u) << "line " << i;
            EXPECT_EQ(text.substr(0, 2), glyphs[entry.kind]) << "line " << i;
            EXPECT_EQ(std::stoi(text.substr(7, 4)), entry.group) << "line " << i;
        }
    }

    // Left button pressed on line `from`, moved in steps and released at
    // `to`, with `mods` held throughout as the keyboard reports them.
    void dragLine(int from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        const QPoint startPoint = lineCentre(from);
        QTest::mousePress(viewport(), Qt::LeftButton, mods, startPoint);
        QTest::mouseMove(viewport(), startPoint + QPoint(0, 3));
        QTest::mouseMove(viewport(), (startPoint + to) / 2);
        QTest::mouseMove(viewport(), to);
        QTest::mouseRelease(viewport(), Qt::LeftButton, mods, to);
    }

    void clickLine(int line) { QTest::mouseClick(viewport(), Qt::LeftButton, {}, lineCentre(line)); }

    // Back to the canvas: the pointer over it gives it the keyboard.
    void backToCanvas() { moveMouse(250, 250); }
};

TEST_F(ProgramFlow, EveryKindFromClicksAtZoomThreeWithScroll)
{
    using namespace clicks;
    const int32_t colour = ws.table.currentColour;
    drawEveryKind();

    ASSERT_EQ(ws.table.objectCount, 7);
    ASSERT_EQ(displayOrder(), (Order{0, 1, 2, 3, 4, 5, 6}));
    const int32_t kinds[] = {KindRun, KindRun, KindSaten, KindSteil, KindRect, KindStar, KindCircle};
    const int32_t groups[] = {1, 1, 2, 3, 4, 5, 6};
    for (int32_t row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(ws.table.rows[row].kind, kinds[row]);
        EXPECT_EQ(ws.table.rows[row].group, groups[row]);
        EXPECT_EQ(ws.table.rows[row].paramsSize, recordSize(kinds[row]));
    }

    // RUN: a straight line, then the bent one from its end.
    for (int32_t row : {0, 1}) {
        const RunParams& run = params(row).run;
        EXPECT_EQ(run.LEN, 27);
        EXPECT_EQ(run.JUMP, 1);
        EXPECT_EQ(run.TRIM, 0);
        EXPECT_EQ(run.MOTIVE, -1);
        EXPECT_EQ(run.TIEIN, -1);
        EXPECT_EQ(run.TIEOUT, -1);
        EXPECT_EQ(run.colour, colour);
    }
    expectEdge(params(0).run.line, 1, design(runA), design(runB), design(runA), design(runA));
    expectEdge(params(1).run.line, 0, design(runB), design(runC), design(bend2), design(ctrl2));

    // SATEN: edge A P1 -> P2, edge B P4 -> P3 with its control points swapped.
    const SatenParams& sat = params(2).saten;
    expectEdge(sat.edgeA, 1, design(sat1), design(sat2), design(sat1), design(sat1));
    expectEdge(sat.edgeB, 1, design(sat4), design(sat3), design(sat3), design(sat3));
    EXPECT_EQ(sat.SDENS, 41);
    EXPECT_EQ(sat.TDENS, 41);
    EXPECT_EQ(sat.SCOMP, -3);
    EXPECT_EQ(sat.TCOMP, -3);
    EXPECT_EQ(sat.PUSHCOMP, 4);
    EXPECT_EQ(sat.PATTERN, -1);
    EXPECT_EQ(sat.REPEAT, 1);
    EXPECT_DOUBLE_EQ(+sat.ZOOMX, 1.0);
    EXPECT_DOUBLE_EQ(+sat.ZOOMY, 1.0);
    EXPECT_EQ(sat.STARTA, 1);
    EXPECT_EQ(sat.STOPA, 1);
    EXPECT_EQ(sat.STITCHES, 1);
    EXPECT_EQ(sat.UNDER, 13);
    EXPECT_EQ(sat.CIKCAK, 22);
    EXPECT_EQ(sat.OFSUND, 6);
    EXPECT_EQ(sat.OFSCIK, 7);

    // STEIL: Shift held kept the end on the start's row.
    const SteilParams& steil = params(3).steil;
    const Px steilEnd{design(steilShift).x, design(steil1).y};
    ASSERT_NE(design(steilShift).y, steilEnd.y) << "the click must be off the horizontal";
    expectEdge(steil.line, 1, design(steil1), steilEnd, design(steil1), design(steil1));
    EXPECT_EQ(steil.SWIDTH, 31);
    EXPECT_EQ(steil.TWIDTH, 31);
    EXPECT_EQ(steil.UNDER, 13);

    // RECT: edge B starts at A's start + the third click - A's end.
    const RectParams& rect = params(4).rect;
    const Px a1 = design(rect1), a2 = design(rect2), b2 = design(rect3);
    expectEdge(rect.edgeA, 1, a1, a2, a1, a1);
    expectEdge(rect.edgeB, 1, Px{a1.x + b2.x - a2.x, a1.y + b2.y - a2.y}, b2, a2, a2);
    EXPECT_EQ(rect.ANGLE, 0);
    EXPECT_EQ(rect.OFSCIK, 7);

    // STAR and CIRCLE: centre and both radii halves truncate toward zero.
    const Px s = design(star1), e = design(star2);
    ASSERT_TRUE((e.x - s.x) % 2 != 0 && e.x < s.x) << "a negative odd width tells truncation from flooring";
    const StarParams& star = params(5).star;
    EXPECT_EQ(star.X, s.x + (e.x - s.x) / 2);
    EXPECT_EQ(star.Y, s.y + (e.y - s.y) / 2);
    EXPECT_EQ(star.RX, std::abs(e.x - s.x) / 2);
    EXPECT_EQ(star.RY, std::abs(e.y - s.y) / 2);
    EXPECT_EQ(star.DENS, 41);
    EXPECT_EQ(star.COMP, -3);
    EXPECT_EQ(star.OFSUND, 6);
    const Px c = design(circle1), f = design(circle2);
    const CircleParams& circle = params(6).circle;
    EXPECT_EQ(circle.X, c.x + (f.x - c.x) / 2);
    EXPECT_EQ(circle.Y, c.y + (f.y - c.y) / 2);
    EXPECT_EQ(circle.RX, std::abs(f.x - c.x) / 2);
    EXPECT_EQ(circle.RY, std::abs(f.y - c.y) / 2);
    EXPECT_EQ(circle.ANGLE, 0);
    EXPECT_EQ(circle.STITCHES, 1);

    // The shape tools end; the list shows all, the newest selected.
    EXPECT_EQ(ws.tools.toolMode, 0);
    EXPECT_EQ(ws.cursorNumber, 0);
    EXPECT_EQ(ws.table.currentObject, 6);
    expectListMirrorsOrder("after drawing");
    EXPECT_EQ(list().selectedPositions(), std::vector<int>{6});
}

TEST_F(ProgramFlow, DeleteRedrawReorderAndUndoBackToEmpty)
{
    // The display order before every undoable step, for the walk back.
    std::vector<Order> before;
    for (int32_t n = 0; n < 7; ++n) {
        before.emplace_back();
        for (int32_t r = 0; r < n; ++r)
            before.back().push_back(r);
    }
    drawEveryKind();
    ASSERT_EQ(displayOrder(), (Order{0, 1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(ws.table.currentObject, 6);

    auto step = [&](const char* what, auto&& action, const Order& expected) {
        before.push_back(displayOrder());
        action();
        EXPECT_EQ(displayOrder(), expected) << what;
        expectListMirrorsOrder(what);
    };

    // The newest (current) object, dragged into the middle: now it is the
    // middle object, and the current one.
    step("drag the newest line onto line 3", [&] { dragLine(6, lineCentre(3)); }, {0, 1, 2, 6, 3, 4, 5});
    EXPECT_EQ(ws.table.currentObject, 6);

    step("Delete released",
         [&] {
             backToCanvas();
             send(WindowId::Canvas, MsgKeyDown, VkDelete);
             send(WindowId::Canvas, MsgKeyUp, VkDelete);
         },
         {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(ws.table.currentObject, 3) << "the successor of a middle object becomes current";

    step("\".\" typed", [&] { key(kVkPeriod, '.'); }, {0, 1, 2, 4, 5});
    EXPECT_EQ(ws.table.currentObject, 4);
    EXPECT_EQ(ws.table.rows[3].kind, KindFree);
    EXPECT_EQ(ws.table.rows[6].kind, KindFree);

    // A new star takes the lowest free row and goes after the current object.
    step("a star into the hole",
         [&] {
             key('H', 'h');
             clickAt({60, 60});
             clickAt({90, 100});
             clickAt(clicks::anywhere);
         },
         {0, 1, 2, 4, 3, 5});
    EXPECT_EQ(ws.table.rows[3].kind, KindStar);
    EXPECT_EQ(ws.table.rows[3].group, 7);
    EXPECT_EQ(ws.table.rows[6].kind, KindFree);
    EXPECT_EQ(list().selectedPositions(), std::vector<int>{4});

    // Without Shift only the dragged line moves, not its group mate (row 1).
    step("line 0 onto line 4",
         [&] {
             clickLine(0);
             dragLine(0, lineCentre(4));
         },
         {1, 2, 4, 0, 3, 5});
    EXPECT_EQ(ws.input.shiftDown, 0);

    // Shift pressed on the canvas and held into the list: the whole group of
    // the dragged line moves below the last line, in its own order.
    step("line 3 with Shift below the last line",
         [&] {
             clickLine(3);
             backToCanvas();
             send(WindowId::Canvas, MsgKeyDown, VkShift);
             dragLine(3, belowLastLine(), Qt::ShiftModifier);
             backToCanvas();
             send(WindowId::Canvas, MsgKeyUp, VkShift);
         },
         {2, 4, 3, 5, 1, 0});
    EXPECT_EQ(ws.table.objectCount, 6);

    // Ctrl+U walks every step back, the list in step with the table.
    while (!before.empty()) {
        SCOPED_TRACE("undo back to " + ::testing::PrintToString(before.back()));
        ctrlKey('U');
        EXPECT_EQ(displayOrder(), before.back());
        expectListMirrorsOrder("after undo");
        before.pop_back();
    }
    EXPECT_EQ(ws.table.objectCount, 0);
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(ws.table.currentObject, -1);
    for (int32_t row = 0; row < 8; ++row)
        EXPECT_EQ(ws.table.rows[row].kind, KindFree) << row;
    ctrlKey('U'); // nothing left to undo
    EXPECT_EQ(ws.table.objectCount, 0);
    EXPECT_EQ(list().count(), 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProgramFlow, SaveNewOpenAndExportKeepTheDesign)
{
    drawEveryKind(true);
    // The display order no longer follows the rows: the file must keep it.
    dragLine(2, belowLastLine());
    ASSERT_EQ(displayOrder(), (Order{0, 1, 3, 4, 5, 6, 2}));

    struct Saved {
        int32_t kind;
        int32_t group;
        std::string record;
        std::string text;
    };
    std::vector<Saved> saved;
    const Order order = displayOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const ObjectEntry& entry = ws.table.rows[order[i]];
        const auto* bytes = reinterpret_cast<const char*>(ws.records.bytes(entry.params));
        const std::string record(bytes, std::size_t(recordSize(entry.kind)));
        saved.push_back({entry.kind, entry.group, afterRoundTrip(entry.kind, record), list().text(int(i))});
    }

    backToCanvas();
    const std::string project = folder.file("flow.kvp");
    files.answer(project);
    ctrlKey('S');
    ASSERT_EQ(files.wasSave.size(), 1u);
    EXPECT_TRUE(files.wasSave[0]);
    ASSERT_TRUE(std::filesystem::exists(project));

    const std::string stitches = folder.file("flow.dst");
    files.answer(stitches);
    ctrlKey('E');
    ASSERT_EQ(files.wasSave.size(), 2u);
    EXPECT_TRUE(files.wasSave[1]);
    const std::string dst = readWholeFile(stitches);
    EXPECT_GE(dst.size(), 512u);
    EXPECT_EQ(dst.substr(0, 3), "LA:");
    EXPECT_TRUE(boxes.shown.empty());

    boxes.answers.push_back(true);
    ctrlKey('N');
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].question);
    ASSERT_EQ(ws.table.objectCount, 0);
    ASSERT_EQ(list().count(), 0);

    files.answer(project);
    ctrlKey('O');
    ASSERT_EQ(files.wasSave.size(), 3u);
    EXPECT_FALSE(files.wasSave[2]);
    EXPECT_EQ(boxes.shown.size(), 1u) << "an empty design is replaced without a question";

    // The objects come back in rows 0.. in the saved display order.
    ASSERT_EQ(ws.table.objectCount, int32_t(saved.size()));
    ASSERT_EQ(displayOrder(), (Order{0, 1, 2, 3, 4, 5, 6}));
    expectListMirrorsOrder("after opening");
    for (int32_t row = 0; row < ws.table.objectCount; ++row) {
        SCOPED_TRACE(row);
        const ObjectEntry& entry = ws.table.rows[row];
        const Saved& was = saved[std::size_t(row)];
        EXPECT_EQ(entry.kind, was.kind);
        EXPECT_EQ(entry.group, was.group);
        ASSERT_EQ(entry.paramsSize, int32_t(was.record.size()));
        EXPECT_EQ(std::memcmp(ws.records.bytes(entry.params), was.record.data(), was.record.size()), 0)
            << "parameter record differs";
        EXPECT_EQ(list().text(row), was.text);
    }

    // New objects after opening start a group past every loaded one.
    key('R', 'r');
    clickAt({30, 30});
    clickAt({90, 30});
    ASSERT_EQ(ws.table.objectCount, 8);
    EXPECT_EQ(ws.table.rows[7].group, 7);
}

} // namespace
} // namespace kelvara::testing
