#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// The pen's messages: the left button's press, moves while pressed, and
// release at canvas pixel (x, y). A finished path becomes a STROKE or SHAPE,
// or a hole of the shape the hole command named.
void penToolEvent(Workspace& ws, const Platform& platform, int32_t x, int32_t y, uint32_t code);

// Backspace takes the last node back, Enter ends the path. True when the
// pen took the key.
bool penKey(Workspace& ws, const Platform& platform, uint32_t key);

// The pen for a STROKE or a SHAPE.
void selectPen(Workspace& ws, const Platform& platform, int32_t kind);

// The pen, whose next closed path becomes a hole of the current SHAPE.
// False, with a note, when the current object is no SHAPE.
bool startHole(Workspace& ws, const Platform& platform);

} // namespace kelvara
