#pragma once

#include "ui/messages.h"

#include <QRect>
#include <Qt>

#include <cstdint>
#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace kelvara {

// Delivers one message to the window procedure.
using MessageSink = std::function<int64_t(WindowId, uint32_t message, uint64_t wParam, int64_t lParam)>;

// The virtual-key code of a Qt key: letters and digits as their upper-case
// characters, the keys the editor names by code, the usual punctuation
// codes. Shifted digits count as their digit key, as the keyboard has it.
// 0 for a key without a code.
uint32_t virtualKeyCode(int qtKey);

// MsgLButtonDown .. MsgMButtonUp for a button, 0 for any other button.
uint32_t mouseButtonMessage(int qtButton, bool pressed);

// The modifier flags of a mouse message's wParam.
uint32_t mouseKeyFlags(int qtModifiers);

// The Ctrl and Shift state the procedure holds, as mouse flags.
using SeenModifiers = std::function<uint32_t()>;

// Turns Qt input events into the procedure's messages.
//
// Given the procedure's own Ctrl and Shift state, the adapter keeps it equal
// to the keyboard's: a modal dialog or the object list may take the key-up
// of Ctrl or Shift, and a state key the procedure never saw released would
// turn every later letter into a Ctrl hotkey. Before each key and mouse
// message it sends the state key's key-down or key-up that brings the
// procedure in line with the event's modifiers.
class QtEventAdapter {
public:
    explicit QtEventAdapter(MessageSink sink, SeenModifiers seen = {})
        : sink_(std::move(sink)), seen_(std::move(seen))
    {
    }

    // A held key repeats its key-down and character messages; the one
    // key-up comes at the real release.
    void keyPressed(WindowId window, const QKeyEvent& event);
    void keyReleased(WindowId window, const QKeyEvent& event);

    // Mouse events outside `area` are not delivered: a press, a left
    // release or a pointer moved off the window does not belong to it. The
    // right and middle buttons' releases always are, at the area's edge.
    void mouseButton(WindowId window, const QMouseEvent& event, bool pressed, const QRect& area);
    void mouseMoved(WindowId window, const QMouseEvent& event, const QRect& area);
    void wheelTurned(WindowId window, const QWheelEvent& event);

    // Brings the procedure's Ctrl and Shift to `actual`; a key whose own
    // event is under way (Key_Control, Key_Shift) is left to that event.
    void syncModifiers(WindowId window, Qt::KeyboardModifiers actual, int ownKey = 0);
    // The same from the keyboard itself, for when the window gets the
    // keyboard back: activated again, focused again, a dialog closed.
    void syncWithKeyboard(WindowId window);

    int64_t send(WindowId window, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0)
    {
        return sink_ ? sink_(window, message, wParam, lParam) : 0;
    }

private:
    MessageSink sink_;
    SeenModifiers seen_;
};

} // namespace kelvara
