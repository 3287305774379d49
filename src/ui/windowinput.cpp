#include "model/drawingtool.h"
#include "model/pentool.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "ui/canvasview.h"
#include "ui/commands.h"
#include "ui/drawingtools.h"
#include "ui/editor.h"
#include "ui/pentool.h"
#include "ui/selecttool.h"
#include "ui/windowprocedure.h"

namespace kelvara {

namespace {

// Hotkeys answer where the user types at the editor itself; the object list
// passes on every key but those that move through its lines.
constexpr bool takesHotkeys(WindowId window)
{
    return window == WindowId::Main || window == WindowId::Canvas || window == WindowId::ToolbarStrip ||
           window == WindowId::ObjectList;
}

constexpr uint32_t upperCase(uint32_t c)
{
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

// Commands that have a key but no toolbar picture.
struct KeyCommand {
    uint32_t keyCode;
    int32_t needsCtrl;
    void (*run)(Commands&);
};

constexpr KeyCommand kKeyCommands[] = {
    {'L', 0, [](Commands& c) { c.toggleThreadView(); }},
    {'B', 0, [](Commands& c) { c.chooseHoop(); }},
    {'A', 0, [](Commands& c) { c.toggleStitchOut(); }},
    {VkF1, 0, [](Commands& c) { c.showHelp(); }},
    {'Q', 1, [](Commands& c) { c.quit(); }},
};

} // namespace

bool WindowProcedure::runHotkey(uint32_t keyCode, int32_t ctrl)
{
    for (const KeyCommand& key : kKeyCommands) {
        if (key.keyCode == keyCode && key.needsCtrl == ctrl) {
            finishPointerDrag(editor_.ws, editor_.platform);
            key.run(commands_);
            return true;
        }
    }
    for (ButtonEntry& entry : editor_.buttons.rows) {
        if (uint32_t(entry.keyCode) == keyCode && entry.needsCtrl == ctrl && entry.handler) {
            // A command acts on what the drag made, not on half of it.
            finishPointerDrag(editor_.ws, editor_.platform);
            // A copy: the handler may rebuild what holds it.
            const auto handler = entry.handler;
            handler();
            return true;
        }
    }
    return false;
}

bool WindowProcedure::undoRedoHotkey(uint32_t key)
{
    const bool undo = key == 'Z' && editor_.ws.input.shiftDown == 0;
    if (!undo && key != 'Z' && key != 'Y')
        return false;
    finishPointerDrag(editor_.ws, editor_.platform);
    if (undo)
        commands_.undo();
    else
        commands_.redo();
    return true;
}

void WindowProcedure::keyDown(uint32_t key)
{
    Workspace& ws = editor_.ws;
    // The simulator takes its keys on their release; Escape leaves it then.
    if (editor_.stitchOut && key == VkEscape)
        return;
    switch (key) {
    case VkControl:
        ws.input.ctrlDown = 1;
        break;
    case VkShift:
        ws.input.shiftDown = 1;
        if (ws.tools.rubberBand.active != 0)
            markRepaint(ws);
        followShift();
        break;
    case VkEscape:
        // During a drag Escape undoes only the drag.
        if (cancelPointerDrag(ws))
            break;
        // A tool that stays ready drops only the points clicked so far.
        if (ws.settings.TOOLSTAYS != 0 && dropCollected(ws.tools)) {
            markRepaint(ws);
            break;
        }
        // The handles are drawn with the objects: they go with a new render.
        if (ws.tools.nodeEditing != 0)
            markCanvasChanged(ws);
        ws.tools.nodeEditing = 0;
        markCursor(ws, kArrowCursor);
        abandonDrawing(ws.tools);
        ws.view.clickNote.clear();
        // Nothing is current, so nothing stays selected either: a command
        // after Escape must not act on objects the user let go of.
        ws.table.currentObject = -1;
        if (selectedCount(ws) > 0) {
            clearSelection(ws);
            showSelectionInList(ws, editor_.platform);
        }
        // With nothing clicked, Escape leaves the tool for the select arrow
        // rather than for no tool, whose clicks would do nothing.
        if (ws.settings.TOOLSTAYS != 0)
            kelvara::selectTool(ws, editor_.platform, -1);
        markRepaint(ws);
        break;
    default:
        // Ctrl as it was at the press decides the key's hotkey, not Ctrl at
        // the release.
        ws.input.ctrlChordKey = ws.input.ctrlDown != 0 ? key : 0;
        break;
    }
}

void WindowProcedure::keyUp(WindowId window, uint32_t key)
{
    Workspace& ws = editor_.ws;
    // The simulator never changes the design: while it runs, only its own
    // keys (and Shift and Ctrl) do anything.
    if (editor_.stitchOut && key != VkShift && key != VkControl) {
        // The A that started it was its keystroke's character.
        if (!editor_.keystroke.releaseRuns(key))
            return;
        if (ws.input.ctrlDown == 0 || !viewHotkey(ws, editor_.platform, key))
            commands_.stitchOutKey(key, ws.input.shiftDown != 0);
        return;
    }
    switch (key) {
    case VkControl:
        ws.input.ctrlDown = 0;
        return;
    case VkShift:
        ws.input.shiftDown = 0;
        if (ws.tools.rubberBand.active != 0)
            markRepaint(ws);
        followShift();
        return;
    case VkLeft:
    case VkUp:
    case VkRight:
    case VkDown:
        if (arrowKeyScroll(ws.view, key, ws.input.shiftDown)) {
            const bool horizontal = key == VkLeft || key == VkRight;
            host_.setScrollPosition(horizontal, horizontal ? ws.view.scrollX : ws.view.scrollY);
            markCanvasChanged(ws);
        }
        return;
    default:
        const int32_t ctrl = ws.input.ctrlChordKey == key ? 1 : 0;
        ws.input.ctrlChordKey = 0;
        if (!takesHotkeys(window))
            return;
        if (ctrl != 0 && (viewHotkey(ws, editor_.platform, key) || undoRedoHotkey(key)))
            return;
        if (ctrl == 0 && penKey(ws, editor_.platform, key))
            return;
        if (editor_.keystroke.releaseRuns(key))
            runHotkey(key, ctrl);
        return;
    }
}

void WindowProcedure::character(WindowId window, uint32_t code)
{
    if (editor_.ws.input.ctrlDown != 0 || !takesHotkeys(window) || editor_.stitchOut)
        return;
    // The pen takes Backspace and Enter on their release alone.
    if (penActive(editor_.ws.tools) && (code == 8 || code == VkReturn))
        return;
    if (runHotkey(upperCase(code & 0xFFu), 0))
        editor_.keystroke.ranOnCharacter();
}

void WindowProcedure::command(uint64_t wParam)
{
    const uint32_t notification = highWord(wParam);
    const uint32_t id = lowWord(wParam);
    // The list keeps the focus while the user selects in it.
    if (notification == kNotifyListSelectionChanged) {
        takeListSelection(editor_.ws, editor_.platform, id == 0xFFFFu ? -1 : int(id));
        return;
    }
    // A lost focus of the object list (notification 5) changes nothing here.
    if (notification != kNotifyClicked)
        return;
    host_.giveFocus(WindowId::Main);
    if (editor_.stitchOut)
        return;
    if (id < uint32_t(ButtonTable::kRows) && editor_.buttons.rows[id].handler) {
        finishPointerDrag(editor_.ws, editor_.platform);
        const auto handler = editor_.buttons.rows[id].handler;
        handler();
    }
}

void WindowProcedure::mouseButton(uint32_t message, uint64_t wParam, int64_t lParam)
{
    Workspace& ws = editor_.ws;
    const auto delta = message == MsgMouseWheel ? int32_t(int16_t(highWord(wParam))) : 0;
    // Left of or above the canvas the halves are negative.
    const auto x = int32_t(int16_t(lowWord(uint64_t(lParam))));
    const auto y = int32_t(int16_t(highWord(uint64_t(lParam))));
    const int32_t ctrl = (wParam & kMouseControlFlag) != 0 ? 1 : 0;
    const int32_t shift = (wParam & kMouseShiftFlag) != 0 ? 1 : 0;
    // While the simulator runs the tools wait; the wheel still zooms.
    if (!editor_.stitchOut || message == MsgMouseWheel)
        toolEvent(ws, editor_.platform, x, y, message, delta, ctrl, shift);
    else if (message == MsgLButtonUp)
        ws.view.clickNote = kelvara::message(ws, kSlotStitchOutPlaying);

    switch (message) {
    case MsgLButtonDown:
        ws.input.mouseButtons |= 1;
        break;
    case MsgLButtonUp:
        ws.input.mouseButtons &= ~1;
        break;
    case MsgRButtonDown:
        ws.input.mouseButtons |= 2;
        break;
    case MsgRButtonUp:
        ws.input.mouseButtons &= ~2;
        break;
    case MsgMButtonDown:
        ws.input.mouseButtons |= 4;
        break;
    case MsgMButtonUp:
        ws.input.mouseButtons &= ~4;
        break;
    default:
        break;
    }
    // A wheel message carries a screen position, which is no canvas
    // position: the cross-hair and the rubber band stay where the pointer is.
    if (message == MsgMouseWheel)
        return;
    ws.view.mouseX = x;
    ws.view.mouseY = y;
}

void WindowProcedure::mouseMove(uint64_t wParam, int64_t lParam)
{
    Workspace& ws = editor_.ws;
    // The cursor is shown again on every move: a tool may have changed it
    // while the pointer was elsewhere.
    markCursor(ws, ws.cursorNumber);
    ws.view.mouseX = int32_t(int16_t(lowWord(uint64_t(lParam))));
    ws.view.mouseY = int32_t(int16_t(highWord(uint64_t(lParam))));
    // A left button let go outside the canvas sent no release here.
    if ((wParam & kMouseLeftFlag) == 0)
        ws.input.mouseButtons &= ~1;
    host_.giveFocus(WindowId::Canvas);
    if (ws.settings.CROSS != 0 || ws.tools.rubberBand.active != 0)
        markRepaint(ws);
    if (!editor_.stitchOut)
        toolEvent(ws, editor_.platform, ws.view.mouseX, ws.view.mouseY, MsgMouseMove, 0, ws.input.ctrlDown,
                  ws.input.shiftDown);
}

void WindowProcedure::followShift()
{
    Workspace& ws = editor_.ws;
    if (ws.tools.pointer.state == SelectState::DraggingNode || ws.tools.pointer.state == SelectState::Moving)
        selectToolEvent(ws, editor_.platform, MsgMouseMove, ws.view.mouseX, ws.view.mouseY);
}

void WindowProcedure::scroll(bool horizontal, uint64_t wParam)
{
    Workspace& ws = editor_.ws;
    ViewState& view = ws.view;
    int32_t& offset = horizontal ? view.scrollX : view.scrollY;
    offset = scrollOffset(offset, horizontal ? view.canvasWidth : view.canvasHeight, view.ratio(),
                          lowWord(wParam), scrollPosition(wParam), horizontal ? view.reach.left : view.reach.top,
                          horizontal ? view.reach.right : view.reach.bottom);
    host_.setScrollPosition(horizontal, offset);
    markCanvasChanged(ws);
}

void WindowProcedure::repeatRightButton()
{
    Workspace& ws = editor_.ws;
    if (isDrawing(ws.tools) && (ws.input.mouseButtons & 2) != 0) {
        toolEvent(ws, editor_.platform, ws.view.mouseX, ws.view.mouseY, MsgRButtonDown, 0, ws.input.ctrlDown,
                  ws.input.shiftDown);
        refresh(ws, editor_.platform);
    }
}

} // namespace kelvara
