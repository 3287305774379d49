#pragma once

#include "model/pathdata.h"
#include "stitch/column.h"

#include <algorithm>

namespace kelvara::stitch {

// How a satin column along a path is sewn: the column's own settings
// (underlay, repeats, longest stitch) and what changes from the path's start
// to its end, `total` units along it.
struct SatinAlong {
    ColumnSpec column;
    double startWidth = 0, endWidth = 0;
    double startSpacing = 3.5, endSpacing = 3.5;
    double startComp = 0, endComp = 0;
    double total = 0;

    double at(double s, double from, double to) const { return lerp(from, to, total > 0 ? std::clamp(s / total, 0.0, 1.0) : 0); }
    double widthAt(double s) const { return at(s, startWidth, endWidth); }
    double spacingAt(double s) const { return at(s, startSpacing, endSpacing); }
    double compAt(double s) const { return at(s, startComp, endComp); }
};

// The length of every sub-path as sewn, one after the other.
double pathLength(const PathData& path);

// A satin column along every sub-path, mitred at turns and split at sharp
// corners.
void satinAlongPath(const PathData& path, const SatinAlong& how, NeedleSink& sink);

} // namespace kelvara::stitch
