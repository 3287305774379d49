#pragma once

#include "stitch/stitchplan.h"

#include <QImage>
#include <string>

class QPainter;

namespace kelvara {

// Draws the plan with the canvas mapping: design point (x, y) at
// (x * zoom - scrollX, y * zoom - scrollY). Stitches in their thread colours
// about a thread's width wide; jumps as faint dotted lines; nothing else.
void drawStitchPlan(QPainter& painter, const StitchPlan& plan, int zoom, int scrollX, int scrollY);

// The whole plan on black, scaled so its longer side is at most `maxSide`
// pixels (and magnified at most four times). A null image for an empty plan.
QImage renderStitchImage(const StitchPlan& plan, int maxSide = 1600);

// renderStitchImage written as a PNG; false when it could not be written.
bool writeStitchPng(const StitchPlan& plan, const std::string& path, int maxSide = 1600);

} // namespace kelvara
