#pragma once

#include "stitch/geometry.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace kelvara::stitch {

// One span of a fill row, in the turned frame where rows are horizontal:
// where the row crosses the outline, and on which edges.
struct Span {
    double boundaryA, boundaryB;
    int32_t edgeA, edgeB;
    int32_t row;
};

// A fill outline cut into rows; spans of a row are in ascending x.
struct Rows {
    double inset = 0; // stitching starts and stops this far inside the crossings
    std::vector<double> y;
    std::vector<std::size_t> first; // first span of each row; one extra entry at the end
    std::vector<Span> spans;
};

// A frame turned so that rows at `angle` degrees become horizontal. Angles
// turn counter-clockwise as seen on screen, where y points down, as the
// star's do: 0 runs along +x, 90 straight up.
struct Frame {
    double c, s;
    explicit Frame(double angleDegrees)
    {
        const double a = -std::fmod(angleDegrees, 360.0) * 3.14159265358979323846 / 180.0;
        c = std::cos(a);
        s = std::sin(a);
    }
    Vec toRows(Vec p) const { return rotate(p, c, -s); }
    Vec toDesign(double x, double y) const { return rotate({x, y}, c, s); }
    Vec toDesign(Vec p) const { return rotate(p, c, s); }
};

// Cuts the outline into rows `spacing` apart; false when the rows would not
// fit a sink with `room` needles left. `ringOf`, when not empty, names the
// ring of each edge, -1 for a bridge between rings, which no row crosses.
bool cutRows(const std::vector<Vec>& outline, const Frame& frame, double spacing, double inset, int64_t room,
             Rows& rows, const std::vector<int32_t>& ringOf = {});

} // namespace kelvara::stitch
