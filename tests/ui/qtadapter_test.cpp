// Qt events turned into the window procedure's messages.

#include "window_fixture.h"

#include "ui/qtadapter.h"
#include "ui/toolbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace kelvara::testing {
namespace {

struct Sent {
    WindowId window;
    uint32_t message;
    uint64_t wParam;
    int64_t lParam;
    bool operator==(const Sent&) const = default;
};

struct AdapterTest : ::testing::Test {
    std::vector<Sent> sent;
    QtEventAdapter adapter{[this](WindowId w, uint32_t m, uint64_t wp, int64_t lp) {
        sent.push_back({w, m, wp, lp});
        return int64_t{0};
    }};

    void keyPress(int key, const QString& text = {}, bool repeat = false, Qt::KeyboardModifiers mods = {})
    {
        QKeyEvent event(QEvent::KeyPress, key, mods, text, repeat);
        adapter.keyPressed(WindowId::Canvas, event);
    }
    void keyRelease(int key, bool repeat = false)
    {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, QString(), repeat);
        adapter.keyReleased(WindowId::Canvas, event);
    }
};

TEST(VirtualKeyTest, KeysMapToTheirCodes)
{
    EXPECT_EQ(virtualKeyCode(Qt::Key_A), 'A');
    EXPECT_EQ(virtualKeyCode(Qt::Key_Z), 'Z');
    EXPECT_EQ(virtualKeyCode(Qt::Key_5), '5');
    EXPECT_EQ(virtualKeyCode(Qt::Key_Space), 32u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Return), 13u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Enter), 13u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Escape), 27u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Delete), 46u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Home), 36u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_End), 35u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Left), 37u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Up), 38u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Right), 39u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Down), 40u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Shift), 16u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Control), 17u);
    // Qt's codes for these equal other keys' codes; they must not leak.
    EXPECT_NE(virtualKeyCode(Qt::Key_Period), 46u);
    EXPECT_NE(virtualKeyCode(Qt::Key_Dollar), 36u);
    EXPECT_NE(virtualKeyCode(Qt::Key_NumberSign), 35u);
    EXPECT_NE(virtualKeyCode(Qt::Key_Percent), 37u);
    EXPECT_NE(virtualKeyCode(Qt::Key_ParenLeft), 40u);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Dollar), '4');
}

TEST_F(AdapterTest, HeldKeyRepeatsDownAndCharactersAndReleasesOnce)
{
    keyPress(Qt::Key_R, "r");
    keyRelease(Qt::Key_R, true);
    keyPress(Qt::Key_R, "r", true);
    keyRelease(Qt::Key_R, true);
    keyPress(Qt::Key_R, "r", true);
    keyRelease(Qt::Key_R);
    const std::vector<Sent> expected = {
        {WindowId::Canvas, MsgKeyDown, 'R', 0}, {WindowId::Canvas, MsgChar, 'r', 0},
        {WindowId::Canvas, MsgKeyDown, 'R', 0}, {WindowId::Canvas, MsgChar, 'r', 0},
        {WindowId::Canvas, MsgKeyDown, 'R', 0}, {WindowId::Canvas, MsgChar, 'r', 0},
        {WindowId::Canvas, MsgKeyUp, 'R', 0},
    };
    EXPECT_EQ(sent, expected);
}

TEST_F(AdapterTest, PeriodTypesCharacter46WithoutTheDeleteKey)
{
    keyPress(Qt::Key_Period, ".");
    keyRelease(Qt::Key_Period);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].message, MsgKeyDown);
    EXPECT_EQ(sent[0].wParam, 190u);
    EXPECT_EQ(sent[1], (Sent{WindowId::Canvas, MsgChar, 46, 0}));
    EXPECT_EQ(sent[2].wParam, 190u);
    // Latin-1 characters arrive as their 8-bit codes; others are not typed.
    sent.clear();
    keyPress(Qt::Key_unknown, QString::fromUtf8("\xc3\xa9\xe2\x82\xac"));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Sent{WindowId::Canvas, MsgChar, 0xE9, 0}));
}

TEST_F(AdapterTest, KeysHeldWithAltAreSystemKeys)
{
    // Alt+R neither selects a tool on its key nor types its character.
    keyPress(Qt::Key_Alt, {}, false, Qt::AltModifier);
    keyPress(Qt::Key_R, "r", false, Qt::AltModifier);
    QKeyEvent altRelease(QEvent::KeyRelease, Qt::Key_R, Qt::AltModifier);
    adapter.keyReleased(WindowId::Canvas, altRelease);
    EXPECT_TRUE(sent.empty());
    // Alt let go before the letter: its release is an ordinary key-up.
    keyPress(Qt::Key_S, "s", false, Qt::AltModifier);
    keyRelease(Qt::Key_S);
    EXPECT_EQ(sent, (std::vector<Sent>{{WindowId::Canvas, MsgKeyUp, 'S', 0}}));
    // With Ctrl as well (AltGr on some keyboards) keys are ordinary ones.
    sent.clear();
    keyPress(Qt::Key_E, QString::fromUtf8("\xe2\x82\xac"), false, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(sent, (std::vector<Sent>{{WindowId::Canvas, MsgKeyDown, 'E', 0}}));
}

TEST_F(AdapterTest, MouseMessagesCarryPositionAndFlagsInsideTheArea)
{
    const QRect area(0, 0, 100, 80);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(30, 40), Qt::RightButton,
                      Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier);
    adapter.mouseButton(WindowId::Canvas, press, true, area);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, MsgRButtonDown);
    EXPECT_EQ(sent[0].wParam, kMouseControlFlag | kMouseShiftFlag);
    EXPECT_EQ(sent[0].lParam, int64_t(makeParam(30, 40)));
    // A left release or a move beyond the area does not belong to the window.
    QMouseEvent leftRelease(QEvent::MouseButtonRelease, QPointF(130, 40), QPointF(130, 40), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
    adapter.mouseButton(WindowId::Canvas, leftRelease, false, area);
    QMouseEvent move(QEvent::MouseMove, QPointF(-3, 10), QPointF(-3, 10), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    adapter.mouseMoved(WindowId::Canvas, move, area);
    EXPECT_EQ(sent.size(), 1u);
    // The right button's release always is: at the nearest point inside.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(130, -7), QPointF(130, -7), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    adapter.mouseButton(WindowId::Canvas, release, false, area);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], (Sent{WindowId::Canvas, MsgRButtonUp, 0, int64_t(makeParam(99, 0))}));
}

TEST_F(AdapterTest, WheelDeltaKeepsItsSign)
{
    QWheelEvent away(QPointF(5, 5), QPointF(500, 400), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QWheelEvent toward(QPointF(5, 5), QPointF(500, 400), QPoint(), QPoint(0, -240), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
    adapter.wheelTurned(WindowId::ToolbarStrip, away);
    adapter.wheelTurned(WindowId::ToolbarStrip, toward);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(int16_t(highWord(sent[0].wParam)), 120);
    EXPECT_EQ(int16_t(highWord(sent[1].wParam)), -240);
    EXPECT_EQ(sent[0].lParam, int64_t(makeParam(500, 400)));
}

TEST(TooltipTest, HotkeyPartAlwaysShows)
{
    EXPECT_EQ(buttonTipText("New design", 1, 'N'), "New design (CTRL+N)");
    EXPECT_EQ(buttonTipText("", 0, VkReturn), " (ENTER)");
    EXPECT_EQ(buttonTipText("x", 0, VkSpace), "x (SPACE)");
    EXPECT_EQ(buttonTipText("x", 0, VkHome), "x (HOME)");
    EXPECT_EQ(buttonTipText("x", 0, VkEnd), "x (END)");
    EXPECT_EQ(buttonTipText("x", 0, VkDelete), "x (DEL)");
    const std::string longLine(255, 'a');
    const std::string tip = buttonTipText(longLine, 1, 'K');
    EXPECT_EQ(tip.size(), 254u);
    EXPECT_EQ(tip.substr(tip.size() - 12), "... (CTRL+K)");
}

} // namespace
} // namespace kelvara::testing
