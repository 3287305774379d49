#pragma once

#include "ui/commands.h"
#include "ui/letteringdialog.h"
#include "ui/editor.h"
#include "ui/qtadapter.h"
#include "ui/qtplatform.h"
#include "ui/windowprocedure.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>

namespace kelvara {

struct Workspace;
class CanvasWidget;
class SideGrip;
class ObjectListWidget;
class PropertiesPanel;
class StatusWidget;
}
class QDockWidget;
class QSlider;
class QTimer;
namespace kelvara {

// The main window: toolbar strip on top, object list panel on the right,
// canvas in the rest. Its widgets turn Qt events into the window
// procedure's messages; the procedure decides everything else.
class MainWindow : public QWidget, private WindowHost {
    Q_OBJECT
public:
    explicit MainWindow(Workspace& ws, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the creation sequence at 640 x 480. 0 when the window is ready,
    // otherwise the program's exit code.
    int create();

    // Opens a project (or picture) named at start-up, as Open would.
    void openDesign(const QString& path);
    // The status bar and the list's swatches follow what a message (or a
    // design opened outside one) changed.
    void showState();

    int64_t send(WindowId window, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0);

    Editor& editor() { return editor_; }
    WindowProcedure& procedure() { return procedure_; }
    CanvasWidget* canvasWindow() const { return canvas_; }
    QWidget* toolbarStripWindow() const { return strip_; }
    QWidget* listPanelWindow() const { return panel_; }
    ObjectListWidget* objectList() const { return list_; }
    // The properties panel, made when it first opens (docked: with the window).
    PropertiesPanel& propertiesPanel();
    // The dock holding the panel beside the list (DOCKPANEL), or null.
    QDockWidget* propertiesDock() const { return dock_; }
    // The list's width, as dragging its grip sets it (LISTWORDS).
    void setListWidth(int width);
    StatusWidget* statusBar() const { return status_; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    // WindowHost
    void clientSize(int& width, int& height) const override;
    void createChildWindows(int clientWidth, int clientHeight) override;
    QWidget* toolbarStrip() override { return strip_; }
    void createObjectList() override;
    void moveWindow(WindowId window, int x, int y) override;
    void resizeWindow(WindowId window, int width, int height) override;
    void giveFocus(WindowId window) override;
    void invalidate(WindowId window) override;
    void repaintNow(WindowId window) override;
    void createCanvasImage(int width, int height) override;
    void releaseCanvasImage() override;
    void setScrollPosition(bool horizontal, int position) override;
    void destroyMainWindow() override;
    void postQuit(int exitCode) override;

    QWidget* widgetOf(WindowId window) const;
    Editor editor_;
    Commands commands_;
    QtEventAdapter adapter_;
    WindowProcedure procedure_;
    QtMessageBoxes boxes_;
    QtFileDialogs files_;
    QtColourDialog colours_;
    QtLetteringDialog lettering_;
    QtClipboard clipboard_;
    QtWindowTitle title_;
    QtMessageTimer timer_;
    std::unique_ptr<QtCursor> cursor_;

    QWidget* strip_ = nullptr;
    QWidget* panel_ = nullptr;
    CanvasWidget* canvas_ = nullptr;
    ObjectListWidget* list_ = nullptr;
    PropertiesPanel* properties_ = nullptr;
    StatusWidget* status_ = nullptr;
    // The simulator's clock and its slider over the whole stitch-out.
    QTimer* playTimer_ = nullptr;
    QElapsedTimer playClock_;
    QSlider* playSlider_ = nullptr;
    void showStitchOut();
    void playTick();
    uint64_t shownRevision_ = 0;
    bool closing_ = false;
    // The menu bar's height above the toolbar strip; 0 without MENUBAR.
    int top_ = 0;
    void createMenuBar();
    // The list in words with its grip (LISTWORDS), the docked panel
    // (DOCKPANEL), and where both lie in the list panel.
    QDockWidget* dock_ = nullptr;
    SideGrip* grip_ = nullptr;
    void createListWords();
    void createDock();
    void showDock(bool shown);
    void layOutSide();
};

} // namespace kelvara
