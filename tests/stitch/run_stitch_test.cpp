#include "shell/libraries.h"
#include "shell/settings.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace testing;

std::vector<Needle> needlesOf(const ObjectParams& p, int32_t kind, const Settings& settings = plainSettings(),
                              const Libraries* libraries = nullptr)
{
    static Libraries empty;
    return objectNeedles(kind, p, libraries ? *libraries : empty, settings);
}

// Arc length of the flattened line between two needles is what spacing means;
// on a straight line it is the distance.
TEST(RunStitch, StraightLineIsEvenlySpacedAndEndsOnTheEndPoint)
{
    for (int len : {7, 20, 33, 90}) {
        const auto n = needlesOf(runParams(straightEdge(10, 20, 310, 420), len), KindRun);
        ASSERT_GE(n.size(), 2u);
        EXPECT_DOUBLE_EQ(n.front().x, 10);
        EXPECT_DOUBLE_EQ(n.front().y, 20);
        EXPECT_DOUBLE_EQ(n.back().x, 310);
        EXPECT_DOUBLE_EQ(n.back().y, 420);
        const double first = distance(n[0].x, n[0].y, n[1].x, n[1].y);
        for (std::size_t i = 1; i < n.size(); ++i) {
            const double d = distance(n[i - 1].x, n[i - 1].y, n[i].x, n[i].y);
            EXPECT_LE(d, len + 1e-9);
            EXPECT_NEAR(d, first, 1e-6);
        }
        EXPECT_EQ(n.size(), static_cast<std::size_t>(std::ceil(500.0 / len)) + 1);
    }
}

TEST(RunStitch, CurveStitchesNeverLongerThanLenInThePlan)
{
    const ObjectParams p = runParams(curvedEdge(0, 0, 200, -300, 400, 300, 600, 0), 25);
    StitchPlan plan;
    ASSERT_EQ(generateObjectPlan(KindRun, p, Libraries{}, plainSettings(), plan), PlanStatus::Ok);
    const auto segments = stitchSegments(plan);
    ASSERT_GT(segments.size(), 20u);
    for (const Segment& s : segments)
        EXPECT_LE(distance(s.ax, s.ay, s.bx, s.by), 25 + 1.5) << "rounding to whole units adds at most one";
    bool reached = false; // the end point, before the tie-off
    for (const StitchRecord& r : plan.records)
        reached = reached || (r.kind == StitchKind::Stitch && r.x == 600 && r.y == 0);
    EXPECT_TRUE(reached);
}

TEST(RunStitch, RepeatGoesBackAndForthOverEachStitch)
{
    Settings settings = plainSettings();
    settings.REPEAT = 3;
    const auto n = needlesOf(runParams(straightEdge(0, 0, 100, 0), 25), KindRun, settings);
    // 4 stitches, each as forward, back, forward.
    ASSERT_EQ(n.size(), 1u + 4 * 3);
    const double expected[] = {0, 25, 0, 25, 50, 25, 50, 75, 50, 75, 100, 75, 100};
    for (std::size_t i = 0; i < n.size(); ++i)
        EXPECT_DOUBLE_EQ(n[i].x, expected[i]);
    settings.REPEAT = 4; // not an odd pass count: a single pass
    EXPECT_EQ(needlesOf(runParams(straightEdge(0, 0, 100, 0), 25), KindRun, settings).size(), 5u);
}

// A line's own passes win over the configuration's: 2 sews the line and
// comes back over its holes (on a closed line too, ending where it began),
// 3 is a triple run whatever REPEAT says, 0 leaves it to REPEAT.
TEST(RunStitch, OwnPassesOverrideTheConfigurationAndAnEvenCountComesBack)
{
    Settings settings = plainSettings();
    settings.REPEAT = 5;
    ObjectParams p = runParams(straightEdge(0, 0, 100, 0), 25);
    EXPECT_EQ(needlesOf(p, KindRun, settings).size(), 1u + 4 * 5);
    p.tailedRun.tail.REPEAT = 3;
    EXPECT_EQ(needlesOf(p, KindRun, settings).size(), 1u + 4 * 3);

    p.tailedRun.tail.REPEAT = 2;
    const auto there = needlesOf(p, KindRun, plainSettings());
    const double expected[] = {0, 25, 50, 75, 100, 75, 50, 25, 0};
    ASSERT_EQ(there.size(), std::size(expected));
    for (std::size_t i = 0; i < there.size(); ++i)
        EXPECT_DOUBLE_EQ(there[i].x, expected[i]) << i;

    // Four passes: a triple run out, one pass back.
    p.tailedRun.tail.REPEAT = 4;
    const auto four = needlesOf(p, KindRun, plainSettings());
    ASSERT_EQ(four.size(), 1u + 4 * 3 + 4);
    EXPECT_DOUBLE_EQ(four[12].x, 100);
    EXPECT_DOUBLE_EQ(four.back().x, 0);

    ObjectParams loop = runParams(curvedEdge(0, 0, 300, -200, 300, 200, 0, 0), 25);
    loop.tailedRun.tail.REPEAT = 2;
    const auto round = needlesOf(loop, KindRun, plainSettings());
    ASSERT_GT(round.size(), 10u);
    for (std::size_t i = 0; i < round.size(); ++i) {
        const Needle& back = round[round.size() - 1 - i];
        EXPECT_NEAR(distance(round[i].x, round[i].y, back.x, back.y), 0, 1e-9) << i;
    }
}

TEST(RunStitch, JumpLineMovesWithoutStitches)
{
    ObjectParams p = runParams(straightEdge(0, 0, 500, 0));
    p.run.JUMP = 0;
    const auto n = needlesOf(p, KindRun);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_TRUE(n[0].jump && n[1].jump);
    StitchPlan plan;
    EXPECT_EQ(generateObjectPlan(KindRun, p, Libraries{}, plainSettings(), plan), PlanStatus::Empty);
}

TEST(RunStitch, MotifCopiesFollowThePathFrame)
{
    Libraries libs;
    libs.motifs.count = 1;
    // A triangle wave 40 wide: up 20 in the middle.
    libs.motifs.points[0][0] = {0, 0};
    libs.motifs.points[0][1] = {20, -20};
    libs.motifs.points[0][2] = {40, 0};
    ObjectParams p = runParams(straightEdge(0, 100, 400, 100), 90); // no segment split
    p.run.MOTIVE = 0;
    auto n = needlesOf(p, KindRun, plainSettings(), &libs);
    ASSERT_EQ(n.size(), 21u); // ten copies of three points, each starting where the last ended
    EXPECT_DOUBLE_EQ(n[1].x, 20);
    EXPECT_DOUBLE_EQ(n[1].y, 80);
    EXPECT_DOUBLE_EQ(n.back().x, 400);

    // Along a vertical line running down, motif y turns with the path.
    p.run.line = straightEdge(100, 0, 100, 400);
    n = needlesOf(p, KindRun, plainSettings(), &libs);
    EXPECT_NEAR(n[1].x, 120, 1e-9);
    EXPECT_NEAR(n[1].y, 20, 1e-9);

    // At twice the size, half as many copies, twice as high.
    p.tailedRun.tail.MSIZE = 200;
    n = needlesOf(p, KindRun, plainSettings(), &libs);
    ASSERT_EQ(n.size(), 11u);
    EXPECT_NEAR(n[1].x, 140, 1e-9);
    p.tailedRun.tail.MSIZE = 0;

    // An index beyond the library's count is a plain run.
    p.run.MOTIVE = 5;
    p.run.LEN = 20;
    EXPECT_EQ(needlesOf(p, KindRun, plainSettings(), &libs).size(), 21u);
}

TEST(RunStitch, ShippedMotifsAreSewnNotFloatedAndReachTheLineEnd)
{
    // Leaf and star: segments and joins between copies longer than LEN were
    // single floats, and the leaf, which ends at its stem, stopped a copy short.
    auto libraries = std::make_unique<Libraries>();
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    const std::string folder = std::string(KELVARA_SOURCE_DATA) + "/";
    loadLibraries(*libraries, *lines, *tokens, folder);
    Settings shipped;
    readConfiguration(shipped, *lines, *tokens, folder);
    const BezierEdge shapes[] = {straightEdge(0, 0, 1500, 0), curvedEdge(0, 0, 300, -500, 700, 500, 1000, 0)};
    for (const char* name : {"LEAF", "STAR"}) {
        for (const int32_t len : {shipped.STITCH, 7, 90}) {
            for (const BezierEdge& line : shapes) {
                ObjectParams p = runParams(line, len);
                p.run.MOTIVE = findLibraryEntry(libraries->motifs, name);
                ASSERT_GE(p.run.MOTIVE, 0);
                StitchPlan plan;
                ASSERT_EQ(generateObjectPlan(KindRun, p, *libraries, shipped, plan), PlanStatus::Ok);
                const double longest = std::max(len, std::min(shipped.TIELEN, 20)) + 1.5; // locks, rounding
                for (const Segment& s : stitchSegments(plan))
                    ASSERT_LE(distance(s.ax, s.ay, s.bx, s.by), longest) << name << " LEN " << len;
                const auto n = objectNeedles(KindRun, p, *libraries, shipped);
                EXPECT_NEAR(n.back().x, +line.x2, 1e-6) << name;
                EXPECT_NEAR(n.back().y, +line.y2, 1e-6) << name;
            }
        }
    }
}

TEST(RunStitch, DegenerateLinesGiveASaneResult)
{
    // A zero-length line: one needle, and no plan stitches at all.
    const ObjectParams dot = runParams(straightEdge(50, 50, 50, 50));
    EXPECT_EQ(needlesOf(dot, KindRun).size(), 2u);
    StitchPlan plan;
    EXPECT_EQ(generateObjectPlan(KindRun, dot, Libraries{}, plainSettings(), plan), PlanStatus::Empty);
    EXPECT_TRUE(plan.records.empty());

    // LEN of zero or below is taken as the shortest stitch, not a division by zero.
    const auto n = needlesOf(runParams(straightEdge(0, 0, 10, 0), 0), KindRun);
    EXPECT_EQ(n.size(), 11u);
    const auto neg = needlesOf(runParams(straightEdge(0, 0, 10, 0), -5), KindRun);
    EXPECT_EQ(neg.size(), 11u);
}

} // namespace
} // namespace kelvara
