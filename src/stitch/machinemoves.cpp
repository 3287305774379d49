#include "stitch/machinemoves.h"

namespace kelvara {

PlanExtents planExtents(const StitchPlan& plan)
{
    PlanExtents box;
    for (const StitchRecord& r : plan.records) {
        if (r.kind == StitchKind::End)
            break;
        if (r.kind != StitchKind::Stitch && r.kind != StitchKind::Jump)
            continue;
        box.minX = box.any ? std::min<int64_t>(box.minX, r.x) : r.x;
        box.maxX = box.any ? std::max<int64_t>(box.maxX, r.x) : r.x;
        box.minY = box.any ? std::min<int64_t>(box.minY, r.y) : r.y;
        box.maxY = box.any ? std::max<int64_t>(box.maxY, r.y) : r.y;
        box.any = true;
    }
    return box;
}

} // namespace kelvara
