#pragma once

#include "shell/platform.h"

#include <QListWidget>
#include <QPersistentModelIndex>
#include <QTimer>

#include <functional>

namespace kelvara {

// The object list: a list widget with extended selection whose lines can be
// dragged to another place. It implements the ListBox seam for the editing
// logic and reports drops; it never reorders its own lines.
class ObjectListWidget : public QListWidget, public ListBox {
    Q_OBJECT
public:
    explicit ObjectListWidget(QWidget* parent = nullptr);
    ~ObjectListWidget() override;

    // ListBox
    void resetContent() override;
    void initStorage(int items, int bytes) override;
    int addString(const std::string& text) override;
    void insertString(int position, const std::string& text) override;
    void deleteString(int position) override;
    std::string text(int position) const override;
    void setItemData(int position, int32_t data) override;
    int32_t itemData(int position) const override;
    void setSelected(int position, bool selected) override;
    std::vector<int> selectedPositions() const override;
    void setSelection(const std::vector<int>& positions) override;
    int count() const override;
    void setRedraw(bool on) override;

    // Number of objects in the design (decides the drag cursor).
    std::function<int()> objectCount;
    // A drop at a list position: 0..count-1 on a line, count below the last
    // line, -1 outside any line.
    std::function<void(int target)> dropped;
    // A drag began on the line at `source`.
    std::function<void(int source)> dragStarted;
    // A double click on the line at `position`.
    std::function<void(int position)> lineDoubleClicked;

    // The user changed the selection (mouse or keys); `anchor` is the
    // current line, -1 for none. Changes made through ListBox are not told.
    std::function<void(int anchor)> selectionEdited;
    // A key that is not the list's own (moving through the lines) goes on
    // to the editor, pressed or released.
    std::function<void(const QKeyEvent& event, bool pressed)> keyPassed;

    bool isDragging() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    int dropPositionAt(const QPoint& point) const;
    void beginDrag();
    void endDrag();
    Qt::CursorShape dragCursorShape() const;
    void autoScrollStep();
    void scrollToPending();
    void queueScrollTo(const QModelIndex& index);
    // Runs the base class's handling of a user's event and reports the
    // selection change it made.
    template <typename Handling> void asUser(Handling handling);

    int pressRow_ = -1;
    QPoint pressPoint_;
    bool dragging_ = false;
    // A press on an already selected line keeps the selection until the
    // release shows that it was a plain click and not the start of a drag.
    bool clickPending_ = false;
    QPoint lastDragPoint_;
    QTimer autoScrollTimer_;
    // The newly selected line is scrolled into view once the event loop runs,
    // so a burst of insertions lays the list out once, not once per line.
    QPersistentModelIndex scrollTarget_;
    bool scrollQueued_ = false;
    int userDepth_ = 0;
    bool userChanged_ = false;
};

} // namespace kelvara
