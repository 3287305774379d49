// STAR: rays from a centre to an ellipse, or to an arc of it.
#include "model/kinds/kindparts.h"

#include "model/editorstate.h"
#include "model/recordgeometry.h"
#include "shell/settings.h"
#include "stitch/generators.h"
#include "stitch/objectpicking.h"

#include <cmath>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<22> l;
    l.add("GROUP", Form::Group, 0);
    l.add("DENS", Form::Integer, offsetof(StarParams, DENS));
    l.add("COMP", Form::Integer, offsetof(StarParams, COMP));
    l.addShared<StarParams>();
    l.add("X", Form::Integer, offsetof(StarParams, X));
    l.add("Y", Form::Integer, offsetof(StarParams, Y));
    l.add("RX", Form::Integer, offsetof(StarParams, RX));
    l.add("RY", Form::Integer, offsetof(StarParams, RY));
    l.add("STARTANGLE", Form::Angle, offsetof(StarParams, STARTANGLE));
    l.add("STOPANGLE", Form::Angle, offsetof(StarParams, STOPANGLE));
    l.add("REPEAT", Form::Repeat, offsetof(StarParams, REPEAT));
    l.add("UNDER", Form::Integer, offsetof(StarParams, UNDER));
    l.add("OFSUND", Form::Integer, offsetof(StarParams, OFSUND));
    return l;
}();
static_assert(kKeys.count == 22);

constexpr auto kFields = [] {
    FieldTable<19> t;
    t.addShared<StarParams>();
    t.add(M::Density, offsetof(StarParams, DENS));
    t.add(M::PullComp, offsetof(StarParams, COMP));
    t.add(M::CentreX, offsetof(StarParams, X));
    t.add(M::CentreY, offsetof(StarParams, Y));
    t.add(M::RadiusX, offsetof(StarParams, RX));
    t.add(M::RadiusY, offsetof(StarParams, RY));
    t.add(M::StartAngle, offsetof(StarParams, STARTANGLE));
    t.add(M::StopAngle, offsetof(StarParams, STOPANGLE));
    return t.sorted();
}();
static_assert(kFields.coveredBytes() == sizeof(StarParams));

void defaults(ObjectParams& params, const Settings& s, int32_t colour)
{
    StarParams& p = params.star;
    fillCommon(p, colour);
    p.DENS = s.DENSITY;
    p.COMP = s.PULLCOMP;
    p.STARTANGLE = 0;
    p.STOPANGLE = 0;
    p.UNDER = underValue(s);
    p.OFSUND = s.EDGE;
}

void sampleShape(ObjectParams& p)
{
    p.star.RX = 100;
    p.star.RY = 100;
}

void place(ObjectParams& p, const ToolState& tools)
{
    placeEllipse(p.star.X, p.star.Y, p.star.RX, p.star.RY, tools.preview.segments[0]);
}

// The radius along the axis changes sign: the rays then run the other way.
bool mirrorRest(ObjectParams& p, MirrorAxis axis, double)
{
    int32_t& radius = axis == MirrorAxis::LeftRight ? p.star.RX : p.star.RY;
    radius = negated(radius);
    return true;
}

// A mirrored star's rays run clockwise: its angles turn the other way.
bool turnRest(ObjectParams& params, const TurnAndScale& how)
{
    StarParams& star = params.star;
    const int32_t sign = (star.RX < 0) != (star.RY < 0) ? -1 : 1;
    return turnEllipse(star.X, star.Y, star.RX, star.RY, sign, how) &&
           toField(double(star.STARTANGLE % 360) + sign * how.degrees, star.STARTANGLE) &&
           toField(double(star.STOPANGLE % 360) + sign * how.degrees, star.STOPANGLE);
}

// The slice from the centre when it has an arc; signed radii, so a mirrored
// star's slice lies where its stitches are.
PickShape pickShape(const ObjectParams& p)
{
    const double start = p.star.STARTANGLE % 360;
    const double sweep = std::fmod(double(p.star.STOPANGLE % 360) - start + 720, 360);
    PickShape shape;
    shape.points = stitch::ellipseOutline({double(p.star.X), double(p.star.Y)}, double(p.star.RX),
                                          double(p.star.RY), start, sweep);
    shape.closed = true;
    return shape;
}

double planReach(const ObjectParams& p)
{
    return std::abs(static_cast<double>(p.star.COMP)) / 2;
}

} // namespace

extern const KindRow kStarKind{
    .kind = KindStar,
    .word = "STAR",
    .name = "Star",
    .underlay = "walk from the centre round the edge",
    .glyph = "* ",
    .size = sizeof(StarParams),
    .minSize = sizeof(StarParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .segments = 2,
    .ellipse = uprightEllipse<&ObjectParams::star>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .mirrorRest = mirrorRest,
    .turnRest = turnRest,
    .pickShape = pickShape,
    .planReach = planReach,
    .generate = generateWith<&ObjectParams::star, stitch::generateStar>,
};

} // namespace kelvara
