// SATEN: a satin column between two edges.
#include "model/kinds/kindparts.h"

#include "model/curvesplit.h"
#include "model/editorstate.h"
#include "stitch/fillborders.h"
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

using namespace kindparts;

constexpr auto kKeys = [] {
    auto l = projectkeys::extended<1>(projectkeys::twoEdgeFields<SatenParams, 42>());
    l.add("CENTRE", projectkeys::Form::TailFlag, offsetof(SatenRecord, tail.CENTRE));
    return l;
}();
static_assert(kKeys.count == 43);

constexpr auto kFields = [] {
    FieldTable<40> t;
    t.addColumn<SatenParams>(M::WalkInset);
    t.add(M::CentreWalk, offsetof(SatenRecord, tail.CENTRE));
    t.add(M::StartSide, offsetof(SatenParams, STARTA));
    t.add(M::StopSide, offsetof(SatenParams, STOPA));
    t.addEdge(M::EdgeAStraight, offsetof(SatenParams, edgeA));
    t.addEdge(M::EdgeBStraight, offsetof(SatenParams, edgeB));
    return t.sorted();
}();
static_assert(kFields.coveredBytes() == sizeof(SatenRecord));

void defaults(ObjectParams& p, const Settings& s, int32_t colour)
{
    fillColumn(p.saten, s, colour);
    p.saten.STARTA = 1;
    p.saten.STOPA = 1;
}

void sampleShape(ObjectParams& p)
{
    fillEdge(p.saten.edgeA, 0, 0, 10, 0);
    fillEdge(p.saten.edgeB, 0, 10, 10, 10);
}

void place(ObjectParams& p, const ToolState& tools)
{
    p.saten.edgeA = edgeOf(tools.preview.segments[0]);
    p.saten.edgeB = reversedEdgeOf(tools.preview.segments[2]);
}

// Cut at edge A's parameter; a click nearer edge B counts at the same place
// along the column.
double splitAt(const ObjectParams& p, double x, double y, double tolerance)
{
    double distance = 0, onB = 0;
    const double tb = nearestOnEdge(p.saten.edgeB, x, y, onB);
    double t = nearestOnEdge(p.saten.edgeA, x, y, distance);
    if (onB < distance) {
        distance = onB;
        t = runsAgainst(p.saten.edgeA, p.saten.edgeB) ? 1 - tb : tb;
    }
    return splitParameterOn(p.saten.edgeA, t, distance, tolerance);
}

bool split(const ObjectParams& p, double t, ObjectParams& first, ObjectParams& second)
{
    splitEdge(p.saten.edgeA, t, first.saten.edgeA, second.saten.edgeA);
    if (runsAgainst(p.saten.edgeA, p.saten.edgeB))
        splitEdge(p.saten.edgeB, 1 - t, second.saten.edgeB, first.saten.edgeB);
    else
        splitEdge(p.saten.edgeB, t, first.saten.edgeB, second.saten.edgeB);
    dropLocksBetween(first.saten, second.saten);
    return true;
}

double planReach(const ObjectParams& p)
{
    return halfOfWider(p.saten.SCOMP, p.saten.TCOMP);
}

// The column's body, edge B run back from A's end unless drawn that way.
bool borderShape(const ObjectParams& params, stitch::BorderShape& shape)
{
    using stitch::Vec;
    const SatenParams& p = params.saten;
    if (p.STITCHES == 0)
        return false;
    shape.points = stitch::flattenEdge(p.edgeA);
    std::vector<Vec> b = stitch::flattenEdge(p.edgeB);
    const Vec a0{p.edgeA.x1, p.edgeA.y1}, a1{p.edgeA.x2, p.edgeA.y2};
    const Vec b0{p.edgeB.x1, p.edgeB.y1}, b1{p.edgeB.x2, p.edgeB.y2};
    if (length(a0 - b1) + length(a1 - b0) >= length(a0 - b0) + length(a1 - b1))
        std::reverse(b.begin(), b.end());
    shape.points.insert(shape.points.end(), b.begin(), b.end());
    return true;
}

} // namespace

extern const KindRow kSatenKind{
    .kind = KindSaten,
    .word = "SATEN",
    .name = "Satin column",
    .underlay = "edge walk",
    .glyph = "[]",
    .size = sizeof(SatenRecord),
    .minSize = sizeof(SatenParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .segments = 3,
    .drawsLines = true,
    .edges = twoEdges<&ObjectParams::saten>,
    .startSide = startSideOf<&ObjectParams::saten>,
    .stopSide = stopSideOf<&ObjectParams::saten>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .borderShape = borderShape,
    .splitAt = splitAt,
    .split = split,
    .choosesItsEnd = true,
    .planReach = planReach,
    .generate = generateWith<&ObjectParams::tailedSaten, stitch::generateSaten>,
};

} // namespace kelvara
