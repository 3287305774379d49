#pragma once

#include "stitch/stitchplan.h"

namespace kelvara {

// `plan` run on a thread of its own, a few stretches ahead of the sink,
// which still receives every stretch in order on the calling thread: the
// next objects are stitched while the last ones are drawn. At most about
// kAheadRecords records wait between the two. What `plan` throws is thrown
// on the calling thread, and so is what the sink throws once `plan` is done.
PlanReplay stitchedAhead(PlanReplay plan);

inline constexpr std::size_t kAheadRecords = 262144;

} // namespace kelvara
