#pragma once

#include "model/stitchingorder.h"

#include <vector>

namespace kelvara {

struct Workspace;
class ObjectPlanCache;

// The design in stitching order as the order optimiser sees it: where each
// object's stitches start and end and the area they cover, from the kept
// pieces of `plans`, which are those of the design as it is. `selectedOnly`
// marks only the selected objects movable; otherwise every object is.
std::vector<OrderItem> orderItems(const Workspace& ws, const ObjectPlanCache& plans, bool selectedOnly);

} // namespace kelvara
