#pragma once

#include "stitch/stitchplan.h"

class QPainter;

namespace kelvara {

// Draws the stitches of the plan as thread lying on fabric, in design units
// (the caller's transform maps one unit, 0.1 mm, to the page): each stitch a
// rounded strand with a shaded edge and a light crest, later stitches over
// earlier ones as they are sewn. Jumps and trims leave nothing.
void drawThreads(QPainter& painter, const StitchPlan& plan);

} // namespace kelvara
