#pragma once

#include <cstdint>
#include <string>

namespace kelvara {

struct StitchPlan;
struct Workspace;

// A machine file's plan as project object lines: one STITCHES object per
// colour block, in sewing order, all in group `group` (0: none). Each block
// keeps its stitches, its jumps and cuts inside it; the travel into a block
// is left to the plan, and a cut at a block's end becomes its TRIM. The
// design's box is centred on (centreX, centreY), moved by whole units so
// every needle keeps its place relative to the others.
std::string machineObjectLines(const StitchPlan& plan, int32_t centreX, int32_t centreY, int32_t group);

// Where the view's centre is, in design units.
void viewCentre(const Workspace& ws, int32_t& x, int32_t& y);

} // namespace kelvara
