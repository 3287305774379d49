// Stitches a machine sews well: none longer than MAXSTITCH (split and
// staggered on satins, columns and stars), star centres without a pile of
// holes or a dense ring, and short stitches on the inside of tight curves.
#include "shell/libraries.h"
#include "shell/settings.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace kelvara {
namespace {

using namespace testing;

Settings shippedSettings()
{
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    Settings s;
    readConfiguration(s, *lines, *tokens, std::string(KELVARA_SOURCE_DATA) + "/");
    return s;
}

StitchPlan planOf(int32_t kind, const ObjectParams& p, const Settings& s)
{
    StitchPlan plan;
    EXPECT_EQ(generateObjectPlan(kind, p, Libraries{}, s, plan), PlanStatus::Ok);
    return plan;
}

double longestStitch(const StitchPlan& plan)
{
    double longest = 0;
    for (const Segment& s : stitchSegments(plan))
        longest = std::max(longest, distance(s.ax, s.ay, s.bx, s.by));
    return longest;
}

int mostInOneCell(const StitchPlan& plan)
{
    std::map<std::pair<int, int>, int> cells;
    int most = 0;
    for (const StitchRecord& r : plan.records)
        if (r.kind == StitchKind::Stitch) // 0.3 mm cells
            most = std::max(most, ++cells[{(r.x + 3000) / 3, (r.y + 3000) / 3}]);
    return most;
}

BezierEdge quarterArc(double r)
{
    constexpr double k = 0.5523; // a cubic close to a quarter circle round (0, 0)
    return curvedEdge(r, 0, r, -k * r, k * r, -r, 0, -r);
}

TEST(LongStitches, NoKindSewsAStitchLongerThanMaxStitchUnlessItsOwnLengthAsks)
{
    ObjectParams satin = satenParams(straightEdge(0, 0, 300, 0), straightEdge(0, 100, 300, 120));
    satin.saten.SCOMP = satin.saten.TCOMP = 4;
    satin.saten.CIKCAK = 20; // a zigzag underlay right across the column
    ObjectParams column = steilParams(curvedEdge(0, 200, 100, 0, 200, 400, 300, 200), 110);
    ObjectParams star = starParams(0, 0, 300, 180);
    star.star.UNDER = 95;
    const ObjectParams fill = rectParams(straightEdge(0, 0, 300, 0), straightEdge(0, 200, 300, 200), 30);
    const ObjectParams run = runParams(straightEdge(0, 0, 270, 0), 90);
    const struct {
        int32_t kind;
        const ObjectParams& params;
        double ownLength;
    } objects[] = {{KindSaten, satin, 0},
                   {KindSteil, column, 0},
                   {KindStar, star, 0},
                   {KindRect, fill, 0},
                   {KindRun, run, 90}};

    for (int32_t maxStitch : {0, 30, 120}) {
        Settings s = maxStitch == 0 ? shippedSettings() : plainSettings();
        if (maxStitch != 0)
            s.MAXSTITCH = maxStitch;
        for (const auto& o : objects) {
            const StitchPlan plan = planOf(o.kind, o.params, s);
            const double limit = std::max<double>(s.MAXSTITCH, o.ownLength);
            EXPECT_LE(longestStitch(plan), limit) << "kind " << o.kind << ", MAXSTITCH " << s.MAXSTITCH;
        }
    }
    // A running line sews the length it was given, even beyond the limit.
    EXPECT_NEAR(longestStitch(planOf(KindRun, run, plainSettings())), 90, 1e-9);
}

TEST(LongStitches, SplitPointsOfAWideSatinAreStaggeredFromRungToRung)
{
    const ObjectParams p = satenParams(straightEdge(0, 0, 300, 0), straightEdge(0, 100, 300, 100));
    const auto n = objectNeedles(KindSaten, p, Libraries{}, plainSettings());
    // The holes inside the column, by the stitch they split.
    std::vector<std::vector<double>> inside(1);
    for (const Needle& k : n) {
        if (k.y > 1e-6 && k.y < 100 - 1e-6)
            inside.back().push_back(k.y);
        else if (!inside.back().empty())
            inside.emplace_back();
    }
    ASSERT_GT(inside.size(), 150u);
    for (std::size_t i = 1; i + 1 < inside.size(); ++i) {
        ASSERT_EQ(inside[i].size(), inside[i - 1].size());
        for (std::size_t j = 0; j < inside[i].size(); ++j)
            EXPECT_GT(std::abs(inside[i][j] - inside[i - 1][j]), 10) << "stitch " << i;
    }
}

TEST(StarCentre, NoCellTakesMoreThanFourHolesAndThreadLinesStayEvenlySpaced)
{
    for (const auto& [radius, dens, maxStitch] : {std::tuple{200, 35, 0}, std::tuple{500, 35, 120},
                                                  std::tuple{60, 20, 30}, std::tuple{200, 60, 70}}) {
        Settings s = maxStitch == 0 ? shippedSettings() : plainSettings();
        if (maxStitch != 0)
            s.MAXSTITCH = maxStitch;
        s.TIEIN = s.TIEOUT = 0; // locks are measured with the locks
        ObjectParams p = starParams(0, 0, radius, radius);
        p.star.DENS = dens;
        const StitchPlan plan = planOf(KindStar, p, s);
        EXPECT_LE(mostInOneCell(plan), 4) << "radius " << radius;

        // Thread lines crossing a circle, against their spacing at the rim.
        const auto segments = stitchSegments(plan);
        auto spacingAt = [&](double r) {
            int crossings = 0;
            for (const Segment& g : segments)
                crossings += (std::hypot(g.ax, g.ay) < r) != (std::hypot(g.bx, g.by) < r);
            return 2 * 3.14159265 * r / std::max(1, crossings);
        };
        // A star of 15 mm and more is finished by a small centre a tenth of
        // its radius round (at most 3 mm), a spiral over the rays' ends.
        const double rim = spacingAt(radius * 0.97);
        for (double r = radius >= 150 ? std::min(30, radius / 10) + 2 : 10; r < radius * 0.97; r += 2) {
            EXPECT_LE(spacingAt(r), rim * 1.3) << "sparse at " << r << " of " << radius;
            EXPECT_GE(spacingAt(r), rim / 1.3) << "dense at " << r << " of " << radius;
        }
    }
}

// Gaps between successive holes on the inner edge (radius 40 round (0, 0)).
std::vector<double> innerEdgeGaps(const StitchPlan& plan)
{
    std::vector<double> gaps;
    const StitchRecord* last = nullptr;
    for (const StitchRecord& r : plan.records) {
        if (r.kind != StitchKind::Stitch || std::abs(std::hypot(r.x, r.y) - 40) > 1.5)
            continue;
        if (last)
            gaps.push_back(distance(r.x, r.y, last->x, last->y));
        last = &r;
    }
    return gaps;
}

TEST(ShortStitches, InnerEdgeOfATightCurveKeepsItsHolesApart)
{
    const ObjectParams satin = satenParams(quarterArc(40), quarterArc(100));
    const ObjectParams column = steilParams(quarterArc(70), 60);
    Settings shipped = shippedSettings();
    shipped.TIEIN = shipped.TIEOUT = 0; // locks are measured with the locks
    for (const Settings& s : {shipped, plainSettings()}) {
        for (const auto& [kind, p] : {std::pair{KindSaten, satin}, std::pair{KindSteil, column}}) {
            const auto gaps = innerEdgeGaps(planOf(kind, p, s));
            ASSERT_GT(gaps.size(), 10u);
            const auto close = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g < 2; });
            EXPECT_LT(static_cast<double>(close), 0.05 * static_cast<double>(gaps.size())) << "kind " << kind;
        }
    }
    // A straight column sewn denser than that keeps every stitch whole.
    ObjectParams dense = satenParams(straightEdge(0, 0, 200, 0), straightEdge(0, 40, 200, 40));
    dense.saten.SDENS = dense.saten.TDENS = 20;
    for (const Needle& k : objectNeedles(KindSaten, dense, Libraries{}, plainSettings()))
        EXPECT_TRUE(k.y == 0 || k.y == 40) << k.y;
}

} // namespace
} // namespace kelvara
