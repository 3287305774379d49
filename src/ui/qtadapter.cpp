#include "ui/qtadapter.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace kelvara {

uint32_t virtualKeyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
        qtKey == Qt::Key_Space)
        return static_cast<uint32_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + static_cast<uint32_t>(qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VkReturn;
    case Qt::Key_Shift:
        return VkShift;
    case Qt::Key_Control:
        return VkControl;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return VkEscape;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return VkEnd;
    case Qt::Key_Home:
        return VkHome;
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return VkDelete;
    // Shifted digits of the usual layout: the key is the digit's.
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_Asterisk:
        return '8';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    // Punctuation keys have codes of their own; "." in particular is not
    // the Delete key's 46.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return 222;
    default:
        return 0;
    }
}

uint32_t mouseButtonMessage(int qtButton, bool pressed)
{
    switch (qtButton) {
    case Qt::LeftButton:
        return pressed ? MsgLButtonDown : MsgLButtonUp;
    case Qt::RightButton:
        return pressed ? MsgRButtonDown : MsgRButtonUp;
    case Qt::MiddleButton:
        return pressed ? MsgMButtonDown : MsgMButtonUp;
    default:
        return 0;
    }
}

uint32_t mouseKeyFlags(int qtModifiers)
{
    uint32_t flags = 0;
    if (qtModifiers & Qt::ShiftModifier)
        flags |= kMouseShiftFlag;
    if (qtModifiers & Qt::ControlModifier)
        flags |= kMouseControlFlag;
    return flags;
}

namespace {

// Alt itself, and a key pressed or released while Alt is held without Ctrl,
// is a system key (menu and window keys): it produces neither key nor
// character messages. Qt leaves Alt out of the Alt key's own modifiers.
bool isSystemKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool alt = event.key() == Qt::Key_Alt || (modifiers & Qt::AltModifier);
    return alt && !(modifiers & Qt::ControlModifier);
}

} // namespace

void QtEventAdapter::syncModifiers(WindowId window, Qt::KeyboardModifiers actual, int ownKey)
{
    if (!seen_)
        return;
    const uint32_t seen = seen_();
    const uint32_t held = mouseKeyFlags(actual);
    const auto follow = [&](uint32_t flag, uint32_t key, int qtKey) {
        if (ownKey != qtKey && (seen & flag) != (held & flag))
            send(window, (held & flag) != 0 ? MsgKeyDown : MsgKeyUp, key);
    };
    follow(kMouseControlFlag, VkControl, Qt::Key_Control);
    follow(kMouseShiftFlag, VkShift, Qt::Key_Shift);
}

void QtEventAdapter::syncWithKeyboard(WindowId window)
{
    syncModifiers(window, QGuiApplication::queryKeyboardModifiers());
}

void QtEventAdapter::keyPressed(WindowId window, const QKeyEvent& event)
{
    syncModifiers(window, event.modifiers(), event.key());
    if (isSystemKey(event))
        return;
    if (const uint32_t key = virtualKeyCode(event.key()); key != 0)
        send(window, MsgKeyDown, key);
    // Typed characters as 8-bit codes; what Latin-1 cannot hold is not typed.
    for (const QChar c : event.text()) {
        if (c.unicode() != 0 && c.unicode() <= 0xFF)
            send(window, MsgChar, c.unicode());
    }
}

void QtEventAdapter::keyReleased(WindowId window, const QKeyEvent& event)
{
    // The platform's auto-repeat sends a release before every repeated
    // press; only the real release is one.
    if (event.isAutoRepeat())
        return;
    syncModifiers(window, event.modifiers(), event.key());
    if (isSystemKey(event))
        return;
    if (const uint32_t key = virtualKeyCode(event.key()); key != 0)
        send(window, MsgKeyUp, key);
}

void QtEventAdapter::mouseButton(WindowId window, const QMouseEvent& event, bool pressed, const QRect& area)
{
    const uint32_t message = mouseButtonMessage(event.button(), pressed);
    QPoint at = event.position().toPoint();
    if (message == 0)
        return;
    if (!area.contains(at)) {
        // Qt hands a release to the window that had the press, wherever the
        // pointer is now. A right or middle button released there must not
        // stay held (the right one keeps moving a control point); it is
        // released at the nearest point of the area. A left release there
        // would be a click at the last position and stays dropped.
        if (pressed || message == MsgLButtonUp || area.isEmpty())
            return;
        at = QPoint(std::clamp(at.x(), area.left(), area.right()),
                    std::clamp(at.y(), area.top(), area.bottom()));
    }
    syncModifiers(window, event.modifiers());
    send(window, message, mouseKeyFlags(event.modifiers()), makeParam(uint32_t(at.x()), uint32_t(at.y())));
}

void QtEventAdapter::mouseMoved(WindowId window, const QMouseEvent& event, const QRect& area)
{
    const QPoint at = event.position().toPoint();
    if (!area.contains(at))
        return;
    syncModifiers(window, event.modifiers());
    const uint32_t left = (event.buttons() & Qt::LeftButton) != 0 ? kMouseLeftFlag : 0u;
    send(window, MsgMouseMove, mouseKeyFlags(event.modifiers()) | left,
         makeParam(uint32_t(at.x()), uint32_t(at.y())));
}

void QtEventAdapter::wheelTurned(WindowId window, const QWheelEvent& event)
{
    const int delta = event.angleDelta().y();
    if (delta == 0)
        return;
    const QPoint screen = event.globalPosition().toPoint();
    send(window, MsgMouseWheel,
         makeParam(mouseKeyFlags(event.modifiers()),
                   static_cast<uint32_t>(static_cast<int16_t>(std::clamp(delta, -32768, 32767)))),
         makeParam(uint32_t(screen.x()), uint32_t(screen.y())));
}

} // namespace kelvara
