#pragma once

#include "model/box.h"
#include "stitch/stitchplan.h"

#include <algorithm>
#include <cstdint>

namespace kelvara {

// The box around a plan's needle positions (stitches and jumps before the
// end); trims and colour changes stay where the needle is. Empty without any.
PlanBox needleBox(const StitchPlan& plan);
// The needle box, or for a plan without needles the box of the origin,
// from which such a plan is sewn.
PlanBox planExtents(const StitchPlan& plan);

// One relative move of a machine file, in design axes (y downward); each
// format flips y as it needs.
struct MachineMove {
    StitchKind kind = StitchKind::Stitch;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t colour = 0; // the next thread, on a colour change
};

// Walks the plan as a machine sews it from the centre of its extents, as DST
// does: a jump from the centre to the first needle (the first record's own
// jump when it is one), then every record, a move longer than `maxStep` on
// either axis split into equal parts. Ends with one End move whether the plan
// has one or not.
template <typename Emit> void forEachMachineMove(const StitchPlan& plan, int32_t maxStep, Emit&& emit)
{
    const PlanBox box = planExtents(plan);
    int64_t x = box.centreX(), y = box.centreY();
    auto move = [&](int64_t tx, int64_t ty, StitchKind kind) {
        const int64_t dx = tx - x, dy = ty - y;
        const int64_t longest = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
        const int64_t n = std::max<int64_t>(1, (longest + maxStep - 1) / maxStep);
        int64_t doneX = 0, doneY = 0;
        for (int64_t k = 1; k <= n; ++k) {
            const int64_t stepX = dx * k / n, stepY = dy * k / n;
            emit(MachineMove{kind, static_cast<int32_t>(stepX - doneX), static_cast<int32_t>(stepY - doneY),
                             0});
            doneX = stepX;
            doneY = stepY;
        }
        x = tx;
        y = ty;
    };
    if (!plan.records.empty()) {
        const StitchRecord& first = plan.records.front();
        if (first.kind != StitchKind::Jump && (first.x != x || first.y != y))
            move(first.x, first.y, StitchKind::Jump);
    }
    for (const StitchRecord& r : plan.records) {
        switch (r.kind) {
        case StitchKind::Stitch:
        case StitchKind::Jump:
            move(r.x, r.y, r.kind);
            break;
        case StitchKind::Trim:
            emit(MachineMove{StitchKind::Trim, 0, 0, 0});
            break;
        case StitchKind::ColourChange:
            emit(MachineMove{StitchKind::ColourChange, 0, 0, r.colour});
            break;
        case StitchKind::End:
            emit(MachineMove{StitchKind::End, 0, 0, 0});
            return;
        }
    }
    emit(MachineMove{StitchKind::End, 0, 0, 0});
}

} // namespace kelvara
