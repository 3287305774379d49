// Editing speed: creating and undoing objects, and reordering a full design.

#include "model/editing.h"
#include "model/journalring.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "support/fakeplatform.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace kelvara {
namespace {

using testing::FakePlatform;

void setRun(Workspace& ws, int32_t i)
{
    ws.tools.toolMode = KindRun;
    ws.tools.preview.clear();
    PreviewSegment& s = ws.tools.preview.segments[0];
    s = PreviewSegment{1, i, i, i + 10, i + 20, 1, i, i, i, i};
}

// 1000 objects created one after another, then all 1000 undone.
void BM_CreateAndUndo1000(benchmark::State& state)
{
    auto ws = std::make_unique<Workspace>();
    FakePlatform fake;
    const Platform platform = fake.platform();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            setRun(*ws, i);
            benchmark::DoNotOptimize(createObject(*ws, platform));
        }
        for (int i = 0; i < 1000; ++i)
            undoStep(*ws, platform);
        if (ws->table.objectCount != 0)
            state.SkipWithError("undo left objects behind");
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_CreateAndUndo1000)->Unit(benchmark::kMillisecond);

// A design of 4096 objects in groups of eight, every second group touched
// by one selected line: a Shift drop moves 2048 objects.
struct FullDesign {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    FakePlatform fake;
    Platform platform = fake.platform();

    FullDesign()
    {
        for (int i = 0; i < ObjectTable::kRows; ++i) {
            ws->tools.newGroupPending = i % 8 == 0 ? 1 : 0;
            setRun(*ws, i);
            createObject(*ws, platform);
        }
        resetJournal(ws->journal);
    }

    void selectAndDrop()
    {
        fake.list.setSelected(-1, false);
        for (int line = 3; line < ObjectTable::kRows; line += 16)
            fake.list.setSelected(line, true);
        ws->input.shiftDown = 1;
        dropObjects(*ws, platform, 1000);
    }
};

void BM_ShiftReorderOf4096(benchmark::State& state)
{
    FullDesign design;
    for (auto _ : state) {
        design.selectAndDrop();
        state.PauseTiming();
        undoStep(*design.ws, design.platform);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShiftReorderOf4096)->Unit(benchmark::kMillisecond);

void BM_UndoShiftReorderOf4096(benchmark::State& state)
{
    FullDesign design;
    for (auto _ : state) {
        state.PauseTiming();
        design.selectAndDrop();
        state.ResumeTiming();
        undoStep(*design.ws, design.platform);
    }
}
BENCHMARK(BM_UndoShiftReorderOf4096)->Unit(benchmark::kMillisecond);

// The largest deletion one undo step holds: every sixth of the 4096 objects
// (683; a step of all 4096 would need about four times the journal). Redo
// beside Undo of the same step, its floor.
struct DeletedSixth : FullDesign {
    void deleteEverySixth()
    {
        clearSelection(*ws);
        for (int32_t row = 0; row < ObjectTable::kRows; row += 6)
            setSelected(*ws, row, true);
        deleteCurrent(*ws, platform);
    }
};

void BM_UndoDeleteOf683(benchmark::State& state)
{
    DeletedSixth design;
    for (auto _ : state) {
        state.PauseTiming();
        design.deleteEverySixth();
        state.ResumeTiming();
        undoStep(*design.ws, design.platform);
    }
    if (design.ws->table.objectCount != ObjectTable::kRows)
        state.SkipWithError("undo did not bring every object back");
}
BENCHMARK(BM_UndoDeleteOf683)->Unit(benchmark::kMillisecond);

void BM_RedoDeleteOf683(benchmark::State& state)
{
    DeletedSixth design;
    design.deleteEverySixth();
    if (design.ws->table.objectCount != ObjectTable::kRows - 683)
        state.SkipWithError("the deletion was refused");
    for (auto _ : state) {
        state.PauseTiming();
        undoStep(*design.ws, design.platform);
        state.ResumeTiming();
        benchmark::DoNotOptimize(redoStep(*design.ws, design.platform));
    }
    if (design.ws->table.objectCount != ObjectTable::kRows - 683)
        state.SkipWithError("redo did not delete again");
}
BENCHMARK(BM_RedoDeleteOf683)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvara

BENCHMARK_MAIN();
