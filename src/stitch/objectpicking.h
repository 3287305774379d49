#pragma once

#include "model/objecttable.h"
#include "stitch/geometry.h"

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

// A point of an object the user can drag: an end or control point of one of
// its edges, or the centre or a radius end of an ellipse.
enum class HandleRole { EdgeStart, EdgeEnd, EdgeControl1, EdgeControl2, Centre, RadiusX, RadiusY };

struct ObjectHandle {
    Vec at;
    HandleRole role = HandleRole::EdgeStart;
    int edge = 0; // 0 the first edge (line, edge A), 1 edge B
};

// Every handle of an object in a fixed order: for each edge its start, end
// and (curved only) its two control points; for STAR and CIRCLE the centre
// and the ends of the two radii (X + RX, Y) and (X, Y - RY).
std::vector<ObjectHandle> objectHandles(int32_t kind, const ObjectParams& params);

// Puts the handle's point at `to`: an edge point as it is, the centre moves
// the whole ellipse, a radius end sets that radius. Whole units for the
// integer fields of STAR and CIRCLE.
void moveHandle(int32_t kind, ObjectParams& params, const ObjectHandle& handle, Vec to);

// The point a handle's Shift constraint is measured from: the other end of
// its edge for an end, the end next to it for a control point, the centre
// for a radius end, and `pressedAt` (where the drag began) for the centre.
Vec shiftAnchor(int32_t kind, const ObjectParams& params, const ObjectHandle& handle, Vec pressedAt);

// `to` moved onto the horizontal, vertical or 45-degree line through
// `anchor`, the rule the drawing tools use with Shift.
Vec constrainToShift(Vec anchor, Vec to);

} // namespace kelvara::stitch
