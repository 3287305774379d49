#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// The thread colour the colour command starts from: the current object's,
// else the colour of the next object drawn; -1 (no colour) shows as white.
int32_t colourToOffer(const Workspace& ws);

// Gives every selected object the thread `colour` (red | green << 8 |
// blue << 16) as one undo step, with their list lines, and makes it the
// colour of the next objects drawn. Returns how many objects changed.
// The colour of the next objects drawn, the design unchanged.
void setNextColour(Workspace& ws, int32_t colour);

int32_t recolourSelection(Workspace& ws, const Platform& platform, int32_t colour);

} // namespace kelvara
