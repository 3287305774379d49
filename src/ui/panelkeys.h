#pragma once

class QKeyEvent;
class QWidget;

namespace kelvara {

// Whether `field`, holding the focus in the properties panel, uses the key
// itself: typing and editing a number, moving between and through fields,
// ticking a box, opening a drop-down, Enter and Escape. Every other key
// (letters, Ctrl shortcuts such as Ctrl+Z and Ctrl+S, function keys) is
// the editor's.
bool isFieldKey(const QKeyEvent& event, const QWidget* field);

} // namespace kelvara
