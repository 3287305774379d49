#include "ui/panelkeys.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>

namespace kelvara {

bool isFieldKey(const QKeyEvent& event, const QWidget* field)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    // Held alone, the state keys belong to whichever key comes next.
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return true;
    default:
        break;
    }
    const bool number = qobject_cast<const QAbstractSpinBox*>(field) != nullptr;
    const Qt::KeyboardModifiers held = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (held != 0) {
        // The text keys of a number being typed stay with it.
        return number && held == Qt::ControlModifier &&
               (key == Qt::Key_A || key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_X);
    }
    if (number) {
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
            return true;
        const QString text = event.text();
        return text.size() == 1 && QStringLiteral("0123456789.,-+").contains(text.front());
    }
    // Space ticks a box, presses a button or opens a drop-down.
    const bool choosing =
        qobject_cast<const QAbstractButton*>(field) != nullptr || qobject_cast<const QComboBox*>(field) != nullptr;
    return choosing && key == Qt::Key_Space;
}

} // namespace kelvara
