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

// Reads trims written as three jumps with no net movement (DST, EXP) as one.
inline std::vector<StitchRecord> trimsFromJumpTriples(const std::vector<StitchRecord>& in)
{
    std::vector<StitchRecord> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const int32_t px = out.empty() ? 0 : out.back().x, py = out.empty() ? 0 : out.back().y;
        if (!out.empty() && i + 2 < in.size() && in[i].kind == StitchKind::Jump &&
            in[i + 1].kind == StitchKind::Jump && in[i + 2].kind == StitchKind::Jump && in[i + 2].x == px &&
            in[i + 2].y == py && in[i].x == px + 1 && in[i].y == py - 1 && in[i + 1].x == px - 1 &&
            in[i + 1].y == py + 1) {
            out.push_back({px, py, 0, StitchKind::Trim});
            i += 2;
            continue;
        }
        out.push_back(in[i]);
    }
    return out;
}

} // namespace kelvara::testing
