#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvara {
namespace {

using namespace testing;

std::vector<Needle> needlesOf(const ObjectParams& p, int32_t kind)
{
    static const Libraries empty;
    return objectNeedles(kind, p, empty, plainSettings());
}

struct Pt {
    double x, y;
};

Pt bezierAt(const BezierEdge& e, double t)
{
    if (e.straight)
        return {e.x1 + (e.x2 - e.x1) * t, e.y1 + (e.y2 - e.y1) * t};
    const double u = 1 - t;
    return {u * u * u * e.x1 + 3 * u * u * t * e.xc1 + 3 * u * t * t * e.xc2 + t * t * t * e.x2,
            u * u * u * e.y1 + 3 * u * u * t * e.yc1 + 3 * u * t * t * e.yc2 + t * t * t * e.y2};
}

// A dense table of an edge by arc length, to find the point at a fraction of it.
struct EdgeTable {
    std::vector<Pt> pts;
    std::vector<double> at;
    explicit EdgeTable(const BezierEdge& e)
    {
        double s = 0;
        for (int i = 0; i <= 4000; ++i) {
            const Pt p = bezierAt(e, i / 4000.0);
            if (!pts.empty())
                s += distance(p.x, p.y, pts.back().x, pts.back().y);
            pts.push_back(p);
            at.push_back(s);
        }
    }
    Pt fraction(double f) const
    {
        const double s = f * at.back();
        std::size_t i = 1;
        while (i + 1 < at.size() && at[i] < s)
            ++i;
        const double seg = at[i] - at[i - 1];
        const double t = seg > 0 ? (s - at[i - 1]) / seg : 0;
        return {pts[i - 1].x + (pts[i].x - pts[i - 1].x) * t, pts[i - 1].y + (pts[i].y - pts[i - 1].y) * t};
    }
};

// Distance from a penetration to the nearest compensated end of a rung on
// the given side, over all rungs at equal fractions of both edges.
double offRung(const EdgeTable& a, const EdgeTable& b, double comp, int side, const Needle& n, double& bestF)
{
    double best = 1e300;
    for (int i = 0; i <= 2000; ++i) {
        const double f = i / 2000.0;
        const Pt pa = a.fraction(f), pb = b.fraction(f);
        const double w = distance(pa.x, pa.y, pb.x, pb.y);
        const double ux = w > 0 ? (pb.x - pa.x) / w : 0, uy = w > 0 ? (pb.y - pa.y) / w : 0;
        const Pt end = side == 0 ? Pt{pa.x - ux * comp / 2, pa.y - uy * comp / 2}
                                 : Pt{pb.x + ux * comp / 2, pb.y + uy * comp / 2};
        const double d = distance(end.x, end.y, n.x, n.y);
        if (d < best) {
            best = d;
            bestF = f;
        }
    }
    return best;
}

TEST(SatinColumn, PenetrationsAlternateAndLieOnTheirRungsWithinCompensation)
{
    const BezierEdge a = straightEdge(0, 0, 300, 0);
    const BezierEdge b = curvedEdge(0, 80, 100, 140, 200, 40, 300, 120);
    ObjectParams p = satenParams(a, b);
    p.saten.SCOMP = 6;
    p.saten.TCOMP = 6;
    Settings whole = plainSettings();
    whole.MAXSTITCH = 1000; // rungs up to 12 mm wide, left unsplit
    const auto n = objectNeedles(KindSaten, p, Libraries{}, whole);
    ASSERT_GT(n.size(), 100u);
    const EdgeTable ta(a), tb(b);
    double lastF = -1;
    for (std::size_t i = 0; i < n.size(); i += 7) {
        double f = 0;
        EXPECT_LT(offRung(ta, tb, 6, static_cast<int>(i % 2), n[i], f), 0.5) << "penetration " << i;
        EXPECT_GE(f, lastF) << "rungs advance along the column";
        lastF = f;
    }
}

TEST(SatinColumn, DensityIsTheSpacingAlongEachEdge)
{
    ObjectParams p = satenParams(straightEdge(0, 0, 350, 0), straightEdge(0, 50, 350, 50));
    p.saten.STOPA = 0; // either side may end
    auto n = needlesOf(p, KindSaten);
    // 3.5 units between penetrations on one edge, so 200 rungs over 350 units.
    EXPECT_NEAR(static_cast<double>(n.size()), 201, 1);
    for (std::size_t i = 2; i < n.size(); ++i)
        EXPECT_NEAR(n[i].x - n[i - 2].x, 3.5, 0.01);

    // From 0.2 mm at the start to 0.8 mm at the end.
    p.saten.SDENS = 20;
    p.saten.TDENS = 80;
    n = needlesOf(p, KindSaten);
    EXPECT_NEAR(n[2].x - n[0].x, 2.0, 0.1);
    EXPECT_NEAR(n[n.size() - 1].x - n[n.size() - 3].x, 8.0, 0.2);
}

TEST(SatinColumn, StartAndStopEdgesAreHonoured)
{
    ObjectParams p = satenParams(straightEdge(0, 0, 200, 0), straightEdge(0, 40, 200, 40));
    for (int start : {1, 2}) {
        for (int stop : {1, 2}) {
            p.saten.STARTA = start;
            p.saten.STOPA = stop;
            const auto n = needlesOf(p, KindSaten);
            EXPECT_DOUBLE_EQ(n.front().y, start == 1 ? 0 : 40) << start << stop;
            EXPECT_DOUBLE_EQ(n.back().y, stop == 1 ? 0 : 40) << start << stop;
            EXPECT_DOUBLE_EQ(n.front().x, 0);
            EXPECT_NEAR(n.back().x, 200, 1e-6);
        }
    }
}

TEST(SatinColumn, PushCompensationShortensBothEndsAndNarrowingStopsAtNothing)
{
    ObjectParams p = satenParams(straightEdge(0, 0, 200, 0), straightEdge(0, 40, 200, 40));
    p.saten.PUSHCOMP = 10;
    auto n = needlesOf(p, KindSaten);
    EXPECT_NEAR(n.front().x, 10, 1e-6);
    EXPECT_NEAR(n.back().x, 190, 1e-6);

    // Narrowing by more than the width meets in the middle instead of crossing.
    p.saten.PUSHCOMP = 0;
    p.saten.SCOMP = p.saten.TCOMP = -100;
    n = needlesOf(p, KindSaten);
    for (const Needle& k : n)
        EXPECT_DOUBLE_EQ(k.y, 20);
    StitchPlan plan;
    EXPECT_NE(generateObjectPlan(KindSaten, p, Libraries{}, plainSettings(), plan), PlanStatus::TooLarge);

    // Pushing more than the column is long leaves a single bar in the middle.
    p = satenParams(straightEdge(0, 0, 20, 0), straightEdge(0, 40, 20, 40));
    p.saten.PUSHCOMP = 50;
    n = needlesOf(p, KindSaten);
    for (const Needle& k : n)
        EXPECT_DOUBLE_EQ(k.x, 10);
}

TEST(SatinColumn, EdgeDrawnTheOtherWayDoesNotTwistTheColumn)
{
    const ObjectParams p = satenParams(straightEdge(0, 0, 300, 0), straightEdge(300, 50, 0, 50));
    const auto n = needlesOf(p, KindSaten);
    for (std::size_t i = 1; i < n.size(); ++i)
        EXPECT_LE(std::abs(n[i].x - n[i - 1].x), 2.0)
            << "every stitch crosses the column, none runs along it";
}

TEST(SatinColumn, UnderlaysComeFirstInsetAndReturnToTheStart)
{
    ObjectParams p = satenParams(straightEdge(0, 0, 300, 0), straightEdge(0, 60, 300, 60));
    p.saten.UNDER = 15;
    p.saten.OFSUND = 8;
    p.saten.STITCHES = 0;
    auto n = needlesOf(p, KindSaten);
    ASSERT_FALSE(n.empty());
    for (const Needle& k : n) {
        EXPECT_TRUE(std::abs(k.y - 8) < 1e-9 || std::abs(k.y - 52) < 1e-9) << k.y;
    }
    for (std::size_t i = 1; i < n.size(); ++i) {
        if (n[i].y == n[i - 1].y) {
            EXPECT_LE(std::abs(n[i].x - n[i - 1].x), 15 + 1e-9);
        }
    }
    EXPECT_NEAR(n.back().x, 0, 1e-9);

    p.saten.UNDER = -1;
    p.saten.CIKCAK = 25;
    p.saten.OFSCIK = 4;
    n = needlesOf(p, KindSaten);
    ASSERT_GT(n.size(), 20u);
    for (const Needle& k : n)
        EXPECT_TRUE(std::abs(k.y - 4) < 1e-9 || std::abs(k.y - 56) < 1e-9);
    EXPECT_NEAR(n.back().x, 0, 1e-9);

    // With the top layer on, the column follows the underlay.
    p.saten.STITCHES = 1;
    const auto all = needlesOf(p, KindSaten);
    EXPECT_EQ(all.size(), n.size() + needlesOf(satenParams(p.saten.edgeA, p.saten.edgeB), KindSaten).size());
}

TEST(SatinColumn, RepeatRunsBackOverTheSameHoles)
{
    ObjectParams p = satenParams(straightEdge(0, 0, 100, 0), straightEdge(0, 40, 100, 40));
    const auto once = needlesOf(p, KindSaten);
    p.saten.REPEAT = 3;
    const auto thrice = needlesOf(p, KindSaten);
    ASSERT_EQ(thrice.size(), once.size() * 3);
    for (std::size_t i = 0; i < once.size(); ++i) {
        EXPECT_DOUBLE_EQ(thrice[once.size() + i].x, once[once.size() - 1 - i].x);
        EXPECT_DOUBLE_EQ(thrice[2 * once.size() + i].x, once[i].x);
    }
}

TEST(SteilColumn, WidthGrowsAroundTheCentreLine)
{
    ObjectParams p = steilParams(straightEdge(0, 100, 400, 100), 20);
    p.steil.TWIDTH = 60;
    const auto n = needlesOf(p, KindSteil);
    ASSERT_GT(n.size(), 100u);
    for (std::size_t i = 0; i < n.size(); ++i) {
        const double half = (20 + 40 * n[i].x / 400) / 2;
        EXPECT_NEAR(std::abs(n[i].y - 100), half, 0.05) << i;
        if (i > 0) {
            EXPECT_NE(n[i].y > 100, n[i - 1].y > 100) << "sides alternate";
        }
    }
}

TEST(SatinColumn, DegenerateColumnsGiveASanePlan)
{
    StitchPlan plan;
    // Coinciding edges: a column without width.
    const BezierEdge e = straightEdge(0, 0, 100, 0);
    EXPECT_NE(generateObjectPlan(KindSaten, satenParams(e, e), Libraries{}, plainSettings(), plan),
              PlanStatus::TooLarge);
    // Both edges a single point.
    const BezierEdge dot = straightEdge(5, 5, 5, 5);
    EXPECT_EQ(generateObjectPlan(KindSaten, satenParams(dot, dot), Libraries{}, plainSettings(), plan),
              PlanStatus::Empty);
    // A zero-length centre line, and a zero width.
    EXPECT_EQ(generateObjectPlan(KindSteil, steilParams(dot, 30), Libraries{}, plainSettings(), plan),
              PlanStatus::Ok);
    EXPECT_NE(generateObjectPlan(KindSteil, steilParams(e, 0), Libraries{}, plainSettings(), plan),
              PlanStatus::TooLarge);
    // Densities of zero or below do not divide by zero or loop for ever.
    ObjectParams p = satenParams(straightEdge(0, 0, 100, 0), straightEdge(0, 30, 100, 30));
    p.saten.SDENS = 0;
    p.saten.TDENS = -40;
    EXPECT_EQ(generateObjectPlan(KindSaten, p, Libraries{}, plainSettings(), plan), PlanStatus::Ok);
}

} // namespace
} // namespace kelvara
