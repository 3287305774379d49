#pragma once

#include "ui/messages.h"
#include "ui/windowlayout.h"

#include <cstdint>

class QWidget;

namespace kelvara {

struct Editor;
class Commands;

// The outer window rectangle that MsgSizing proposes, changed in place.
struct SizingRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Keeps the outer window at 256 x 256 or more while an edge is dragged.
void applyMinimumSize(uint32_t edge, SizingRect& rect);

// What the procedure does to the windows themselves. The main window
// implements it with widgets.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual void clientSize(int& width, int& height) const = 0;
    // The toolbar strip, the list panel and the canvas window.
    virtual void createChildWindows(int clientWidth, int clientHeight) = 0;
    virtual QWidget* toolbarStrip() = 0;
    // The object list box inside the list panel; it becomes the list seam.
    virtual void createObjectList() = 0;
    virtual void moveWindow(WindowId window, int x, int y) = 0;
    virtual void resizeWindow(WindowId window, int width, int height) = 0;
    virtual void giveFocus(WindowId window) = 0;
    virtual void invalidate(WindowId window) = 0;
    virtual void repaintNow(WindowId window) = 0;

    virtual void createCanvasImage(int width, int height) = 0;
    virtual void releaseCanvasImage() = 0;
    virtual void setScrollPosition(bool horizontal, int position) = 0;

    // Removes the main window after the procedure has shut down.
    virtual void destroyMainWindow() = 0;
    virtual void postQuit(int exitCode) = 0;
};

// The one window procedure of the editor's four windows: creation, layout,
// keys and hotkeys, mouse, scrolling, commands, closing and shutdown.
class WindowProcedure {
public:
    WindowProcedure(Editor& editor, WindowHost& host, Commands& commands)
        : editor_(editor), host_(host), commands_(commands)
    {
    }

    int64_t dispatch(WindowId window, uint32_t message, uint64_t wParam, int64_t lParam);

    // The message loop's step after every message: while the right button
    // is held on the canvas with a drawing tool active, the tools get one
    // more right-button event at the last mouse position.
    void repeatRightButton();

    // After a change of the design the timer is started, once: when it runs
    // out (MsgTimer) the design goes to the recovery file, never on the
    // way of a mouse movement.
    void scheduleRecovery();

    // The right side's parts: the object list's width and, beside it, the
    // docked properties panel's (0 for none). The canvas takes the rest;
    // the next size message lays the windows out anew.
    void setSideWidths(int listWidth, int dockWidth);
    int listWidth() const { return listWidth_; }
    int dockWidth() const { return dockWidth_; }
    // The side's left edge from the client's right edge.
    int sideOffset() const { return listWidth_ + dockWidth_ + (kPanelOffset - kListWidth); }

    // 1 after the toolbar picture could not be used (creation then stops).
    int exitCode() const { return exitCode_; }
    bool destroyed() const { return destroyed_; }

private:
    int64_t handle(WindowId window, uint32_t message, uint64_t wParam, int64_t lParam);
    int64_t create();
    void layout(int width, int height);
    void keyDown(uint32_t key);
    void keyUp(WindowId window, uint32_t key);
    void character(WindowId window, uint32_t code);
    void command(uint64_t wParam);
    void mouseButton(uint32_t message, uint64_t wParam, int64_t lParam);
    void mouseMove(uint64_t wParam, int64_t lParam);
    void scroll(bool horizontal, uint64_t wParam);
    // Shift pressed or let go while a handle is dragged: the point follows.
    void followShift();
    void close();
    void shutdown();
    // Runs the first row's handler whose key and Ctrl flag match; false
    // when none does.
    bool runHotkey(uint32_t keyCode, int32_t ctrl);
    void writeRecovery();
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, the keys other editors use for Undo
    // and Redo, beside the table's own; true when `key` was one of them.
    bool undoRedoHotkey(uint32_t key);

    Editor& editor_;
    WindowHost& host_;
    Commands& commands_;
    int exitCode_ = 0;
    bool destroyed_ = false;
    int listWidth_ = kListWidth;
    int dockWidth_ = 0;
};

} // namespace kelvara
