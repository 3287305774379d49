// Optimising the stitching order of a 4096-object design: gathering where
// each object starts, ends and lies, and the reordering itself, beside the
// whole re-plan of the same design.
#include "model/stitchingorder.h"
#include "stitch/objectplancache.h"
#include "stitch/orderitems.h"
#include "stitch/sampledesign.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

using namespace kelvara;

Workspace& design()
{
    static const std::unique_ptr<Workspace> ws = [] {
        auto w = std::make_unique<Workspace>();
        testing::buildGridDesign(*w, 4096);
        return w;
    }();
    return *ws;
}

ObjectPlanCache& plans()
{
    static ObjectPlanCache cache;
    cache.update(design());
    return cache;
}

void BM_OptimiseOrder(benchmark::State& state)
{
    for (auto _ : state) {
        const std::vector<OrderItem> items = orderItems(design(), plans(), false);
        benchmark::DoNotOptimize(optimisedOrder(items).data());
    }
}
BENCHMARK(BM_OptimiseOrder)->Unit(benchmark::kMillisecond);

void BM_WholeReplan(benchmark::State& state)
{
    for (auto _ : state) {
        StitchPlan plan;
        benchmark::DoNotOptimize(generatePlan(design(), plan));
    }
}
BENCHMARK(BM_WholeReplan)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::vector<OrderItem> items = orderItems(design(), plans(), false);
    std::vector<int32_t> present(items.size());
    for (std::size_t i = 0; i < present.size(); ++i)
        present[i] = int32_t(i);
    const auto t0 = std::chrono::steady_clock::now();
    const std::vector<int32_t> order = optimisedOrder(items);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const OrderCosts before = measureOrder(items, present);
    const OrderCosts after = measureOrder(items, order);
    std::printf("\n%zu objects: optimised in %.1f ms (target 1000); jumps %.0f mm -> %.0f mm, "
                "colour changes %d -> %d\n",
                items.size(), ms, before.jumpUnits / 10, after.jumpUnits / 10, before.colourChanges,
                after.colourChanges);
    return 0;
}
