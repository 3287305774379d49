#pragma once

// The pen, which draws STROKE and SHAPE node by node: a click places a
// corner node, a press and drag a smooth node whose drag sets its tangent.
// Every change of the pen's state goes through these functions.

#include "model/editorstate.h"
#include "model/pathdata.h"

#include <cstdint>

namespace kelvara {

// True when `kind` is drawn with the pen.
bool drawsWithPen(int32_t kind);
// True while the pen is the tool.
bool penActive(const ToolState& tools);

// The pen for `kind` (STROKE or SHAPE), with nothing placed; `holeFor` the
// SHAPE row the next closed path is added to as a hole, or -1. False for
// another kind.
bool beginPen(ToolState& tools, int32_t kind, int32_t holeFor);

enum class PenOutcome {
    None,      // still drawing
    EndedOpen, // the path is done and open (a STROKE)
    Closed,    // the path is done and closed
    TooFew,    // asked to end, but the path has too few nodes yet: still drawing
};

// The fewest nodes a finished path of the kind has.
std::size_t fewestPenNodes(int32_t kind, bool closed);

// The button pressed at design point (x, y).
void penPress(PenState& pen, int32_t x, int32_t y);
// The pointer moved to (x, y) while pressed: the tangent follows.
void penDrag(PenState& pen, int32_t x, int32_t y);
// The button let go. `near` is how far (design units) a point may be from a
// node to hit it: the first node closes the path, the last (a double click)
// ends it.
PenOutcome penRelease(ToolState& tools, int32_t near);
// Enter: a STROKE ends open, a SHAPE of three nodes or more closes.
// TooFew from either when the path cannot end yet.
PenOutcome penFinish(ToolState& tools);
// Backspace: the last node goes. False when there was none.
bool penRemoveLast(PenState& pen);
// After the object was made: the nodes go, the pen stays.
void penClear(PenState& pen);

// The path of the nodes placed: straight where neither handle leaves its
// node, else cubic; closed or open.
PathData penPath(const PenState& pen, bool closed);

} // namespace kelvara
