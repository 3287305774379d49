#pragma once

#include "model/pathdata.h"
#include "model/records.h"
#include "stitch/geometry.h"

#include <vector>

namespace kelvara {
struct Settings;
}

namespace kelvara::stitch {

struct GlyphCentres;

// One object a glyph is sewn as, with the path its record would hold: a
// satin STROKE along a centre line, or a SHAPE (a wide part filled with a
// satin edge, or, with `rows`, a glyph whose centre lines do not sew it
// well, filled by rows across its strokes).
struct LetterPart {
    int32_t kind = 0;
    ObjectParams params{};
    PathData path;
    bool rows = false;
};

// A step of a glyph's sewing: running stitches along `travel` (under
// stitches still to come), then the part, when it has a kind.
struct GlyphStep {
    std::vector<Vec> travel;
    LetterPart part;
};

// The steps of each connected part of a glyph (a letter's body, its dot,
// its mark), from the part nearest `entry` on. Each part is sewn in one
// path: every centre line is travelled out under its column and the
// column sewn back, except the lines that lead on to the node nearest
// `towards`, which are sewn on the way, so the part ends there.
std::vector<std::vector<GlyphStep>> centreLineSteps(const LettersParams& p, const Settings& s,
                                                    const std::vector<std::vector<Vec>>& rings,
                                                    const GlyphCentres& centres, Vec entry, Vec towards);

// The parts of a glyph filled by rows: each outline with the counters
// inside it, as SHAPE records.
std::vector<LetterPart> rowParts(const LettersParams& p, const Settings& s, const std::vector<std::vector<Vec>>& rings);

// A ring holds `v` (even-odd).
bool insideRing(Vec v, const std::vector<Vec>& ring);

// The path of closed rings or of one open line, in whole units.
PathData pathOf(const std::vector<std::vector<Vec>>& rings, bool closed);

} // namespace kelvara::stitch
