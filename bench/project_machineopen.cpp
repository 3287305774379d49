// Opening a 100,000-stitch DST: the file read from disk and decoded into the
// plan the writers take, and opened in the editor as STITCHES objects.
#include "machinebenchdesign.h"
#include "model/workspace.h"
#include "project/importfile.h"
#include "project/machinefile.h"
#include "stitch/dstwriter.h"
#include "stitch/machinereader.h"
#include "support/fakeplatform.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {

using namespace kelvara;

struct DstFile {
    QTemporaryDir dir;
    QString path = dir.filePath("bench.dst");
    DstFile()
    {
        const std::vector<uint8_t> bytes = writeDst(bench::machineBenchPlan(), "bench");
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

bool openOnce(const Workspace& ws, const QString& path)
{
    const MachineRead read = readMachineFile(ws, path);
    benchmark::DoNotOptimize(read.plan.records.data());
    return read.read;
}

void BM_OpenDst(benchmark::State& state)
{
    DstFile file;
    auto ws = std::make_unique<Workspace>();
    for (auto _ : state)
        if (!openOnce(*ws, file.path))
            state.SkipWithError("the DST was refused");
    state.counters["stitches"] = static_cast<double>(bench::kMachineBenchStitches);
}
BENCHMARK(BM_OpenDst)->Unit(benchmark::kMillisecond);

// The whole Open: read, one STITCHES object a colour block, the list filled.
bool openInEditor(Workspace& ws, const QString& path)
{
    testing::FakePlatform fake;
    openMachineDesign(ws, fake.platform(), path, false);
    return ws.table.objectCount > 0;
}

void BM_OpenDstInEditor(benchmark::State& state)
{
    DstFile file;
    auto ws = std::make_unique<Workspace>();
    ws->view.canvasWidth = ws->view.canvasHeight = 10000;
    for (auto _ : state)
        if (!openInEditor(*ws, file.path))
            state.SkipWithError("the DST was refused");
    state.counters["stitches"] = static_cast<double>(bench::kMachineBenchStitches);
}
BENCHMARK(BM_OpenDstInEditor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    DstFile file;
    auto ws = std::make_unique<Workspace>();
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        openOnce(*ws, file.path);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("\n%lld stitches: opening the DST, best of 5: %.1f ms (target 50)\n",
                static_cast<long long>(bench::kMachineBenchStitches), best * 1e3);
    best = 1e9;
    ws->view.canvasWidth = ws->view.canvasHeight = 10000;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        openInEditor(*ws, file.path);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("%lld stitches: opening the DST in the editor as STITCHES objects, best of 5: %.1f ms (target 50)\n",
                static_cast<long long>(bench::kMachineBenchStitches), best * 1e3);
    return 0;
}
