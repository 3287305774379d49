// Selecting all 4096 lines of the object list: from the canvas (the list
// shows the canvas selection) and from the list (the canvas takes it).
#include "model/editing.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "stitch/sampledesign.h"
#include "ui/objectlistwidget.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace kelvara;

struct ListedDesign {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    ObjectListWidget list;
    Platform platform;

    ListedDesign()
    {
        testing::buildGridDesign(*ws, 4096);
        list.resize(160, 700);
        list.show();
        platform.list = &list;
        refillObjectList(*ws, platform);
        QCoreApplication::processEvents();
    }
};

void BM_ShowAllSelectedInList(benchmark::State& state)
{
    ListedDesign d;
    for (auto _ : state) {
        state.PauseTiming();
        d.list.clearSelection();
        d.ws->selection.rows.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        for (int32_t row : DisplayOrder(d.ws->table))
            d.ws->selection.rows.set(size_t(row));
        showSelectionInList(*d.ws, d.platform);
        QCoreApplication::processEvents();
    }
    state.counters["lines"] = double(d.list.selectedPositions().size());
}
BENCHMARK(BM_ShowAllSelectedInList)->Unit(benchmark::kMillisecond);

// The same through the line-by-line default, beside the one-pass path.
void BM_SelectAllLineByLine(benchmark::State& state)
{
    ListedDesign d;
    std::vector<int> all(4096);
    for (int i = 0; i < 4096; ++i)
        all[size_t(i)] = i;
    for (auto _ : state) {
        state.PauseTiming();
        d.list.clearSelection();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        d.list.ListBox::setSelection(all);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SelectAllLineByLine)->Unit(benchmark::kMillisecond);

void BM_TakeAllSelectedFromList(benchmark::State& state)
{
    ListedDesign d;
    for (auto _ : state) {
        state.PauseTiming();
        d.list.clearSelection();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        d.list.selectAll();
        takeSelectionFromList(*d.ws, d.platform);
        QCoreApplication::processEvents();
    }
    state.counters["selected"] = double(selectedCount(*d.ws));
}
BENCHMARK(BM_TakeAllSelectedFromList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
