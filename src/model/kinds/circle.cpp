// CIRCLE: a fill of an upright ellipse, its rows at ANGLE.
#include "model/kinds/kindparts.h"
#include "model/pathgeometry.h"

#include "model/editorstate.h"
#include "model/recordgeometry.h"
#include "shell/settings.h"
#include "stitch/generators.h"

#include <cmath>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<29> l;
    l.add("GROUP", Form::Group, 0);
    l.addColumnHead<CircleParams>();
    l.addShared<CircleParams>();
    l.add("X", Form::Integer, offsetof(CircleParams, X));
    l.add("Y", Form::Integer, offsetof(CircleParams, Y));
    l.add("RX", Form::Integer, offsetof(CircleParams, RX));
    l.add("RY", Form::Integer, offsetof(CircleParams, RY));
    l.add("ANGLE", Form::Angle, offsetof(CircleParams, ANGLE));
    l.addColumnTail<CircleParams>();
    l.add("FLEN", Form::Tail, offsetof(CircleRecord, tail.FLEN));
    l.add("ROWSHIFT", Form::Tail, offsetof(CircleRecord, tail.ROWSHIFT));
    return l;
}();
static_assert(kKeys.count == 29);

constexpr auto kFields = [] {
    FieldTable<26> t;
    t.addColumn<CircleParams>();
    t.add(M::FillStitchLength, offsetof(CircleRecord, tail.FLEN));
    t.add(M::RowOffset, offsetof(CircleRecord, tail.ROWSHIFT));
    t.add(M::CentreX, offsetof(CircleParams, X));
    t.add(M::CentreY, offsetof(CircleParams, Y));
    t.add(M::RadiusX, offsetof(CircleParams, RX));
    t.add(M::RadiusY, offsetof(CircleParams, RY));
    t.add(M::Angle, offsetof(CircleParams, ANGLE));
    return t.sorted();
}();
static_assert(kFields.coveredBytes() == sizeof(CircleRecord));

void defaults(ObjectParams& p, const Settings& s, int32_t colour)
{
    fillColumn(p.circle, s, colour);
    p.circle.ANGLE = 0;
}

void sampleShape(ObjectParams& p)
{
    p.circle.RX = 100;
    p.circle.RY = 100;
}

void place(ObjectParams& p, const ToolState& tools)
{
    placeEllipse(p.circle.X, p.circle.Y, p.circle.RX, p.circle.RY, tools.preview.segments[0]);
}

bool toPath(const ObjectParams& params, const Settings& s, int32_t& kind, ObjectParams& out)
{
    const CircleParams& c = params.circle;
    PathData path = ellipsePath(c.X, c.Y, c.RX, c.RY);
    if (path.subpaths.empty())
        return false;
    kind = KindShape;
    out = {};
    kindRow(KindShape)->defaults(out, s, c.colour);
    copyFillInto(params.tailedCircle, out.shape);
    return setKindPath(*kindRow(KindShape), out, std::move(path));
}

bool turnRest(ObjectParams& p, const TurnAndScale& how)
{
    return turnEllipse(p.circle.X, p.circle.Y, p.circle.RX, p.circle.RY, 1, how) &&
           turnedFillAngle(p.circle.ANGLE, how);
}

} // namespace

extern const KindRow kCircleKind{
    .kind = KindCircle,
    .word = "CIRCLE",
    .name = "Circle",
    .underlay = "underlay rows",
    .glyph = "()",
    .size = sizeof(CircleRecord),
    .minSize = sizeof(CircleParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .segments = 2,
    .ellipse = uprightEllipse<&ObjectParams::circle>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .mirrorRest = mirrorFillAngle<&ObjectParams::circle>,
    .turnRest = turnRest,
    .toPath = toPath,
    .fillsUnderBorders = true,
    .planReach = halfPullComp<&ObjectParams::circle>,
    .generate = generateWith<&ObjectParams::tailedCircle, stitch::generateCircle>,
    .recordFloor = recordFloorWith<&ObjectParams::tailedCircle, stitch::circleRecordFloor>,
};

} // namespace kelvara
