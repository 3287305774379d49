#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// Commands that arrange the selected objects. Each is one undo step that
// restores exact bytes, leaves the selection as it was and rebuilds the
// list; with nothing selected, or nothing to change, none leaves a step.

// One new group number for every selected object. Returns how many changed.
int32_t groupSelection(Workspace& ws, const Platform& platform);
// A new group number of its own for each selected object.
int32_t ungroupSelection(Workspace& ws, const Platform& platform);

// Switches TRIM: on for all when any selected object lacks it, else off
// for all, so a mixed selection comes out alike.
int32_t toggleTrimOfSelection(Workspace& ws, const Platform& platform);

// The selected objects, in their present order, to the start or the end of
// the stitching order. True when the order changed.
bool moveSelectionToStart(Workspace& ws, const Platform& platform);
bool moveSelectionToEnd(Workspace& ws, const Platform& platform);

// Closes the gaps between the selected objects in stitching order: each
// one's start moves to where the one before it ends (stars and circles
// neither move nor hand on an end), and all of them take one new group
// number. Returns how many objects changed.
// Runs and running strokes of one colour whose ends meet (within 0.5 mm, in
// any order and either way round) become instead one STROKE through all of
// their nodes, in the first one's row, closed when the chain comes back to
// where it began.
int32_t joinSelection(Workspace& ws, const Platform& platform);

// That STROKE, as one undo step; false when the selection is not such lines.
bool joinIntoStroke(Workspace& ws, const Platform& platform);

// The next group number: one past groupCounter, back to 1 past the largest
// (0 means no group).
int32_t takeGroupNumber(Workspace& ws);

} // namespace kelvara
