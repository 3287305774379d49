#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// The drawing tools' one entry. Acts on MsgLButtonUp (514: a click adds a
// point), MsgRButtonDown (516: bends the live segment; Ctrl moves the second
// control point) and MsgMouseWheel (522: zoom step), then runs the
// completion check that creates the object. The position comes from
// ws.view.mouseX/mouseY and the Ctrl state from ws.input.ctrlDown. The select
// tool takes the left button and MsgMouseMove at (x, y) (see selecttool.h);
// the flags are accepted for the caller's convenience and not used.
void toolEvent(Workspace& ws, const Platform& platform, int32_t x, int32_t y, uint32_t code,
               int32_t wheelDelta, int32_t ctrl, int32_t shift);

// The select tool (t = -1) and the six drawing tools (t = 1..6): cursor,
// ToolMode, preview cleared, curvesAllowed, a new group pending.
void selectTool(Workspace& ws, const Platform& platform, int32_t t);

// The wheel's zoom: one step per notch (kWheelNotch of turn, added up over
// events, so a touchpad's many small deltas zoom as a wheel does). A
// negative turn zooms in (up to 32), a positive one out; with ZOOMSTEPS
// a positive turn zooms in, around the pointer.
void zoomStep(Workspace& ws, const Platform& platform, int32_t wheelDelta);

// Zooms in (steps > 0) or out by whole steps within 1..32, as the wheel does.
void zoomBy(Workspace& ws, const Platform& platform, int32_t steps);
// Zooms by `steps` keeping the design point under canvas pixel (px, py)
// where it is, within the scroll range.
void zoomAround(Workspace& ws, int32_t steps, int32_t px, int32_t py);

inline constexpr int32_t kWheelNotch = 120;

} // namespace kelvara
