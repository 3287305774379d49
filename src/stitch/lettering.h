#pragma once

#include "model/records.h"
#include "shell/outcome.h"
#include "stitch/generators.h"
#include "stitch/letterparts.h"

#include <array>
#include <string>
#include <vector>

namespace kelvara::stitch {

struct LetteringLayout;

// The stitches of a lettering: each glyph's strokes as satin columns along
// their centre lines, as wide as the stroke (wide parts filled with a satin
// edge), or filled by rows across its strokes where the centre lines would
// not cover it well; counters left open; the letters left to right, a short
// travel between close letters, tied off and jumped across wider gaps.
void generateLettering(const LettersParams& p, const GenContext& ctx, NeedleSink& sink);
// The same from a layout made already; `records`, when given, receives the
// strokes and shapes the glyphs are sewn as.
void stitchLettering(const LettersParams& p, const LetteringLayout& layout, const GenContext& ctx,
                     NeedleSink& sink, std::vector<LetterPart>* records = nullptr);
// The strokes and shapes a lettering is sewn as, in sewing order.
std::vector<LetterPart> letteringParts(const LettersParams& p, const GenContext& ctx);

// The box the glyphs cover, corners in order; empty when nothing is laid out.
struct LetteringBox {
    bool empty = true;
    std::array<Vec, 4> corners{};
};
LetteringBox letteringBox(const LettersParams& p);

// What to tell the user about the font of a lettering: empty when the
// family named is the one used, else which family stood in for it.
Outcome replacedFontNote(const LettersParams& p);

} // namespace kelvara::stitch
