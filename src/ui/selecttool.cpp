#include "ui/selecttool.h"

#include "model/curvesplit.h"
#include "model/drawingtool.h"
#include "model/journal.h"
#include "model/recordgeometry.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/shiftrule.h"
#include "model/splitobject.h"
#include "model/transformselection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "stitch/objectpicking.h"
#include "ui/drawingtools.h"
#include "ui/messages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kelvara {

namespace {

using stitch::Vec;

// Pixels the pointer may wander from the press before a click becomes a box.
constexpr int32_t kBoxThreshold = 3;

// The pick tolerance, kPickTolerance canvas pixels, in design units.
double pickTolerance(const ViewState& view)
{
    return view.ratio().exactUnits(kPickTolerance);
}

// The design position under canvas pixel (x, y), unrounded.
Vec designAt(const ViewState& view, int32_t x, int32_t y)
{
    return {view.ratio().exactUnits(double(x) + view.scrollX), view.ratio().exactUnits(double(y) + view.scrollY)};
}

// The whole design unit a click at canvas pixel (x, y) stores.
Vec designUnitAt(const ViewState& view, int32_t x, int32_t y)
{
    return {double(std::clamp<int64_t>(view.designX(x), 0, kDesignArea)),
            double(std::clamp<int64_t>(view.designY(y), 0, kDesignArea))};
}

ObjectParams* currentParams(Workspace& ws, int32_t row)
{
    if (row < 0 || row >= ObjectTable::kRows)
        return nullptr;
    const ObjectEntry& entry = ws.table.rows[row];
    if (entry.kind == KindFree || !ws.records.isLive(entry.params))
        return nullptr;
    return &ws.records[entry.params];
}

// The current object's handle within the tolerance of (x, y), the nearest
// one; -1 for none.
int32_t handleAt(Workspace& ws, int32_t x, int32_t y)
{
    const int32_t row = ws.table.currentObject;
    const ObjectParams* params = currentParams(ws, row);
    if (params == nullptr)
        return -1;
    const ViewState& view = ws.view;
    const ObjectHandles handles = objectHandles(ws.table.rows[row].kind, *params);
    int32_t best = -1;
    double bestDistance = kPickTolerance;
    for (int i = 0; i < handles.count; ++i) {
        const double hx = view.canvasX(handles.items[size_t(i)].x);
        const double hy = view.canvasY(handles.items[size_t(i)].y);
        const double distance = std::hypot(hx - x, hy - y);
        if (distance <= bestDistance) {
            best = int32_t(i);
            bestDistance = distance;
        }
    }
    return best;
}

// The dragged point follows the pointer by whole design units from where
// it was pressed; Shift holds it to the lines the drawing tools allow.
void moveNode(Workspace& ws, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    ObjectParams* params = currentParams(ws, drag.handleRow);
    const int32_t kind = ws.table.rows[drag.handleRow].kind;
    const ObjectHandles handles = objectHandles(kind, drag.before);
    if (params == nullptr || drag.handle >= handles.count)
        return;
    const ObjectHandle& handle = handles.items[size_t(drag.handle)];
    const Vec at{handle.x, handle.y};
    Vec to = at + (designUnitAt(ws.view, x, y) - designUnitAt(ws.view, drag.startX, drag.startY));
    if (ws.input.shiftDown != 0) {
        const Vec anchor = stitch::shiftAnchor(handles, handle, at);
        constrainToShift(anchor.x, anchor.y, to.x, to.y);
    }
    to = {std::round(to.x), std::round(to.y)};

    ObjectParams moved = drag.before;
    if (!moveHandle(kind, moved, handle, to.x, to.y))
        return;
    if (std::memcmp(moved.bytes, params->bytes, sizeof moved.bytes) == 0)
        return;
    *params = moved;
    drag.moved = 1;
    markDesignChanged(ws);
}

// A click on a path's node without moving it: with Ctrl it goes, with
// Shift it switches between corner and smooth.
void editClickedNode(Workspace& ws)
{
    PointerDrag& drag = ws.tools.pointer;
    ObjectParams* params = currentParams(ws, drag.handleRow);
    if (params == nullptr || drag.moved != 0 || (ws.input.ctrlDown == 0 && ws.input.shiftDown == 0))
        return;
    const int32_t kind = ws.table.rows[drag.handleRow].kind;
    const ObjectHandles handles = objectHandles(kind, drag.before);
    if (drag.handle < 0 || drag.handle >= handles.count)
        return;
    ObjectParams edited = drag.before;
    if (!editNode(kind, edited, handles.items[size_t(drag.handle)],
                  ws.input.ctrlDown != 0 ? NodeEdit::Delete : NodeEdit::Switch))
        return;
    *params = edited;
    drag.moved = 1;
    markDesignChanged(ws);
}

// The drag is one undo step holding the record as it was at the press.
void commitNode(Workspace& ws, const Platform& platform)
{
    PointerDrag& drag = ws.tools.pointer;
    ObjectParams* params = currentParams(ws, drag.handleRow);
    if (params == nullptr || drag.moved == 0 ||
        std::memcmp(params->bytes, drag.before.bytes, sizeof drag.before.bytes) == 0)
        return;
    UndoStep step(ws, platform);
    step.willSaveRecord(drag.handleRow);
    if (!step.open()) {
        *params = drag.before;
        return;
    }
    const ObjectParams moved = *params;
    *params = drag.before;
    step.recordBytes(drag.handleRow);
    *params = moved;
    markDesignChanged(ws);
}

// The held selection follows the pointer by whole design units; Shift
// keeps the move horizontal, vertical or at 45 degrees.
void moveSelection(Workspace& ws, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    const Vec to = designUnitAt(ws.view, x, y), from = designUnitAt(ws.view, drag.startX, drag.startY);
    auto dx = int32_t(to.x - from.x), dy = int32_t(to.y - from.y);
    if (ws.input.shiftDown != 0)
        constrainToShift(0, 0, dx, dy);
    placeHeldSelection(ws, drag.held, dx, dy);
}

// Insert point: the topmost selected line within reach of the click is cut
// where the click meets it.
void insertPointAt(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    const Vec at = designAt(ws.view, x, y);
    const double tolerance = pickTolerance(ws.view);
    const std::vector<int32_t> rows = selectedRows(ws);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const ObjectParams* params = currentParams(ws, *it);
        if (params == nullptr)
            continue;
        // A path takes a new node where the click meets it.
        if (ObjectParams added = *params; insertNode(ws.table.rows[*it].kind, added, at.x, at.y, tolerance)) {
            writeObjects(ws, platform, {*it}, {}, {added});
            return;
        }
        const double t = splitParameterAt(ws.table.rows[*it].kind, *params, at.x, at.y, tolerance);
        if (t >= 0) {
            splitObjectAt(ws, platform, *it, t);
            return;
        }
    }
    ws.view.clickNote = message(ws, rows.empty() ? kSlotInsertSelectFirst : kSlotInsertMissed);
}

void pickBox(Workspace& ws, int32_t x, int32_t y)
{
    const PointerDrag& drag = ws.tools.pointer;
    const std::vector<int32_t> rows = stitch::objectsInBox(
        ws.table, ws.records, designAt(ws.view, drag.startX, drag.startY), designAt(ws.view, x, y));
    if (ws.input.shiftDown == 0)
        clearSelection(ws);
    for (int32_t row : rows)
        setSelected(ws, row, true);
}

void pickAt(Workspace& ws, int32_t x, int32_t y)
{
    const int32_t row = stitch::objectAt(ws.table, ws.records, designAt(ws.view, x, y),
                                         pickTolerance(ws.view));
    if (ws.input.shiftDown != 0) {
        if (row >= 0)
            toggleSelected(ws, row);
        return;
    }
    selectOnly(ws, row);
    // Nothing picked is nothing current: Delete then deletes nothing, and
    // a new object goes to the end.
    if (row < 0)
        ws.table.currentObject = -1;
}

bool beyondThreshold(const PointerDrag& drag, int32_t x, int32_t y)
{
    return std::abs(x - drag.startX) > kBoxThreshold || std::abs(y - drag.startY) > kBoxThreshold;
}

// The press: the state the tool takes from where it lands.
void press(Workspace& ws, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    drag = PointerDrag{};
    drag.startX = x;
    drag.startY = y;
    if (ws.tools.nodeEditing != 0) {
        drag.handle = handleAt(ws, x, y);
        if (drag.handle >= 0) {
            drag.handleRow = ws.table.currentObject;
            drag.before = *currentParams(ws, drag.handleRow);
            drag.state = SelectState::DraggingNode;
            return;
        }
    }
    if (ws.tools.insertingPoint != 0) {
        drag.state = SelectState::InsertingPoint;
        return;
    }
    const int32_t row = stitch::objectAt(ws.table, ws.records, designAt(ws.view, x, y),
                                         pickTolerance(ws.view));
    drag.state = row >= 0 && isSelected(ws, row) ? SelectState::OnSelection : SelectState::Picking;
}

// The pointer moved with the button down.
void drag(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    switch (drag.state) {
    case SelectState::DraggingNode:
        moveNode(ws, x, y);
        break;
    case SelectState::OnSelection:
        if (!beyondThreshold(drag, x, y))
            break;
        if (!holdSelection(ws, platform, drag.held)) {
            drag = PointerDrag{};
            break;
        }
        drag.state = SelectState::Moving;
        moveSelection(ws, x, y);
        break;
    case SelectState::Moving:
        moveSelection(ws, x, y);
        break;
    case SelectState::Picking:
        if (!beyondThreshold(drag, x, y))
            break;
        drag.state = SelectState::BoxSelecting;
        markRepaint(ws);
        break;
    case SelectState::BoxSelecting:
        markRepaint(ws);
        break;
    case SelectState::Idle:
    case SelectState::InsertingPoint:
        break;
    }
}

// The release: what the state leads to, then back to idle.
void release(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    switch (drag.state) {
    case SelectState::Moving:
        commitHeldSelection(ws, platform, drag.held);
        break;
    case SelectState::DraggingNode:
        editClickedNode(ws);
        commitNode(ws, platform);
        break;
    case SelectState::InsertingPoint:
        insertPointAt(ws, platform, x, y);
        break;
    case SelectState::BoxSelecting:
        pickBox(ws, x, y);
        showSelectionInList(ws, platform);
        break;
    case SelectState::Picking:
    case SelectState::OnSelection:
        pickAt(ws, drag.startX, drag.startY);
        showSelectionInList(ws, platform);
        break;
    case SelectState::Idle:
        break;
    }
    drag = PointerDrag{};
    markRepaint(ws);
}

} // namespace

void selectToolEvent(Workspace& ws, const Platform& platform, uint32_t code, int32_t x, int32_t y)
{
    const bool pressed = ws.tools.pointer.pressed();
    switch (code) {
    case MsgLButtonDown:
        press(ws, x, y);
        break;
    case MsgMouseMove:
        // A release the window did not see ends the drag where it is.
        if (pressed && (ws.input.mouseButtons & 1) == 0)
            release(ws, platform, x, y);
        else if (pressed)
            drag(ws, platform, x, y);
        break;
    case MsgLButtonUp:
        if (pressed)
            release(ws, platform, x, y);
        break;
    default:
        break;
    }
}

// The one place a drag is called off (Escape, the window losing the
// pointer): what it changed goes back and the tool is idle again.
bool cancelPointerDrag(Workspace& ws)
{
    PointerDrag& drag = ws.tools.pointer;
    switch (drag.state) {
    case SelectState::Idle:
        return false;
    case SelectState::DraggingNode:
        if (ObjectParams* params = currentParams(ws, drag.handleRow); params && drag.moved != 0) {
            *params = drag.before;
            markDesignChanged(ws);
        }
        break;
    case SelectState::Moving: {
        int32_t home = 0, still = 0;
        placeHeldSelection(ws, drag.held, home, still);
        break;
    }
    default:
        break;
    }
    drag = PointerDrag{};
    markRepaint(ws);
    return true;
}

void finishPointerDrag(Workspace& ws, const Platform& platform)
{
    if (ws.tools.pointer.pressed())
        release(ws, platform, ws.view.mouseX, ws.view.mouseY);
}

void startNodeEditing(Workspace& ws, const Platform& /*platform*/)
{
    const int32_t row = ws.table.currentObject;
    if (currentParams(ws, row) == nullptr)
        return;
    if (ws.tools.toolMode != -1) {
        beginTool(ws.tools, -1);
        markCursor(ws, kSizeAllCursor);
    }
    ws.tools.nodeEditing = 1;
    markCanvasChanged(ws);
}

void takeListSelection(Workspace& ws, const Platform& platform, int anchor)
{
    takeSelectionFromList(ws, platform);
    if (platform.list != nullptr && anchor >= 0 && anchor < platform.list->count()) {
        const int32_t row = platform.list->itemData(anchor);
        if (isSelected(ws, row))
            ws.table.currentObject = row;
    }
}

} // namespace kelvara
