#pragma once

#include "stitch/stitchplan.h"

#include <QImage>
#include <string>

#include <QColor>
#include <QLineF>
#include <QPen>
#include <QRectF>

#include <span>
#include <vector>

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

// drawStitchPlan for a plan handed over a stretch at a time: the stretches
// draw exactly what the whole plan draws, holding a bounded batch of
// stitches and the jumps, which are drawn over everything at the end.
class StitchLines {
public:
    StitchLines(QPainter& painter, double zoom, int scrollX, int scrollY);
    void add(std::span<const StitchRecord> records);
    // Draws the jumps and gives the painter back as it was.
    void finish();

private:
    static constexpr std::size_t kLinesPerBatch = 4096;
    bool seen(const QPointF& a, const QPointF& b) const;
    void flush();

    QPainter& painter_;
    double zoom_;
    int scrollX_, scrollY_;
    QRectF visible_;
    QPen threadPen_;
    bool started_ = false;
    int32_t runColour_ = 0;
    QPointF at_;
    std::vector<QLineF> stitches_, jumps_;
};

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

// The same for a plan replayed twice, once to find where it lies and once
// to draw it, so it is never held whole. A null image also when the plan is
// not Ok; `status`, when given, says what it is.
QImage renderStitchImage(const PlanReplay& plan, int maxSide, const StitchLook& look,
                         PlanStatus* status = nullptr);
QImage renderStitchImageAt(const PlanReplay& plan, double pixelsPerUnit, const StitchLook& look,
                           PlanStatus* status = nullptr);

// renderStitchImage written as a PNG; false when it could not be written.
bool writeStitchPng(const StitchPlan& plan, const std::string& path, int maxSide = 1600);

} // namespace kelvara
