#pragma once

#include "stitch/generators.h"

#include <functional>

namespace kelvara::stitch {

// A satin column as the column generator sees it: two edges measured by the
// fraction t (0..1) along the column.
struct ColumnSpec {
    std::function<void(double t, Vec& a, Vec& b)> edges;
    double length = 0;                           // along the middle of the column
    double startSpacing = 3.5, endSpacing = 3.5; // between penetrations on one edge
    double startComp = 0, endComp = 0;           // added to the rung's width
    double push = 0;                             // taken off each end
    int startSide = 0;                           // 0 = edge A, 1 = edge B
    int stopSide = -1;                           // -1 = either
    int repeat = 1;
    bool topLayer = true;
    double contourLength = 0; // contour underlay stitch length; 0 = none
    double contourInset = 0;
    double centreWalkLength = 0; // a walk down the middle and back before the others; 0 = none
    double zigzagSpacing = 0; // zigzag underlay spacing; 0 = none
    double zigzagInset = 0;
    double maxStitch = 0; // longer top stitches are split; 0 = never
};

void stitchColumn(const ColumnSpec& shape, NeedleSink& sink);

// Side of a rung: where the penetration of rung k lies (0 = A, 1 = B).
inline int rungSide(const ColumnSpec& shape, long k)
{
    return static_cast<int>((shape.startSide + k) % 2);
}

} // namespace kelvara::stitch
