// `kelvara --export` of a 500,000-stitch design as a whole process: start-up,
// libraries and configuration, reading the project, the plan, the DST file.
#include "model/workspace.h"
#include "project/saveproject.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchplan.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {

using namespace kelvara;

constexpr int64_t kTargetStitches = 500000;

// The grid design of the plan benchmarks, grown until it reaches the target.
struct BenchDesign {
    std::string text;
    int objects = 0;
    int64_t stitches = 0;
};

const BenchDesign& design()
{
    static const BenchDesign d = [] {
        BenchDesign out;
        for (int count = 512; count <= ObjectTable::kRows; count += 128) {
            auto ws = std::make_unique<Workspace>();
            testing::buildGridDesign(*ws, count);
            StitchPlan plan;
            generatePlan(*ws, plan);
            out = {projectFileText(*ws), count, plan.stitchCount()};
            if (out.stitches >= kTargetStitches)
                break;
        }
        return out;
    }();
    return d;
}

bool exportOnce(const QString& project, const QString& output)
{
    QProcess process;
    process.start(QStringLiteral(KELVARA_PROGRAM), {"--export", project, output});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

struct Files {
    QTemporaryDir dir;
    QString project = dir.filePath("bench.kvp");
    QString output = dir.filePath("bench.dst");
    Files() { std::ofstream(project.toStdString(), std::ios::binary) << design().text; }
};

void BM_ExportProcess(benchmark::State& state)
{
    Files files;
    for (auto _ : state)
        if (!exportOnce(files.project, files.output))
            state.SkipWithError("the export failed");
    state.counters["stitches"] = static_cast<double>(design().stitches);
}
BENCHMARK(BM_ExportProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    Files files;
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        exportOnce(files.project, files.output);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf(
        "\n%d objects, %lld stitches: kelvara --export as a process, best of 5: %.0f ms (target 500)\n",
        design().objects, static_cast<long long>(design().stitches), best * 1e3);
    return 0;
}
