// STROKE: a path of any number of nodes, sewn as a running line.
#include "model/kinds/kindparts.h"

#include "model/pathgeometry.h"
#include "model/pathstore.h"
#include "model/pentool.h"
#include "shell/settings.h"
#include "stitch/pathstitch.h"
#include "stitch/planbuilder.h"

#include <algorithm>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<21> l;
    l.add("GROUP", Form::Group, 0);
    l.add("STYLE", Form::Integer, offsetof(StrokeParams, STYLE));
    l.add("LEN", Form::RunLength, offsetof(StrokeParams, LEN));
    l.add("REPEAT", Form::RunRepeat, offsetof(StrokeParams, REPEAT));
    l.add("SWIDTH", Form::Integer, offsetof(StrokeParams, SWIDTH));
    l.add("TWIDTH", Form::Integer, offsetof(StrokeParams, TWIDTH));
    l.add("SDENS", Form::Integer, offsetof(StrokeParams, SDENS));
    l.add("TDENS", Form::Integer, offsetof(StrokeParams, TDENS));
    l.add("SCOMP", Form::Integer, offsetof(StrokeParams, SCOMP));
    l.add("TCOMP", Form::Integer, offsetof(StrokeParams, TCOMP));
    l.add("UNDER", Form::Integer, offsetof(StrokeParams, UNDER));
    l.add("PATTERN", Form::Pattern, offsetof(StrokeParams, PATTERN));
    l.add("MOTIVE", Form::Motif, offsetof(StrokeParams, MOTIVE));
    l.add("MSIZE", Form::Integer, offsetof(StrokeParams, MSIZE));
    l.add("TIEIN", Form::TieOff, offsetof(StrokeParams, TIEIN));
    l.add("TIEOUT", Form::TieOff, offsetof(StrokeParams, TIEOUT));
    l.add("TRIM", Form::Flag, offsetof(StrokeParams, TRIM));
    l.add("R", Form::Red, offsetof(StrokeParams, colour));
    l.add("G", Form::Green, offsetof(StrokeParams, colour));
    l.add("B", Form::Blue, offsetof(StrokeParams, colour));
    l.add("PATH", Form::Path, offsetof(StrokeParams, PATH));
    return l;
}();
static_assert(kKeys.count == 21);

constexpr auto kFields = [] {
    FieldTable<17> t;
    t.add(M::StitchLength, offsetof(StrokeParams, LEN));
    t.add(M::Style, offsetof(StrokeParams, STYLE));
    t.add(M::RunPasses, offsetof(StrokeParams, REPEAT));
    t.add(M::StartWidth, offsetof(StrokeParams, SWIDTH));
    t.add(M::EndWidth, offsetof(StrokeParams, TWIDTH));
    t.add(M::Density, offsetof(StrokeParams, SDENS));
    t.add(M::EndDensity, offsetof(StrokeParams, TDENS));
    t.add(M::PullComp, offsetof(StrokeParams, SCOMP));
    t.add(M::EndPullComp, offsetof(StrokeParams, TCOMP));
    t.add(M::Underlay, offsetof(StrokeParams, UNDER));
    t.add(M::Pattern, offsetof(StrokeParams, PATTERN));
    t.add(M::Motif, offsetof(StrokeParams, MOTIVE));
    t.add(M::MotifSize, offsetof(StrokeParams, MSIZE));
    t.add(M::TieIn, offsetof(StrokeParams, TIEIN));
    t.add(M::TieOut, offsetof(StrokeParams, TIEOUT));
    t.add(M::Trim, offsetof(StrokeParams, TRIM));
    t.add(M::Colour, offsetof(StrokeParams, colour));
    return t.sorted();
}();

void defaults(ObjectParams& params, const Settings& s, int32_t colour)
{
    StrokeParams& p = params.stroke;
    p.LEN = s.STITCH;
    p.MOTIVE = kNone;
    p.TIEIN = kNone;
    p.TIEOUT = kNone;
    p.TRIM = 0;
    p.colour = colour;
    p.REPEAT = 1;
    p.STYLE = 0;
    p.SWIDTH = s.STEIL;
    p.TWIDTH = s.STEIL;
    p.SDENS = s.DENSITY;
    p.TDENS = s.DENSITY;
    p.SCOMP = s.PULLCOMP;
    p.TCOMP = s.PULLCOMP;
    p.PATTERN = kNone;
    p.UNDER = s.UNDER != 0 ? s.LENGTH : -1;
    p.PATH = 0;
    p.MSIZE = 0;
}

void sampleShape(ObjectParams& p)
{
    p.stroke.PATH = storePath(readPath("M0,0L10,0").path);
}

void generate(const ObjectParams& p, const stitch::GenContext& ctx, stitch::NeedleSink& sink)
{
    if (const PathData* path = storedPath(p.stroke.PATH))
        stitch::generateStroke(p.stroke, *path, ctx, sink);
}

void style(const ObjectParams& p, const stitch::GenContext&, stitch::ObjectStyle& style)
{
    if (p.stroke.STYLE == 1)
        return;
    // The user's own stitch length is never cut down.
    style.maxStitch = std::max(style.maxStitch, stitch::clampedLength(p.stroke.LEN, 1, 1e9));
}

// The path the pen has drawn.
void place(ObjectParams& p, const ToolState& tools)
{
    p.stroke.PATH = storePath(penPath(tools.pen, tools.pen.closing != 0));
}

PickShape pickShape(const ObjectParams& p)
{
    const PathData* path = storedPath(p.stroke.PATH);
    PickShape shape = path ? pathPickShape(*path, false) : PickShape{};
    if (p.stroke.STYLE == 1) {
        shape.halfWidth0 = std::abs(double(p.stroke.SWIDTH)) / 2;
        shape.halfWidth1 = std::abs(double(p.stroke.TWIDTH)) / 2;
    }
    return shape;
}

// A satin stroke reaches half its width and compensation beyond its line.
double planReach(const ObjectParams& p)
{
    if (p.stroke.STYLE != 1)
        return 0;
    return halfOfWider(p.stroke.SCOMP, p.stroke.TCOMP) + halfOfWider(p.stroke.SWIDTH, p.stroke.TWIDTH);
}

} // namespace

extern const KindRow kStrokeKind{
    .kind = KindStroke,
    .word = "STROKE",
    .name = "Stroke",
    .underlay = "edge walk (satin style)",
    .glyph = "~~",
    .size = sizeof(StrokeParams),
    .minSize = sizeof(StrokeParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .path = pathField<&ObjectParams::stroke>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .pickShape = pickShape,
    .choosesItsEnd = true,
    .planReach = planReach,
    .style = style,
    .generate = generate,
};

} // namespace kelvara
