#pragma once

// Node edits of a path: a node deleted, switched between corner and smooth,
// or inserted on a segment. A sub-path is seen as its nodes, each with its
// two tangent handles (at the node itself for a corner), and written back
// with a curve wherever a handle leaves its node.

#include "model/pathdata.h"

#include <cstdint>
#include <vector>

namespace kelvara {

struct PathNode {
    PathPoint at, in, out;
};

std::vector<PathNode> nodesOf(const SubPath& sub);
SubPath subPathOf(const std::vector<PathNode>& nodes, bool closed);

// The sub-path and node a handle of segment `segment` (pathEdges order)
// stands for: `point` 0 the segment's start, 1 its end. False when there is
// no such segment.
bool locateNode(const PathData& path, int32_t segment, int point, std::size_t& sub, std::size_t& node);

// The node goes; false when its sub-path would be left with fewer than two
// nodes (three when closed).
bool deleteNode(PathData& path, std::size_t sub, std::size_t node);

// A corner becomes smooth, its tangent along the line between its
// neighbours; a smooth node becomes a corner.
bool switchNode(PathData& path, std::size_t sub, std::size_t node);

// A node where (x, y) lies within `tolerance` of a segment, the curve split
// there so its shape stays. False when no segment comes so near.
bool insertNodeAt(PathData& path, double x, double y, double tolerance);

} // namespace kelvara
