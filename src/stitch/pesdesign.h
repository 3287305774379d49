#pragma once

#include "stitch/machinemoves.h"
#include "stitch/stitchplan.h"

#include <cstdint>
#include <vector>

namespace kelvara {

// The design section of a PES version 1 file, from the header's block count
// on: one CEmbOne block (the extents, an affine transform that puts the
// design's centre at the hoop's centre, its place and size) and one CSewSeg
// block holding the stitches as segments of absolute positions from the
// design's centre (y downward): type 0 sews, type 1 jumps, each naming its
// colour block; 0x8003 joins a segment to the next. The colour list gives
// the segment where each colour block starts and its palette index.
// `palette` holds one palette index per colour block. A design of more
// segments than 16 bits count gets no design block: the PEC block alone
// carries it then.
void appendPesDesign(std::vector<uint8_t>& out, const StitchPlan& plan, const PlanBox& box,
                     const std::vector<uint8_t>& palette, bool largeHoop);

} // namespace kelvara
