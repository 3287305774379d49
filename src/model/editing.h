#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace kelvara {

struct Workspace;
struct Platform;
class ListBox;
class UndoStep;
union ObjectParams;

// Creates the object the drawing tool has collected (ToolMode kind, preview
// segments, Settings), journaled as one undo step, linked after the current
// object and listed at its display position. Returns the new row, or -1 when
// the table is full (the rubber band then ends). The tool's follow-up (what
// the rubber band does next) is the caller's, and so is clearing the preview.
int32_t createObject(Workspace& ws, const Platform& platform);
// The same, with `fill` setting the new record's fields (within the same
// undo step) once it has its defaults and the clicks' geometry.
int32_t createObject(Workspace& ws, const Platform& platform, const std::function<void(ObjectParams&)>& fill);

// Deletes the selected objects as one undo step when the current object is
// among them, else the current object alone; nothing without a current
// object. With Shift held, drops the background picture instead.
void deleteCurrent(Workspace& ws, const Platform& platform);

// Deletes `rows` (used rows) as one undo step, each with its list line.
// False, and nothing changed, when Undo could not bring them all back: the
// user is told.
bool deleteObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows);

// Removes used row `row`, its record and its list line inside an open
// step, journaled so that Undo brings all three back; its neighbours are
// linked to each other.
void deleteRowInStep(Workspace& ws, const Platform& platform, UndoStep& step, int32_t row);

// Replays the newest undo step, keeping what it overwrites for Redo.
void undoStep(Workspace& ws, const Platform& platform);

// Replays the step Undo took back last, keeping what it overwrites for Undo.
// False with nothing to redo, or when the step would not fit into the undo
// journal again (then it says so and changes nothing).
bool redoStep(Workspace& ws, const Platform& platform);

// Empties the object list and gives it room for a line per table row.
void clearObjectList(ListBox& list);

// Rebuilds every list line from the display order.
void refillObjectList(Workspace& ws, const Platform& platform);

// Replaces, where they stand, the lines whose text differs from what a
// rebuild would write (a changed trim or colour, the colour-change mark of
// the next line, a position or running number), so the list keeps its
// scroll position and selection.
void updateListLines(const Workspace& ws, const Platform& platform);

// Moves the objects of the selected list lines (whole groups while Shift is
// held) to list position `target`: before the object shown there, or to the
// end when `target` equals the object count. One undo step.
void dropObjects(Workspace& ws, const Platform& platform, int32_t target);

// Links every object in the order `arranged` gives (each used row once) as
// one undo step, and rebuilds the list. False when the order was already so.
bool arrangeObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& arranged);

// Moves `block` (used rows, each once) in its own order to list position
// `target` as a drop does, and rebuilds the list. True when the order
// changed, which is then one undo step.
bool moveBlock(Workspace& ws, const Platform& platform, const std::vector<int32_t>& block, int32_t target);

} // namespace kelvara
