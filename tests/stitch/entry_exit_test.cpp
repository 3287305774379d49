// Where objects begin and end: a centre walk under a column, and columns
// and closed lines that end towards the object after them (ENTRYEXIT).
#include "model/curvesplit.h"
#include "model/kinds/kind.h"
#include "model/pathstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvara {
namespace {

using namespace testing;

// A tapered satin and a curved column walked down the centre with 2.8 mm
// stitches: every needle within 0.3 mm of the centre line, every stitch
// 2.5 to 3 mm but the turn at the far end, back over the same holes.
TEST(EntryExit, CentreWalkRunsDownTheMiddleAndBackOverItsOwnHoles)
{
    const BezierEdge line = curvedEdge(0, 0, 150, 120, 350, -120, 500, 0);
    for (const int32_t kind : {KindSaten, KindSteil}) {
        ObjectParams p = kind == KindSaten ? satenParams(straightEdge(0, 0, 500, 0), straightEdge(0, 40, 500, 100))
                                           : steilParams(line, 50);
        (kind == KindSaten ? p.saten.STITCHES : p.steil.STITCHES) = 0;
        (kind == KindSaten ? p.saten.UNDER : p.steil.UNDER) = 28;
        (kind == KindSaten ? p.saten.OFSUND : p.steil.OFSUND) = kCentreWalk;
        const std::vector<Needle> walk = objectNeedles(kind, p, Libraries{}, plainSettings());
        ASSERT_GE(walk.size(), 30u);
        for (std::size_t i = 0; i < walk.size(); ++i) {
            double off = 0; // the centre of the satin runs from (0, 20) to (500, 50)
            if (kind == KindSaten)
                off = std::abs(walk[i].y - 20 - 30 * walk[i].x / 500) * 500 / std::hypot(500, 30);
            else
                nearestOnEdge(line, walk[i].x, walk[i].y, off);
            EXPECT_LE(off, 3) << kind << ": " << walk[i].x << "," << walk[i].y;
            const Needle& back = walk[walk.size() - 1 - i];
            EXPECT_LE(distance(walk[i].x, walk[i].y, back.x, back.y), 1e-6) << kind << ": " << i;
            const double step = i > 0 ? distance(walk[i].x, walk[i].y, walk[i - 1].x, walk[i - 1].y) : 0;
            EXPECT_TRUE(step < 1 || (step >= 25 && step <= 30)) << kind << ": " << step;
        }
    }
}

// A centre walk asked for besides the edge walk comes first, down the middle
// and back, then the edge walk as before; asked for on a walk that already
// runs down the centre it is not sewn twice; with the edge walk off it takes
// the configuration's underlay length.
TEST(EntryExit, CentreWalkBesidesTheEdgeWalkComesFirstAndOnlyOnce)
{
    ObjectParams p = satenParams(straightEdge(0, 0, 500, 0), straightEdge(0, 60, 500, 60));
    p.saten.STITCHES = 0;
    p.saten.CIKCAK = -1;
    p.saten.UNDER = 25;
    p.saten.OFSUND = 10;
    const Settings settings = plainSettings();
    const std::vector<Needle> edges = objectNeedles(KindSaten, p, Libraries{}, settings);
    p.tailedSaten.tail.CENTRE = 1;
    const std::vector<Needle> both = objectNeedles(KindSaten, p, Libraries{}, settings);
    ASSERT_GT(both.size(), edges.size() + 20);
    const std::size_t centre = both.size() - edges.size();
    for (std::size_t i = 0; i < centre; ++i)
        EXPECT_NEAR(both[i].y, 30, 1e-9) << i;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        EXPECT_NEAR(both[centre + i].x, edges[i].x, 1e-9) << i;
        EXPECT_NEAR(both[centre + i].y, edges[i].y, 1e-9) << i;
    }
    EXPECT_NEAR(both[centre - 1].x, both[0].x, 1e-9); // back where it began

    p.saten.OFSUND = kCentreWalk;
    const std::vector<Needle> once = objectNeedles(KindSaten, p, Libraries{}, settings);
    p.tailedSaten.tail.CENTRE = 0;
    EXPECT_EQ(once.size(), objectNeedles(KindSaten, p, Libraries{}, settings).size());

    p.tailedSaten.tail.CENTRE = 1;
    p.saten.UNDER = -1;
    const std::vector<Needle> alone = objectNeedles(KindSaten, p, Libraries{}, settings);
    ASSERT_GE(alone.size(), 4u);
    EXPECT_NEAR(alone[1].x - alone[0].x, 500.0 / std::ceil(500.0 / settings.LENGTH), 1e-6);
}

using Design = std::vector<std::pair<int32_t, ObjectParams>>;

StitchPlan planOf(const Design& objects, bool entryExit)
{
    auto ws = std::make_unique<Workspace>();
    ws->settings = plainSettings();
    ws->settings.ENTRYEXIT = entryExit ? 1 : 0;
    ws->settings.TRIM = 199; // few cuts, so few locks: stitch counts compare
    for (const auto& [kind, params] : objects)
        addObject(*ws, kind, params);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    return plan;
}

// How far the needle jumps in the design without and with ENTRYEXIT.
std::pair<double, double> jumped(const Design& objects)
{
    return {jumpsAndTrims(planOf(objects, false)).first, jumpsAndTrims(planOf(objects, true)).first};
}

ObjectParams lineFrom(double x, double y, double toX, double toY, int32_t colour)
{
    ObjectParams p = runParams(straightEdge(x, y, toX, toY), 25);
    p.run.colour = colour;
    return p;
}

// A satin first in the design, or reached from as far from either end, is
// sewn towards the line after it that starts at its start. A closed line (a
// looped RUN, a stroke ring of cubics) first in the design ends, where it
// starts, at its point nearest the next line, sewn round whole; reached from
// a point on it, it still starts there, carrying the seam on without a jump.
TEST(EntryExit, ColumnsAndClosedLinesEndTowardsTheNextObject)
{
    const ObjectParams satin = satenParams(straightEdge(0, 0, 400, 0), straightEdge(0, 60, 400, 60));
    const ObjectParams after = lineFrom(0, 30, 0, 300, satin.saten.colour);
    const ObjectParams leadIn = lineFrom(200, -400, 200, -200, satin.saten.colour);
    for (const Design& design : {Design{{KindSaten, satin}, {KindRun, after}},
                                 Design{{KindRun, leadIn}, {KindSaten, satin}, {KindRun, after}}}) {
        const auto [before, now] = jumped(design);
        EXPECT_GE(before - now, 330) << design.size();
    }

    const ObjectParams loop = runParams(curvedEdge(100, 230, 100, 0, 400, 0, 100, 230), 25);
    const ObjectParams up = lineFrom(212, 50, 212, -100, loop.run.colour);
    EXPECT_GE(jumped({{KindRun, loop}, {KindRun, up}}).first, 150);
    EXPECT_LE(jumped({{KindRun, loop}, {KindRun, up}}).second, 10);
    ObjectParams ring{};
    kindRow(KindStroke)->defaults(ring, plainSettings(), 0);
    ring.stroke.PATH = storePath(readPath("M0,50C0,-17,200,-17,200,50C200,117,0,117,0,50Z").path);
    const Design stroke{{KindStroke, ring}, {KindRun, lineFrom(100, -40, 100, -300, ring.stroke.colour)}};
    EXPECT_GE(jumped(stroke).first, 130);
    EXPECT_LE(jumped(stroke).second, 45);
    EXPECT_NEAR(planOf(stroke, true).stitchCount(), planOf(stroke, false).stitchCount(), 2);

    const StitchPlan onIt =
        planOf({{KindRun, lineFrom(100, 400, 100, 230, loop.run.colour)}, {KindRun, loop}, {KindRun, up}}, true);
    const auto join = std::find_if(onIt.records.begin(), onIt.records.end(),
                                   [](const StitchRecord& r) { return r.x == 100 && r.y == 230; });
    ASSERT_TRUE(join != onIt.records.end() && join + 1 != onIt.records.end());
    EXPECT_EQ(join[1].kind, StitchKind::Stitch);
    EXPECT_LE(distance(join[1].x, join[1].y, 100, 230), 30);
}

} // namespace
} // namespace kelvara
