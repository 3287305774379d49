// Stitches from paths: a running stroke sews every node; a shape's fill
// never puts a needle inside its holes.
#include "model/kinds/kind.h"
#include "model/pathstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/dstwriter.h"
#include "stitch/machinereader.h"
#include "stitch/pathstitch.h"
#include "stitch/stitchplan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <cstring>
#include <map>
#include <memory>

namespace kelvara::testing {
namespace {

using stitch::Vec;

// A jump is marked by a position far off (a move, not a stitch).
constexpr double kJumped = 1e7;

struct Collect final : stitch::NeedleSink {
    std::vector<Vec> needles;
    void needle(Vec p) override { needles.push_back(p); }
    void edgeNeedle(Vec p) override { needles.push_back(p); }
    void jump(Vec p) override { needles.push_back({p.x, p.y + kJumped}); }
    bool exhausted() const override { return false; }
    int64_t room() const override { return 1 << 24; }
    void markOverflow() override {}
};

const Settings settings;
const auto libraries = std::make_unique<Libraries>();

ObjectParams pathParams(int32_t kind, const char* path, void (*tune)(ObjectParams&))
{
    const KindRow& row = *kindRow(kind);
    ObjectParams p{};
    row.defaults(p, settings, 0);
    const int32_t handle = storePath(readPath(path).path);
    std::memcpy(p.bytes + row.size - sizeof(int32_t), &handle, sizeof handle); // PATH is the last field
    if (tune)
        tune(p);
    return p;
}

std::vector<Vec> sew(int32_t kind, const char* path, void (*tune)(ObjectParams&) = nullptr)
{
    const KindRow& row = *kindRow(kind);
    const ObjectParams p = pathParams(kind, path, tune);
    Collect sink;
    row.generate(p, stitch::GenContext{settings, *libraries}, sink);
    return sink.needles;
}

TEST(PathStitches, ARunningStrokeSewsEveryNodeAndSpacesTheRestEvenly)
{
    // Segments of 100, 30 and 45 units with stitches of at most 20.
    const auto needles = sew(KindStroke, "M0,0L100,0L100,30L55,30", [](ObjectParams& p) { p.stroke.LEN = 20; });
    const std::vector<Vec> nodes{{0, 0}, {100, 0}, {100, 30}, {55, 30}};
    for (const Vec& node : nodes) {
        bool met = false;
        for (const Vec& n : needles)
            met = met || (std::abs(n.x - node.x) < 1e-9 && std::abs(n.y - node.y) < 1e-9);
        EXPECT_TRUE(met) << node.x << "," << node.y;
    }
    ASSERT_EQ(needles.size(), 1u + 5 + 2 + 3);
    // The middle segment: two stitches of 15, not one of 20 and one of 10.
    EXPECT_DOUBLE_EQ(needles[6].y, 15);
    EXPECT_DOUBLE_EQ(needles[9].x, 70);
}

TEST(PathStitches, AShapeNeverPutsANeedleInsideItsHoles)
{
    // A square ring whose hole is a second square, and a hole with a curve
    // inside the first shape's corner, at an angle so rows cross both.
    const char* path = "M0,0L1000,0L1000,1000L0,1000ZM300,300L300,700L700,700L700,300Z"
                       "M800,100C900,100,900,100,900,200L800,200Z";
    const auto needles = sew(KindShape, path, [](ObjectParams& p) {
        p.shape.ANGLE = 30;
        p.shape.SCOMP = 0; // compensation reaches past every edge, a hole's too
    });
    ASSERT_GT(needles.size(), 500u);
    // The fill reaches one unit past every edge, the outer one as a hole's.
    int inside = 0;

    for (const Vec& n : needles) {
        if (n.x > 301.5 && n.x < 698.5 && n.y > 301.5 && n.y < 698.5)
            ++inside;
        if (n.x > 801.5 && n.x < 845 && n.y > 150 && n.y < 198.5)
            ++inside;
        EXPECT_TRUE(n.x >= -1 && n.x <= 1001 && n.y >= -1 && n.y <= 1001);
    }
    EXPECT_EQ(inside, 0);
}

// The most penetrations any 0.3 mm cell takes within `reach` of `at`, and
// the longest stitch.
struct Piling {
    int worst = 0;
    double longest = 0;
};
Piling piling(const std::vector<Vec>& needles, Vec at, double reach)
{
    std::map<std::pair<long, long>, int> cells;
    Piling out;
    for (std::size_t i = 0; i < needles.size(); ++i) {
        if (i > 0)
            out.longest = std::max(out.longest, std::hypot(needles[i].x - needles[i - 1].x, needles[i].y - needles[i - 1].y));
        if (std::hypot(needles[i].x - at.x, needles[i].y - at.y) <= reach)
            out.worst = std::max(out.worst, ++cells[{std::lround(std::floor(needles[i].x / 3)), std::lround(std::floor(needles[i].y / 3))}]);
    }
    return out;
}

TEST(PathStitches, ASatinStrokeTurnsARightAngleAndAHairpinWithoutPilingOnTheInside)
{
    const auto satin = [](ObjectParams& p) {
        p.stroke.STYLE = 1;
        p.stroke.SWIDTH = 40;
        p.stroke.TWIDTH = 60; // unequal widths: the mitre follows the width there
        p.stroke.SDENS = p.stroke.TDENS = 40;
    };
    // A straight column sets the bar: its own worst cell.
    const Piling straight = piling(sew(KindStroke, "M0,0L400,0", satin), {200, 0}, 1e9);
    ASSERT_GT(straight.worst, 0);
    struct Case {
        const char* path;
        Vec inner; // the inner side of the turn
    } cases[] = {
        {"M0,0L300,0L300,300", {275, 25}},
        {"M300,300L300,0L0,0", {275, 25}},       // turning the other way
        {"M0,0L300,0L0,60", {270, 30}},          // a hairpin, split
        {"M0,0L300,0C340,0,340,60,300,60L0,60", {300, 30}}, // a bend tighter than the width
    };
    for (const Case& c : cases) {
        const auto needles = sew(KindStroke, c.path, satin);
        ASSERT_GT(needles.size(), 100u) << c.path;
        const Piling turn = piling(needles, c.inner, 60);
        EXPECT_LE(turn.worst, straight.worst + 1) << c.path;
        EXPECT_LE(turn.longest, settings.MAXSTITCH) << c.path;
    }
}

// Inside the even-odd area of the rings, or within `tolerance` of an edge.
bool inArea(const std::vector<std::vector<Vec>>& rings, Vec p, double tolerance)
{
    bool in = false;
    for (const auto& ring : rings)
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Vec a = ring[i], b = ring[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                in = !in;
            const Vec ab{b.x - a.x, b.y - a.y};
            const double t = std::clamp(((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / (ab.x * ab.x + ab.y * ab.y), 0.0, 1.0);
            if (std::hypot(a.x + ab.x * t - p.x, a.y + ab.y * t - p.y) <= tolerance)
                return true;
        }
    return in;
}

TEST(PathStitches, ANestedFillStaysInsideItsAreaAndItsTravelNeverCrossesAHole)
{
    struct Design {
        const char* path;
        std::vector<std::vector<Vec>> rings;
        int density; // rows 0.1 mm apart times ten
        std::vector<int> angles;
    };
    const std::vector<Design> designs{
        // A square with two holes, an island in the first; the rings start far
        // from each other so the joins between them lie across the holes.
        // Rows nearly along a hole's side turn round its corners; at 90 the
        // underlay's step off a row spanning the square passes over the
        // second hole's top edge.
        {"M0,0L1000,0L1000,1000L0,1000Z"
         "M600,200L200,200L200,600L600,600Z" // hole, drawn the other way round
         "M300,300L500,300L500,500L300,500Z" // island inside it
         "M900,700L900,900L700,900L700,700Z", // a second hole
         {{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}},
          {{600, 200}, {200, 200}, {200, 600}, {600, 600}},
          {{300, 300}, {500, 300}, {500, 500}, {300, 500}},
          {{900, 700}, {900, 900}, {700, 900}, {700, 700}}},
         35,
         {0, 30, 89, 90, 91, 135, 270}},
        // Rows 0.4 mm apart fall at 2, 6, ... 998: the hole's sides lie on rows.
        {"M0,0L1000,0L1000,1000L0,1000ZM302,302L698,302L698,698L302,698Z",
         {{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}, {{302, 302}, {698, 302}, {698, 698}, {302, 698}}},
         40,
         {0, 90}},
    };
    for (const Design& design : designs)
        for (int angle : design.angles)
            for (int border : {0, 2}) {
                static int angleNow, borderNow, densityNow;
                angleNow = angle, borderNow = border, densityNow = design.density;
                const auto needles = sew(KindShape, design.path, [](ObjectParams& p) {
                    p.shape.ANGLE = angleNow;
                    p.shape.BORDER = borderNow;
                    p.shape.SCOMP = 0;
                    p.shape.SDENS = densityNow;
                });
                ASSERT_GT(needles.size(), 1000u);
                int outside = 0;
                for (std::size_t i = 1; i < needles.size(); ++i) {
                    // Every stitch, sampled along, within the area (the fill
                    // reaches 0.3 mm under its border, and a unit of rounding).
                    if (needles[i].y > kJumped / 2 || needles[i - 1].y > kJumped / 2)
                        continue;
                    for (double t = 0; t <= 1; t += 0.125) {
                        const Vec p{needles[i - 1].x + (needles[i].x - needles[i - 1].x) * t,
                                    needles[i - 1].y + (needles[i].y - needles[i - 1].y) * t};
                        outside += !inArea(design.rings, p, border == 2 ? 25 : 2);
                    }
                }
                EXPECT_EQ(outside, 0) << design.density << " " << angle << " " << border;
            }
    // The island inside the first hole is filled too.
    const auto needles = sew(KindShape, designs.front().path);
    EXPECT_GT(std::count_if(needles.begin(), needles.end(),
                            [](Vec n) { return n.x > 310 && n.x < 490 && n.y > 310 && n.y < 490; }),
              100);
}

TEST(PathStitches, AnAppliqueSewsPlacementStopTackDownStopAndCoverInADstReadBack)
{
    const ObjectParams p = pathParams(KindShape, "M0,0L400,0L400,300L0,300ZM150,100L250,100L250,200L150,200Z",
                                      [](ObjectParams& p) {
                                          p.shape.APPLIQUE = 1;
                                          p.shape.BWIDTH = 30;
                                      });
    StitchPlan plan;
    ASSERT_EQ(generateObjectPlan(KindShape, p, *libraries, settings, plan), PlanStatus::Ok);
    const MachineRead back = readDst(
        [&] { const auto bytes = writeDst(plan, "patch"); return std::string(bytes.begin(), bytes.end()); }());
    ASSERT_TRUE(back.read);
    // Blocks of stitches between the stops, placed as the plan's are.
    const auto firstStitch = [](const StitchPlan& pl) {
        for (const StitchRecord& r : pl.records)
            if (r.kind == StitchKind::Stitch)
                return Vec{double(r.x), double(r.y)};
        return Vec{};
    };
    const Vec shift{firstStitch(plan).x - firstStitch(back.plan).x, firstStitch(plan).y - firstStitch(back.plan).y};
    std::vector<std::vector<Vec>> blocks(1);
    for (const StitchRecord& r : back.plan.records) {
        if (r.kind == StitchKind::ColourChange)
            blocks.emplace_back();
        else if (r.kind == StitchKind::Stitch)
            blocks.back().push_back({r.x + shift.x, r.y + shift.y});
    }
    ASSERT_EQ(blocks.size(), 3u);
    const auto farthestFromEdge = [](const std::vector<Vec>& block, double& worst) {
        // Distance to the outer edge or the hole's, whichever is nearer; the
        // worst but for the few stitches of the locks.
        std::vector<double> d;
        for (const Vec& v : block) {
            const double outer = std::min({v.x, 400 - v.x, v.y, 300 - v.y});
            const double hole = std::max({150 - v.x, v.x - 250, 100 - v.y, v.y - 200});
            d.push_back(std::min(std::abs(outer), std::abs(hole)));
        }
        std::sort(d.begin(), d.end());
        worst = d.empty() ? 1e9 : d[d.size() - 1 - std::min<std::size_t>(d.size() / 50, 4)];
    };
    double placement, tack, cover;
    farthestFromEdge(blocks[0], placement);
    farthestFromEdge(blocks[1], tack);
    farthestFromEdge(blocks[2], cover);
    EXPECT_LE(placement, 3); // the placement line runs on the outline (ties a little off it)
    EXPECT_LE(tack, 15);     // the tack-down zigzag stays near the edge...
    int inward = 0;
    for (const Vec& v : blocks[1])
        inward += v.x > 0 && v.x < 400 && v.y > 0 && v.y < 300 && !(v.x > 150 && v.x < 250 && v.y > 100 && v.y < 200);
    EXPECT_EQ(inward, static_cast<int>(blocks[1].size())); // ...and inside the fabric's edge
    EXPECT_GT(blocks[2].size(), blocks[1].size()); // the satin cover is the densest
    EXPECT_LE(cover, 20);
}

// The per-object controls: a shape given the built-in tatami stitch and
// row shift sews as one that leaves them out; a longer stitch and another
// shift change its rows; a double run comes back over its own holes.
TEST(PathStitches, PerObjectControlsKeepTheBuiltInsAsTheirDefaults)
{
    const auto same = [](const std::vector<Vec>& a, const std::vector<Vec>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](Vec u, Vec v) { return u.x == v.x && u.y == v.y; });
    };
    const char* square = "M0,0L600,0L600,400L0,400Z";
    const auto plain = sew(KindShape, square);
    EXPECT_TRUE(same(sew(KindShape, square, [](ObjectParams& p) { p.shape.FLEN = 30, p.shape.ROWSHIFT = 40; }), plain));
    const auto longer = sew(KindShape, square, [](ObjectParams& p) { p.shape.FLEN = 60; });
    const auto shifted = sew(KindShape, square, [](ObjectParams& p) { p.shape.ROWSHIFT = 25; });
    EXPECT_LT(longer.size() * 10, plain.size() * 7); // half as many holes in the rows, and the turns
    EXPECT_FALSE(same(shifted, plain));
    const auto longest = [](const std::vector<Vec>& needles) {
        double most = 0;
        for (std::size_t i = 1; i < needles.size(); ++i)
            if (needles[i].y < kJumped / 2 && needles[i - 1].y < kJumped / 2)
                most = std::max(most, std::hypot(needles[i].x - needles[i - 1].x, needles[i].y - needles[i - 1].y));
        return most;
    };
    EXPECT_LE(longest(longer), 60 + 1e-6);
    EXPECT_GT(longest(longer), 45);

    const auto single = sew(KindStroke, "M0,0L100,0L100,50", [](ObjectParams& p) { p.stroke.LEN = 20; });
    const auto twice = sew(KindStroke, "M0,0L100,0L100,50", [](ObjectParams& p) {
        p.stroke.LEN = 20;
        p.stroke.REPEAT = 2;
    });
    ASSERT_EQ(twice.size(), 2 * single.size());
    for (std::size_t i = 0; i < single.size(); ++i) {
        EXPECT_NEAR(twice[twice.size() - 1 - i].x, single[i].x, 1e-9) << i;
        EXPECT_NEAR(twice[twice.size() - 1 - i].y, single[i].y, 1e-9) << i;
    }
}

} // namespace
} // namespace kelvara::testing
