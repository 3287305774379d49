// Stitches from paths: a running stroke sews every node; a shape's fill
// never puts a needle inside its holes.
#include "model/kinds/kind.h"
#include "model/pathstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/pathstitch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace kelvara::testing {
namespace {

using stitch::Vec;

struct Collect final : stitch::NeedleSink {
    std::vector<Vec> needles;
    void needle(Vec p) override { needles.push_back(p); }
    void edgeNeedle(Vec p) override { needles.push_back(p); }
    void jump(Vec p) override { needles.push_back(p); }
    bool exhausted() const override { return false; }
    int64_t room() const override { return 1 << 24; }
    void markOverflow() override {}
};

std::vector<Vec> sew(int32_t kind, const char* path, void (*tune)(ObjectParams&) = nullptr)
{
    static const Settings settings;
    static const auto libraries = std::make_unique<Libraries>();
    const KindRow& row = *kindRow(kind);
    ObjectParams p{};
    row.defaults(p, settings, 0);
    const int32_t handle = storePath(readPath(path).path);
    std::memcpy(p.bytes + row.size - sizeof(int32_t), &handle, sizeof handle); // PATH is the last field
    if (tune)
        tune(p);
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
    const Settings settings;
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

} // namespace
} // namespace kelvara::testing
