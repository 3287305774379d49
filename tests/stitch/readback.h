#pragma once

// What the format readers of the tests share: a file's moves turned back
// into plan records, and the opening jumps from the centre dropped so the
// rest compares record for record with the plan.

#include "stitch/stitchplan.h"

#include <vector>

namespace kelvara::testing {

// Drops the jumps a file opens with to reach the plan's first needle; the
// last of them is the first record itself when that record is a jump.
inline std::vector<StitchRecord> withoutOpening(std::vector<StitchRecord> back, const StitchPlan& plan)
{
    const StitchRecord& first = plan.records.front();
    std::size_t opening = 0;
    while (opening < back.size() && back[opening].kind == StitchKind::Jump &&
           !(back[opening].x == first.x && back[opening].y == first.y))
        ++opening;
    if (opening < back.size() && back[opening].kind == StitchKind::Jump && first.kind != StitchKind::Jump)
        ++opening;
    back.erase(back.begin(), back.begin() + static_cast<std::ptrdiff_t>(opening));
    return back;
}

} // namespace kelvara::testing
