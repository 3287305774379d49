#pragma once

// A 100,000-stitch plan for the machine file benchmarks: rows of 2 mm
// stitches across 100 mm, a trim and a jump between rows, and a new thread
// every 10,000 stitches.

#include "stitch/stitchplan.h"

namespace kelvara::bench {

inline constexpr int64_t kMachineBenchStitches = 100000;

inline StitchPlan machineBenchPlan()
{
    StitchPlan plan;
    int32_t colour = 0x2020D0;
    for (int64_t i = 0; i < kMachineBenchStitches; ++i) {
        const auto row = static_cast<int32_t>(i / 50), step = static_cast<int32_t>(i % 50);
        const int32_t x = (row % 2 ? 49 - step : step) * 20, y = row / 2;
        if (step == 0 && i > 0) {
            plan.records.push_back({plan.records.back().x, plan.records.back().y, colour, StitchKind::Trim});
            plan.records.push_back({x, y, colour, StitchKind::Jump});
        }
        if (i > 0 && i % 10000 == 0) {
            colour = (colour * 7 + 0x305010) & 0xFFFFFF;
            plan.records.push_back(
                {plan.records.back().x, plan.records.back().y, colour, StitchKind::ColourChange});
        }
        plan.records.push_back({x, y, colour, StitchKind::Stitch});
    }
    plan.records.push_back({plan.records.back().x, plan.records.back().y, colour, StitchKind::End});
    return plan;
}

} // namespace kelvara::bench
