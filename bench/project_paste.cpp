// Pasting a full design's worth of objects, beside the plain save of the
// same design (the text built for the file) and the Undo of the paste.

#include "model/editing.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "project/clipboard.h"
#include "project/saveproject.h"
#include "support/fakeplatform.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace kelvara {
namespace {

using testing::FakePlatform;

// 4096 satin columns in groups of eight, as project lines on the clipboard.
struct PasteDesign {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    FakePlatform fake;
    Platform platform = fake.platform();
    PasteState paste;

    PasteDesign()
    {
        std::string text;
        for (int i = 0; i < ObjectTable::kRows; ++i) {
            const std::string x = std::to_string(i % 500), y = std::to_string(i / 500 * 40);
            text += "SATEN LINEA=1 AX1=" + x + " AY1=" + y + " AX2=" + x + "0 AY2=" + y +
                    " LINEB=1 BX1=" + x + " BY1=1" + y + " BX2=" + x + "0 BY2=1" + y +
                    " GROUP=" + std::to_string(i / 8 + 1) + "\r\n";
        }
        fake.clipboard.text = text;
    }
};

void BM_Paste4096(benchmark::State& state)
{
    PasteDesign design;
    for (auto _ : state) {
        if (pasteObjects(*design.ws, design.platform, design.paste) != ObjectTable::kRows)
            state.SkipWithError("the paste was refused");
        state.PauseTiming();
        undoStep(*design.ws, design.platform);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste4096)->Unit(benchmark::kMillisecond);

void BM_UndoPaste4096(benchmark::State& state)
{
    PasteDesign design;
    for (auto _ : state) {
        state.PauseTiming();
        if (pasteObjects(*design.ws, design.platform, design.paste) != ObjectTable::kRows)
            state.SkipWithError("the paste was refused");
        state.ResumeTiming();
        undoStep(*design.ws, design.platform);
        if (design.ws->table.objectCount != 0)
            state.SkipWithError("undo left objects behind");
    }
}
BENCHMARK(BM_UndoPaste4096)->Unit(benchmark::kMillisecond);

// The floor: the same 4096 objects written as the project file's text.
void BM_SaveText4096(benchmark::State& state)
{
    PasteDesign design;
    pasteObjects(*design.ws, design.platform, design.paste);
    for (auto _ : state)
        benchmark::DoNotOptimize(projectFileText(*design.ws));
}
BENCHMARK(BM_SaveText4096)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvara

BENCHMARK_MAIN();
