// Lettering digitized: glyphs sewn one by one, letters joined in order.
#include "stitch/lettering.h"

#include "stitch/fill.h"
#include "stitch/glyphsew.h"
#include "stitch/letterlayout.h"

#include "shell/settings.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvara::stitch {

namespace {

// Gaps from this wide on are tied off and jumped; closer letters are joined
// by a travel stitch.
constexpr double kJumpGap = 20;

void travel(Vec from, Vec to, double step, NeedleSink& sink)
{
    const double d = length(to - from);
    const int n = std::max(1, int(std::ceil(d / step)));
    for (int i = 1; i <= n && !sink.exhausted(); ++i)
        sink.needle(from + (to - from) * (double(i) / n));
}

// Two tiny stitches along the neighbouring stitch and back, so the thread
// holds when the machine jumps on; each hole is pierced once more at most.
void lock(Vec at, Vec towards, NeedleSink& sink)
{
    const double d = length(towards - at);
    if (d <= 0)
        return;
    const Vec step = (towards - at) * (std::min(d, 8.0) / d);
    sink.needle(at + step * 0.5);
    sink.needle(at + step);
    sink.needle(at);
}

bool glyphBefore(const LaidGlyph& a, const LaidGlyph& b)
{
    return a.line != b.line ? a.line < b.line : a.along < b.along;
}

} // namespace

void stitchLettering(const LettersParams& p, const LetteringLayout& layout, const GenContext& ctx,
                     NeedleSink& sink, std::vector<LetterPart>* records)
{
    std::vector<const LaidGlyph*> glyphs;
    glyphs.reserve(layout.glyphs.size());
    for (const LaidGlyph& g : layout.glyphs)
        glyphs.push_back(&g);
    std::stable_sort(glyphs.begin(), glyphs.end(), [](auto* a, auto* b) { return glyphBefore(*a, *b); });

    const double step = std::min(generatorMaxStitch(ctx.settings), kTravelStitch);
    bool any = false;
    Vec last = ctx.entry, beforeLast = ctx.entry;
    for (std::size_t g = 0; g < glyphs.size(); ++g) {
        if (sink.exhausted())
            return;
        const Vec towards = g + 1 < glyphs.size() ? glyphs[g + 1]->rings.front().front() : last;
        SewnGlyph sewn = sewGlyph(p, *glyphs[g], ctx, last, any || ctx.hasEntry, towards, sink);
        if (sewn.overflow)
            sink.markOverflow();
        if (records)
            records->insert(records->end(), sewn.records.begin(), sewn.records.end());
        for (const GlyphSink& part : sewn.parts) {
            auto first = std::find_if(part.taken.begin(), part.taken.end(),
                                      [](const Penetration& n) { return n.move != Move::Jump; });
            if (first == part.taken.end())
                continue;
            if (any) {
                if (length(first->at - last) >= kJumpGap) {
                    lock(last, beforeLast, sink);
                    sink.jump(first->at);
                    if (first + 1 != part.taken.end()) {
                        // The tie-in ends on the first needle, which the part then sews.
                        const Vec to = (first + 1)->at;
                        const double d = length(to - first->at);
                        sink.needle(first->at);
                        if (d > 0) {
                            const Vec step = (to - first->at) * (std::min(d, 8.0) / d);
                            sink.needle(first->at + step * 0.5);
                            sink.needle(first->at + step);
                        }
                    }
                } else {
                    travel(last, first->at, step, sink);
                }
            }
            for (auto it = first; it != part.taken.end() && !sink.exhausted(); ++it) {
                switch (it->move) {
                case Move::Needle:
                    sink.needle(it->at);
                    break;
                case Move::Edge:
                    sink.edgeNeedle(it->at);
                    break;
                case Move::Jump:
                    sink.jump(it->at);
                    break;
                }
                beforeLast = last;
                last = it->at;
            }
            any = true;
        }
    }
}

std::vector<LetterPart> letteringParts(const LettersParams& p, const GenContext& ctx)
{
    struct Nowhere final : NeedleSink {
        void needle(Vec) override {}
        void edgeNeedle(Vec) override {}
        void jump(Vec) override {}
        bool exhausted() const override { return false; }
        int64_t room() const override { return int64_t(1) << 40; }
        void markOverflow() override {}
    } nowhere;
    std::vector<LetterPart> records;
    stitchLettering(p, layOutLettering(p), ctx, nowhere, &records);
    return records;
}

void generateLettering(const LettersParams& p, const GenContext& ctx, NeedleSink& sink)
{
    stitchLettering(p, layOutLettering(p), ctx, sink);
}

LetteringBox letteringBox(const LettersParams& p)
{
    LetteringBox box;
    const LetteringLayout layout = layOutLettering(p);
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const LaidGlyph& g : layout.glyphs)
        for (const std::vector<Vec>& ring : g.rings)
            for (const Vec& v : ring) {
                left = std::min(left, v.x);
                right = std::max(right, v.x);
                top = std::min(top, v.y);
                bottom = std::max(bottom, v.y);
            }
    if (right < left)
        return box;
    box.empty = false;
    box.corners = {Vec{left, top}, Vec{right, top}, Vec{right, bottom}, Vec{left, bottom}};
    return box;
}

Outcome replacedFontNote(const LettersParams& p)
{
    const LetteringLayout layout = layOutLettering(p);
    if (layout.noFonts)
        return Outcome(kSlotNoFonts, layout.requested);
    if (!layout.replaced)
        return {};
    return Outcome(kSlotFontReplaced, layout.requested, layout.used);
}

} // namespace kelvara::stitch
