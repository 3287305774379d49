#pragma once

#include "shell/hoops.h"

class QPainter;

namespace kelvara {

struct ViewState;
struct Editor;

// Whether the design's stitches fit the hoop HOOP names; true without one.
bool chosenHoopFits(Editor& editor);

// Draws the hoop's sewing field centred on (centreX, centreY) in design
// units, with its name at the top: light when the design fits, red and
// dashed, with a warning, when it does not.
void drawHoop(QPainter& painter, const Hoop& hoop, double centreX, double centreY, const ViewState& view,
              bool fits);

} // namespace kelvara
