#include "stitch/machinemoves.h"

namespace kelvara {

PlanBox needleBox(const StitchPlan& plan)
{
    PlanBox box;
    for (const StitchRecord& r : plan.records) {
        if (r.kind == StitchKind::End)
            break;
        if (r.kind == StitchKind::Stitch || r.kind == StitchKind::Jump)
            box.add(r.x, r.y);
    }
    return box;
}

PlanBox planExtents(const StitchPlan& plan)
{
    PlanBox box = needleBox(plan);
    if (box.empty())
        box.add(0, 0);
    return box;
}

} // namespace kelvara
