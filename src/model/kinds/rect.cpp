// RECT: a fill between two edges, its rows at ANGLE.
#include "model/kinds/kindparts.h"
#include "model/pathgeometry.h"

#include "model/editorstate.h"
#include "model/recordgeometry.h"
#include "stitch/generators.h"

#include <cmath>

namespace kelvara {

namespace {

using namespace kindparts;

constexpr auto kKeys = [] {
    auto l = projectkeys::extended<2>(projectkeys::twoEdgeFields<RectParams, 43>());
    l.add("FLEN", projectkeys::Form::Tail, offsetof(RectRecord, tail.FLEN));
    l.add("ROWSHIFT", projectkeys::Form::Tail, offsetof(RectRecord, tail.ROWSHIFT));
    return l;
}();
static_assert(kKeys.count == 45);

constexpr auto kFields = [] {
    FieldTable<42> t;
    t.addColumn<RectParams>();
    t.add(M::FillStitchLength, offsetof(RectRecord, tail.FLEN));
    t.add(M::RowOffset, offsetof(RectRecord, tail.ROWSHIFT));
    t.add(M::StartSide, offsetof(RectParams, STARTA));
    t.add(M::StopSide, offsetof(RectParams, STOPA));
    t.add(M::Angle, offsetof(RectParams, ANGLE));
    t.addEdge(M::EdgeAStraight, offsetof(RectParams, edgeA));
    t.addEdge(M::EdgeBStraight, offsetof(RectParams, edgeB));
    return t.sorted();
}();
static_assert(kFields.coveredBytes() == sizeof(RectRecord));

void defaults(ObjectParams& p, const Settings& s, int32_t colour)
{
    fillColumn(p.rect, s, colour);
    p.rect.STARTA = 1;
    p.rect.STOPA = 1;
    p.rect.ANGLE = 0;
}

void sampleShape(ObjectParams& p)
{
    fillEdge(p.rect.edgeA, 0, 0, 10, 0);
    fillEdge(p.rect.edgeB, 0, 10, 10, 10);
}

void place(ObjectParams& params, const ToolState& tools)
{
    const auto& seg = tools.preview.segments;
    RectParams& p = params.rect;
    p.edgeA = edgeOf(seg[0]);
    // Edge B ends at the third click and starts where edge A's start lands
    // when moved by the second segment, so the four corners form a
    // parallelogram and the two sides never cross.
    p.edgeB = edgeOf(seg[1]);
    p.edgeB.x1 = p.edgeA.x1 + p.edgeB.x2 - p.edgeA.x2;
    p.edgeB.y1 = p.edgeA.y1 + p.edgeB.y2 - p.edgeA.y2;
}

bool toPath(const ObjectParams& params, const Settings& s, int32_t& kind, ObjectParams& out)
{
    PathData path = twoEdgePath(params.rect.edgeA, params.rect.edgeB);
    if (path.subpaths.empty())
        return false;
    kind = KindShape;
    out = {};
    kindRow(KindShape)->defaults(out, s, params.rect.colour);
    copyFillInto(params.tailedRect, out.shape);
    return setKindPath(*kindRow(KindShape), out, std::move(path));
}

bool turnRest(ObjectParams& p, const TurnAndScale& how)
{
    return turnedFillAngle(p.rect.ANGLE, how);
}

} // namespace

extern const KindRow kRectKind{
    .kind = KindRect,
    .word = "RECT",
    .name = "Fill",
    .underlay = "underlay rows",
    .glyph = "# ",
    .size = sizeof(RectRecord),
    .minSize = sizeof(RectParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .segments = 2,
    .edges = twoEdges<&ObjectParams::rect>,
    .startSide = startSideOf<&ObjectParams::rect>,
    .stopSide = stopSideOf<&ObjectParams::rect>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .mirrorRest = mirrorFillAngle<&ObjectParams::rect>,
    .turnRest = turnRest,
    .toPath = toPath,
    .fillsUnderBorders = true,
    .planReach = halfPullComp<&ObjectParams::rect>,
    .generate = generateWith<&ObjectParams::tailedRect, stitch::generateRect>,
    .recordFloor = recordFloorWith<&ObjectParams::tailedRect, stitch::rectRecordFloor>,
};

} // namespace kelvara
