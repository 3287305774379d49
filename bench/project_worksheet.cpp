// The worksheet PDF of a design of about 400,000 stitches: the page with
// the design drawn at print size, its facts and thread sequence. The file's
// size is reported beside the time.
#include "model/workspace.h"
#include "project/worksheet.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchplan.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kelvara;

constexpr int64_t kTargetStitches = 400000;

// The grid design of the plan benchmarks, grown until it reaches the target.
std::unique_ptr<Workspace> largeDesign(int64_t& stitches)
{
    std::unique_ptr<Workspace> ws;
    for (int count = 512; count <= ObjectTable::kRows; count += 128) {
        ws = std::make_unique<Workspace>();
        testing::buildGridDesign(*ws, count);
        StitchPlan plan;
        generatePlan(*ws, plan);
        stitches = plan.stitchCount();
        if (stitches >= kTargetStitches)
            break;
    }
    return ws;
}

void BM_WorksheetPdf(benchmark::State& state)
{
    int64_t stitches = 0;
    const auto ws = largeDesign(stitches);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    for (auto _ : state) {
        const Outcome reason = writeWorksheetPdf(*ws, QStringLiteral("large"), path);
        if (!reason.ok())
            state.SkipWithError(builtInText(reason).c_str());
    }
    state.counters["stitches"] = double(stitches);
    state.counters["pdf_MB"] = double(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(BM_WorksheetPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

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
