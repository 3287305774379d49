#pragma once

#include <cmath>

namespace kelvara {

// The Shift rule of drawing and dragging: the end (ex, ey) moves onto the
// horizontal, vertical or 45-degree line through the start (sx, sy) — along
// the longer offset when the shorter is under half of it, else onto the
// diagonal. Whole units halve as integers do, so clicks keep whole units.
template <typename T> void constrainToShift(T sx, T sy, T& ex, T& ey)
{
    const T dx = ex - sx, dy = ey - sy;
    const T ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    const T signX = dx >= 0 ? 1 : -1, signY = dy >= 0 ? 1 : -1;
    if (ax > ay)
        ey = ay < ax / 2 ? sy : sy + ax * signY;
    else if (ay > ax)
        ex = ax < ay / 2 ? sx : sx + ay * signX;
}

} // namespace kelvara
