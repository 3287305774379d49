// LETTERS: text in an installed font, digitized into satin and fill when sewn.
#include "model/kinds/kindparts.h"

#include "model/pathstore.h"
#include "model/recordgeometry.h"
#include "model/textstore.h"
#include "shell/settings.h"
#include "stitch/lettering.h"

#include <cmath>
#include <cstdlib>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<35> l;
    l.add("GROUP", Form::Group, 0);
    l.addColumnHead<LettersParams>();
    l.addShared<LettersParams>();
    l.add("ANGLE", Form::Angle, offsetof(LettersParams, ANGLE));
    l.add("FONT", Form::Text, offsetof(LettersParams, FONT));
    l.add("BOLD", Form::Flag, offsetof(LettersParams, BOLD));
    l.add("ITALIC", Form::Flag, offsetof(LettersParams, ITALIC));
    l.add("SIZE", Form::Integer, offsetof(LettersParams, SIZE));
    l.add("X", Form::Integer, offsetof(LettersParams, X));
    l.add("Y", Form::Integer, offsetof(LettersParams, Y));
    l.add("ALIGN", Form::Integer, offsetof(LettersParams, ALIGN));
    l.add("SPACING", Form::Integer, offsetof(LettersParams, SPACING));
    l.add("LEADING", Form::Integer, offsetof(LettersParams, LEADING));
    l.add("ARC", Form::Integer, offsetof(LettersParams, ARC));
    l.add("TURN", Form::Angle, offsetof(LettersParams, TURN));
    l.addColumnTail<LettersParams>();
    l.add("TEXT", Form::Text, offsetof(LettersParams, TEXT));
    return l;
}();
static_assert(kKeys.count == 35);

constexpr auto kFields = [] {
    FieldTable<22> t;
    t.addColumn<LettersParams>();
    t.add(M::Angle, offsetof(LettersParams, ANGLE));
    t.add(M::CentreX, offsetof(LettersParams, X));
    t.add(M::CentreY, offsetof(LettersParams, Y));
    return t.sorted();
}();

// Bounds a forged line cannot pass: lettering from a stitch high to a metre.
constexpr int32_t kSmallestSize = 5;
constexpr int32_t kLargestSize = 10000;
constexpr int32_t kFarthest = 1'000'000;

void defaults(ObjectParams& p, const Settings& s, int32_t colour)
{
    LettersParams& l = p.letters;
    fillColumn(l, s, colour);
    l.ANGLE = 0;
    l.FONT = 0;
    l.BOLD = 0;
    l.ITALIC = 0;
    l.SIZE = 100;
    l.X = 0;
    l.Y = 0;
    l.ALIGN = 0;
    l.SPACING = 0;
    l.LEADING = 0;
    l.ARC = 0;
    l.TURN = 0;
    l.TEXT = 0;
}

void sampleShape(ObjectParams& p)
{
    p.letters.X = 0;
    p.letters.Y = 100;
}

bool accepts(const ObjectParams& p)
{
    const LettersParams& l = p.letters;
    const auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
    return within(l.SIZE, kSmallestSize, kLargestSize) && within(l.ALIGN, 0, 2) &&
           within(l.SPACING, -kLargestSize, kLargestSize) && within(l.LEADING, 0, kLargestSize * 4) &&
           within(l.ARC, -kFarthest, kFarthest) && (l.ARC == 0 || std::abs(l.ARC) >= kSmallestSize) &&
           within(l.X, -kFarthest, kFarthest) && within(l.Y, -kFarthest, kFarthest);
}

// The anchor moves with the ellipse part; its "radii" are the size, so the
// box the shared code sees grows and shrinks with the letters.
KindEllipse anchor(ObjectParams& p)
{
    return {&p.letters.X, &p.letters.Y, &p.letters.SIZE, &p.letters.SIZE};
}

// A mirror keeps the letters readable: the text ends where it started, an
// arc's top becomes its bottom, and the baseline turns the mirrored way.
bool mirrorRest(ObjectParams& p, MirrorAxis axis, double)
{
    LettersParams& l = p.letters;
    if (axis == MirrorAxis::LeftRight)
        l.ALIGN = 2 - l.ALIGN;
    else
        l.ARC = negated(l.ARC);
    l.TURN = negated(l.TURN) % 360;
    l.ANGLE = mirroredAngle(l.ANGLE, axis);
    return true;
}

bool turnRest(ObjectParams& p, const TurnAndScale& how)
{
    LettersParams& l = p.letters;
    double x = l.X, y = l.Y;
    turnPoint(how, x, y);
    // Lettering keeps its proportions: it grows by the height.
    const double grow = how.scaleY;
    int32_t size = 0, arc = 0, spacing = 0, leading = 0, nx = 0, ny = 0;
    if (!(toField(std::round(x), nx) && toField(std::round(y), ny) && toField(std::round(l.SIZE * grow), size) &&
          toField(std::round(l.ARC * grow), arc) && toField(std::round(l.SPACING * grow), spacing) &&
          toField(std::round(l.LEADING * grow), leading)))
        return false;
    if (size < kSmallestSize || size > kLargestSize)
        return false;
    l.X = nx;
    l.Y = ny;
    l.SIZE = size;
    l.ARC = arc;
    l.SPACING = spacing;
    l.LEADING = leading;
    l.TURN = (l.TURN + how.degrees) % 360;
    return turnedFillAngle(l.ANGLE, how);
}

PickShape pickShape(const ObjectParams& p)
{
    PickShape shape;
    shape.closed = true;
    const stitch::LetteringBox box = stitch::letteringBox(p.letters);
    if (box.empty) {
        const double s = p.letters.SIZE;
        shape.points = {{p.letters.X - s / 2, p.letters.Y - s}, {p.letters.X + s / 2, p.letters.Y - s},
                        {p.letters.X + s / 2, double(p.letters.Y)}, {p.letters.X - s / 2, double(p.letters.Y)}};
        return shape;
    }
    shape.points.assign(box.corners.begin(), box.corners.end());
    return shape;
}

double planReach(const ObjectParams& p)
{
    const LettersParams& l = p.letters;
    const double chars = double(storedText(l.TEXT).size()) + 2;
    return chars * (l.SIZE * 1.5 + std::abs(double(l.SPACING)) + l.LEADING);
}

void generate(const ObjectParams& p, const stitch::GenContext& ctx, stitch::NeedleSink& sink)
{
    stitch::generateLettering(p.letters, ctx, sink);
}

// The strokes and shapes the glyphs are sewn as, each with its path stored.
bool toPaths(const ObjectParams& p, const stitch::GenContext& ctx, std::vector<std::pair<int32_t, ObjectParams>>& out)
{
    for (stitch::LetterPart& part : stitch::letteringParts(p.letters, ctx)) {
        ObjectParams record = part.params;
        const int32_t handle = storePath(std::move(part.path));
        if (handle == 0)
            return false;
        (part.kind == KindStroke ? record.stroke.PATH : record.shape.PATH) = handle;
        out.emplace_back(part.kind, record);
    }
    return !out.empty();
}

} // namespace

extern const KindRow kLettersKind{
    .kind = KindLetters,
    .word = "LETTERS",
    .name = "Lettering",
    .underlay = {},
    .glyph = "Aa",
    .size = sizeof(LettersParams),
    .minSize = sizeof(LettersParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .ellipse = anchor,
    .anchorOnly = true,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .accepts = accepts,
    .mirrorRest = mirrorRest,
    .turnRest = turnRest,
    .pickShape = pickShape,
    .toPaths = toPaths,
    .planReach = planReach,
    .generate = generate,
};

} // namespace kelvara
