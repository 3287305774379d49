// One glyph sewn: along its centre lines, or in rows where those fall short.
#include "stitch/glyphsew.h"

#include "stitch/fill.h"
#include "stitch/lettercentres.h"
#include "stitch/pathstitch.h"

#include "shell/settings.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

// The shortest row kept: half a millimetre, so the thinnest strokes of
// small text still sew.
constexpr double kShortestRow = 5;
// Travel round a letter's curves keeps within 0.15 mm of its outline, so it
// never shows inside a counter.
constexpr double kTravelBend = 1.5;
// Glyphs are drawn into pixels of this share of the capital height to find
// their centre lines: strokes are then ten pixels wide and more.
constexpr double kPixelsPerCap = 80;
// Centre lines are kept when their thread covers this share of the glyph
// and strays no more than this share of its length over 0.3 mm off it.
constexpr double kLeastCover = 0.9;
constexpr double kMostStray = 0.04;
constexpr double kThreadRadius = 2;
constexpr double kStrayDistance = 3;

// The outline of a piece with each counter joined in by a keyhole: a bridge
// between their nearest points, walked there and back, so a row crosses it
// twice and the counters stay open; being the shortest link, it runs
// through the letter's body, never across a counter.
std::vector<Vec> keyholeOutline(const std::vector<std::vector<Vec>>& rings)
{
    const std::vector<Vec>& outer = rings.front();
    std::vector<std::vector<std::pair<std::size_t, const std::vector<Vec>*>>> detours(outer.size());
    for (std::size_t h = 1; h < rings.size(); ++h) {
        const std::vector<Vec>* hole = &rings[h];
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

FillSpec rowsFill(const LettersParams& p, const std::vector<std::vector<Vec>>& rings, const GenContext& ctx,
                  Vec entry, bool hasEntry)
{
    FillSpec fill;
    fill.outline = keyholeOutline(rings);
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

std::vector<std::vector<Vec>> ringsOfPath(const PathData& path)
{
    std::vector<std::vector<Vec>> rings;
    for (const SubPath& sub : path.subpaths) {
        std::vector<Vec> ring = flattenSubPath(sub);
        if (ring.size() > 1 && length(ring.back() - ring.front()) < 1e-9)
            ring.pop_back();
        if (ring.size() >= 3)
            rings.push_back(std::move(ring));
    }
    return rings;
}

Vec lastAt(const GlyphSink& sink, Vec otherwise)
{
    return sink.taken.empty() ? otherwise : sink.taken.back().at;
}

void sewPart(const LettersParams& p, const LetterPart& part, const GenContext& ctx, Vec at, bool hasEntry,
             NeedleSink& sink)
{
    GenContext here = ctx;
    here.hasEntry = hasEntry;
    here.entry = at;
    here.borders = nullptr;
    here.borderCount = 0;
    if (part.rows) {
        const std::vector<std::vector<Vec>> rings = ringsOfPath(part.path);
        if (!rings.empty())
            stitchFill(rowsFill(p, rings, here, at, hasEntry), sink);
    } else if (part.kind == KindStroke) {
        generateStroke(part.params.stroke, part.path, here, sink);
    } else if (part.kind == KindShape) {
        generateShape(part.params.shape, part.path, here, sink);
    }
}

// The share of the glyph under thread 0.4 mm wide, and the share of the
// thread's length more than 0.3 mm off the glyph.
struct Judgement {
    double cover = 0, stray = 1;
    bool inCounter = false; // thread over 0.3 mm deep in a counter
};

// The pixels outside the glyph that the raster's border does not reach.
std::vector<uint8_t> counters(const GlyphRaster& r)
{
    std::vector<uint8_t> out(r.inside.size(), 1);
    std::vector<int> todo;
    const auto reach = [&](int x, int y) {
        const std::size_t i = std::size_t(y) * std::size_t(r.width) + std::size_t(x);
        if (out[i] && !r.inside[i]) {
            out[i] = 0;
            todo.push_back(int(i));
        }
    };
    for (int x = 0; x < r.width; ++x) {
        reach(x, 0);
        reach(x, r.height - 1);
    }
    for (int y = 0; y < r.height; ++y) {
        reach(0, y);
        reach(r.width - 1, y);
    }
    while (!todo.empty()) {
        const int i = todo.back();
        todo.pop_back();
        const int x = i % r.width, y = i / r.width;
        if (x > 0)
            reach(x - 1, y);
        if (x + 1 < r.width)
            reach(x + 1, y);
        if (y > 0)
            reach(x, y - 1);
        if (y + 1 < r.height)
            reach(x, y + 1);
    }
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = out[i] && !r.inside[i];
    return out;
}

Judgement judge(const std::vector<GlyphSink>& parts, const GlyphRaster& r, const std::vector<std::vector<Vec>>& rings)
{
    Judgement j;
    std::vector<uint8_t> under(r.inside.size(), 0);
    const std::vector<uint8_t> open = counters(r);
    const int reach = int(std::ceil(kThreadRadius / r.pixel));
    double total = 0, off = 0;
    for (const GlyphSink& part : parts)
        for (std::size_t i = 1; i < part.taken.size(); ++i) {
            if (part.taken[i].move == Move::Jump)
                continue;
            const Vec a = part.taken[i - 1].at, b = part.taken[i].at;
            const double len = length(b - a);
            const int n = std::max(1, int(std::ceil(len / (r.pixel * 0.5))));
            for (int k = 0; k <= n; ++k) {
                const Vec v = lerp(a, b, double(k) / n);
                if (k > 0) {
                    total += len / n;
                    if (!r.covers(v) && outlineDistance(rings, v) > kStrayDistance) {
                        off += len / n;
                        const int x = int(std::floor((v.x - r.left) / r.pixel)), y = int(std::floor((v.y - r.top) / r.pixel));
                        j.inCounter = j.inCounter || (x >= 0 && y >= 0 && x < r.width && y < r.height &&
                                                      open[std::size_t(y) * std::size_t(r.width) + std::size_t(x)]);
                    }
                }
                const int cx = int(std::floor((v.x - r.left) / r.pixel)), cy = int(std::floor((v.y - r.top) / r.pixel));
                for (int y = std::max(0, cy - reach); y <= std::min(r.height - 1, cy + reach); ++y)
                    for (int x = std::max(0, cx - reach); x <= std::min(r.width - 1, cx + reach); ++x) {
                        const Vec c{r.left + (x + 0.5) * r.pixel, r.top + (y + 0.5) * r.pixel};
                        if (dot(c - v, c - v) <= kThreadRadius * kThreadRadius)
                            under[std::size_t(y) * std::size_t(r.width) + std::size_t(x)] = 1;
                    }
            }
        }
    int64_t in = 0, covered = 0;
    for (std::size_t i = 0; i < r.inside.size(); ++i) {
        in += r.inside[i];
        covered += r.inside[i] & under[i];
    }
    j.cover = in > 0 ? double(covered) / double(in) : 0;
    j.stray = total > 0 ? off / total : 1;
    return j;
}

// The steps of one part into its own sink.
void sewSteps(const LettersParams& p, const std::vector<GlyphStep>& steps, const GenContext& ctx, Vec& at,
              bool& hasEntry, GlyphSink& sink)
{
    for (const GlyphStep& step : steps) {
        if (sink.exhausted())
            return;
        if (step.travel.size() >= 2) {
            const ArcPath line(step.travel);
            runAlong(line, 0, line.length(), kTravelStitch, false, sink);
        }
        if (step.part.kind != 0)
            sewPart(p, step.part, ctx, lastAt(sink, at), hasEntry || !sink.taken.empty(), sink);
        at = lastAt(sink, at);
    }
    hasEntry = hasEntry || !sink.taken.empty();
}

} // namespace

void GlyphSink::add(Move m, Vec p)
{
    // Out and back along one stitch (travel over a counter's keyhole)
    // sews nothing and pierces the same hole twice more: leave it out.
    const std::size_t n = taken.size();
    if (m != Move::Jump && n >= 2 && taken[n - 1].move == Move::Needle && taken[n - 2].move != Move::Jump &&
        length(taken[n - 2].at - p) < 0.5) {
        taken.pop_back();
        return;
    }
    // A needle where the letter is pierced four times already (where
    // columns meet and travel passes again) is left out: the stitch then
    // cuts the corner inside the letter.
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

SewnGlyph sewGlyph(const LettersParams& p, const LaidGlyph& glyph, const GenContext& ctx, Vec entry,
                   bool hasEntry, Vec towards, const NeedleSink& outer)
{
    SewnGlyph out;
    const double pixel = std::max(0.3, std::abs(double(p.SIZE)) / kPixelsPerCap);
    const GlyphRaster raster = rasterGlyph(glyph.rings, pixel);
    const GlyphCentres centres = centreLines(glyph.rings, raster);
    Vec at = entry;
    bool entered = hasEntry;
    for (const std::vector<GlyphStep>& steps : centreLineSteps(p, ctx.settings, glyph.rings, centres, entry, towards)) {
        GlyphSink& sink = out.parts.emplace_back(outer);
        sewSteps(p, steps, ctx, at, entered, sink);
        out.overflow = out.overflow || sink.full();
        for (const GlyphStep& step : steps)
            if (step.part.kind != 0)
                out.records.push_back(step.part);
    }
    if (!out.parts.empty() && !out.overflow) {
        const Judgement j = judge(out.parts, raster, glyph.rings);
        if (j.cover >= kLeastCover && j.stray <= kMostStray && !j.inCounter)
            return out;
    }
    // Rows across the strokes, each outline with its counters, left to right.
    out = SewnGlyph{};
    at = entry;
    entered = hasEntry;
    std::vector<LetterPart> rows = rowParts(p, ctx.settings, glyph.rings);
    const auto leftOf = [](const LetterPart& part) {
        double left = 1e300;
        for (const SubPath& sub : part.path.subpaths) {
            left = std::min(left, double(sub.start.x));
            for (const PathSegment& seg : sub.segments)
                left = std::min(left, double(seg.to.x));
        }
        return left;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const LetterPart& a, const LetterPart& b) { return leftOf(a) < leftOf(b); });
    for (LetterPart& part : rows) {
        GlyphSink& sink = out.parts.emplace_back(outer);
        sewSteps(p, {GlyphStep{{}, part}}, ctx, at, entered, sink);
        out.overflow = out.overflow || sink.full();
        out.records.push_back(std::move(part));
    }
    return out;
}

} // namespace kelvara::stitch
