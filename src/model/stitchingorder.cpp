#include "model/stitchingorder.h"

#include <cmath>
#include <limits>

namespace kelvara {

namespace {

bool sewn(const OrderItem& item)
{
    return !item.box.empty();
}

// Whether `later` must stay after `earlier` (earlier in the present order):
// what is sewn later lies on top.
bool mustFollow(const OrderItem& earlier, const OrderItem& later)
{
    return earlier.colour != later.colour && earlier.box.intersects(later.box);
}

double distance(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    return std::hypot(double(x1) - x0, double(y1) - y0);
}

// Where the needle is after `item`, if it sews anything.
struct Needle {
    bool known = false;
    int32_t x = 0, y = 0, colour = 0;
};

// One run of movable items [first, last) reordered from `needle`.
void orderRun(const std::vector<OrderItem>& items, int32_t first, int32_t last, Needle& needle,
              std::vector<int32_t>& out)
{
    const int32_t n = last - first;
    std::vector<std::vector<int32_t>> followers(static_cast<std::size_t>(n));
    std::vector<int32_t> waiting(static_cast<std::size_t>(n), 0); // earlier items still to be placed
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = i + 1; j < n; ++j)
            if (mustFollow(items[std::size_t(first + i)], items[std::size_t(first + j)])) {
                followers[std::size_t(i)].push_back(j);
                ++waiting[std::size_t(j)];
            }
    std::vector<int32_t> ready;
    for (int32_t i = 0; i < n; ++i)
        if (waiting[std::size_t(i)] == 0)
            ready.push_back(i);

    while (!ready.empty()) {
        std::size_t best = 0;
        double bestCost = std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < ready.size(); ++k) {
            const OrderItem& item = items[std::size_t(first + ready[k])];
            double cost = 0;
            if (sewn(item) && needle.known) {
                // A thread change costs more than any travel on the hoop.
                cost = distance(needle.x, needle.y, item.startX, item.startY);
                if (item.colour != needle.colour)
                    cost += 1e9;
            }
            // Ties keep the present order.
            if (cost < bestCost || (cost == bestCost && ready[k] < ready[best])) {
                bestCost = cost;
                best = k;
            }
        }
        const int32_t chosen = ready[best];
        ready[best] = ready.back();
        ready.pop_back();
        const OrderItem& item = items[std::size_t(first + chosen)];
        out.push_back(first + chosen);
        if (sewn(item))
            needle = {true, item.endX, item.endY, item.colour};
        for (int32_t next : followers[std::size_t(chosen)])
            if (--waiting[std::size_t(next)] == 0)
                ready.push_back(next);
    }
}

} // namespace

OrderCosts measureOrder(const std::vector<OrderItem>& items, const std::vector<int32_t>& sequence)
{
    OrderCosts costs;
    const OrderItem* previous = nullptr;
    for (int32_t index : sequence) {
        const OrderItem& item = items[std::size_t(index)];
        if (!sewn(item))
            continue;
        if (previous != nullptr) {
            costs.jumpUnits += distance(previous->endX, previous->endY, item.startX, item.startY);
            if (previous->colour != item.colour)
                ++costs.colourChanges;
        }
        previous = &item;
    }
    return costs;
}

std::vector<int32_t> optimisedOrder(const std::vector<OrderItem>& items)
{
    std::vector<int32_t> out;
    out.reserve(items.size());
    Needle needle;
    const auto count = static_cast<int32_t>(items.size());
    for (int32_t i = 0; i < count;) {
        if (!items[std::size_t(i)].movable) {
            const OrderItem& item = items[std::size_t(i)];
            out.push_back(i);
            if (sewn(item))
                needle = {true, item.endX, item.endY, item.colour};
            ++i;
            continue;
        }
        int32_t end = i;
        while (end < count && items[std::size_t(end)].movable)
            ++end;
        orderRun(items, i, end, needle, out);
        i = end;
    }
    return out;
}

} // namespace kelvara
