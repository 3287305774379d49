#pragma once

#include "model/pathdata.h"
#include "model/records.h"
#include "stitch/generators.h"

#include <vector>

namespace kelvara::stitch {

// A sub-path as points; a cubic segment is cut into short straight pieces.
// `nodes`, when given, receives the index of each node's point.
std::vector<Vec> flattenSubPath(const SubPath& sub, std::vector<std::size_t>* nodes = nullptr);

// A running line along every sub-path: a needle on each node and the
// stitches between two nodes evenly spaced, at most `stitchLength` apart;
// `passes` 3 or more sews each stitch forwards, back and forwards again.
void runAlongPath(const PathData& path, double stitchLength, int passes, NeedleSink& sink);

// The same line sewn the other way: sub-paths and segments in reverse, a
// closed one walked back round from its start.
PathData reversedPath(const PathData& path);

void generateStroke(const StrokeParams& p, const PathData& path, const GenContext& ctx, NeedleSink& sink);
void generateShape(const ShapeParams& p, const PathData& path, const GenContext& ctx, NeedleSink& sink);
int64_t shapeRecordFloor(const ShapeParams& p, const PathData& path, const GenContext& ctx, int64_t limit);

} // namespace kelvara::stitch
