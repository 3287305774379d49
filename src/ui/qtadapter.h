#pragma once

#include "ui/messages.h"

#include <QRect>

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

// Turns Qt input events into the procedure's messages.
class QtEventAdapter {
public:
    explicit QtEventAdapter(MessageSink sink) : sink_(std::move(sink)) {}

    // A held key repeats its key-down and character messages; the one
    // key-up comes at the real release.
    void keyPressed(WindowId window, const QKeyEvent& event);
    void keyReleased(WindowId window, const QKeyEvent& event);

    // Mouse events outside `area` are not delivered: a button released or
    // a pointer moved off the window does not belong to it.
    void mouseButton(WindowId window, const QMouseEvent& event, bool pressed, const QRect& area);
    void mouseMoved(WindowId window, const QMouseEvent& event, const QRect& area);
    void wheelTurned(WindowId window, const QWheelEvent& event);

    int64_t send(WindowId window, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0)
    {
        return sink_ ? sink_(window, message, wParam, lParam) : 0;
    }

private:
    MessageSink sink_;
};

} // namespace kelvara
