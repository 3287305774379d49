// Full-list operations on the real object list widget: drawing N objects
// through the tool path, refilling N lines, a Shift reorder of whole groups
// with the list rebuilt, and undoing everything the journal holds.

#include "model/editing.h"
#include "model/workspace.h"
#include "support/fakeplatform.h"
#include "ui/drawingtools.h"
#include "ui/messages.h"
#include "ui/objectlistwidget.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kelvara;

constexpr int kGroupSize = 8;

struct Design {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    testing::FakeCanvas canvas;
    testing::FakeCursor cursor;
    std::unique_ptr<ObjectListWidget> list;
    Platform platform;

    Design()
    {
        list = std::make_unique<ObjectListWidget>();
        list->resize(160, 700);
        list->show();
        platform.list = list.get();
        platform.canvas = &canvas;
        platform.cursor = &cursor;
    }

    void click(int32_t x, int32_t y)
    {
        ws->view.mouseX = x;
        ws->view.mouseY = y;
        toolEvent(*ws, platform, x, y, MsgLButtonUp, 0, 0, 0);
    }

    // n RUN lines in groups of kGroupSize, as a user pressing the tool
    // button before every group would draw them.
    void draw(int n)
    {
        for (int i = 0; i < n; ++i) {
            if (i % kGroupSize == 0) {
                selectTool(*ws, platform, KindRun);
                click(i % 900, i / 900);
            }
            click((i + 1) % 900, (i + 1) / 900 + 1);
        }
    }

    void clear()
    {
        clearTable(ws->table, ws->records);
        resetJournal(ws->journal);
        ws->tools = ToolState{};
        list->resetContent();
        QCoreApplication::processEvents();
    }

    // Lets the list lay itself out and paint, as it would before the user
    // sees the result.
    static void settle() { QCoreApplication::processEvents(); }
};

void BM_DrawThroughTools(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Design d;
    for (auto _ : state) {
        state.PauseTiming();
        d.clear();
        state.ResumeTiming();
        d.draw(n);
        Design::settle();
    }
    state.SetComplexityN(n);
}

void BM_RefillList(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Design d;
    d.draw(n);
    Design::settle();
    for (auto _ : state) {
        refillObjectList(*d.ws, d.platform);
        Design::settle();
    }
    state.SetComplexityN(n);
}

// One line of every other group selected, Shift held, dropped below the last
// line: half the design moves as whole groups and the list is rebuilt.
void BM_ShiftReorder(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Design d;
    d.draw(n);
    d.ws->input.shiftDown = 1;
    d.ws->drop.dragSource = 0;
    Design::settle();
    for (auto _ : state) {
        state.PauseTiming();
        d.list->setSelected(-1, false);
        for (int line = 0; line < n; line += 2 * kGroupSize)
            d.list->setSelected(line, true);
        state.ResumeTiming();
        dropObjects(*d.ws, d.platform, n);
        Design::settle();
    }
    state.SetComplexityN(n);
}

// Everything the journal still holds after drawing n objects and one Shift
// reorder, undone step by step.
void BM_UndoAll(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Design d;
    int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        d.clear();
        d.draw(n);
        d.ws->input.shiftDown = 1;
        d.ws->drop.dragSource = 0;
        d.list->setSelected(-1, false);
        for (int line = 0; line < n; line += 2 * kGroupSize)
            d.list->setSelected(line, true);
        dropObjects(*d.ws, d.platform, n);
        d.ws->input.shiftDown = 0;
        Design::settle();
        state.ResumeTiming();
        steps = 0;
        while (d.ws->journal.newestRecord != d.ws->journal.oldestRecord) {
            undoStep(*d.ws, d.platform);
            ++steps;
        }
        Design::settle();
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.SetComplexityN(n);
}

BENCHMARK(BM_DrawThroughTools)
    ->RangeMultiplier(2)
    ->Range(1024, 4096)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_RefillList)->RangeMultiplier(2)->Range(1024, 4096)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ShiftReorder)
    ->RangeMultiplier(2)
    ->Range(1024, 4096)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_UndoAll)->RangeMultiplier(2)->Range(1024, 4096)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

// The application lives in main so that it is gone before the exit handlers
// tear down the registries it refers to.
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
