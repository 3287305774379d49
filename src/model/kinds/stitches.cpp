// STITCHES: a block of one thread's stitches kept exactly as a machine file
// had them. It is sewn as it is (no locks, no short-stitch rule: its own are
// in it), and a transform moves its stitches rather than stitching anew.
#include "model/kinds/kindparts.h"

#include "model/blockstore.h"
#include "shell/settings.h"
#include "stitch/planbuilder.h"

#include <cmath>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<6> l;
    l.add("GROUP", Form::Group, 0);
    l.add("TRIM", Form::Flag, offsetof(StitchesParams, TRIM));
    l.add("R", Form::Red, offsetof(StitchesParams, colour));
    l.add("G", Form::Green, offsetof(StitchesParams, colour));
    l.add("B", Form::Blue, offsetof(StitchesParams, colour));
    l.add("MOVES", Form::Moves, offsetof(StitchesParams, MOVES));
    return l;
}();
static_assert(kKeys.count == 6);

constexpr auto kFields = [] {
    FieldTable<2> t;
    t.add(M::Trim, offsetof(StitchesParams, TRIM));
    t.add(M::Colour, offsetof(StitchesParams, colour));
    return t.sorted();
}();

void defaults(ObjectParams& p, const Settings&, int32_t colour)
{
    p.stitches = {0, colour, 0, 0, 0};
}

void sampleShape(ObjectParams& p)
{
    StitchBlock block;
    block.moves = {{0, 0}, {10, 0}};
    p.stitches.MOVES = storeBlock(std::move(block));
}

std::vector<HullPoint> outline(const ObjectParams& p)
{
    const StoredBlock* stored = storedBlock(p.stitches.MOVES);
    if (stored == nullptr)
        return {};
    std::vector<HullPoint> hull = stored->hull;
    for (HullPoint& h : hull)
        h.x += p.stitches.X, h.y += p.stitches.Y;
    return hull;
}

bool withinLimit(double v)
{
    return std::abs(v) <= kBlockCoordinateLimit;
}

// A map that only moves by whole units changes the block's place; any other
// stores the mapped moves anew, rounded to whole units.
bool mapStored(ObjectParams& p, const std::function<void(double&, double&)>& map)
{
    const StoredBlock* stored = storedBlock(p.stitches.MOVES);
    if (stored == nullptr)
        return true;
    StitchesParams& s = p.stitches;
    double ox = s.X, oy = s.Y, ax = s.X + 1.0, ay = s.Y, bx = s.X, by = s.Y + 1.0;
    map(ox, oy), map(ax, ay), map(bx, by);
    const bool shiftOnly = ax - ox == 1 && ay == oy && bx == ox && by - oy == 1 && ox == std::round(ox) &&
                           oy == std::round(oy);
    if (shiftOnly) {
        if (!withinLimit(ox) || !withinLimit(oy))
            return false;
        s.X = static_cast<int32_t>(ox), s.Y = static_cast<int32_t>(oy);
        return true;
    }
    StitchBlock moved = stored->block;
    for (BlockMove& m : moved.moves) {
        double x = double(m.x) + s.X, y = double(m.y) + s.Y;
        map(x, y);
        x = std::round(x), y = std::round(y);
        if (!withinLimit(x) || !withinLimit(y))
            return false;
        m.x = static_cast<int32_t>(x);
        m.y = static_cast<int32_t>(y);
    }
    const int32_t handle = storeBlock(std::move(moved));
    if (handle == 0)
        return false;
    s.MOVES = handle;
    s.X = s.Y = 0;
    return true;
}

PickShape pickShape(const ObjectParams& p)
{
    PickShape shape;
    for (const HullPoint& h : outline(p))
        shape.points.push_back({h.x, h.y});
    shape.closed = shape.points.size() > 2;
    return shape;
}

void style(const ObjectParams&, const stitch::GenContext&, stitch::ObjectStyle& style)
{
    style.asRead = true;
    style.tieIn = style.tieOut = -1;
    style.builtinTieIn = style.builtinTieOut = false;
    style.maxStitch = 0;
}

void generate(const ObjectParams& p, const stitch::GenContext&, stitch::NeedleSink& sink)
{
    const StoredBlock* stored = storedBlock(p.stitches.MOVES);
    if (stored == nullptr)
        return;
    for (const BlockMove& m : stored->block.moves) {
        if (sink.exhausted())
            return;
        const stitch::Vec at{double(m.x) + p.stitches.X, double(m.y) + p.stitches.Y};
        switch (m.kind) {
        case BlockMoveKind::Stitch:
            sink.edgeNeedle(at);
            break;
        case BlockMoveKind::Jump:
            sink.jump(at);
            break;
        case BlockMoveKind::Trim:
            sink.trim();
            break;
        }
    }
}

int64_t recordFloor(const ObjectParams& p, const stitch::GenContext&, int64_t)
{
    const StoredBlock* stored = storedBlock(p.stitches.MOVES);
    return stored ? static_cast<int64_t>(stored->block.moves.size()) : 0;
}

} // namespace

extern const KindRow kStitchesKind{
    .kind = KindStitches,
    .word = "STITCHES",
    .name = "Stitches",
    .underlay = {},
    .glyph = "::",
    .size = sizeof(StitchesParams),
    .minSize = sizeof(StitchesParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .storedOutline = outline,
    .mapStored = mapStored,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .pickShape = pickShape,
    .style = style,
    .generate = generate,
    .recordFloor = recordFloor,
};

} // namespace kelvara
