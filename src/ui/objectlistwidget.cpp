#include "ui/objectlistwidget.h"

#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace kelvara {

namespace {

constexpr int kAutoScrollIntervalMs = 60;

// The keys that move through the lines; every other key is the editor's.
bool isListKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

// Shift, Ctrl and Alt alone stay in the list: a drop started there takes
// its Shift from the keyboard, and the editor syncs them with every key.
bool isStateKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
}

// Lines are 8-bit texts that end at their first NUL: the journal keeps a
// line as a NUL-padded field, and what follows the NUL is not text.
QString fromLatin1(const std::string& text)
{
    const size_t end = text.find('\0');
    const size_t length = end == std::string::npos ? text.size() : end;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(length));
}

} // namespace

ObjectListWidget::ObjectListWidget(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Every line has the same height, which keeps a 4096-line layout cheap.
    setUniformItemSizes(true);
    // The lines align their group and number columns with blanks.
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    autoScrollTimer_.setInterval(kAutoScrollIntervalMs);
    connect(&autoScrollTimer_, &QTimer::timeout, this, [this] { autoScrollStep(); });
}

ObjectListWidget::~ObjectListWidget()
{
    if (dragging_)
        QGuiApplication::restoreOverrideCursor();
}

// ---- ListBox ----

void ObjectListWidget::resetContent()
{
    scrollTarget_ = QPersistentModelIndex();
    clear();
}

void ObjectListWidget::initStorage(int /*items*/, int /*bytes*/)
{
    // The widget grows on demand; nothing to reserve.
}

int ObjectListWidget::addString(const std::string& text)
{
    addItem(fromLatin1(text));
    return QListWidget::count() - 1;
}

void ObjectListWidget::insertString(int position, const std::string& text)
{
    if (position < 0 || position > QListWidget::count())
        position = QListWidget::count();
    insertItem(position, fromLatin1(text));
}

void ObjectListWidget::deleteString(int position)
{
    delete takeItem(position);
}

std::string ObjectListWidget::text(int position) const
{
    const QListWidgetItem* line = item(position);
    return line ? line->text().toLatin1().toStdString() : std::string();
}

void ObjectListWidget::setItemData(int position, int32_t data)
{
    if (QListWidgetItem* line = item(position))
        line->setData(Qt::UserRole, data);
}

int32_t ObjectListWidget::itemData(int position) const
{
    const QListWidgetItem* line = item(position);
    if (!line)
        return -1;
    bool ok = false;
    const int32_t value = line->data(Qt::UserRole).toInt(&ok);
    return ok ? value : -1;
}

void ObjectListWidget::setSelected(int position, bool selected)
{
    if (position == -1) {
        if (selected)
            selectAll();
        else
            clearSelection();
        return;
    }
    QListWidgetItem* line = item(position);
    if (!line)
        return;
    line->setSelected(selected);
    if (!selected)
        return;
    // The new line becomes the anchor for keyboard and Shift-click selection
    // and is brought into view.
    selectionModel()->setCurrentIndex(indexFromItem(line), QItemSelectionModel::NoUpdate);
}

std::vector<int> ObjectListWidget::selectedPositions() const
{
    std::vector<int> rows;
    const QModelIndexList indexes = selectionModel()->selectedIndexes();
    rows.reserve(static_cast<size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// One selection of whole ranges: line by line, selecting 4096 lines costs
// the selection model a merge per line.
void ObjectListWidget::setSelection(const std::vector<int>& positions)
{
    QItemSelection selection;
    const int lines = QListWidget::count();
    size_t i = 0;
    while (i < positions.size()) {
        const int first = positions[i];
        int last = first;
        while (i + 1 < positions.size() && positions[i + 1] == last + 1)
            last = positions[++i];
        ++i;
        if (first >= 0 && last < lines)
            selection.select(model()->index(first, 0), model()->index(last, 0));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

template <typename Handling> void ObjectListWidget::asUser(Handling handling)
{
    ++userDepth_;
    handling();
    --userDepth_;
    if (userDepth_ == 0 && userChanged_) {
        userChanged_ = false;
        if (selectionEdited)
            selectionEdited(currentRow());
    }
}

int ObjectListWidget::count() const
{
    return QListWidget::count();
}

void ObjectListWidget::setRedraw(bool on)
{
    setUpdatesEnabled(on);
}

bool ObjectListWidget::isDragging() const
{
    return dragging_;
}

void ObjectListWidget::queueScrollTo(const QModelIndex& index)
{
    scrollTarget_ = index;
    if (!scrollQueued_) {
        scrollQueued_ = true;
        QTimer::singleShot(0, this, [this] { scrollToPending(); });
    }
}

// The base class finds the rectangles of changed lines, which lays out the
// whole list after every insertion; one repaint of the visible lines costs
// the same at any length. Accessibility clients still get the full report.
void ObjectListWidget::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (userDepth_ > 0)
        userChanged_ = true;
    if (QAccessible::isActive()) {
        QListWidget::selectionChanged(selected, deselected);
        return;
    }
    if (isVisible() && updatesEnabled())
        viewport()->update();
}

// Likewise the current line is scrolled into view once the event loop runs,
// not after every line that a burst of insertions makes current.
void ObjectListWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (userDepth_ > 0)
        userChanged_ = true;
    if (QAccessible::isActive()) {
        QListWidget::currentChanged(current, previous);
        return;
    }
    if (current.isValid())
        queueScrollTo(current);
    if (isVisible() && updatesEnabled())
        viewport()->update();
}

void ObjectListWidget::scrollToPending()
{
    scrollQueued_ = false;
    if (scrollTarget_.isValid())
        scrollTo(scrollTarget_);
    scrollTarget_ = QPersistentModelIndex();
}

// ---- Mouse ----

void ObjectListWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || dragging_) {
        asUser([&] { QListWidget::mousePressEvent(event); });
        return;
    }
    pressPoint_ = event->position().toPoint();
    const QModelIndex index = indexAt(pressPoint_);
    pressRow_ = index.isValid() ? index.row() : -1;
    clickPending_ = false;

    const bool extending = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (pressRow_ >= 0 && !extending && selectionModel()->isSelected(index)) {
        clickPending_ = true;
        event->accept();
        return;
    }
    asUser([&] { QListWidget::mousePressEvent(event); });
}

void ObjectListWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (pressRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        asUser([&] { QListWidget::mouseMoveEvent(event); });
        return;
    }
    const QPoint point = event->position().toPoint();
    if (!dragging_) {
        if ((point - pressPoint_).manhattanLength() < QApplication::startDragDistance())
            return;
        beginDrag();
    }
    lastDragPoint_ = point;
    QGuiApplication::changeOverrideCursor(QCursor(dragCursorShape()));

    const bool outside = point.y() < 0 || point.y() >= viewport()->height();
    if (outside && !autoScrollTimer_.isActive()) {
        autoScrollStep();
        autoScrollTimer_.start();
    } else if (!outside) {
        autoScrollTimer_.stop();
    }
    event->accept();
}

void ObjectListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        asUser([&] { QListWidget::mouseReleaseEvent(event); });
        return;
    }
    if (dragging_) {
        const int target = dropPositionAt(event->position().toPoint());
        endDrag();
        pressRow_ = -1;
        event->accept();
        if (dropped)
            dropped(target);
        return;
    }
    if (clickPending_) {
        // A plain click on a selected line: it alone is selected now.
        clickPending_ = false;
        const QModelIndex index = model()->index(pressRow_, 0);
        pressRow_ = -1;
        if (index.isValid())
            asUser([&] { selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect); });
        event->accept();
        return;
    }
    pressRow_ = -1;
    asUser([&] { QListWidget::mouseReleaseEvent(event); });
}

void ObjectListWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && !dragging_ && lineDoubleClicked)
        lineDoubleClicked(index.row());
}

void ObjectListWidget::keyPressEvent(QKeyEvent* event)
{
    if (dragging_ && event->key() == Qt::Key_Escape) {
        endDrag();
        pressRow_ = -1;
        event->accept();
        return;
    }
    // Passed up the widget chain, keys would reach the main window as its
    // own (arrow scrolling of the canvas): the list decides where each goes.
    if (isListKey(event->key()))
        asUser([&] { QListWidget::keyPressEvent(event); });
    else if (!isStateKey(event->key()) && keyPassed)
        keyPassed(*event, true);
    event->accept();
}

void ObjectListWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (!isListKey(event->key()) && !isStateKey(event->key()) && keyPassed)
        keyPassed(*event, false);
    event->accept();
}

void ObjectListWidget::beginDrag()
{
    dragging_ = true;
    clickPending_ = false;
    QGuiApplication::setOverrideCursor(QCursor(dragCursorShape()));
    if (dragStarted)
        dragStarted(pressRow_);
}

void ObjectListWidget::endDrag()
{
    if (!dragging_)
        return;
    dragging_ = false;
    autoScrollTimer_.stop();
    QGuiApplication::restoreOverrideCursor();
    // The base class may still think a selection sweep is under way.
    setState(QAbstractItemView::NoState);
}

Qt::CursorShape ObjectListWidget::dragCursorShape() const
{
    const int objects = objectCount ? objectCount() : count();
    return objects >= 2 ? Qt::DragMoveCursor : Qt::ForbiddenCursor;
}

void ObjectListWidget::autoScrollStep()
{
    if (!dragging_) {
        autoScrollTimer_.stop();
        return;
    }
    if (lastDragPoint_.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (lastDragPoint_.y() >= viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    else
        autoScrollTimer_.stop();
}

int ObjectListWidget::dropPositionAt(const QPoint& point) const
{
    if (!viewport()->rect().contains(point))
        return -1;
    const QModelIndex index = indexAt(point);
    if (index.isValid())
        return index.row();
    const int lines = count();
    if (lines == 0)
        return 0;
    const QRect last = visualItemRect(item(lines - 1));
    return point.y() > last.bottom() ? lines : -1;
}

} // namespace kelvara
