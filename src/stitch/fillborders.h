#pragma once

#include "stitch/geometry.h"

#include <cstdint>
#include <vector>

namespace kelvara {
union ObjectParams;
}

namespace kelvara::stitch {

// Stitching sewn after a fill that may cover its edge: a column's body (a
// polygon) or a running line (a band `halfWidth` either side of it).
struct BorderShape {
    std::vector<Vec> points;
    bool band = false;
    double halfWidth = 0;
    double left = 0, top = 0, right = -1, bottom = -1; // box, grown by halfWidth
};

// The shape an object lays over what was sewn before it, if it borders.
bool borderShapeOf(int32_t kind, const ObjectParams& params, BorderShape& shape);

// The outline moved by `by[i]` at vertex i, outwards (negative: inwards),
// along the bisector of its edges' normals.
std::vector<Vec> offsetOutline(const std::vector<Vec>& outline, const std::vector<double>& by);

// The fill's outline pushed out under the borders sewn after it, so that
// the fill reaches kBorderOverlap under each: pull on the fill then opens
// no gap of fabric between the two. Where no border lies along the outline
// it is left as it is; empty when nothing moved.
std::vector<Vec> extendUnderBorders(const std::vector<Vec>& outline, const BorderShape* borders,
                                    std::size_t count);

inline constexpr double kBorderOverlap = 4; // how far a fill reaches under its border
inline constexpr double kBorderReach = 3;   // a border this far off the fill's edge still borders it

} // namespace kelvara::stitch
