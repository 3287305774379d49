#include "ui/sidegrip.h"

#include <QMouseEvent>

namespace kelvara {

SideGrip::SideGrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("listGrip"));
    setCursor(Qt::SplitHCursor);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QStringLiteral("Drag to make the object list wider or narrower"));
}

void SideGrip::mousePressEvent(QMouseEvent* event)
{
    // Screen positions: the grip itself moves with the width it drags.
    pressX_ = int(event->globalPosition().x());
    if (pressed)
        pressed();
}

void SideGrip::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) != 0 && dragged)
        dragged(pressX_ - int(event->globalPosition().x()));
}

} // namespace kelvara
