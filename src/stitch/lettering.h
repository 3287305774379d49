#pragma once

#include "model/records.h"
#include "stitch/generators.h"

#include <array>
#include <string>

namespace kelvara::stitch {

struct LetteringLayout;

// The stitches of a lettering: each glyph filled by rows across its strokes
// (a narrow stroke's rows are single stitches edge to edge, a satin; wide
// parts become a fill), its counters left open; the letters left to right,
// a short travel between close letters, tied off and jumped across wider gaps.
void generateLettering(const LettersParams& p, const GenContext& ctx, NeedleSink& sink);
// The same from a layout made already.
void stitchLettering(const LettersParams& p, const LetteringLayout& layout, const GenContext& ctx,
                     NeedleSink& sink);

// The box the glyphs cover, corners in order; empty when nothing is laid out.
struct LetteringBox {
    bool empty = true;
    std::array<Vec, 4> corners{};
};
LetteringBox letteringBox(const LettersParams& p);

// What to tell the user about the font of a lettering: empty when the
// family named is the one used, else which family stood in for it.
std::string replacedFontNote(const LettersParams& p);

} // namespace kelvara::stitch
