// Editing speed: creating and undoing objects, and reordering a full design.

#include "model/editing.h"
#include "model/undojournal.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace kelvara {
namespace {

// A list box in memory, as the object list behaves (benchmarks do not link
// the test fakes).
class MemoryList : public ListBox {
public:
    struct Line {
        std::string text;
        int32_t data = 0;
        bool selected = false;
    };
    void resetContent() override { lines.clear(); }
    void initStorage(int items, int) override { lines.reserve(static_cast<size_t>(items)); }
    int addString(const std::string& text) override
    {
        lines.push_back({text});
        return count() - 1;
    }
    void insertString(int position, const std::string& text) override
    {
        if (position < 0 || position > count())
            position = count();
        lines.insert(lines.begin() + position, {text});
    }
    void deleteString(int position) override
    {
        if (valid(position))
            lines.erase(lines.begin() + position);
    }
    std::string text(int position) const override { return valid(position) ? lines[position].text : ""; }
    void setItemData(int position, int32_t data) override
    {
        if (valid(position))
            lines[position].data = data;
    }
    int32_t itemData(int position) const override { return valid(position) ? lines[position].data : -1; }
    void setSelected(int position, bool selected) override
    {
        if (position == -1)
            for (Line& l : lines)
                l.selected = selected;
        else if (valid(position))
            lines[position].selected = selected;
    }
    std::vector<int> selectedPositions() const override
    {
        std::vector<int> out;
        for (int i = 0; i < count(); ++i)
            if (lines[i].selected)
                out.push_back(i);
        return out;
    }
    int count() const override { return static_cast<int>(lines.size()); }
    void setRedraw(bool) override {}

    std::vector<Line> lines;

private:
    bool valid(int position) const { return position >= 0 && position < count(); }
};

class NoCanvas : public CanvasControl {
public:
    void renderCanvas() override {}
    void invalidateCanvas() override {}
};

struct FakePlatform {
    MemoryList list;
    NoCanvas canvas;
    Platform platform() { return Platform{&list, nullptr, nullptr, nullptr, nullptr, nullptr, &canvas}; }
};

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

} // namespace
} // namespace kelvara

BENCHMARK_MAIN();
