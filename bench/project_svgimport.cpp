// Importing SVG artwork of 500 paths (curves, arcs, groups and transforms)
// into a design as one undo step.
#include "model/workspace.h"
#include "project/importfile.h"
#include "support/fakeplatform.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace kelvara;

constexpr int kPaths = 500;

struct SvgFile {
    QTemporaryDir dir;
    QString path = dir.filePath("bench.svg");
    SvgFile()
    {
        std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200mm\" height=\"200mm\" "
                           "viewBox=\"0 0 1000 1000\">";
        for (int i = 0; i < kPaths; ++i) {
            const int x = (i % 25) * 40, y = (i / 25) * 50;
            if (i % 50 == 0)
                text += std::string(i ? "</g>" : "") + "<g transform=\"rotate(" + std::to_string(i % 7) + ")\">";
            text += "<path fill=\"#" + std::string(i % 2 ? "c03030" : "3060c0") + "\" d=\"M" + std::to_string(x) +
                    "," + std::to_string(y) +
                    " c5,-10 25,-10 30,0 s-5,20 -15,25 q-10,-5 -15,-25 a6,6 0 0 1 5,-5 l2,1 h1 v1 z\"/>";
        }
        text += "</g></svg>";
        std::ofstream(path.toStdString(), std::ios::binary).write(text.data(), std::streamsize(text.size()));
    }
};

bool importOnce(const QString& path)
{
    auto ws = std::make_unique<Workspace>();
    ws->view.canvasWidth = ws->view.canvasHeight = 10000;
    testing::FakePlatform fake;
    importFileAt(*ws, fake.platform(), path);
    return ws->table.objectCount == kPaths;
}

void BM_ImportSvg(benchmark::State& state)
{
    SvgFile file;
    for (auto _ : state)
        if (!importOnce(file.path))
            state.SkipWithError("the SVG did not come in whole");
}
BENCHMARK(BM_ImportSvg)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    SvgFile file;
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        importOnce(file.path);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("\n%d paths: importing the SVG, best of 5: %.1f ms (target 200)\n", kPaths, best * 1e3);
    return 0;
}
