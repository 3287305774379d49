// Lettering digitized: glyph outlines into rows, letters joined in order.
#include "stitch/lettering.h"

#include "stitch/fill.h"
#include "stitch/letterlayout.h"

#include "shell/settings.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace kelvara::stitch {

namespace {

// Gaps from this wide on are tied off and jumped; closer letters are joined
// by a travel stitch.
constexpr double kJumpGap = 20;
// The shortest row kept: half a millimetre, so the thinnest strokes of
// small text still sew.
constexpr double kShortestRow = 5;

// Travel round a letter's curves keeps within 0.15 mm of its outline, so it
// never shows inside a counter.
constexpr double kTravelBend = 1.5;

enum class Move { Needle, Edge, Jump };
struct Penetration {
    Move move;
    Vec at;
};

// Gathers one glyph's stitches so they can be joined to the previous glyph's.
class GlyphSink : public NeedleSink {
public:
    explicit GlyphSink(const NeedleSink& outer) : outer_(outer) {}
    void needle(Vec p) override { add(Move::Needle, p); }
    void edgeNeedle(Vec p) override { add(Move::Edge, p); }
    void jump(Vec p) override { add(Move::Jump, p); }
    bool exhausted() const override { return full_ || outer_.exhausted(); }
    int64_t room() const override { return outer_.room() - int64_t(taken.size()); }
    void markOverflow() override { full_ = true; }
    std::vector<Penetration> taken;
    bool full() const { return full_; }

private:
    void add(Move m, Vec p)
    {
        // Out and back along one stitch (travel over a counter's keyhole)
        // sews nothing and pierces the same hole twice more: leave it out.
        const std::size_t n = taken.size();
        if (m != Move::Jump && n >= 2 && taken[n - 1].move == Move::Needle && taken[n - 2].move != Move::Jump &&
            length(taken[n - 2].at - p) < 0.5) {
            taken.pop_back();
            return;
        }
        // A needle where the letter is pierced four times already (the apex
        // of an A that rows end in and travel passes over again) is left
        // out: the stitch then cuts the corner inside the letter.
        const int64_t cell = (int64_t(std::floor(p.x / kCell)) << 32) ^ int64_t(std::floor(p.y / kCell));
        int& pierced = pierced_[cell];
        if (m != Move::Jump && pierced >= kMostPierced && n >= 1 && taken[n - 1].move != Move::Jump)
            return;
        ++pierced;
        if (int64_t(taken.size()) >= outer_.room()) {
            full_ = true;
            return;
        }
        taken.push_back({m, p});
    }
    static constexpr double kCell = 3;
    static constexpr int kMostPierced = 4;
    std::unordered_map<int64_t, int> pierced_;
    const NeedleSink& outer_;
    bool full_ = false;
};

// One filled part of a glyph: an outer ring and the counters inside it.
struct Piece {
    const std::vector<Vec>* outer = nullptr;
    std::vector<const std::vector<Vec>*> holes;
    int line = 0;
    double along = 0;
    double left = 0;
};

bool inside(Vec v, const std::vector<Vec>& ring)
{
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Vec a = ring[i], b = ring[j];
        if ((a.y > v.y) != (b.y > v.y) && v.x < (b.x - a.x) * (v.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// A ring inside an even number of others is an outline, inside an odd
// number a counter of the innermost outline around it. Parts apart (a dot,
// an accent) are filled apart, so no stitch crosses the fabric between them.
void addPieces(const LaidGlyph& glyph, std::vector<Piece>& pieces)
{
    const std::size_t n = glyph.rings.size();
    std::vector<int> depth(n, 0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (i != j && inside(glyph.rings[i].front(), glyph.rings[j]))
                ++depth[i];
    const std::size_t first = pieces.size();
    std::vector<std::size_t> pieceOf(n, SIZE_MAX);
    for (std::size_t i = 0; i < n; ++i) {
        if (depth[i] % 2 != 0)
            continue;
        Piece piece{&glyph.rings[i], {}, glyph.line, glyph.along, 1e300};
        for (const Vec& v : glyph.rings[i])
            piece.left = std::min(piece.left, v.x);
        pieceOf[i] = pieces.size();
        pieces.push_back(std::move(piece));
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (depth[i] % 2 == 0)
            continue;
        for (std::size_t j = 0; j < n; ++j)
            if (depth[j] == depth[i] - 1 && pieceOf[j] != SIZE_MAX && inside(glyph.rings[i].front(), glyph.rings[j])) {
                pieces[pieceOf[j]].holes.push_back(&glyph.rings[i]);
                break;
            }
    }
    std::sort(pieces.begin() + std::ptrdiff_t(first), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.left < b.left; });
}

// The outline of a piece with each counter joined in by a keyhole: a bridge
// between their nearest points, walked there and back, so a row crosses it
// twice and the counters stay open; being the shortest link, it runs
// through the letter's body, never across a counter.
std::vector<Vec> keyholeOutline(const Piece& piece)
{
    const std::vector<Vec>& outer = *piece.outer;
    std::vector<std::vector<std::pair<std::size_t, const std::vector<Vec>*>>> detours(outer.size());
    std::vector<std::size_t> entryOf;
    for (const std::vector<Vec>* hole : piece.holes) {
        double best = 1e300;
        std::size_t at = 0, into = 0;
        for (std::size_t i = 0; i < outer.size(); ++i)
            for (std::size_t k = 0; k < hole->size(); ++k)
                if (const double d = length((*hole)[k] - outer[i]); d < best) {
                    best = d;
                    at = i;
                    into = k;
                }
        detours[at].push_back({into, hole});
    }
    std::vector<Vec> out;
    const auto add = [&out](Vec v) {
        if (out.empty() || out.back().x != v.x || out.back().y != v.y)
            out.push_back(v);
    };
    for (std::size_t i = 0; i < outer.size(); ++i) {
        add(outer[i]);
        for (const auto& [into, hole] : detours[i]) {
            for (std::size_t k = 0; k <= hole->size(); ++k)
                add((*hole)[(into + k) % hole->size()]);
            add(outer[i]);
        }
    }
    add(outer.front());
    return out;
}

FillSpec pieceFill(const LettersParams& p, const Piece& piece, const GenContext& ctx, Vec entry, bool hasEntry)
{
    FillSpec fill;
    fill.outline = keyholeOutline(piece);
    fill.angle = double((p.ANGLE + p.TURN) % 360);
    fill.spacing = clampedLength(p.SDENS, 10, 1e7) / 10;
    // Rows reach a little past the outline, against the pull of the thread.
    fill.comp = std::max<double>(p.SCOMP, 0);
    fill.topLayer = p.STITCHES != 0;
    fill.shortest = std::min<double>(ctx.settings.DELETE, kShortestRow);
    fill.hasEntry = hasEntry;
    fill.entry = entry;
    fill.travelBend = kTravelBend;
    return fill;
}

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
                     NeedleSink& sink)
{
    std::vector<const LaidGlyph*> glyphs;
    glyphs.reserve(layout.glyphs.size());
    for (const LaidGlyph& g : layout.glyphs)
        glyphs.push_back(&g);
    std::stable_sort(glyphs.begin(), glyphs.end(), [](auto* a, auto* b) { return glyphBefore(*a, *b); });
    std::vector<Piece> order;
    for (const LaidGlyph* g : glyphs)
        addPieces(*g, order);

    const double step = std::min(generatorMaxStitch(ctx.settings), kTravelStitch);
    bool any = false;
    Vec last = ctx.entry, beforeLast = ctx.entry;
    for (const Piece& piece : order) {
        if (sink.exhausted())
            return;
        GlyphSink part(sink);
        const FillSpec fill = pieceFill(p, piece, ctx, last, any || ctx.hasEntry);
        if (fill.outline.size() < 4)
            continue;
        stitchFill(fill, part);
        if (part.full())
            sink.markOverflow();
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

std::string replacedFontNote(const LettersParams& p)
{
    const LetteringLayout layout = layOutLettering(p);
    if (layout.noFonts)
        return "no fonts available for \"" + layout.requested + "\"";
    if (!layout.replaced)
        return {};
    return "font \"" + layout.requested + "\" is not installed; \"" + layout.used + "\" is used instead";
}

} // namespace kelvara::stitch
