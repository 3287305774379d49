// STEIL: a column along one line, as wide as its start and end widths.
#include "model/kinds/kindparts.h"
#include "model/pathgeometry.h"

#include "model/curvesplit.h"
#include "model/editorstate.h"
#include "model/recordgeometry.h"
#include "shell/settings.h"
#include "stitch/fillborders.h"
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<34> l;
    l.add("GROUP", Form::Group, 0);
    l.addEdgeFlag(projectkeys::kLineKeys, offsetof(SteilParams, line));
    l.addColumnHead<SteilParams>();
    l.add("SWIDTH", Form::Integer, offsetof(SteilParams, SWIDTH));
    l.add("TWIDTH", Form::Integer, offsetof(SteilParams, TWIDTH));
    l.addShared<SteilParams>();
    l.addEdgePoints(projectkeys::kLineKeys, offsetof(SteilParams, line));
    l.addColumnTail<SteilParams>();
    l.add("CENTRE", Form::TailFlag, offsetof(SteilRecord, tail.CENTRE));
    return l;
}();
static_assert(kKeys.count == 34);

constexpr auto kFields = [] {
    FieldTable<31> t;
    t.addColumn<SteilParams>(M::WalkInset);
    t.add(M::CentreWalk, offsetof(SteilRecord, tail.CENTRE));
    t.add(M::StartWidth, offsetof(SteilParams, SWIDTH));
    t.add(M::EndWidth, offsetof(SteilParams, TWIDTH));
    t.addEdge(M::LineStraight, offsetof(SteilParams, line));
    return t.sorted();
}();
static_assert(kFields.coveredBytes() == sizeof(SteilRecord));

KindWidths widths(ObjectParams& p)
{
    return {&p.steil.SWIDTH, &p.steil.TWIDTH};
}

void defaults(ObjectParams& p, const Settings& s, int32_t colour)
{
    fillColumn(p.steil, s, colour);
    p.steil.SWIDTH = s.STEIL;
    p.steil.TWIDTH = s.STEIL;
}

void sampleShape(ObjectParams& p)
{
    fillEdge(p.steil.line, 0, 0, 10, 0);
}

void place(ObjectParams& p, const ToolState& tools)
{
    p.steil.line = edgeOf(tools.preview.segments[0]);
}

// The column is the mirror image of its line's when either width is
// negative; a mirror turns that over, widths keeping their size.
bool mirrorRest(ObjectParams& params, MirrorAxis, double)
{
    SteilParams& p = params.steil;
    const bool mirrored = p.SWIDTH < 0 || p.TWIDTH < 0;
    const auto size = [](int32_t w) { return w < 0 ? negated(w) : w; };
    p.SWIDTH = mirrored ? size(p.SWIDTH) : -size(p.SWIDTH);
    p.TWIDTH = mirrored ? size(p.TWIDTH) : -size(p.TWIDTH);
    return true;
}

// The column is as wide as its area over its length, both of which the
// scale changes, measured along its chord.
bool turnRest(ObjectParams& params, const TurnAndScale& how)
{
    SteilParams& p = params.steil;
    const BezierEdge& e = p.line;
    const double cx = e.x2 - e.x1, cy = e.y2 - e.y1, chord = std::hypot(cx, cy);
    const double along =
        chord > 0 ? std::hypot(how.scaleX * cx, how.scaleY * cy) / chord : std::sqrt(how.scaleX * how.scaleY);
    const double factor = how.scaleX * how.scaleY / along;
    return toField(p.SWIDTH * factor, p.SWIDTH) && toField(p.TWIDTH * factor, p.TWIDTH);
}

double splitAt(const ObjectParams& p, double x, double y, double tolerance)
{
    return lineSplitParameter(p.steil.line, x, y, tolerance + halfOfWider(p.steil.SWIDTH, p.steil.TWIDTH));
}

// The width at the cut is the column's width there.
bool split(const ObjectParams& p, double t, ObjectParams& first, ObjectParams& second)
{
    splitEdge(p.steil.line, t, first.steil.line, second.steil.line);
    const int32_t middle = widthAt(p.steil.SWIDTH, p.steil.TWIDTH, lengthFraction(p.steil.line, t));
    first.steil.TWIDTH = middle;
    second.steil.SWIDTH = middle;
    dropLocksBetween(first.steil, second.steil);
    return true;
}

double planReach(const ObjectParams& p)
{
    return halfOfWider(p.steil.SCOMP, p.steil.TCOMP) + halfOfWider(p.steil.SWIDTH, p.steil.TWIDTH);
}

// The column's body, its width followed along the line.
// A satin stroke along the same line, with the column's widths and satin
// fields.
bool toPath(const ObjectParams& params, const Settings& s, int32_t& kind, ObjectParams& out)
{
    const SteilParams& c = params.steil;
    PathData path = edgePath(c.line);
    if (path.subpaths.empty())
        return false;
    kind = KindStroke;
    out = {};
    kindRow(KindStroke)->defaults(out, s, c.colour);
    StrokeParams& p = out.stroke;
    p.STYLE = 1;
    p.SWIDTH = std::abs(c.SWIDTH);
    p.TWIDTH = std::abs(c.TWIDTH);
    p.SDENS = c.SDENS;
    p.TDENS = c.TDENS;
    p.SCOMP = c.SCOMP;
    p.TCOMP = c.TCOMP;
    p.PATTERN = c.PATTERN;
    p.MOTIVE = c.MOTIVE;
    p.TIEIN = c.TIEIN;
    p.TIEOUT = c.TIEOUT;
    p.TRIM = c.TRIM;
    p.REPEAT = c.REPEAT;
    p.UNDER = c.UNDER;
    return setKindPath(*kindRow(KindStroke), out, std::move(path));
}

bool borderShape(const ObjectParams& params, stitch::BorderShape& shape)
{
    using stitch::Vec;
    const SteilParams& p = params.steil;
    if (p.STITCHES == 0)
        return false;
    const stitch::ArcPath centre(stitch::flattenEdge(p.line));
    const double w0 = std::abs(static_cast<double>(p.SWIDTH)), w1 = std::abs(static_cast<double>(p.TWIDTH));
    const int samples =
        static_cast<int>(std::clamp(std::ceil(centre.length() / stitch::kBorderPiece), 2.0, 2000.0));
    std::vector<Vec> other;
    for (int i = 0; i <= samples; ++i) {
        const double t = static_cast<double>(i) / samples, s = t * centre.length();
        const Vec half = stitch::perp(centre.tangentAt(s)) * (stitch::lerp(w0, w1, t) / 2);
        shape.points.push_back(centre.pointAt(s) - half);
        other.push_back(centre.pointAt(s) + half);
    }
    shape.points.insert(shape.points.end(), other.rbegin(), other.rend());
    return true;
}

} // namespace

extern const KindRow kSteilKind{
    .kind = KindSteil,
    .word = "STEIL",
    .name = "Column",
    .underlay = "edge walk",
    .glyph = "++",
    .size = sizeof(SteilRecord),
    .minSize = sizeof(SteilParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .segments = 1,
    .drawsLines = true,
    .edges = lineEdge<&ObjectParams::steil>,
    .widths = widths,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .mirrorRest = mirrorRest,
    .turnRest = turnRest,
    .borderShape = borderShape,
    .toPath = toPath,
    .splitAt = splitAt,
    .split = split,
    .choosesItsEnd = true,
    .planReach = planReach,
    .generate = generateWith<&ObjectParams::tailedSteil, stitch::generateSteil>,
};

} // namespace kelvara
