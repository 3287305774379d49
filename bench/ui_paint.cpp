// The canvas paint per mouse move and the lower-layer render, each beside
// its floor: a plain copy of an image of the same size.

#include "model/workspace.h"
#include "support/workspacefixture.h"
#include "ui/canvasview.h"

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
