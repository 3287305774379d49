// Paths at the sizes a design reaches: a node drag on a 200-node shape with
// three holes covering 100 x 100 mm, each mouse move re-planning that shape
// alone (target under 16 ms); and opening 4,096 strokes of 100 nodes each,
// set against reading and splitting the file's lines in the same run
// (target under 2x).

#include "model/kinds/kind.h"
#include "model/newrecord.h"
#include "model/pathgeometry.h"
#include "model/pathstore.h"
#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/openproject.h"
#include "project/saveproject.h"
#include "stitch/objecthandles.h"
#include "stitch/objectplancache.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace kelvara;

constexpr double kPi = 3.14159265358979323846;

void addRow(Workspace& ws, int32_t row, int32_t kind, const PathData& path)
{
    const int32_t size = recordSize(kind);
    ws.table.rows[std::size_t(row)] = ObjectEntry{kind, ws.records.allocate(size), size, 0, 1, row - 1, -1};
    if (row > 0)
        ws.table.rows[std::size_t(row - 1)].next = row;
    ObjectParams& p = ws.records[ws.table.rows[std::size_t(row)].params];
    p = newRecord(kind, ws.settings, 0x3050A0);
    setKindPath(*kindRow(kind), p, path);
    ws.table.objectCount = row + 1;
}

SubPath ring(double cx, double cy, double r, int nodes, bool wavy)
{
    SubPath sub;
    sub.closed = true;
    for (int i = 0; i < nodes; ++i) {
        const double a = 2 * kPi * i / nodes;
        const double rr = wavy ? r * (1 + 0.06 * std::sin(7 * a)) : r;
        const PathPoint p{int32_t(std::lround(cx + rr * std::cos(a))), int32_t(std::lround(cy + rr * std::sin(a)))};
        if (i == 0)
            sub.start = p;
        else
            sub.segments.push_back(PathSegment{false, {}, {}, p});
    }
    return sub;
}

void BM_NodeDragOnAHoledShape(benchmark::State& state)
{
    auto ws = testing::makeWorkspace();
    PathData shape;
    shape.subpaths.push_back(ring(600, 600, 480, 200, true));
    shape.subpaths.push_back(ring(450, 450, 80, 12, false));
    shape.subpaths.push_back(ring(750, 480, 90, 16, false));
    shape.subpaths.push_back(ring(600, 760, 100, 20, false));
    addRow(*ws, 0, KindShape, shape);
    ObjectPlanCache cache;
    cache.update(*ws);
    ObjectParams& params = ws->records[ws->table.rows[0].params];
    const ObjectParams before = params;
    const ObjectHandles handles = objectHandles(KindShape, before);
    const ObjectHandle& node = handles.items[40];
    int step = 0;
    for (auto _ : state) {
        // As a drag does: from the record at the press, to the pointer.
        ObjectParams moved = before;
        ++step;
        moveHandle(KindShape, moved, node, node.x + step % 40, node.y - step % 30);
        params = moved;
        cache.update(*ws);
        benchmark::DoNotOptimize(cache.stitchCount());
    }
    state.counters["stitches"] = double(cache.stitchCount());
}
BENCHMARK(BM_NodeDragOnAHoledShape)->Unit(benchmark::kMillisecond);

struct StrokeFile {
    std::filesystem::path folder;
    std::string path;
    testing::FakePlatform fake;

    StrokeFile()
    {
        folder = std::filesystem::temp_directory_path() / ("kelvara-pathbench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        path = (folder / "strokes.kvp").string();
        auto ws = testing::makeWorkspace();
        for (int32_t row = 0; row < ObjectTable::kRows; ++row) {
            SubPath sub;
            sub.start = {100 + row % 64 * 150, 100 + row / 64 * 150};
            for (int i = 1; i < 100; ++i) {
                const PathPoint to{sub.start.x + i * 13 % 140, sub.start.y + i * 29 % 140};
                PathSegment seg{i % 3 == 0, {to.x - 5, to.y + 7}, {to.x + 3, to.y - 4}, to};
                if (!seg.cubic)
                    seg.c1 = seg.c2 = {};
                sub.segments.push_back(seg);
            }
            addRow(*ws, row, KindStroke, PathData{{sub}});
        }
        writeProjectFile(QString::fromStdString(path), projectFileText(*ws));
    }
    ~StrokeFile() { std::filesystem::remove_all(folder); }
};

StrokeFile& strokeFile()
{
    static StrokeFile f;
    return f;
}

void BM_StrokesOpenFloor(benchmark::State& state)
{
    StrokeFile& f = strokeFile();
    for (auto _ : state) {
        const auto bytes = readFileBytes(QString::fromStdString(f.path), kMaxProjectFileBytes);
        const std::string& s = *bytes;
        std::size_t lines = 0, start = 0;
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
BENCHMARK(BM_StrokesOpenFloor)->Unit(benchmark::kMillisecond);

void BM_StrokesOpen(benchmark::State& state)
{
    StrokeFile& f = strokeFile();
    auto ws = testing::makeWorkspace();
    const Platform platform = f.fake.platform();
    for (auto _ : state) {
        f.fake.files.answer(f.path);
        openProject(*ws, platform);
    }
    if (ws->table.objectCount != ObjectTable::kRows)
        state.SkipWithError("the strokes did not open whole");
}
BENCHMARK(BM_StrokesOpen)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
