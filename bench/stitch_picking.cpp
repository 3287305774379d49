// Picking the object under the mouse in a 4096-object design (about 500,000
// stitches), beside selecting by a box over a quarter of it.
#include "stitch/objectpicking.h"
#include "stitch/sampledesign.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvara;

const Workspace& design()
{
    static const std::unique_ptr<Workspace> ws = [] {
        auto w = std::make_unique<Workspace>();
        testing::buildGridDesign(*w, 4096);
        return w;
    }();
    return *ws;
}

// Points spread over the whole design, on objects and between them.
void BM_PickObjectUnderMouse(benchmark::State& state)
{
    const Workspace& ws = design();
    int i = 0;
    int64_t hits = 0;
    for (auto _ : state) {
        const stitch::Vec at{double((i * 7919) % 10240), double((i * 104729) % 10240)};
        const int32_t row = stitch::objectAt(ws.table, ws.records, at, 4);
        hits += row >= 0 ? 1 : 0;
        benchmark::DoNotOptimize(row);
        ++i;
    }
    state.counters["hit_share"] = double(hits) / double(std::max<int64_t>(state.iterations(), 1));
}
BENCHMARK(BM_PickObjectUnderMouse)->Unit(benchmark::kMicrosecond);

void BM_BoxSelectQuarter(benchmark::State& state)
{
    const Workspace& ws = design();
    for (auto _ : state) {
        auto rows = stitch::objectsInBox(ws.table, ws.records, {-10, -10}, {5130, 5130});
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_BoxSelectQuarter)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
