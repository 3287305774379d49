// SHAPE: closed paths filled by the even-odd rule, so inner paths are holes.
#include "model/kinds/kindparts.h"

#include "model/pathgeometry.h"
#include "model/pathstore.h"
#include "model/pentool.h"
#include "shell/settings.h"
#include "stitch/pathstitch.h"

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<29> l;
    l.add("GROUP", Form::Group, 0);
    l.addColumnHead<ShapeParams>();
    l.addShared<ShapeParams>();
    l.add("ANGLE", Form::Angle, offsetof(ShapeParams, ANGLE));
    l.add("BORDER", Form::Integer, offsetof(ShapeParams, BORDER));
    l.add("BWIDTH", Form::Integer, offsetof(ShapeParams, BWIDTH));
    l.add("APPLIQUE", Form::Flag, offsetof(ShapeParams, APPLIQUE));
    l.add("FLEN", Form::Integer, offsetof(ShapeParams, FLEN));
    l.add("ROWSHIFT", Form::Integer, offsetof(ShapeParams, ROWSHIFT));
    l.addColumnTail<ShapeParams>();
    l.add("PATH", Form::Path, offsetof(ShapeParams, PATH));
    return l;
}();
static_assert(kKeys.count == 29);

constexpr auto kFields = [] {
    FieldTable<27> t;
    t.addColumn<ShapeParams>();
    t.add(M::Angle, offsetof(ShapeParams, ANGLE));
    t.add(M::Border, offsetof(ShapeParams, BORDER));
    t.add(M::BorderWidth, offsetof(ShapeParams, BWIDTH));
    t.add(M::Applique, offsetof(ShapeParams, APPLIQUE));
    t.add(M::FillStitchLength, offsetof(ShapeParams, FLEN));
    t.add(M::RowOffset, offsetof(ShapeParams, ROWSHIFT));
    return t.sorted();
}();

void defaults(ObjectParams& p, const Settings& s, int32_t colour)
{
    fillColumn(p.shape, s, colour);
    p.shape.ANGLE = 0;
    p.shape.BORDER = 0;
    p.shape.BWIDTH = s.STEIL;
    p.shape.APPLIQUE = 0;
    p.shape.PATH = 0;
    p.shape.FLEN = 0;
    p.shape.ROWSHIFT = 0;
}

void sampleShape(ObjectParams& p)
{
    p.shape.PATH = storePath(readPath("M0,0L10,0L10,10L0,10Z").path);
}

void generate(const ObjectParams& p, const stitch::GenContext& ctx, stitch::NeedleSink& sink)
{
    if (const PathData* path = storedPath(p.shape.PATH))
        stitch::generateShape(p.shape, *path, ctx, sink);
}

int64_t recordFloor(const ObjectParams& p, const stitch::GenContext& ctx, int64_t limit)
{
    const PathData* path = storedPath(p.shape.PATH);
    return path ? stitch::shapeRecordFloor(p.shape, *path, ctx, limit) : 0;
}

// The path the pen has drawn.
void place(ObjectParams& p, const ToolState& tools)
{
    p.shape.PATH = storePath(penPath(tools.pen, true));
}

PickShape pickShape(const ObjectParams& p)
{
    const PathData* path = storedPath(p.shape.PATH);
    return path ? pathPickShape(*path, true) : PickShape{};
}

bool turnRest(ObjectParams& p, const TurnAndScale& how)
{
    return turnedFillAngle(p.shape.ANGLE, how);
}

} // namespace

extern const KindRow kShapeKind{
    .kind = KindShape,
    .word = "SHAPE",
    .name = "Shape",
    .underlay = "underlay rows, and the satin border's edge walk",
    .glyph = "@ ",
    .size = sizeof(ShapeParams),
    .minSize = sizeof(ShapeParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .path = pathField<&ObjectParams::shape>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .mirrorRest = mirrorFillAngle<&ObjectParams::shape>,
    .turnRest = turnRest,
    .pickShape = pickShape,
    .fillsUnderBorders = true,
    .generate = generate,
    .recordFloor = recordFloor,
};

} // namespace kelvara
