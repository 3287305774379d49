// Lettering digitized as the user types: a 10-letter word, and a 40-character
// line on an arc, from the text to the needles (layout included).
#include "model/kinds/kind.h"
#include "model/textstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/letterlayout.h"
#include "stitch/lettering.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kelvara;

struct Count final : stitch::NeedleSink {
    int64_t n = 0;
    void needle(stitch::Vec) override { ++n; }
    void edgeNeedle(stitch::Vec) override { ++n; }
    void jump(stitch::Vec) override { ++n; }
    bool exhausted() const override { return false; }
    int64_t room() const override { return 1 << 24; }
    void markOverflow() override {}
};

void sewLettering(benchmark::State& state, const char* text, int32_t arc)
{
    stitch::startFontSystem();
    static const Settings settings;
    static const auto libraries = std::make_unique<Libraries>();
    ObjectParams p{};
    kindRow(KindLetters)->defaults(p, settings, 0);
    p.letters.TEXT = storeText(text);
    p.letters.ARC = arc;
    p.letters.X = 2000;
    p.letters.Y = 2000;
    p.letters.ALIGN = 1;
    int64_t needles = 0;
    for (auto _ : state) {
        Count sink;
        stitch::generateLettering(p.letters, stitch::GenContext{settings, *libraries}, sink);
        needles = sink.n;
    }
    state.counters["needles"] = double(needles);
}

void BM_TenLetterWord(benchmark::State& state)
{
    sewLettering(state, "Embroidery", 0);
}
BENCHMARK(BM_TenLetterWord)->Unit(benchmark::kMillisecond);

void BM_FortyCharactersOnAnArc(benchmark::State& state)
{
    sewLettering(state, "Kelvara Stitches Club - Founded in 2026!", 800);
}
BENCHMARK(BM_FortyCharactersOnAnArc)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
