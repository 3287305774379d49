// Open and save of a full 4096-object design, each set against a floor
// measured in the same run: for open, reading the file's bytes and splitting
// them into lines; for save, writing the same bytes through the same safe
// replacement. Targets: open at most 5x its floor, save at most 3x; a design
// of 4096 strokes of 100 nodes each, whose lines are mostly path data, opens
// in at most 2x its floor.
#include "model/kinds/kind.h"
#include "model/pathdata.h"
#include "model/pathstore.h"
#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/openproject.h"
#include "project/recoveryfile.h"
#include "project/saveproject.h"
#include "shell/platform.h"
#include "support/fakeplatform.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace kelvara;

class Quiet : public MessageBoxes, public WindowTitle, public CursorControl, public CanvasControl {
public:
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void showError(const std::string&, const std::string&) override { ++errors; }
    void setTitle(const QString&) override {}
    void setCursor(int) override {}
    void renderCanvas() override {}
    void invalidateCanvas() override {}
    int errors = 0;
};

class Files : public FileDialogs {
public:
    std::optional<QString> openFile(const FileDialogRequest&) override
    {
        return QString::fromStdString(path);
    }
    std::optional<QString> saveFile(const FileDialogRequest&) override
    {
        return QString::fromStdString(path);
    }
    std::string path;
};

struct Bench {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    testing::FakeListBox list;
    Quiet quiet;
    Files files;
    Platform platform{&list, &quiet, &files, nullptr, &quiet, &quiet, &quiet};
    std::filesystem::path folder;
    std::string designPath;
    std::string text;

    explicit Bench(bool strokes = false)
    {
        folder = std::filesystem::temp_directory_path() /
                 ("kelvara-bench-" + std::to_string(getpid()) + (strokes ? "-strokes" : ""));
        std::filesystem::create_directories(folder);
        designPath = (folder / "design.kvp").string();
        if (strokes)
            buildStrokes();
        else
            buildDesign();
        text = projectFileText(*ws);
        writeProjectFile(QString::fromStdString(designPath), text);
    }
    ~Bench() { std::filesystem::remove_all(folder); }

    // Every kind in turn, three- and four-digit coordinates, and a quarter
    // of the objects referring to library entries by name.
    void buildDesign()
    {
        Libraries& lib = ws->libraries;
        lib.motifs.count = 40;
        lib.patterns.count = 40;
        lib.tieOffs.count = 16;
        for (int i = 0; i < 40; ++i) {
            lib.motifs.names[i] = "motif-" + std::to_string(i);
            lib.patterns.names[i] = "Pattern_" + std::to_string(i);
            if (i < 16)
                lib.tieOffs.names[i] = "tie" + std::to_string(i);
        }
        ObjectTable& table = ws->table;
        for (int32_t row = 0; row < ObjectTable::kRows; ++row) {
            const int32_t kind = KindRun + row % 6;
            const int32_t size = recordSize(kind);
            table.rows[row] = ObjectEntry{kind,
                                          ws->records.allocate(size),
                                          size,
                                          0,
                                          1 + row / 7,
                                          row - 1,
                                          row + 1 < ObjectTable::kRows ? row + 1 : -1};
            ObjectParams& p = ws->records[table.rows[row].params];
            const double c = 100 + (row * 37) % 9900;
            const int32_t ref = row % 4 == 0 ? row % 16 : -1;
            const BezierEdge edge{row % 2, c, c + 11, c + 503, c - 7, c + 90, c + 1200, c - 55, c + 8};
            auto fill = [&](auto& r) {
                r.PATTERN = ref;
                r.MOTIVE = ref;
                r.TIEIN = ref;
                r.TIEOUT = ref;
                r.TRIM = row % 2;
                r.colour = static_cast<int32_t>(uint32_t(row) * 2654435u);
                r.REPEAT = 3;
                r.ZOOMX = 1.25;
                r.ZOOMY = 0.75;
                r.UNDER = 15;
                r.OFSUND = 5;
            };
            switch (kind) {
            case KindRun:
                p.run = RunParams{20, ref, ref, ref, 0, 1, edge, 0x00FF00};
                break;
            case KindSaten:
                fill(p.saten);
                p.saten.edgeA = edge;
                p.saten.edgeB = edge;
                p.saten.STARTA = 1;
                p.saten.STOPA = 2;
                break;
            case KindSteil:
                fill(p.steil);
                p.steil.line = edge;
                p.steil.SWIDTH = 40;
                p.steil.TWIDTH = 25;
                break;
            case KindRect:
                fill(p.rect);
                p.rect.edgeA = edge;
                p.rect.edgeB = edge;
                p.rect.ANGLE = 45;
                break;
            case KindStar:
                fill(p.star);
                p.star.X = static_cast<int32_t>(c);
                p.star.RX = 1500;
                break;
            case KindCircle:
                fill(p.circle);
                p.circle.X = static_cast<int32_t>(c);
                p.circle.RY = 800;
                break;
            }
        }
        table.objectCount = ObjectTable::kRows;
        table.firstObject = 0;
    }

    // Strokes of 100 nodes, every fourth segment a curve, wandering over the
    // design area with three- and four-digit coordinates.
    void buildStrokes()
    {
        ObjectTable& table = ws->table;
        for (int32_t row = 0; row < ObjectTable::kRows; ++row) {
            const int32_t size = recordSize(KindStroke);
            table.rows[row] = ObjectEntry{KindStroke, ws->records.allocate(size), size, 0, 1 + row / 7, row - 1,
                                          row + 1 < ObjectTable::kRows ? row + 1 : -1};
            ObjectParams& p = ws->records[table.rows[row].params];
            kindRow(KindStroke)->defaults(p, ws->settings, static_cast<int32_t>((uint32_t(row) * 2654435u) & 0xFFFFFF));
            SubPath sub;
            int32_t x = 100 + (row * 37) % 9000, y = 100 + (row * 53) % 9000;
            sub.start = {x, y};
            for (int node = 1; node < 100; ++node) {
                x += (node * 7919 + row) % 61 - 25;
                y += (node * 104729 + row) % 67 - 28;
                PathSegment seg;
                seg.to = {x, y};
                if (node % 4 == 0) {
                    seg.cubic = true;
                    seg.c1 = {x - 13, y + 9};
                    seg.c2 = {x - 4, y + 21};
                }
                sub.segments.push_back(seg);
            }
            p.stroke.PATH = storePath(PathData{{std::move(sub)}});
        }
        table.objectCount = ObjectTable::kRows;
        table.firstObject = 0;
    }
};

Bench& bench()
{
    static Bench b;
    return b;
}

Bench& strokeBench()
{
    static Bench b(true);
    return b;
}

void openFloor(benchmark::State& state, Bench& b)
{
    for (auto _ : state) {
        const auto bytes = readFileBytes(QString::fromStdString(b.designPath), kMaxProjectFileBytes);
        std::size_t lines = 0;
        std::size_t start = 0;
        const std::string& s = *bytes;
        while (start < s.size()) {
            std::size_t end = s.find_first_of("\r\n", start);
            if (end == std::string::npos)
                end = s.size();
            std::string line = s.substr(start, end - start);
            lines += !line.empty();
            benchmark::DoNotOptimize(line);
            start = end + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
}

void openDesign(benchmark::State& state, Bench& b)
{
    auto ws = std::make_unique<Workspace>();
    ws->libraries = b.ws->libraries;
    b.files.path = b.designPath;
    for (auto _ : state)
        openProject(*ws, b.platform);
    if (ws->table.objectCount != ObjectTable::kRows || b.list.count() != ObjectTable::kRows)
        state.SkipWithError("the design did not open whole");
}

void BM_OpenFloor(benchmark::State& state)
{
    openFloor(state, bench());
}
BENCHMARK(BM_OpenFloor)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state)
{
    openDesign(state, bench());
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_OpenStrokesFloor(benchmark::State& state)
{
    openFloor(state, strokeBench());
}
BENCHMARK(BM_OpenStrokesFloor)->Unit(benchmark::kMillisecond);

void BM_OpenStrokes(benchmark::State& state)
{
    openDesign(state, strokeBench());
}
BENCHMARK(BM_OpenStrokes)->Unit(benchmark::kMillisecond);

void BM_SaveFloor(benchmark::State& state)
{
    Bench& b = bench();
    const std::string path = (b.folder / "floor.kvp").string();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeProjectFile(QString::fromStdString(path), b.text));
}
BENCHMARK(BM_SaveFloor)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    Bench& b = bench();
    b.files.path = (b.folder / "saved.kvp").string();
    for (auto _ : state)
        saveProject(*b.ws, b.platform);
    if (b.quiet.errors != 0)
        state.SkipWithError("saving failed");
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

// The crash-recovery write a few seconds after a change: the same text and
// safe replacement as Save, with a line naming the design's file. It runs
// between two messages, so it must stay under 10 ms.
void BM_RecoveryWrite(benchmark::State& state)
{
    Bench& b = bench();
    RecoveryFile recovery(QString::fromStdString((b.folder / "recovery").string()));
    if (!recovery.claimed()) {
        state.SkipWithError("no recovery slot");
        return;
    }
    b.ws->rememberedFileName = QString::fromStdString(b.designPath);
    for (auto _ : state)
        benchmark::DoNotOptimize(recovery.write(*b.ws));
    recovery.remove();
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMillisecond);

// Prints the usual table, then each operation against its floor.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        ratio("BM_Open", "BM_OpenFloor", 5.0);
        ratio("BM_OpenStrokes", "BM_OpenStrokesFloor", 2.0);
        ratio("BM_Save", "BM_SaveFloor", 3.0);
        ratio("BM_RecoveryWrite", "BM_Save", 1.5);
        if (times.count("BM_RecoveryWrite"))
            std::printf("BM_RecoveryWrite: %.3f ms (target under 10 ms) %s\n", times["BM_RecoveryWrite"],
                        times["BM_RecoveryWrite"] < 10.0 ? "ok" : "OVER");
    }

private:
    void ratio(const std::string& op, const std::string& floor, double target)
    {
        if (!times.count(op) || !times.count(floor) || times[floor] <= 0)
            return;
        const double r = times[op] / times[floor];
        std::printf("%s: %.3f ms, floor %.3f ms, ratio %.2f (target at most %.0f) %s\n", op.c_str(),
                    times[op], times[floor], r, target, r <= target ? "ok" : "OVER");
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
