// The stitch view drawn as thread, at 1920 x 1012, over a design of about
// 500,000 stitches: the first drawing, a repaint with nothing changed (the
// layer keeps its picture) and a scroll step (the kept picture moves and
// only the uncovered strip is drawn). Targets: a redraw under 100 ms, a
// scroll step under 16 ms.

#include "model/workspace.h"
#include "stitch/objectplancache.h"
#include "stitch/sampledesign.h"
#include "support/workspacefixture.h"
#include "ui/canvasview.h"
#include "ui/stitchlayer.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace kelvara;

constexpr int kWidth = 1920;
constexpr int kHeight = 1012;
constexpr int64_t kStitches = 500000;

struct ThreadCanvas {
    std::unique_ptr<Workspace> ws = testing::makeWorkspace();
    ObjectPlanCache cache;
    StitchLayer layer;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    PictureAnchor anchor;

    ThreadCanvas()
    {
        // Grown until the design has the stitches asked for.
        int objects = 2048;
        for (;;) {
            ws = testing::makeWorkspace();
            testing::buildGridDesign(*ws, objects);
            ObjectPlanCache probe;
            probe.update(*ws);
            if (probe.stitchCount() >= kStitches || objects >= 16384)
                break;
            objects = int(double(objects) * double(kStitches) / double(std::max<int64_t>(1, probe.stitchCount())) +
                          64);
        }
        cache.update(*ws);
        ws->view.canvasWidth = kWidth;
        ws->view.canvasHeight = kHeight;
        ws->view.zoom = 1;
    }
    void render()
    {
        cache.update(*ws);
        renderCanvas(image, *ws, anchor,
                     [this](QPainter& painter) { layer.paint(painter, cache, ws->view, true); }, 0xFFE8E2D4u);
    }
};

void counters(benchmark::State& state, const ThreadCanvas& canvas)
{
    state.counters["stitches"] = double(canvas.cache.stitchCount());
}

// Everything drawn again, as after a zoom or a switch of the view.
void BM_ThreadViewWholeDrawing(benchmark::State& state)
{
    ThreadCanvas canvas;
    for (auto _ : state) {
        canvas.layer.release();
        canvas.render();
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    counters(state, canvas);
}
BENCHMARK(BM_ThreadViewWholeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

// A redraw of the canvas with the design and view unchanged (a selection,
// the grid, a tool's preview): the thread picture is kept.
void BM_ThreadViewRedraw(benchmark::State& state)
{
    ThreadCanvas canvas;
    canvas.render();
    for (auto _ : state) {
        canvas.render();
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    counters(state, canvas);
}
BENCHMARK(BM_ThreadViewRedraw)->Unit(benchmark::kMillisecond);

// One arrow-key step down (and back up every other time).
void BM_ThreadViewScrollStep(benchmark::State& state)
{
    ThreadCanvas canvas;
    canvas.render();
    int step = 0;
    for (auto _ : state) {
        canvas.ws->view.scrollY += (step++ % 2 == 0) ? 100 : -100;
        canvas.render();
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    counters(state, canvas);
}
BENCHMARK(BM_ThreadViewScrollStep)->Unit(benchmark::kMillisecond);

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
