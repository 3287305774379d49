#pragma once

#include <QWidget>

#include <functional>

namespace kelvara {

// The strip at the left edge of the list panel that drags the width of the
// list (LISTWORDS): `dragged` gets how far left of the press the pointer
// is, in pixels, at every move; `pressed` comes first.
class SideGrip : public QWidget {
    Q_OBJECT
public:
    explicit SideGrip(QWidget* parent);

    std::function<void()> pressed;
    std::function<void(int leftward)> dragged;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int pressX_ = 0;
};

} // namespace kelvara
