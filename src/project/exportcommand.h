#pragma once

#include "shell/outcome.h"

namespace kelvara {

struct Workspace;
struct Platform;
struct Hoop;
struct StitchPlan;

// Why the design of `plan` is refused by `hoop`: the design's size and the
// hoop's name and size, as one sentence.
Outcome hoopMisfit(const Hoop& hoop, const StitchPlan& plan);

// Export (Ctrl+E): asks for a stitch file (DST, EXP, JEF or PES by its
// extension), generates the stitches of the design and writes them with the
// colour list beside them. Files are replaced only when the whole new file
// was written; every failure is shown in an error box. A design that does
// not fit the chosen hoop is written only when the user says so.
void exportStitches(Workspace& workspace, const Platform& platform);

} // namespace kelvara
