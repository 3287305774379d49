#pragma once

#include "model/box.h"
#include "shell/hoops.h"
#include "stitch/stitchplan.h"

#include <span>
#include <string>
#include <vector>

namespace kelvara {

// The stitches to be placed in a hoop: runs of plan records (a whole plan,
// or the kept pieces of one), of which only the needle stitches count.
using StitchRuns = std::span<const std::vector<StitchRecord>* const>;

// The box around the needle stitches, in design units; empty without any.
PlanBox sewnBoxOf(StitchRuns runs);

// Whether every stitch lies inside the hoop's sewing field (its edge
// included) when the field is centred on the design's box, by the field's
// own outline: an oval loses its corners, a rounded field the tips of its.
bool fitsHoop(const Hoop& hoop, StitchRuns runs);

// The listed hoop of least area that holds the design (the first listed at
// equal area); null when none does or there are no stitches.
const Hoop* smallestHoop(const HoopList& list, StitchRuns runs);

// The needle stitches of a plan handed over a stretch at a time, kept as
// their convex hull. Every hoop's field is convex, so a design fits where
// its hull does, and the hull has the design's box: a plan of millions of
// stitches is fitted from a few hundred points.
class StitchHull {
public:
    void add(std::span<const StitchRecord> records);
    // The hull's corners as stitch records, for fitsHoop and smallestHoop.
    const std::vector<StitchRecord>& points();

private:
    void reduce();

    std::vector<StitchRecord> points_;
    std::size_t reducedSize_ = 0; // points_ after the last reduction
};

// The corner radius of a rounded field: a tenth of its shorter side.
inline int32_t roundedCornerRadius(const Hoop& hoop)
{
    return std::min(hoop.width, hoop.height) / 10;
}

// "Brother 130 x 180 (130 x 180 mm)": what the boxes and the command line
// name a hoop by.
std::string hoopTitle(const Hoop& hoop);

} // namespace kelvara
