#pragma once

#include "stitch/generators.h"

#include <cstdint>
#include <vector>

namespace kelvara {
struct PatternRow;
}

namespace kelvara::stitch {

inline constexpr double kFillStitch = 30; // longest stitch inside a fill row, unless the object says

// A fill area as the fill generator sees it.
struct FillSpec {
    std::vector<Vec> outline; // closed polygon in design units
    double angle = 0;         // degrees counter-clockwise on screen; rows run this way
    double spacing = 3.5;     // between rows
    double comp = 0;          // added to every row, half at each end
    const PatternRow* patternRows = nullptr;
    int patternRowCount = 0;
    double zoomX = 1; // a pattern character is spacing * zoomX wide
    int rowsPerPatternRow = 1;
    bool topLayer = true;
    double underLength = 0; // underlay stitch length; 0 = none
    double underInset = 0;
    double shortest = 5;         // shortest stitch the plan keeps
    std::vector<Vec> topOutline; // the top layer's, pushed under borders; empty: `outline`
    // Several rings in one outline (a shape with holes): the ring of each
    // edge, -1 for the bridges joining them; empty for one ring. Every
    // outline above then has the same rings, point for point.
    std::vector<int32_t> ringOf;
    std::vector<Vec> underOutline; // the underlay's, already inset; empty: `outline` inset by underInset
    bool hasEntry = false;       // start at the corner of a section nearest `entry`
    Vec entry{};
    // Where the thread goes on from the fill in one seam (its border, or
    // the next object): a one-ring top layer ends near it when starting
    // from the side away from it brings it nearer, and the step to that
    // start stays inside the area.
    bool hasExit = false;
    Vec exit{};
    // > 0: travel along the outline keeps within this of it, a needle at
    // each bend (0: evenly spaced stitches, which may cut a curve's corner).
    double travelBend = 0;
    double stitchLength = kFillStitch; // longest stitch inside a row
    int rowShift = 40;        // percent of a stitch each row's grid moves on from the last
};

inline constexpr double kTravelStitch = 20; // running stitches along the outline

void stitchFill(const FillSpec& shape, NeedleSink& sink);

// The fewest plan records the fill's rows (underlay and top) can make, however
// the short-stitch rule and rounding fall; more than `limit` when its rows
// alone would not fit a plan of `limit` records. Costs a cut of the outline
// into rows, not the stitching of them.
int64_t fillRecordFloor(const FillSpec& shape, int64_t limit);

} // namespace kelvara::stitch
