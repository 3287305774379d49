#pragma once

#include "stitch/generators.h"
#include "stitch/letterlayout.h"
#include "stitch/letterparts.h"

#include <unordered_map>
#include <vector>

namespace kelvara::stitch {

enum class Move { Needle, Edge, Jump };
struct Penetration {
    Move move;
    Vec at;
};

// Gathers the stitches of one part of a glyph so they can be joined to what
// was sewn before, and keeps a spot from being pierced over and over.
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
    void add(Move m, Vec p);
    static constexpr double kCell = 3;
    static constexpr int kMostPierced = 4;
    std::unordered_map<int64_t, int> pierced_;
    const NeedleSink& outer_;
    bool full_ = false;
};

// A glyph sewn: the stitches of each of its parts (a body, a dot, a mark),
// sewn along the centre lines of its strokes where those cover it well and
// in rows across its strokes where they do not; and the records it is sewn
// as, in order.
struct SewnGlyph {
    std::vector<GlyphSink> parts;
    std::vector<LetterPart> records;
    bool overflow = false;
};

// `entry`: where the needle is; `towards`: where the next glyph starts.
SewnGlyph sewGlyph(const LettersParams& p, const LaidGlyph& glyph, const GenContext& ctx, Vec entry,
                   bool hasEntry, Vec towards, const NeedleSink& outer);

} // namespace kelvara::stitch
