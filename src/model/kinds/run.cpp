// RUN: a running line along one edge, or a jump when not stitched.
#include "model/kinds/kindparts.h"
#include "model/pathgeometry.h"

#include "model/curvesplit.h"
#include "model/editorstate.h"
#include "shell/settings.h"
#include "stitch/fillborders.h"
#include "stitch/generators.h"
#include "stitch/planbuilder.h"

#include <algorithm>

namespace kelvara {

namespace {

using namespace kindparts;
using projectkeys::Form;

constexpr auto kKeys = [] {
    projectkeys::FieldList<21> l;
    l.add("GROUP", Form::Group, 0);
    l.addEdgeFlag(projectkeys::kLineKeys, offsetof(RunParams, line));
    l.add("JUMP", Form::Jump, offsetof(RunParams, JUMP));
    l.add("LEN", Form::RunLength, offsetof(RunParams, LEN));
    l.add("R", Form::Red, offsetof(RunParams, colour));
    l.add("G", Form::Green, offsetof(RunParams, colour));
    l.add("B", Form::Blue, offsetof(RunParams, colour));
    l.addEdgePoints(projectkeys::kLineKeys, offsetof(RunParams, line));
    l.add("MOTIVE", Form::Motif, offsetof(RunParams, MOTIVE));
    l.add("TIEIN", Form::TieOff, offsetof(RunParams, TIEIN));
    l.add("TIEOUT", Form::TieOff, offsetof(RunParams, TIEOUT));
    l.add("TRIM", Form::Flag, offsetof(RunParams, TRIM));
    l.add("REPEAT", Form::Tail, offsetof(RunRecord, tail.REPEAT));
    l.add("MSIZE", Form::Tail, offsetof(RunRecord, tail.MSIZE));
    return l;
}();
static_assert(kKeys.count == 21);

constexpr auto kFields = [] {
    FieldTable<18> t;
    t.add(M::StitchLength, offsetof(RunParams, LEN));
    t.add(M::RunPasses, offsetof(RunRecord, tail.REPEAT));
    t.add(M::MotifSize, offsetof(RunRecord, tail.MSIZE));
    t.add(M::Motif, offsetof(RunParams, MOTIVE));
    t.add(M::TieIn, offsetof(RunParams, TIEIN));
    t.add(M::TieOut, offsetof(RunParams, TIEOUT));
    t.add(M::Trim, offsetof(RunParams, TRIM));
    t.add(M::Stitched, offsetof(RunParams, JUMP));
    t.addEdge(M::LineStraight, offsetof(RunParams, line));
    t.add(M::Colour, offsetof(RunParams, colour));
    return t.sorted();
}();
static_assert(kFields.coveredBytes() == sizeof(RunRecord));

void defaults(ObjectParams& params, const Settings& s, int32_t colour)
{
    RunParams& p = params.run;
    p.LEN = s.STITCH;
    p.MOTIVE = kNone;
    p.TIEIN = kNone;
    p.TIEOUT = kNone;
    p.TRIM = 0;
    p.JUMP = 1;
    p.colour = colour;
}

void sampleShape(ObjectParams& p)
{
    fillEdge(p.run.line, 0, 0, 10, 0);
}

void place(ObjectParams& p, const ToolState& tools)
{
    p.run.line = edgeOf(tools.preview.segments[0]);
}

double splitAt(const ObjectParams& p, double x, double y, double tolerance)
{
    return lineSplitParameter(p.run.line, x, y, tolerance);
}

bool split(const ObjectParams& p, double t, ObjectParams& first, ObjectParams& second)
{
    splitEdge(p.run.line, t, first.run.line, second.run.line);
    dropLocksBetween(first.run, second.run);
    return true;
}

void style(const ObjectParams& p, const stitch::GenContext&, stitch::ObjectStyle& style)
{
    style.stitched = p.run.JUMP != 0;
    // The user's own stitch length is never cut down.
    style.maxStitch = std::max(style.maxStitch, stitch::clampedLength(p.run.LEN, 1, 1e9));
}

// A stitched line without a motif: a band as wide as its thread.
// A running line keeps its stitch length, motif and locks; a jump has no
// stitches to keep.
bool toPath(const ObjectParams& params, const Settings& s, int32_t& kind, ObjectParams& out)
{
    const RunParams& r = params.run;
    PathData path = edgePath(r.line);
    if (r.JUMP == 0 || path.subpaths.empty())
        return false;
    kind = KindStroke;
    out = {};
    kindRow(KindStroke)->defaults(out, s, r.colour);
    StrokeParams& p = out.stroke;
    p.LEN = r.LEN;
    p.MOTIVE = r.MOTIVE;
    p.TIEIN = r.TIEIN;
    p.TIEOUT = r.TIEOUT;
    p.TRIM = r.TRIM;
    // Passes the RUN takes from the configuration become the stroke's own.
    p.REPEAT = stitch::runPasses(params.tailedRun.tail.REPEAT, s);
    p.MSIZE = params.tailedRun.tail.MSIZE;
    return setKindPath(*kindRow(KindStroke), out, std::move(path));
}

bool borderShape(const ObjectParams& params, stitch::BorderShape& shape)
{
    if (params.run.JUMP == 0 || params.run.MOTIVE >= 0)
        return false;
    shape.points = stitch::flattenEdge(params.run.line);
    shape.band = true;
    shape.halfWidth = stitch::kRunBorderHalfWidth;
    return true;
}

} // namespace

extern const KindRow kRunKind{
    .kind = KindRun,
    .word = "RUN",
    .name = "Running line",
    .underlay = {},
    .glyph = "--",
    .size = sizeof(RunRecord),
    .minSize = sizeof(RunParams),
    .keys = keySpan(kKeys),
    .fields = kFields.span(),
    .segments = 1,
    .drawsLines = true,
    .edges = lineEdge<&ObjectParams::run>,
    .defaults = defaults,
    .sampleShape = sampleShape,
    .place = place,
    .borderShape = borderShape,
    .toPath = toPath,
    .splitAt = splitAt,
    .split = split,
    .choosesItsEnd = true,
    .style = style,
    .generate = generateWith<&ObjectParams::tailedRun, stitch::generateRun>,
};

} // namespace kelvara
