#pragma once

// What the shared geometry code does to an object whose outline is a stored
// path (STROKE, SHAPE): its segments as edges, and the path with every point
// moved, stored under a new handle so the record's old bytes keep the old
// path for undo.

#include "model/kinds/kind.h"
#include "model/pathdata.h"
#include "model/records.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kelvara {

// The kind's path; null for a kind without one or a handle never stored.
const PathData* kindPath(const KindRow& row, const ObjectParams& p);

// Every segment as an edge, a closed sub-path's closing line included.
void appendPathEdges(std::vector<BezierEdge>& out, const PathData& path);
std::vector<BezierEdge> pathEdges(const PathData& path);
// The edges of the kind's path; empty for a kind without one.
std::vector<BezierEdge> kindPathEdges(const KindRow& row, const ObjectParams& p);

// What picking tests against: each sub-path flattened as one piece, closed
// pieces bounding an area by the even-odd rule, or open lines.
PickShape pathPickShape(const PathData& path, bool area);

// The outlines of the other kinds as paths, rounded to whole units; an
// empty path when a point is not finite or out of range. A line; a
// two-edge area (edge A, then edge B from the end nearer A's end); an
// upright ellipse as four quarter curves.
PathData edgePath(const BezierEdge& line);
PathData twoEdgePath(const BezierEdge& a, const BezierEdge& b);
PathData ellipsePath(int32_t x, int32_t y, int32_t rx, int32_t ry);

// Moves a point of segment `segment` (in pathEdges order) to (x, y), in
// whole units: `point` 0 its start node, 1 its end node, 2 and 3 its control
// points. A node takes the control points next to it along; a control point
// of a straight segment makes it a curve. False for a segment or point the
// path does not have or a value out of range.
bool movePathPoint(PathData& path, int32_t segment, int point, double x, double y);

// Each point mapped and rounded to whole units. False when a point is not
// finite or leaves the coordinate range.
bool mapPathPoints(PathData& path, const std::function<void(double& x, double& y)>& map);

// The record's path mapped and stored under a new handle, written into the
// record's path field. True for a kind without a path; false, the record
// unchanged, when a point would leave the range or the store is full.
bool mapKindPath(const KindRow& row, ObjectParams& p, const std::function<void(double& x, double& y)>& map);

// A new path into the record's path field (which must exist); false when
// the store is full.
bool setKindPath(const KindRow& row, ObjectParams& p, PathData path);

} // namespace kelvara
