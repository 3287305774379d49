// Planning one shape of 200 nodes with three holes over 100 x 100 mm: the
// object's whole plan (fill, underlay, ties), as a drag or a change re-plans it.
#include "model/kinds/kind.h"
#include "model/pathstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/stitchplan.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace kelvara;

// A wavy outer ring of 188 corner nodes and three square holes (12 nodes).
std::string shapePath()
{
    std::string d;
    const int n = 188;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265358979 * i / n;
        const double r = 480 + 20 * std::sin(9 * a);
        d += (i == 0 ? "M" : "L") + std::to_string(std::lround(500 + r * std::cos(a))) + "," +
             std::to_string(std::lround(500 + r * std::sin(a)));
    }
    d += "Z";
    d += "M250,250L250,400L400,400L400,250Z";
    d += "M600,250L600,400L750,400L750,250Z";
    d += "M420,600L420,750L580,750L580,600Z";
    return d;
}

void BM_PlanShapeWithThreeHoles(benchmark::State& state)
{
    const Settings settings;
    const auto libraries = std::make_unique<Libraries>();
    const KindRow& row = *kindRow(KindShape);
    ObjectParams p{};
    row.defaults(p, settings, 0);
    p.shape.PATH = storePath(readPath(shapePath()).path);
    p.shape.BORDER = static_cast<int32_t>(state.range(0));
    StitchPlan plan;
    for (auto _ : state) {
        plan.records.clear();
        benchmark::DoNotOptimize(generateObjectPlan(KindShape, p, *libraries, settings, plan));
    }
    state.counters["records"] = static_cast<double>(plan.records.size());
}
BENCHMARK(BM_PlanShapeWithThreeHoles)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
