#include "ui/mainwindow.h"

#include "project/openproject.h"

#include "model/editing.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "shell/texts.h"
#include "ui/canvaswidget.h"
#include "ui/colourswatch.h"
#include "ui/menubar.h"
#include "ui/modebuttons.h"
#include "ui/objectlistwidget.h"
#include "ui/printcommand.h"
#include "ui/propertiesopen.h"
#include "ui/propertiespanel.h"
#include "ui/runaside.h"
#include "ui/selecttool.h"
#include "ui/sidegrip.h"
#include "ui/statuswidget.h"
#include "ui/windowlayout.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

namespace kelvara {

namespace {

constexpr int kStartWidth = 640;
constexpr int kStartHeight = 480;
// The docked panel's width, and the narrowest and widest list a drag gives.
constexpr int kDockWidth = 330;
constexpr int kNarrowestList = 80;
constexpr int kWidestList = 700;

// A child window whose only paint is a fill in the menu colour.
QWidget* makePanel(QWidget* parent, const QString& name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Window);
    panel->setFocusPolicy(Qt::NoFocus);
    return panel;
}

} // namespace

MainWindow::MainWindow(Workspace& ws, QWidget* parent)
    : QWidget(parent), editor_(ws), commands_(editor_),
      adapter_([this](WindowId window, uint32_t message, uint64_t wParam,
                      int64_t lParam) { return send(window, message, wParam, lParam); },
               [this] {
                   const InputState& input = editor_.ws.input;
                   return (input.ctrlDown != 0 ? kMouseControlFlag : 0u) |
                          (input.shiftDown != 0 ? kMouseShiftFlag : 0u);
               }),
      procedure_(editor_, *this, commands_), boxes_(this), files_(this), colours_(this), lettering_(this), title_(this),
      timer_([this] { send(WindowId::Main, MsgTimer); })
{
    setObjectName(QStringLiteral("Kelvara"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setFocusPolicy(Qt::StrongFocus);
    // The outer window never goes below 256 x 256.
    setMinimumSize(256, 256);
    // The status bar lies below the procedure's client area.
    resize(kStartWidth, kStartHeight + StatusWidget::kHeight);

    editor_.platform.boxes = &boxes_;
    editor_.platform.files = &files_;
    editor_.platform.colours = &colours_;
    editor_.platform.lettering = &lettering_;
    editor_.platform.title = &title_;
    editor_.platform.clipboard = &clipboard_;
    editor_.platform.timer = &timer_;
    editor_.openProperties = [this](PanelField field) {
        showDock(true);
        propertiesPanel().openAt(field);
    };
    editor_.applyProperties = [this] {
        if (properties_ != nullptr)
            properties_->apply();
    };
    editor_.printWorksheet = [this] { kelvara::printWorksheet(editor_.ws, editor_.platform, this); };
    // Queued: the key that asks for it is still being handled.
    editor_.closeWindow = [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); };
}

PropertiesPanel& MainWindow::propertiesPanel()
{
    if (properties_ == nullptr) {
        properties_ = new PropertiesPanel(editor_, this);
        properties_->applied = [this] { showState(); };
    }
    return *properties_;
}

MainWindow::~MainWindow()
{
    // The children refer to the editor and the adapter: they go first.
    editor_.platform = Platform{};
    editor_.openProperties = nullptr;
    editor_.applyProperties = nullptr;
    editor_.printWorksheet = nullptr;
    editor_.closeWindow = nullptr;
    editor_.recovery = nullptr;
    delete properties_;
    delete status_;
    delete canvas_;
    delete panel_;
    delete strip_;
}

int MainWindow::create()
{
    if (procedure_.dispatch(WindowId::Main, MsgCreate, 0, 0) != 0)
        return procedure_.exitCode() != 0 ? procedure_.exitCode() : 3;
    // Clicks arrive as commands from the strip, after the buttons exist.
    for (int row = 0; row < editor_.buttons.buttonCount; ++row) {
        QToolButton* button = editor_.buttons.rows[std::size_t(row)].buttonWindow;
        if (button == nullptr)
            continue;
        connect(button, &QToolButton::clicked, this, [this, row] {
            send(WindowId::ToolbarStrip, MsgCommand, makeParam(uint32_t(row), kNotifyClicked));
        });
    }
    if (editor_.ws.settings.MENUBAR != 0)
        createMenuBar();
    if (editor_.ws.settings.LISTWORDS != 0)
        createListWords();
    if (editor_.ws.settings.DOCKPANEL != 0)
        createDock();
    if (grip_ != nullptr || dock_ != nullptr)
        resizeEvent(nullptr);
    if (editor_.ws.settings.BACKPLAN != 0)
        editor_.plans.startBackground();
    // A plan made on its own thread shows when it comes: the stitches, the
    // scroll range, the hoop and the count.
    connect(&editor_.plans, &PlanKeeper::planned, this, [this] {
        if (procedure_.destroyed())
            return;
        markViewChanged(editor_.ws);
        markRepaint(editor_.ws);
        refresh(editor_.ws, editor_.platform);
        showState();
    });
    connect(&editor_.plans, &PlanKeeper::progressed, this, [this] { showState(); });
    return 0;
}

void MainWindow::createListWords()
{
    // Room for a whole line (number, name, group, position, trim) beside its swatch.
    const int text = list_->fontMetrics().horizontalAdvance(QString(46, QLatin1Char('0')));
    procedure_.setSideWidths(text + list_->fontMetrics().height() + 28, procedure_.dockWidth());
    if (auto* swatches = qobject_cast<ColourSwatchDelegate*>(list_->itemDelegate()))
        swatches->setSquare(true);
    // The lines made before the configuration was read are made again.
    refillObjectList(editor_.ws, editor_.platform);
    grip_ = new SideGrip(panel_);
    grip_->show();
    auto startWidth = std::make_shared<int>(0);
    grip_->pressed = [this, startWidth] { *startWidth = procedure_.listWidth(); };
    grip_->dragged = [this, startWidth](int leftward) { setListWidth(*startWidth + leftward); };
}

void MainWindow::setListWidth(int width)
{
    procedure_.setSideWidths(std::clamp(width, kNarrowestList, kWidestList), procedure_.dockWidth());
    resizeEvent(nullptr);
}

void MainWindow::createDock()
{
    dock_ = new QDockWidget(QStringLiteral("Properties"), panel_);
    dock_->setObjectName(QStringLiteral("propertiesDock"));
    // Docked in a plain window: it can be closed (E opens it again), not floated.
    dock_->setFeatures(QDockWidget::DockWidgetClosable);
    properties_ = new PropertiesPanel(editor_, dock_, true);
    properties_->applied = [this] { showState(); };
    properties_->keyPassed = [this](const QKeyEvent& event, bool pressed) {
        if (pressed)
            adapter_.keyPressed(WindowId::Main, event);
        else
            adapter_.keyReleased(WindowId::Main, event);
    };
    properties_->left = [this] { giveFocus(WindowId::Canvas); };
    dock_->setWidget(properties_);
    // Its close button hides it; a minimised window does not count.
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible && dock_->isHidden() && procedure_.dockWidth() != 0)
            showDock(false);
    });
    showDock(true);
    properties_->follow();
}

void MainWindow::showDock(bool shown)
{
    if (dock_ == nullptr || (shown == (procedure_.dockWidth() != 0) && dock_->isHidden() != shown))
        return;
    procedure_.setSideWidths(procedure_.listWidth(), shown ? kDockWidth : 0);
    dock_->setVisible(shown);
    resizeEvent(nullptr);
}

void MainWindow::layOutSide()
{
    if (panel_ == nullptr)
        return;
    const int height = panel_->height();
    if (grip_ != nullptr)
        grip_->setGeometry(0, 0, kListInset, height);
    if (dock_ != nullptr && !dock_->isHidden())
        dock_->setGeometry(2 * kListInset + procedure_.listWidth(), kListInset,
                           std::max(0, procedure_.dockWidth() - kListInset), std::max(0, height - 2 * kListInset));
}

void MainWindow::createMenuBar()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    // A menu entry is a click on its button: one path for both.
    buildMenuBar(
        bar, editor_.buttons, editor_.ws.settings,
        [this](int row) { send(WindowId::ToolbarStrip, MsgCommand, makeParam(uint32_t(row), kNotifyClicked)); },
        [this](const std::function<void(Commands&)>& run) {
            if (procedure_.destroyed())
                return;
            run(commands_);
            if (procedure_.destroyed())
                return;
            refresh(editor_.ws, editor_.platform);
            showState();
        });
    top_ = bar->sizeHint().height();
    bar->setGeometry(0, 0, width(), top_);
    bar->show();
    strip_->move(0, top_);
    canvas_->move(0, kStripHeight + top_);
    panel_->move(panel_->x(), kStripHeight + top_);
    resizeEvent(nullptr);
}

void MainWindow::openDesign(const QString& path)
{
    openProjectFile(editor_.ws, editor_.platform, path, false);
    refresh(editor_.ws, editor_.platform);
}

int64_t MainWindow::send(WindowId window, uint32_t message, uint64_t wParam, int64_t lParam)
{
    const int64_t result = procedure_.dispatch(window, message, wParam, lParam);
    procedure_.repeatRightButton();
    if (properties_ != nullptr)
        properties_->follow();
    showState();
    return result;
}

void MainWindow::showState()
{
    if (procedure_.destroyed())
        return;
    // The swatches read the records when painted: a changed design repaints them.
    const uint64_t revision = editor_.ws.refresh.designRevision;
    if (list_ != nullptr && revision != shownRevision_)
        list_->viewport()->update();
    shownRevision_ = revision;
    if (status_ != nullptr)
        status_->showState(editor_);
    showModes(editor_);
    showStitchOut();
}

void MainWindow::showStitchOut()
{
    const StitchOut* out = editor_.stitchOut.get();
    if (playSlider_ != nullptr) {
        playSlider_->setVisible(out != nullptr);
        if (out != nullptr) {
            const QSignalBlocker blocker(playSlider_);
            playSlider_->setRange(0, int(std::min<std::size_t>(out->total(), INT32_MAX)));
            playSlider_->setValue(int(std::min<std::size_t>(out->played(), INT32_MAX)));
        }
    }
    if (playTimer_ == nullptr)
        return;
    const bool playing = out != nullptr && out->playing();
    if (playing && !playTimer_->isActive()) {
        playClock_.start();
        playTimer_->start();
    } else if (!playing && playTimer_->isActive()) {
        playTimer_->stop();
    }
}

void MainWindow::playTick()
{
    if (!editor_.stitchOut) {
        playTimer_->stop();
        return;
    }
    editor_.stitchOut->advance(playClock_.restart());
    markCanvasChanged(editor_.ws);
    refresh(editor_.ws, editor_.platform);
    showState();
}

void MainWindow::resizeEvent(QResizeEvent*)
{
    int clientWidth = 0;
    int clientHeight = 0;
    clientSize(clientWidth, clientHeight);
    if (status_ != nullptr)
        status_->setGeometry(0, clientHeight + top_, width(), StatusWidget::kHeight);
    if (auto* bar = findChild<QMenuBar*>(QStringLiteral("menuBar"), Qt::FindDirectChildrenOnly))
        bar->setGeometry(0, 0, width(), top_);
    if (playSlider_ != nullptr)
        playSlider_->setGeometry(width() * 3 / 5, 0, width() * 2 / 5 - 8, StatusWidget::kHeight);
    if (strip_ != nullptr && !procedure_.destroyed())
        send(WindowId::Main, MsgSize, 0, makeParam(uint32_t(clientWidth), uint32_t(clientHeight)));
    layOutSide();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The job aside reads the design a close could free: asked again soon.
    if (runningAside()) {
        event->ignore();
        QTimer::singleShot(100, this, [this] { close(); });
        return;
    }
    if (!procedure_.destroyed()) {
        closing_ = true;
        send(WindowId::Main, MsgClose);
        closing_ = false;
    }
    event->setAccepted(procedure_.destroyed());
}

bool MainWindow::event(QEvent* event)
{
    // Keys released while a modal dialog, another program or the object list
    // had the keyboard never reached the procedure: when the window has the
    // keyboard back, Ctrl and Shift are taken from the keyboard itself.
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowUnblocked:
    case QEvent::FocusIn:
        if (strip_ != nullptr && !procedure_.destroyed())
            adapter_.syncWithKeyboard(WindowId::Main);
        break;
    case QEvent::WindowDeactivate:
        // Buttons let go over another window never reach this one: a drag
        // is put back as Escape puts it back, and no button stays down.
        if (!procedure_.destroyed()) {
            cancelPointerDrag(editor_.ws);
            editor_.ws.input.mouseButtons = 0;
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    adapter_.keyPressed(WindowId::Main, *event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    adapter_.keyReleased(WindowId::Main, *event);
}

void MainWindow::wheelEvent(QWheelEvent* event)
{
    adapter_.wheelTurned(WindowId::Main, *event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel reaches the drawing tools over every window but the object
    // list, which it scrolls.
    if (event->type() == QEvent::Wheel) {
        const auto& wheel = *static_cast<QWheelEvent*>(event);
        if (watched == strip_) {
            adapter_.wheelTurned(WindowId::ToolbarStrip, wheel);
            return true;
        }
        if (watched == panel_) {
            // A turn the list could not use (at its end) comes up to the
            // panel; it does not zoom either.
            if (list_ == nullptr || !list_->geometry().contains(wheel.position().toPoint()))
                adapter_.wheelTurned(WindowId::ListPanel, wheel);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::clientSize(int& width, int& height) const
{
    width = this->width();
    height = std::max(0, this->height() - StatusWidget::kHeight - top_);
}

void MainWindow::createChildWindows(int clientWidth, int clientHeight)
{
    strip_ = makePanel(this, QStringLiteral("Menu"));
    strip_->setGeometry(0, 0, clientWidth + 1, kStripHeight);
    panel_ = makePanel(this, QStringLiteral("List"));
    panel_->setGeometry(clientWidth - procedure_.sideOffset(), kStripHeight, procedure_.sideOffset() + 1,
                        std::max(0, clientHeight - kStripHeight));
    canvas_ = new CanvasWidget(editor_, adapter_, this);
    canvas_->setGeometry(0, kStripHeight, std::max(0, clientWidth - procedure_.sideOffset()),
                         std::max(0, clientHeight - kStripHeight));
    status_ = new StatusWidget(this);
    status_->clicked = [this] {
        commands_.chooseHoop();
        refresh(editor_.ws, editor_.platform);
        showState();
    };
    status_->setGeometry(0, clientHeight, clientWidth, StatusWidget::kHeight);
    playTimer_ = new QTimer(this);
    playTimer_->setInterval(16);
    connect(playTimer_, &QTimer::timeout, this, [this] { playTick(); });
    playSlider_ = new QSlider(Qt::Horizontal, status_);
    playSlider_->setObjectName(QStringLiteral("stitchOutSlider"));
    playSlider_->setFocusPolicy(Qt::NoFocus);
    playSlider_->hide();
    connect(playSlider_, &QSlider::valueChanged, this, [this](int value) {
        if (!editor_.stitchOut)
            return;
        editor_.stitchOut->seek(std::size_t(std::max(0, value)));
        markCanvasChanged(editor_.ws);
        refresh(editor_.ws, editor_.platform);
        showState();
    });
    for (QWidget* child : {strip_, panel_, static_cast<QWidget*>(canvas_), static_cast<QWidget*>(status_)})
        child->show();
    strip_->installEventFilter(this);
    panel_->installEventFilter(this);

    cursor_ = std::make_unique<QtCursor>(canvas_->surface());
    editor_.platform.cursor = cursor_.get();
    editor_.platform.canvas = canvas_;
}

void MainWindow::createObjectList()
{
    list_ = new ObjectListWidget(panel_);
    list_->setObjectName(QStringLiteral("objectList"));
    list_->setGeometry(kListInset, kListInset, procedure_.listWidth(),
                       std::max(0, panel_->height() - 2 * kListInset));
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Workspace& ws = editor_.ws;
    list_->objectCount = [&ws] { return int(ws.table.objectCount); };
    list_->dragStarted = [&ws](int source) { ws.drop.dragSource = source; };
    // A drop arrives outside any message, so it refreshes by itself.
    list_->dropped = [this](int target) {
        // A drop with Shift moves whole groups; the list kept its own Shift keys.
        adapter_.syncWithKeyboard(WindowId::ObjectList);
        dropObjects(editor_.ws, editor_.platform, target);
        // The rebuilt list shows the moved objects still selected.
        showSelectionInList(editor_.ws, editor_.platform);
        refresh(editor_.ws, editor_.platform);
        showState();
    };
    // A double click on an object with the select tool: its press, ended
    // here as a click (the panel may take the release), picks the object,
    // which the panel then shows.
    canvas_->leftDoubleClicked = [this] {
        Workspace& ws = editor_.ws;
        if (ws.tools.toolMode == -1)
            finishPointerDrag(ws, editor_.platform);
        const int32_t row = ws.table.currentObject;
        if (ws.tools.toolMode != -1 || ws.tools.nodeEditing != 0 || row < 0 || !isSelected(ws, row))
            return;
        openPropertiesOf(editor_, row);
        refresh(ws, editor_.platform);
    };
    list_->lineDoubleClicked = [this](int position) {
        openPropertiesOf(editor_, list_->itemData(position));
        refresh(editor_.ws, editor_.platform);
    };
    // The list changes the selection outside any message.
    connect(
        list_, &QListWidget::itemSelectionChanged, this,
        [this] {
            if (properties_ != nullptr)
                properties_->follow();
            showState();
        },
        Qt::QueuedConnection);
    // The user's own changes of the selection reach the procedure as a
    // notification; keys other than the list's own run as hotkeys.
    list_->selectionEdited = [this](int anchor) {
        send(WindowId::ObjectList, MsgCommand, makeParam(uint32_t(anchor), kNotifyListSelectionChanged));
    };
    list_->keyPassed = [this](const QKeyEvent& event, bool pressed) {
        if (pressed)
            adapter_.keyPressed(WindowId::ObjectList, event);
        else
            adapter_.keyReleased(WindowId::ObjectList, event);
    };
    list_->setItemDelegate(new ColourSwatchDelegate(
        [&ws](int32_t row) {
            return row >= 0 && row < ObjectTable::kRows
                       ? objectColour(ws.table.rows[std::size_t(row)], ws.records)
                       : -1;
        },
        list_));
    list_->show();
    editor_.platform.list = list_;
}

QWidget* MainWindow::widgetOf(WindowId window) const
{
    switch (window) {
    case WindowId::Main:
        return const_cast<MainWindow*>(this);
    case WindowId::ToolbarStrip:
        return strip_;
    case WindowId::ListPanel:
        return panel_;
    case WindowId::Canvas:
        return canvas_;
    case WindowId::ObjectList:
        return list_;
    }
    return nullptr;
}

void MainWindow::moveWindow(WindowId window, int x, int y)
{
    // The window's own children sit below the menu bar; the list inside its panel.
    if (QWidget* widget = widgetOf(window))
        widget->move(x, widget->parentWidget() == this ? y + top_ : y);
}

void MainWindow::resizeWindow(WindowId window, int width, int height)
{
    if (QWidget* widget = widgetOf(window))
        widget->resize(std::max(0, width), std::max(0, height));
}

void MainWindow::giveFocus(WindowId window)
{
    QWidget* widget =
        window == WindowId::Canvas && canvas_ != nullptr ? canvas_->surface() : widgetOf(window);
    if (widget != nullptr && !widget->hasFocus())
        widget->setFocus(Qt::OtherFocusReason);
}

void MainWindow::invalidate(WindowId window)
{
    if (window == WindowId::Canvas && canvas_ != nullptr)
        canvas_->invalidateCanvas();
    else if (QWidget* widget = widgetOf(window))
        widget->update();
}

void MainWindow::repaintNow(WindowId window)
{
    QWidget* widget =
        window == WindowId::Canvas && canvas_ != nullptr ? canvas_->surface() : widgetOf(window);
    if (widget != nullptr && widget->isVisible())
        widget->repaint();
}

void MainWindow::createCanvasImage(int width, int height)
{
    if (canvas_ != nullptr)
        canvas_->createImage(width, height);
}

void MainWindow::releaseCanvasImage()
{
    if (canvas_ != nullptr)
        canvas_->releaseImage();
}

void MainWindow::setScrollPosition(bool horizontal, int position)
{
    if (canvas_ != nullptr)
        canvas_->setScrollPosition(horizontal ? Qt::Horizontal : Qt::Vertical, position);
}

void MainWindow::destroyMainWindow()
{
    if (!closing_)
        close();
}

void MainWindow::postQuit(int exitCode)
{
    QCoreApplication::exit(exitCode);
}

} // namespace kelvara
