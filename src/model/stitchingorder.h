#pragma once

#include "model/box.h"

#include <cstdint>
#include <vector>

namespace kelvara {

// What the stitching order of one object depends on: where its stitches
// start and end, the area they cover and their thread. Design units.
struct OrderItem {
    int32_t row = -1;
    int32_t colour = 0;
    int32_t startX = 0, startY = 0, endX = 0, endY = 0;
    PlanBox box;         // the stitches' box, empty without any
    bool movable = true; // selected for reordering
};

// The needle's travel between objects and the thread changes of an order.
struct OrderCosts {
    double jumpUnits = 0;
    int32_t colourChanges = 0;
};

// `items` (the design in stitching order) measured in the order `sequence`
// gives as indices into it; objects without stitches (empty box) are skipped.
OrderCosts measureOrder(const std::vector<OrderItem>& items, const std::vector<int32_t>& sequence);

// A shorter order for the movable items: each run of consecutive movable
// items is reordered in place, from where the item before it ends. Each
// next object is one of the same thread when one can follow, else the one
// starting nearest the needle. An object never passes another that it
// overlaps and that has another thread (what is sewn later lies on top).
// Returns indices into `items`.
std::vector<int32_t> optimisedOrder(const std::vector<OrderItem>& items);

} // namespace kelvara
