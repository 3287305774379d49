#pragma once

#include "model/objecttable.h"
#include "stitch/geometry.h"
#include "stitch/objecthandles.h"

#include <cstdint>
#include <vector>

namespace kelvara::stitch {

// Which object the user points at, and which objects a box holds. Positions
// are design units; the caller turns its pixel tolerance into units.

// The topmost object (the last in display order) whose outline lies within
// `tolerance` of (x, y) or whose filled area holds it: the column of a SATEN
// or STEIL, the area of a RECT, CIRCLE or STAR. -1 when there is none.
int32_t objectAt(const ObjectTable& table, const RecordStore& records, Vec at, double tolerance);

// The objects lying wholly inside the box, in display order.
std::vector<int32_t> objectsInBox(const ObjectTable& table, const RecordStore& records, Vec corner1,
                                  Vec corner2);

// The points of an ellipse's outline, or with a sweep under 360 degrees of
// the slice from the centre from `start` degrees.
std::vector<Vec> ellipseOutline(Vec centre, double rx, double ry, double start, double sweep);

// The point a handle's Shift constraint is measured from: the other end of
// its edge for an end, the end next to it for a control point, the centre
// for a radius end, and `pressedAt` (where the drag began) for the centre.
Vec shiftAnchor(const ObjectHandles& handles, const ObjectHandle& handle, Vec pressedAt);

} // namespace kelvara::stitch
