#include "ui/windowprocedure.h"

#include "model/drawingtool.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "project/recoveryfile.h"
#include "project/unsavedchanges.h"
#include "shell/settings.h"
#include "shell/texts.h"
#include "ui/editor.h"
#include "ui/toolbar.h"
#include "ui/toolbarpicture.h"
#include "ui/windowlayout.h"

#include <algorithm>

namespace kelvara {

namespace {

constexpr bool isMain(WindowId window)
{
    return window == WindowId::Main;
}

} // namespace

void applyMinimumSize(uint32_t edge, SizingRect& rect)
{
    const bool bottomRight = edge == kSizingBottomRight;
    if (rect.bottom - rect.top < kMinimumOuterSize)
        rect.bottom = rect.top + kMinimumOuterSize;
    if (!bottomRight) {
        if (rect.bottom - rect.top < kMinimumOuterSize)
            rect.top = rect.bottom - kMinimumOuterSize;
        if (rect.top < 0) {
            rect.bottom -= rect.top;
            rect.top = 0;
        }
    }
    if (rect.right - rect.left < kMinimumOuterSize)
        rect.right = rect.left + kMinimumOuterSize;
    if (!bottomRight && rect.right - rect.left < kMinimumOuterSize)
        rect.left = rect.right - kMinimumOuterSize;
    if (rect.left < 0) {
        rect.right -= rect.left;
        rect.left = 0;
    }
}

int64_t WindowProcedure::dispatch(WindowId window, uint32_t message, uint64_t wParam, int64_t lParam)
{
    const int64_t result = handle(window, message, wParam, lParam);
    // What the message changed is shown once, now that it is done; after
    // the window is gone there is nothing left to show it on.
    if (!destroyed_) {
        refresh(editor_.ws, editor_.platform);
        if (editor_.ws.settings.QUICKSAVE != 0)
            editor_.platform.title->setModified(hasUnsavedChanges(editor_.ws));
        scheduleRecovery();
    }
    return result;
}

int64_t WindowProcedure::handle(WindowId window, uint32_t message, uint64_t wParam, int64_t lParam)
{
    switch (message) {
    case MsgCreate:
        return isMain(window) ? create() : 0;
    case MsgDestroy:
        if (isMain(window))
            shutdown();
        return 0;
    case MsgSize:
        if (isMain(window))
            layout(int(lowWord(uint64_t(lParam))), int(highWord(uint64_t(lParam))));
        return 0;
    case MsgPaint:
        if (isMain(window)) {
            host_.repaintNow(WindowId::Canvas);
            host_.repaintNow(WindowId::ListPanel);
            host_.repaintNow(WindowId::ToolbarStrip);
        } else if (window != WindowId::ObjectList) {
            host_.repaintNow(window);
        }
        return 0;
    case MsgTimer:
        writeRecovery();
        return 0;
    case MsgClose:
        close();
        return 0;
    case MsgEraseBackground:
        return 1;
    case MsgKeyDown:
        // Shift or Ctrl going down mid-keystroke leaves the letter's release
        // to the letter.
        if (wParam != VkShift && wParam != VkControl)
            editor_.keystroke.pressed(uint32_t(wParam));
        keyDown(uint32_t(wParam));
        return 0;
    case MsgKeyUp:
        keyUp(window, uint32_t(wParam));
        return 0;
    case MsgChar:
        character(window, uint32_t(wParam));
        return 0;
    case MsgCommand:
        command(wParam);
        return 0;
    case MsgHScroll:
    case MsgVScroll:
        if (window == WindowId::Canvas)
            scroll(message == MsgHScroll, wParam);
        return 0;
    case MsgMouseMove:
        if (window == WindowId::Canvas)
            mouseMove(wParam, lParam);
        return 0;
    case MsgLButtonDown:
    case MsgLButtonUp:
    case MsgRButtonDown:
    case MsgRButtonUp:
    case MsgMButtonDown:
    case MsgMButtonUp:
        if (window == WindowId::Canvas)
            mouseButton(message, wParam, lParam);
        return 0;
    case MsgMouseWheel:
        mouseButton(message, wParam, lParam);
        return 0;
    case MsgSizing:
        if (isMain(window) && lParam != 0) {
            applyMinimumSize(uint32_t(wParam), *reinterpret_cast<SizingRect*>(lParam));
            host_.invalidate(WindowId::Canvas);
            host_.invalidate(WindowId::ListPanel);
            host_.invalidate(WindowId::ToolbarStrip);
        }
        return 0;
    default:
        return 0;
    }
}

int64_t WindowProcedure::create()
{
    Workspace& ws = editor_.ws;
    const Platform& platform = editor_.platform;

    int clientWidth = 0;
    int clientHeight = 0;
    host_.clientSize(clientWidth, clientHeight);
    host_.createChildWindows(clientWidth, clientHeight);

    ws.view.canvasWidth = clientWidth - sideOffset();
    ws.view.canvasHeight = clientHeight - kStripHeight;
    ws.refresh.scrollBars = true;
    refresh(ws, platform);

    const ToolbarPicture picture = loadToolbarPicture(ws.programFolder + kToolbarPictureFileName);
    if (picture.status != ToolbarPicture::Status::Loaded) {
        if (picture.status == ToolbarPicture::Status::FailWithMessage)
            platform.boxes->showError("!!!", "BUTTONS.BMP");
        exitCode_ = 1;
        return -1;
    }
    buildToolbar(editor_.buttons, host_.toolbarStrip(), picture.image, ws.lines, ws.programFolder, commands_);

    host_.createObjectList();

    ws.table.rows.fill(ObjectEntry{});
    ws.table.firstObject = 0;
    ws.view.mouseX = -1;
    ws.view.mouseY = -1;

    // The first drawing uses the built-in settings: the configuration is
    // read only afterwards.
    host_.createCanvasImage(ws.view.canvasWidth, ws.view.canvasHeight);
    markCanvasChanged(ws);
    refresh(ws, platform);
    ws.rememberedFileName.clear();
    ws.fileStamp = {};
    host_.repaintNow(WindowId::Canvas);

    readConfiguration(ws.settings, ws.lines, ws.tokens, ws.programFolder);
    editor_.stitchView = ws.settings.STITCHVIEW != 0;
    editor_.threadView = ws.settings.THREADVIEW != 0;

    resetTools(ws.tools);
    resetJournal(ws.journal);
    markDesignSaved(ws);

    // Last, so that the line table holds the messages from now on.
    loadMessages(ws.lines, ws.programFolder);
    return 0;
}

void WindowProcedure::layout(int width, int height)
{
    ViewState& view = editor_.ws.view;
    host_.resizeWindow(WindowId::ToolbarStrip, width + 1, kStripHeight);
    host_.moveWindow(WindowId::ListPanel, width - sideOffset(), kStripHeight);
    host_.resizeWindow(WindowId::ListPanel, sideOffset() + 1, height - kStripHeight);
    host_.resizeWindow(WindowId::Canvas, width - sideOffset(), height - kStripHeight);
    host_.resizeWindow(WindowId::ObjectList, listWidth_, height - kStripHeight - 2 * kListInset);

    view.canvasWidth = width - sideOffset();
    view.canvasHeight = height - kStripHeight;
    host_.createCanvasImage(view.canvasWidth, view.canvasHeight);
    markViewChanged(editor_.ws);
}

void WindowProcedure::setSideWidths(int listWidth, int dockWidth)
{
    listWidth_ = std::max(0, listWidth);
    dockWidth_ = std::max(0, dockWidth);
}

void WindowProcedure::close()
{
    Workspace& ws = editor_.ws;
    if (!settleUnsavedChanges(ws, editor_.platform, kSlotCloseCaption, kSlotCloseQuestion))
        return;
    destroyed_ = true;
    dispatch(WindowId::Main, MsgDestroy, 0, 0);
    host_.destroyMainWindow();
}

void WindowProcedure::shutdown()
{
    Workspace& ws = editor_.ws;
    // Every used row, wherever it lies: rows freed in the middle of the
    // table leave used rows beyond objectCount.
    clearTable(ws.table, ws.records);
    // A clean exit leaves nothing to recover.
    if (editor_.recovery != nullptr)
        editor_.recovery->remove();
    releaseBackgroundPicture(ws.picture);
    host_.releaseCanvasImage();
    for (ButtonEntry& entry : editor_.buttons.rows)
        entry.image = QImage();
    host_.postQuit(0);
}

} // namespace kelvara
