#pragma once

#include "model/pathdata.h"
#include "stitch/generators.h"

#include <vector>

namespace kelvara::stitch {

// Where along a closed line (`points`, the last on the first, `total` long)
// the needle is best put down: at the point nearest the entry, so the move
// to the line is as short as it can be (its start wins a tie). With
// ENTRYEXIT and an exit, the loop, which ends where it starts, starts among
// the points about as near the entry (within the reach that carries a seam
// on) at the one nearest the exit, and with no entry at the point nearest
// the exit. 0 when neither is known.
double closedLineStart(const std::vector<Vec>& points, double total, const GenContext& ctx);

// The closed sub-path sewn from the point `s` along its flattened line: cut
// there (a cubic by de Casteljau, on whole units) and walked round back to
// it. Unchanged when `s` falls on its start.
SubPath subPathFrom(const SubPath& sub, double s);

} // namespace kelvara::stitch
