#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// The select tool on the canvas. A left click picks the topmost object under
// the pointer (Shift adds or removes it, empty canvas clears), a drag from
// empty canvas selects what its box encloses, and with node editing on a
// press on one of the current object's handles drags that point. The list
// is brought into step with every change of the selection.

// MsgLButtonDown, MsgMouseMove and MsgLButtonUp at canvas pixel (x, y).
// Shift comes from ws.input; a move without the left button (released
// outside the canvas) ends what the press began.
void selectToolEvent(Workspace& ws, const Platform& platform, uint32_t code, int32_t x, int32_t y);

// Escape while the button is held: a dragged point goes back exactly where
// it was, a box is dropped. False when nothing was under way.
bool cancelPointerDrag(Workspace& ws);

// Ends what the press began as a release would, before a command runs.
void finishPointerDrag(Workspace& ws, const Platform& platform);

// "Edit nodes": the select tool, with the current object's points as
// handles. Nothing happens without a current object.
void startNodeEditing(Workspace& ws, const Platform& platform);

// The user changed the list's selection: the canvas selection follows, and
// the anchor line (position `anchor`, when it is selected) is the current
// object.
void takeListSelection(Workspace& ws, const Platform& platform, int anchor);

// Canvas pixels around a handle or an outline that still count as on it.
inline constexpr int32_t kPickTolerance = 4;

} // namespace kelvara
