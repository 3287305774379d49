#pragma once

#include "model/records.h"

#include <cstdint>
#include <optional>

namespace kelvara {

// Where an object lies: moving all of it, and the points where its
// stitching starts and ends, which Join brings together.

struct PlacePoint {
    double x = 0;
    double y = 0;
};

// Moves every point of the record by (dx, dy) design units; the centres of
// stars and circles are whole units and move by the rounded offset.
void translateRecord(int32_t kind, ObjectParams& params, double dx, double dy);

// The point the stitching of the object starts at and the one it ends at:
// the line's ends, or for the two-edge kinds the ends of the side STARTA and
// STOPA name. None for stars and circles, whose ends follow from the shape.
std::optional<PlacePoint> objectStart(int32_t kind, const ObjectParams& params);
std::optional<PlacePoint> objectEnd(int32_t kind, const ObjectParams& params);

// Moves the object's start to `to`: the start of a line with its first
// control point, so a curve keeps its shape; both edges' starts of a
// two-edge kind, so the column keeps its width at the start. False, nothing
// changed, for stars and circles.
bool moveStartTo(int32_t kind, ObjectParams& params, PlacePoint to);

} // namespace kelvara
