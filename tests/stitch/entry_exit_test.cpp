// Where objects begin and end: a centre walk under a column, and columns
// and closed lines that end towards the object after them (ENTRYEXIT).
#include "model/curvesplit.h"
#include "model/kinds/kind.h"
#include "model/pathstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/generators.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvara {
namespace {

using namespace testing;

double toSegment(const Needle& n, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((n.x - ax) * dx + (n.y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return distance(n.x, n.y, ax + dx * t, ay + dy * t);
}

// A tapered satin and a curved column, walked down the centre with 2.8 mm
// stitches: every needle within 0.3 mm of the centre line, every stitch
// 2.5 to 3 mm but the turn at the far end, back over the same holes.
TEST(EntryExit, CentreWalkRunsDownTheMiddleAndBackOverItsOwnHoles)
{
    const Libraries libs;
    const BezierEdge line = curvedEdge(0, 0, 150, 120, 350, -120, 500, 0);
    for (const int32_t kind : {KindSaten, KindSteil}) {
        SCOPED_TRACE(kind);
        ObjectParams p = kind == KindSaten ? satenParams(straightEdge(0, 0, 500, 0), straightEdge(0, 40, 500, 100))
                                           : steilParams(line, 50);
        int32_t& under = kind == KindSaten ? p.saten.UNDER : p.steil.UNDER;
        int32_t& inset = kind == KindSaten ? p.saten.OFSUND : p.steil.OFSUND;
        (kind == KindSaten ? p.saten.STITCHES : p.steil.STITCHES) = 0;
        under = 28;
        inset = kCentreWalk;
        const std::vector<Needle> walk = objectNeedles(kind, p, libs, plainSettings());
        ASSERT_GE(walk.size(), 30u);
        for (const Needle& n : walk) {
            double off = 1e9;
            if (kind == KindSaten) {
                off = toSegment(n, 0, 20, 500, 50);
            } else {
                for (int i = 0; i < 400; ++i) {
                    double ax, ay, bx, by;
                    edgePointAt(line, i / 400.0, ax, ay);
                    edgePointAt(line, (i + 1) / 400.0, bx, by);
                    off = std::min(off, toSegment(n, ax, ay, bx, by));
                }
            }
            EXPECT_LE(off, 3) << n.x << "," << n.y;
        }
        for (std::size_t i = 1; i < walk.size(); ++i) {
            const double step = distance(walk[i].x, walk[i].y, walk[i - 1].x, walk[i - 1].y);
            if (step > 1)
                EXPECT_TRUE(step >= 25 && step <= 30) << step;
            EXPECT_NEAR(walk[i - 1].x, walk[walk.size() - i].x, 1e-6);
            EXPECT_NEAR(walk[i - 1].y, walk[walk.size() - i].y, 1e-6);
        }
        // With a zigzag the walk comes first, unchanged; inset 0 walks the edges.
        (kind == KindSaten ? p.saten.CIKCAK : p.steil.CIKCAK) = 20;
        const std::vector<Needle> both = objectNeedles(kind, p, libs, plainSettings());
        ASSERT_GT(both.size(), walk.size());
        EXPECT_NEAR(both[walk.size() - 1].x, walk.back().x, 1e-9);
        inset = 0;
        const std::vector<Needle> edges = objectNeedles(kind, p, libs, plainSettings());
        EXPECT_GT(distance(edges[0].x, edges[0].y, walk[0].x, walk[0].y), 15);
    }
}

using Design = std::vector<std::pair<int32_t, ObjectParams>>;

StitchPlan planOf(const Design& objects, bool entryExit)
{
    auto ws = std::make_unique<Workspace>();
    ws->settings = plainSettings();
    ws->settings.ENTRYEXIT = entryExit ? 1 : 0;
    for (const auto& [kind, params] : objects)
        addObject(*ws, kind, params);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    return plan;
}

// The jumps (their total length) and trims of a design, tie-offs off.
std::pair<double, int> movesOf(const Design& objects, bool entryExit)
{
    return jumpsAndTrims(planOf(objects, entryExit));
}

ObjectParams lineFrom(double x, double y, double toX, double toY, int32_t colour)
{
    ObjectParams p = runParams(straightEdge(x, y, toX, toY), 25);
    p.run.colour = colour;
    return p;
}

// A satin first in the design, or reached from as far from either end, is
// sewn towards the line after it that starts at its start: the 40 mm back
// to that line is saved. A closed line first in the design ends (where it
// starts) at its point nearest the next line; reached from a point on it, it
// still starts there, carrying the seam on without a jump.
TEST(EntryExit, ColumnsAndClosedLinesEndTowardsTheNextObject)
{
    ObjectParams satin = satenParams(straightEdge(0, 0, 400, 0), straightEdge(0, 60, 400, 60));
    const int32_t colour = satin.saten.colour;
    const ObjectParams after = lineFrom(0, 30, 0, 300, colour);
    for (const bool leadIn : {false, true}) {
        SCOPED_TRACE(leadIn ? "equally far from both ends" : "first in the design");
        Design design{{KindSaten, satin}, {KindRun, after}};
        if (leadIn)
            design.insert(design.begin(), {KindRun, lineFrom(200, -400, 200, -200, colour)});
        const auto before = movesOf(design, false), now = movesOf(design, true);
        EXPECT_GE(before.first - now.first, 330);
        EXPECT_LE(now.second, before.second);
    }

    const ObjectParams loop = runParams(curvedEdge(100, 230, 100, 0, 400, 0, 100, 230), 25);
    ObjectParams up = lineFrom(212, 50, 212, -100, loop.run.colour);
    const auto plain = movesOf({{KindRun, loop}, {KindRun, up}}, false);
    const auto towards = movesOf({{KindRun, loop}, {KindRun, up}}, true);
    EXPECT_GE(plain.first, 150);
    EXPECT_LE(towards.first, 10);
    const StitchPlan fromItsStart =
        planOf({{KindRun, lineFrom(100, 400, 100, 230, loop.run.colour)}, {KindRun, loop}, {KindRun, up}}, true);
    const auto join = std::find_if(fromItsStart.records.begin(), fromItsStart.records.end(),
                                   [](const StitchRecord& r) { return r.x == 100 && r.y == 230; });
    ASSERT_TRUE(join != fromItsStart.records.end() && join + 1 != fromItsStart.records.end());
    EXPECT_EQ(join[1].kind, StitchKind::Stitch);
    EXPECT_LE(distance(join[1].x, join[1].y, 100, 230), 30);
}

// A closed stroke (a ring of cubics) is cut where it starts best and sewn
// round whole: same length, first needle on the last, next to the exit.
TEST(EntryExit, ClosedStrokeStartsNearItsNeighbours)
{
    const KindRow& row = *kindRow(KindStroke);
    Settings settings = plainSettings();
    settings.ENTRYEXIT = 1;
    const Libraries libs;
    ObjectParams p{};
    row.defaults(p, settings, 0);
    p.stroke.PATH = storePath(readPath("M0,100C0,-33,400,-33,400,100C400,233,0,233,0,100Z").path);
    auto sewFrom = [&](bool hasExit) {
        stitch::GenContext ctx{settings, libs};
        ctx.hasExit = hasExit;
        ctx.exit = {200, -40};
        std::vector<Needle> out;
        struct Sink final : stitch::NeedleSink {
            std::vector<Needle>* out;
            void needle(stitch::Vec v) override { out->push_back({v.x, v.y, false}); }
            void edgeNeedle(stitch::Vec v) override { needle(v); }
            void jump(stitch::Vec v) override { out->push_back({v.x, v.y, true}); }
            bool exhausted() const override { return false; }
            int64_t room() const override { return 1 << 20; }
            void markOverflow() override {}
        } sink;
        sink.out = &out;
        row.generate(p, ctx, sink);
        return out;
    };
    const std::vector<Needle> plain = sewFrom(false), turned = sewFrom(true);
    auto lengthOf = [](const std::vector<Needle>& v) {
        double total = 0;
        for (std::size_t i = 1; i < v.size(); ++i)
            total += distance(v[i].x, v[i].y, v[i - 1].x, v[i - 1].y);
        return total;
    };
    ASSERT_FALSE(turned.empty());
    EXPECT_NEAR(lengthOf(turned), lengthOf(plain), lengthOf(plain) * 0.01);
    EXPECT_LE(distance(turned.front().x, turned.front().y, turned.back().x, turned.back().y), 1);
    EXPECT_LE(distance(turned.back().x, turned.back().y, 200, -40), 45);
    EXPECT_GE(distance(plain.back().x, plain.back().y, 200, -40), 200);
}

} // namespace
} // namespace kelvara
