#pragma once

#include "stitch/stitchplan.h"

#include <QImage>
#include <string>

#include <QColor>
#include <QPen>

class QPainter;

namespace kelvara {

// A thread is about 0.3 mm thick: three design units.
inline constexpr double kThreadWidth = 3.0;

// How a render draws the stitches: flat lines on black, or thread on a
// fabric colour (0xRRGGBB).
struct StitchLook {
    bool thread = false;
    int32_t fabric = 0;
};

// A plan colour (red in bits 0-7) as the thread shows on screen.
QColor threadColour(int32_t colour);
// Jumps show as faint dotted lines.
QPen jumpLinePen();

// Draws the plan with the canvas mapping: design point (x, y) at
// (x * zoom - scrollX, y * zoom - scrollY). Stitches in their thread colours
// about a thread's width wide; jumps as faint dotted lines; nothing else.
void drawStitchPlan(QPainter& painter, const StitchPlan& plan, double zoom, int scrollX, int scrollY);

// The whole plan on black (or as `look` has it), scaled so its longer side is at most `maxSide`
// pixels (and magnified at most four times). A null image for an empty plan.
QImage renderStitchImage(const StitchPlan& plan, int maxSide = 1600, const StitchLook& look = {});

// Largest side of a picture renderStitchImageAt makes.
inline constexpr int kMaxStitchImageSide = 16384;

// The whole plan on black at `pixelsPerUnit` pixels per design unit, with the
// same margin as renderStitchImage. A null image for an empty plan and for
// one whose picture would be wider or taller than kMaxStitchImageSide; the
// size is checked before anything is allocated.
QImage renderStitchImageAt(const StitchPlan& plan, double pixelsPerUnit, const StitchLook& look = {});

// renderStitchImage written as a PNG; false when it could not be written.
bool writeStitchPng(const StitchPlan& plan, const std::string& path, int maxSide = 1600);

} // namespace kelvara
