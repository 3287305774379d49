#pragma once

#include "model/records.h"

#include <array>
#include <vector>
#include <cstdint>

namespace kelvara {

// Which edge of a record a handle belongs to: the one line of RUN and STEIL,
// the edges A and B of SATEN and RECT, or none (STAR and CIRCLE).
// Path: a segment of a STROKE's or SHAPE's path (ObjectHandle::segment).
enum class HandleEdge : uint8_t { Line, EdgeA, EdgeB, None, Path };

// Which point of its edge, or of the ellipse, a handle is.
enum class HandlePoint : uint8_t { Start, End, Control1, Control2, Centre, RadiusX, RadiusY };

// One draggable point of an object, in design units.
struct ObjectHandle {
    HandleEdge edge = HandleEdge::None;
    HandlePoint point = HandlePoint::Start;
    double x = 0;
    double y = 0;
    // The record fields the handle stands for, by their project-file keys
    // ("AXC1", "AYC1"). A radius handle moves one field only: keyY (RX) or
    // keyX (RY) is then null.
    const char* keyX = nullptr;
    const char* keyY = nullptr;
    // A control point of a straight edge. The edge ignores its stored
    // control points, so the handle sits a third of the way along the line
    // instead; moving it bends the edge.
    bool onStraightEdge = false;
    // Which segment of a path (in pathEdges order) the handle belongs to.
    int32_t segment = -1;

    bool isControl() const { return point == HandlePoint::Control1 || point == HandlePoint::Control2; }
};

// Every handle of a record, in a fixed order: for each edge (A before B)
// start, end, control point 1, control point 2; for STAR and CIRCLE the
// centre, then the ends of the radii RX (at X + RX, Y) and RY (at X, Y + RY).
// A path's segments give four each in the same way, start, end and the
// two control points, so a node shows once as one segment's end and once as
// the next one's start.
struct ObjectHandles {
    std::vector<ObjectHandle> items;
    int count = 0;

    ObjectHandle& add()
    {
        items.resize(std::size_t(count) + 1);
        return items[std::size_t(count++)];
    }

    const ObjectHandle* begin() const { return items.data(); }
    const ObjectHandle* end() const { return items.data() + count; }
};

// The handles of a record of `kind`; none for a free row or unknown kind.
ObjectHandles objectHandles(int32_t kind, const ObjectParams& params);

// Moves one handle (as objectHandles gave it) to (x, y) in the record. Ends
// and control points take the point as it is; the centre of an ellipse
// takes it rounded to whole units; a radius end sets its radius to the
// rounded distance from the centre along its axis. Moving a control point
// of a straight edge makes the edge a curve, its other control point at the
// other third, so the rest of the edge keeps its place. False (nothing
// changed) when the handle is not one of this kind's or a value is not finite.
bool moveHandle(int32_t kind, ObjectParams& params, const ObjectHandle& handle, double x, double y);

// A click on a node of a path (a Start or End handle) deletes it or
// switches it between corner and smooth. False for other handles or kinds,
// or when the path would keep too few nodes.
enum class NodeEdit { Delete, Switch };
bool editNode(int32_t kind, ObjectParams& params, const ObjectHandle& handle, NodeEdit edit);

// A node added to the record's path where (x, y) lies within `tolerance`
// of it, the curve's shape kept. False for kinds without a path or a point
// off it.
bool insertNode(int32_t kind, ObjectParams& params, double x, double y, double tolerance);

} // namespace kelvara
