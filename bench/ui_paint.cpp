// The canvas paint per mouse move, the lower-layer render and the object
// outlines, each beside its floor: a plain copy of an image of the same size.

#include "model/workspace.h"
#include "stitch/sampledesign.h"
#include "support/workspacefixture.h"
#include "ui/canvasview.h"
#include "ui/outlinerender.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using kelvara::Workspace;

constexpr int kWidth = 1920;
constexpr int kHeight = 1012;

QImage testPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    return picture;
}

std::unique_ptr<Workspace> paintedWorkspace(int zoom, const QImage& picture)
{
    auto ws = kelvara::testing::makeWorkspace();
    ws->view.canvasWidth = kWidth;
    ws->view.canvasHeight = kHeight;
    ws->view.zoom = zoom;
    ws->settings.MRIZ = 1;
    ws->settings.MRIZXY = 2; // dense: a line every 20 pixels at zoom 1
    ws->settings.CROSS = 1;
    ws->picture.pictureName = "picture.bmp";
    ws->picture.pixels = picture;
    ws->picture.picWidth = picture.width();
    ws->picture.picHeight = picture.height();
    ws->tools.rubberBand.active = 1;
    ws->tools.rubberBand.startX = 300;
    ws->tools.rubberBand.startY = 200;
    ws->tools.rubberBand.straight = 0;
    ws->tools.rubberBand.c1X = 500;
    ws->tools.rubberBand.c1Y = 700;
    ws->tools.rubberBand.c2X = 900;
    ws->tools.rubberBand.c2Y = 100;
    ws->tools.preview.segments[0] = {1, 100, 100, 300, 200, 1, 0, 0, 0, 0};
    return ws;
}

// Time of one plain copy of a full canvas image: the floor of every figure.
double copySeconds(const QImage& source)
{
    QImage target(source.size(), QImage::Format_RGB32);
    QPainter painter(&target);
    const int rounds = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        painter.drawImage(0, 0, source);
        benchmark::DoNotOptimize(target.constBits());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

using Clock = std::chrono::steady_clock;

void reportRatio(benchmark::State& state, Clock::time_point start, double floorSeconds)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double perIteration = seconds / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["floor_ms"] = floorSeconds * 1e3;
    state.counters["ratio"] = perIteration / floorSeconds;
}

void BM_PaintPerMouseMove(benchmark::State& state)
{
    const QImage picture = testPicture(1600, 1200);
    auto ws = paintedWorkspace(1, picture);
    QImage lower(kWidth, kHeight, QImage::Format_RGB32);
    kelvara::PictureAnchor anchor;
    kelvara::renderCanvas(lower, *ws, anchor);
    QImage target(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&target);
    int move = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        ws->view.mouseX = 200 + (move * 7) % 1500;
        ws->view.mouseY = 100 + (move * 3) % 800;
        ++move;
        kelvara::presentCanvas(painter, lower, *ws);
        benchmark::DoNotOptimize(target.constBits());
    }
    reportRatio(state, start, copySeconds(lower));
}
BENCHMARK(BM_PaintPerMouseMove)->Unit(benchmark::kMillisecond);

void BM_RenderCanvas(benchmark::State& state)
{
    const QImage picture = testPicture(4000, 3000);
    auto ws = paintedWorkspace(int(state.range(0)), picture);
    ws->view.scrollX = 800;
    ws->view.scrollY = 600;
    QImage lower(kWidth, kHeight, QImage::Format_RGB32);
    lower.fill(Qt::black);
    kelvara::PictureAnchor anchor;
    anchor.cacheKey = picture.cacheKey(); // loaded at zoom 1
    const auto start = Clock::now();
    for (auto _ : state) {
        kelvara::renderCanvas(lower, *ws, anchor);
        benchmark::DoNotOptimize(lower.constBits());
    }
    reportRatio(state, start, copySeconds(lower));
}
BENCHMARK(BM_RenderCanvas)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

// 4096 objects of every kind in turn, all in view: cells of 30 x 15 units
// over the whole 1920 x 1012 canvas, a thread colour per row of cells.
void buildDenseDesign(Workspace& ws)
{
    using namespace kelvara;
    using namespace kelvara::testing;
    for (int i = 0; i < ObjectTable::kRows; ++i) {
        const double x = (i % 64) * 30.0, y = (i / 64) * 15.0;
        const auto ix = int32_t(x), iy = int32_t(y);
        ObjectParams p{};
        int32_t kind = i % 6 + 1;
        switch (kind) {
        case KindRun:
            p = runParams(curvedEdge(x, y, x + 10, y + 14, x + 20, y - 4, x + 28, y + 12));
            break;
        case KindSaten:
            p = satenParams(curvedEdge(x, y, x + 10, y - 4, x + 20, y + 4, x + 28, y),
                            straightEdge(x, y + 12, x + 28, y + 12));
            break;
        case KindSteil:
            p = steilParams(curvedEdge(x, y + 7, x + 10, y, x + 18, y + 14, x + 28, y + 7), 6);
            break;
        case KindRect:
            p = rectParams(straightEdge(x, y, x + 26, y), straightEdge(x + 2, y + 13, x + 28, y + 13));
            break;
        case KindStar:
            p = starParams(ix + 15, iy + 7, 13, 6);
            break;
        default:
            p = circleParams(ix + 15, iy + 7, 13, 6);
            break;
        }
        const auto colour = int32_t(0x102030u * uint32_t(i / 64 + 1) & 0xFFFFFFu);
        switch (kind) {
        case KindRun:
            p.run.colour = colour;
            break;
        case KindSaten:
            p.saten.colour = colour;
            break;
        case KindSteil:
            p.steil.colour = colour;
            break;
        case KindRect:
            p.rect.colour = colour;
            break;
        case KindStar:
            p.star.colour = colour;
            break;
        default:
            p.circle.colour = colour;
            break;
        }
        addObject(ws, kind, p);
    }
}

// Range 0: the dense design, every object in view. Range 1: the 4096 cells
// of 160 units, at zoom 1 mostly out of view. Range 2: the dense design
// with every object selected, drawn highlighted with its handles.
void BM_DrawOutlines(benchmark::State& state)
{
    auto ws = kelvara::testing::makeWorkspace();
    ws->view.canvasWidth = kWidth;
    ws->view.canvasHeight = kHeight;
    if (state.range(0) == 1)
        kelvara::testing::buildGridDesign(*ws, kelvara::ObjectTable::kRows);
    else
        buildDenseDesign(*ws);
    if (state.range(0) == 2)
        ws->selection.rows.set();
    QImage lower(kWidth, kHeight, QImage::Format_RGB32);
    lower.fill(Qt::black);
    QPainter painter(&lower);
    const auto start = Clock::now();
    for (auto _ : state) {
        if (state.range(0) == 2)
            kelvara::drawSelection(painter, *ws);
        else
            kelvara::drawOutlines(painter, *ws);
        benchmark::DoNotOptimize(lower.constBits());
    }
    reportRatio(state, start, copySeconds(lower));
}
BENCHMARK(BM_DrawOutlines)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

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
