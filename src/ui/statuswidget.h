#pragma once

#include <QLabel>

#include <functional>

namespace kelvara {

struct Editor;

// The status bar below the window's layout: where the mouse is in mm, the
// zoom, what is selected and how many stitches the design makes.
class StatusWidget : public QLabel {
    Q_OBJECT
public:
    static constexpr int kHeight = 20;

    explicit StatusWidget(QWidget* parent = nullptr);
    // Shows the editor's state; the stitch count comes from the kept pieces
    // of the plan, so only changed objects are stitched for it.
    void showState(Editor& editor);
    // A click on the bar: the hoop chooser.
    std::function<void()> clicked;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    uint64_t countedRevision_ = 0;
    bool counted_ = false;
};

// The status line's text, with the stitch count the kept pieces last had.
QString statusText(const Editor& editor);

} // namespace kelvara
