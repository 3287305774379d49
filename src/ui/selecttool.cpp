#include "ui/selecttool.h"

#include "model/curvesplit.h"
#include "model/drawingtool.h"
#include "model/journal.h"
#include "model/recordgeometry.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/splitobject.h"
#include "model/transformselection.h"
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

int32_t zoomOf(const ViewState& view)
{
    return view.zoom >= 1 ? view.zoom : 1;
}

// The design position under canvas pixel (x, y), unrounded.
Vec designAt(const ViewState& view, int32_t x, int32_t y)
{
    const double zoom = zoomOf(view);
    return {(x + view.scrollX) / zoom, (y + view.scrollY) / zoom};
}

// The whole design unit a click at canvas pixel (x, y) stores.
Vec designUnitAt(const ViewState& view, int32_t x, int32_t y)
{
    const int32_t zoom = zoomOf(view);
    return {double(std::clamp((x + view.scrollX) / zoom, 0, kDesignArea)),
            double(std::clamp((y + view.scrollY) / zoom, 0, kDesignArea))};
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
        const double hx = handles.items[size_t(i)].x * view.zoom - view.scrollX;
        const double hy = handles.items[size_t(i)].y * view.zoom - view.scrollY;
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
    if (ws.input.shiftDown != 0)
        to = stitch::constrainToShift(stitch::shiftAnchor(handles, handle, at), to);
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

// The drag is one undo step holding the record as it was at the press.
void commitNode(Workspace& ws)
{
    PointerDrag& drag = ws.tools.pointer;
    ObjectParams* params = currentParams(ws, drag.handleRow);
    if (params == nullptr || drag.moved == 0 ||
        std::memcmp(params->bytes, drag.before.bytes, sizeof drag.before.bytes) == 0)
        return;
    const ObjectParams moved = *params;
    *params = drag.before;
    journalRecordBytes(ws, drag.handleRow, JournalStep::Starts);
    *params = moved;
    markDesignChanged(ws);
}

// The held selection follows the pointer by whole design units; Shift
// keeps the move horizontal, vertical or at 45 degrees.
void moveSelection(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    if (drag.moving == 0) {
        if (!holdSelection(ws, platform, drag.held)) {
            drag.onSelection = 0;
            drag.pressed = 0;
            return;
        }
        drag.moving = 1;
    }
    const Vec to = designUnitAt(ws.view, x, y), from = designUnitAt(ws.view, drag.startX, drag.startY);
    auto dx = int32_t(to.x - from.x), dy = int32_t(to.y - from.y);
    if (ws.input.shiftDown != 0)
        kelvara::constrainToShift(0, 0, dx, dy);
    placeHeldSelection(ws, drag.held, dx, dy);
}

// Insert point: the topmost selected line within reach of the click is cut
// where the click meets it.
void insertPointAt(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    const Vec at = designAt(ws.view, x, y);
    const double tolerance = double(kPickTolerance) / zoomOf(ws.view);
    const std::vector<int32_t> rows = selectedRows(ws);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const ObjectParams* params = currentParams(ws, *it);
        if (params == nullptr)
            continue;
        const double t = splitParameterAt(ws.table.rows[*it].kind, *params, at.x, at.y, tolerance);
        if (t >= 0) {
            splitObjectAt(ws, platform, *it, t);
            return;
        }
    }
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
                                         double(kPickTolerance) / zoomOf(ws.view));
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

void release(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    if (drag.moving != 0) {
        commitHeldSelection(ws, drag.held);
    } else if (drag.handleRow >= 0) {
        commitNode(ws);
    } else if (ws.tools.insertingPoint != 0) {
        insertPointAt(ws, platform, x, y);
    } else {
        if (drag.boxing != 0)
            pickBox(ws, x, y);
        else
            pickAt(ws, drag.startX, drag.startY);
        showSelectionInList(ws, platform);
    }
    drag = PointerDrag{};
    markRepaint(ws);
}

} // namespace

void selectToolEvent(Workspace& ws, const Platform& platform, uint32_t code, int32_t x, int32_t y)
{
    PointerDrag& drag = ws.tools.pointer;
    switch (code) {
    case MsgLButtonDown:
        drag = PointerDrag{};
        drag.pressed = 1;
        drag.startX = x;
        drag.startY = y;
        if (ws.tools.nodeEditing != 0) {
            drag.handle = handleAt(ws, x, y);
            if (drag.handle >= 0) {
                drag.handleRow = ws.table.currentObject;
                drag.before = *currentParams(ws, drag.handleRow);
            }
        }
        if (drag.handleRow < 0 && ws.tools.insertingPoint == 0) {
            const int32_t row = stitch::objectAt(ws.table, ws.records, designAt(ws.view, x, y),
                                                 double(kPickTolerance) / zoomOf(ws.view));
            drag.onSelection = row >= 0 && isSelected(ws, row) ? 1 : 0;
        }
        break;
    case MsgMouseMove:
        if (drag.pressed == 0)
            break;
        if ((ws.input.mouseButtons & 1) == 0) {
            release(ws, platform, x, y);
        } else if (drag.handleRow >= 0) {
            moveNode(ws, x, y);
        } else if (drag.onSelection != 0) {
            if (drag.moving != 0 || std::abs(x - drag.startX) > kBoxThreshold ||
                std::abs(y - drag.startY) > kBoxThreshold)
                moveSelection(ws, platform, x, y);
        } else if (ws.tools.insertingPoint == 0) {
            if (std::abs(x - drag.startX) > kBoxThreshold || std::abs(y - drag.startY) > kBoxThreshold)
                drag.boxing = 1;
            if (drag.boxing != 0)
                markRepaint(ws);
        }
        break;
    case MsgLButtonUp:
        if (drag.pressed != 0)
            release(ws, platform, x, y);
        break;
    default:
        break;
    }
}

bool cancelPointerDrag(Workspace& ws)
{
    PointerDrag& drag = ws.tools.pointer;
    if (drag.pressed == 0)
        return false;
    if (drag.handleRow >= 0 && drag.moved != 0) {
        if (ObjectParams* params = currentParams(ws, drag.handleRow)) {
            *params = drag.before;
            markDesignChanged(ws);
        }
    }
    if (drag.moving != 0) {
        int32_t home = 0, still = 0;
        placeHeldSelection(ws, drag.held, home, still);
    }
    drag = PointerDrag{};
    markRepaint(ws);
    return true;
}

void finishPointerDrag(Workspace& ws, const Platform& platform)
{
    if (ws.tools.pointer.pressed != 0)
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
