// Export of a 4096-object design of every kind: plan generation, DST
// encoding, and the whole command's work (generate, encode, save safely).
#include "stitch/dstwriter.h"
#include "stitch/expwriter.h"
#include "stitch/jefwriter.h"
#include "stitch/peswriter.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchplan.h"
#include "stitch/threadchart.h"

#include <QSaveFile>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using namespace kelvara;

const Workspace& design()
{
    static const std::unique_ptr<Workspace> ws = [] {
        auto w = std::make_unique<Workspace>();
        testing::buildGridDesign(*w, 4096);
        return w;
    }();
    return *ws;
}

const StitchPlan& plan()
{
    static const StitchPlan p = [] {
        StitchPlan out;
        generatePlan(design(), out);
        return out;
    }();
    return p;
}

void BM_GeneratePlan(benchmark::State& state)
{
    for (auto _ : state) {
        StitchPlan p;
        benchmark::DoNotOptimize(generatePlan(design(), p));
        benchmark::DoNotOptimize(p.records.data());
    }
    state.counters["stitches/s"] = benchmark::Counter(static_cast<double>(plan().stitchCount()) *
                                                          static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GeneratePlan)->Unit(benchmark::kMillisecond);

void BM_WriteDst(benchmark::State& state)
{
    for (auto _ : state) {
        auto bytes = writeDst(plan(), "bench");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_WriteDst)->Unit(benchmark::kMillisecond);

// A disc too large for any plan, as a one-line project makes it: refused
// from its outline. Stitching it up to the record limit took seconds, and the
// stitch view asked for it at every redraw.
void BM_RefuseOversizedFill(benchmark::State& state)
{
    static const std::unique_ptr<Workspace> ws = [] {
        auto w = std::make_unique<Workspace>();
        testing::addObject(*w, KindCircle, testing::circleParams(25600, 25600, 25600, 23040));
        return w;
    }();
    for (auto _ : state) {
        StitchPlan p;
        if (generatePlan(*ws, p) != PlanStatus::TooLarge)
            state.SkipWithError("the disc was not refused");
    }
}
BENCHMARK(BM_RefuseOversizedFill)->Unit(benchmark::kMillisecond);

// The same bytes appended record by record to a fresh buffer, without any
// encoding: what writing them costs at the least.
std::vector<uint8_t> appendSameBytes(const std::vector<uint8_t>& source)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(source.size());
    for (std::size_t i = 0; i + 2 < source.size(); i += 3) {
        bytes.push_back(source[i]);
        bytes.push_back(source[i + 1]);
        bytes.push_back(source[i + 2]);
    }
    return bytes;
}

// The other formats' records are a byte per axis: appended in pairs.
std::vector<uint8_t> appendSamePairs(const std::vector<uint8_t>& source)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(source.size());
    for (std::size_t i = 0; i + 1 < source.size(); i += 2) {
        bytes.push_back(source[i]);
        bytes.push_back(source[i + 1]);
    }
    return bytes;
}

const ThreadChart& chart(const char* file, const char* brand)
{
    static std::map<std::string, ThreadChart> charts;
    ThreadChart& c = charts[file];
    if (c.threads.empty())
        loadThreadChart(std::string(KELVARA_SOURCE_DATA) + "/" + file, brand, c);
    return c;
}

std::vector<uint8_t> exp()
{
    return writeExp(plan());
}

// The grid is wider than any PES or JEF hoop and has more threads than a
// PES file counts: the same records folded into the hoop, with fewer threads.
const StitchPlan& pesPlan()
{
    static const StitchPlan p = [] {
        StitchPlan out = plan();
        // Into [0, limit), a little inside so a trim's jumps still fit.
        auto fold = [](int32_t v, int32_t limit) { return ((v % (limit - 4)) + (limit - 4)) % (limit - 4); };
        int changes = 0;
        for (StitchRecord& r : out.records) {
            r.x = fold(r.x, kPesMaxWidth);
            r.y = fold(r.y, kPesMaxHeight);
            // A PES file counts at most 255 threads: the rest are trims.
            if (r.kind == StitchKind::ColourChange && ++changes > 250)
                r.kind = StitchKind::Trim;
        }
        return out;
    }();
    return p;
}

std::vector<uint8_t> pes()
{
    std::vector<uint8_t> out;
    if (const Outcome reason = writePes(pesPlan(), chart(kBrotherChartFile, "Brother"), "bench", out);
        !reason.ok()) {
        std::fprintf(stderr, "PES refused: %s\n", builtInText(reason).c_str());
        std::abort();
    }
    return out;
}

std::vector<uint8_t> jef()
{
    std::vector<uint8_t> out;
    if (const Outcome reason = writeJef(pesPlan(), chart(kJanomeChartFile, "Janome"), "20260101000000", out);
        !reason.ok()) {
        std::fprintf(stderr, "JEF refused: %s\n", builtInText(reason).c_str());
        std::abort();
    }
    return out;
}

void BM_WritePes(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(pes().data());
}
BENCHMARK(BM_WritePes)->Unit(benchmark::kMillisecond);

void BM_WriteExp(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(exp().data());
}
BENCHMARK(BM_WriteExp)->Unit(benchmark::kMillisecond);

void BM_WriteJef(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(jef().data());
}
BENCHMARK(BM_WriteJef)->Unit(benchmark::kMillisecond);

void BM_SameBytesAppended(benchmark::State& state)
{
    const std::vector<uint8_t> source = writeDst(plan(), "bench");
    for (auto _ : state)
        benchmark::DoNotOptimize(appendSameBytes(source).data());
}
BENCHMARK(BM_SameBytesAppended)->Unit(benchmark::kMillisecond);

bool saveFile(const QString& path, const std::vector<uint8_t>& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size()) &&
           file.commit();
}

void BM_WholeExport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.dst");
    for (auto _ : state) {
        StitchPlan p;
        generatePlan(design(), p);
        const auto bytes = writeDst(p, "bench");
        benchmark::DoNotOptimize(saveFile(path, bytes));
    }
}
BENCHMARK(BM_WholeExport)->Unit(benchmark::kMillisecond);

template <typename F> double bestSeconds(F&& f)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double stitches = static_cast<double>(plan().stitchCount());
    const std::vector<uint8_t> bytes = writeDst(plan(), "bench");
    const double generate = bestSeconds([] {
        StitchPlan p;
        generatePlan(design(), p);
    });
    const double write = bestSeconds([] { benchmark::DoNotOptimize(writeDst(plan(), "bench").data()); });
    const double copy = bestSeconds([&] { benchmark::DoNotOptimize(appendSameBytes(bytes).data()); });
    QTemporaryDir dir;
    const double whole = bestSeconds([&] {
        StitchPlan p;
        generatePlan(design(), p);
        saveFile(dir.filePath("whole.dst"), writeDst(p, "bench"));
    });
    std::printf("\n%d objects, %.0f stitches, %zu plan records, %zu DST bytes\n", design().table.objectCount,
                stitches, plan().records.size(), bytes.size());
    std::printf("generate: %.1f ms (%.2f million stitches/s)\n", generate * 1e3, stitches / generate / 1e6);
    std::printf("write DST: %.2f ms; same bytes appended: %.2f ms; ratio %.1f\n", write * 1e3, copy * 1e3,
                write / copy);
    for (const auto& [name, writer] : {std::pair<const char*, std::vector<uint8_t> (*)()>{"EXP", exp},
                                       std::pair<const char*, std::vector<uint8_t> (*)()>{"JEF", jef},
                                       std::pair<const char*, std::vector<uint8_t> (*)()>{"PES", pes}}) {
        const std::vector<uint8_t> out = writer();
        const double w = bestSeconds([&] { benchmark::DoNotOptimize(writer().data()); });
        const double c = bestSeconds([&] { benchmark::DoNotOptimize(appendSamePairs(out).data()); });
        std::printf("write %s: %.2f ms; same bytes appended: %.2f ms; ratio %.1f\n", name, w * 1e3, c * 1e3,
                    w / c);
    }
    std::printf("whole export (generate, encode, save): %.1f ms; scaled to 500,000 stitches: %.1f ms\n",
                whole * 1e3, whole * 1e3 * 500000 / stitches);
    return 0;
}
