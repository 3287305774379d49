// The stitch view after an edit, in a 4096-object design: the kept pieces
// stitch only the changed object and the layer draws only where it lay,
// each figure printed beside the whole re-plan measured in the same run.

#include "model/workspace.h"
#include "stitch/objectplancache.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchrender.h"
#include "support/workspacefixture.h"
#include "ui/canvasview.h"
#include "ui/stitchlayer.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

using namespace kelvara;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1012;

std::unique_ptr<Workspace> design()
{
    auto ws = testing::makeWorkspace();
    testing::buildGridDesign(*ws, 4096);
    ws->view.canvasWidth = kWidth;
    ws->view.canvasHeight = kHeight;
    ws->view.zoom = 1;
    return ws;
}

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The old path: every edit planned the whole design again.
double wholeReplanSeconds(const Workspace& ws)
{
    StitchPlan plan;
    const int rounds = 5;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        benchmark::DoNotOptimize(generatePlan(ws, plan));
    return seconds(start) / rounds;
}

// A canvas with the stitch view, as the canvas widget renders it.
struct StitchCanvas {
    std::unique_ptr<Workspace> ws = design();
    ObjectPlanCache cache;
    StitchLayer layer;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    PictureAnchor anchor;

    void render()
    {
        cache.update(*ws);
        renderCanvas(image, *ws, anchor,
                     [this](QPainter& painter) { layer.paint(painter, cache, ws->view); });
    }
    // The row shown at `position` of the display order.
    int32_t row(int position) const { return cache.order()[std::size_t(position)]; }
    ObjectParams& params(int32_t r) { return ws->records[ws->table.rows[std::size_t(r)].params]; }
};

void report(benchmark::State& state, Clock::time_point start, const Workspace& ws, double firstSeconds,
            int64_t stitches)
{
    const double perEdit =
        seconds(start) / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    const double whole = wholeReplanSeconds(ws);
    state.counters["edit_ms"] = perEdit * 1e3;
    state.counters["whole_replan_ms"] = whole * 1e3;
    state.counters["first_render_ms"] = firstSeconds * 1e3;
    state.counters["stitches"] = double(stitches);
}

// Applying one field (the density) of one satin in view, through to the
// re-rendered canvas.
void BM_ApplyFieldToOneObject(benchmark::State& state)
{
    StitchCanvas canvas;
    const auto first = Clock::now();
    canvas.render();
    const double firstSeconds = seconds(first);
    SatenParams& satin = canvas.params(canvas.row(64 + 7)).saten;
    int step = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        satin.SDENS = satin.TDENS = 30 + (step++ % 8);
        markDesignChanged(*canvas.ws);
        canvas.render();
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    report(state, start, *canvas.ws, firstSeconds, canvas.cache.stitchCount());
}
BENCHMARK(BM_ApplyFieldToOneObject)->Unit(benchmark::kMillisecond);

// One mouse move of a node drag: the end point of a column's line moves a
// little, and the canvas is rendered again.
void BM_NodeDragMove(benchmark::State& state)
{
    StitchCanvas canvas;
    const auto first = Clock::now();
    canvas.render();
    const double firstSeconds = seconds(first);
    SteilParams& column = canvas.params(canvas.row(64 + 8)).steil;
    const double x2 = column.line.x2, y2 = column.line.y2;
    int step = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        ++step;
        column.line.x2 = x2 + (step % 20);
        column.line.y2 = y2 + (step % 13);
        markDesignChanged(*canvas.ws);
        canvas.render();
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    report(state, start, *canvas.ws, firstSeconds, canvas.cache.stitchCount());
}
BENCHMARK(BM_NodeDragMove)->Unit(benchmark::kMillisecond);

// The whole re-plan alone, the cost every edit paid before.
void BM_WholeReplan(benchmark::State& state)
{
    auto ws = design();
    StitchPlan plan;
    for (auto _ : state)
        benchmark::DoNotOptimize(generatePlan(*ws, plan));
    state.counters["stitches"] = double(plan.stitchCount());
}
BENCHMARK(BM_WholeReplan)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
