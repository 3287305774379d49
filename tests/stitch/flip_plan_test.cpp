// A flipped object stitches the mirror image of what it stitched before:
// the same penetrations in the same order, mirrored. Fills keep their
// tatami grid on the design, so for them the rows are checked instead.

#include "model/recordgeometry.h"
#include "stitchtesting.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvara::testing {
namespace {

struct FlipCase {
    const char* name;
    int32_t kind;
    ObjectParams params;
};

FlipCase steilWithUnderlay()
{
    ObjectParams p = steilParams(curvedEdge(100, 200, 160, 120, 260, 300, 320, 210), 30);
    p.steil.TWIDTH = 70;
    p.steil.UNDER = 20;
    p.steil.OFSUND = 4;
    p.steil.CIKCAK = 15;
    return {"STEIL", KindSteil, p};
}

FlipCase starArcWithUnderlay()
{
    ObjectParams p = starParams(400, 300, 90, 50, 20, 230);
    p.star.UNDER = 25;
    p.star.OFSUND = 6;
    return {"STAR", KindStar, p};
}

std::vector<FlipCase> exactCases()
{
    return {
        {"RUN", KindRun, runParams(curvedEdge(100, 100, 150, 20, 260, 210, 330, 90))},
        {"SATEN", KindSaten,
         satenParams(curvedEdge(100, 100, 150, 60, 250, 80, 300, 110), straightEdge(310, 160, 110, 150))},
        steilWithUnderlay(),
        starArcWithUnderlay(),
    };
}

// The point (x, y) mirrored back about the axis the flip used.
void mirrorBack(MirrorAxis axis, double sum, double& x, double& y)
{
    (axis == MirrorAxis::LeftRight ? x : y) = sum - (axis == MirrorAxis::LeftRight ? x : y);
}

TEST(FlipPlan, EveryPenetrationOfEachKindIsTheMirroredOneInTheSameOrder)
{
    const Libraries libraries;
    const Settings settings = plainSettings();
    for (const FlipCase& c : exactCases()) {
        for (MirrorAxis axis : {MirrorAxis::LeftRight, MirrorAxis::TopBottom}) {
            SCOPED_TRACE(std::string(c.name) +
                         (axis == MirrorAxis::LeftRight ? " left-right" : " top-bottom"));
            const double sum = 613;
            ObjectParams flipped = c.params;
            ASSERT_TRUE(mirrorRecord(c.kind, flipped, axis, sum));

            const std::vector<Needle> before = objectNeedles(c.kind, c.params, libraries, settings);
            const std::vector<Needle> after = objectNeedles(c.kind, flipped, libraries, settings);
            ASSERT_GT(before.size(), 10u);
            ASSERT_EQ(after.size(), before.size());
            for (std::size_t i = 0; i < before.size(); ++i) {
                double x = after[i].x, y = after[i].y;
                mirrorBack(axis, sum, x, y);
                ASSERT_NEAR(x, before[i].x, 1e-6) << "needle " << i;
                ASSERT_NEAR(y, before[i].y, 1e-6) << "needle " << i;
            }

            // Assembled, the plans differ by rounding to whole units only.
            StitchPlan planBefore, planAfter;
            ASSERT_EQ(generateObjectPlan(c.kind, c.params, libraries, settings, planBefore), PlanStatus::Ok);
            ASSERT_EQ(generateObjectPlan(c.kind, flipped, libraries, settings, planAfter), PlanStatus::Ok);
            ASSERT_EQ(planAfter.records.size(), planBefore.records.size());
            for (std::size_t i = 0; i < planBefore.records.size(); ++i) {
                double x = planAfter.records[i].x, y = planAfter.records[i].y;
                mirrorBack(axis, sum, x, y);
                EXPECT_LE(std::abs(x - planBefore.records[i].x), 1) << "record " << i;
                EXPECT_LE(std::abs(y - planBefore.records[i].y), 1) << "record " << i;
                EXPECT_EQ(planAfter.records[i].kind, planBefore.records[i].kind);
            }

            ObjectParams back = flipped;
            ASSERT_TRUE(mirrorRecord(c.kind, back, axis, sum));
            EXPECT_EQ(std::memcmp(back.bytes, c.params.bytes, std::size_t(recordSize(c.kind))), 0);
        }
    }
}

// Direction of the long stitches (the rows) as an angle of a line, 0..180.
std::vector<double> rowDirections(const std::vector<Needle>& needles, MirrorAxis axis, bool mirrored)
{
    std::vector<double> out;
    for (std::size_t i = 1; i < needles.size(); ++i) {
        double dx = needles[i].x - needles[i - 1].x, dy = needles[i].y - needles[i - 1].y;
        if (std::hypot(dx, dy) < 21) // longer than any travel stitch
            continue;
        if (mirrored)
            (axis == MirrorAxis::LeftRight ? dx : dy) = -(axis == MirrorAxis::LeftRight ? dx : dy);
        out.push_back(std::fmod(std::atan2(dy, dx) * 180 / 3.14159265358979323846 + 360, 180));
    }
    return out;
}

TEST(FlipPlan, FillRowsTurnToTheMirroredAngleOverTheMirroredArea)
{
    const Libraries libraries;
    const Settings settings = plainSettings();
    const FlipCase fills[] = {
        {"RECT", KindRect,
         rectParams(curvedEdge(100, 100, 160, 60, 240, 140, 300, 100), straightEdge(120, 260, 290, 240), 30)},
        {"CIRCLE", KindCircle, circleParams(300, 250, 90, 60, 125)},
    };
    for (const FlipCase& c : fills) {
        for (MirrorAxis axis : {MirrorAxis::LeftRight, MirrorAxis::TopBottom}) {
            SCOPED_TRACE(c.name);
            const double sum = 700;
            ObjectParams flipped = c.params;
            ASSERT_TRUE(mirrorRecord(c.kind, flipped, axis, sum));
            const std::vector<Needle> before = objectNeedles(c.kind, c.params, libraries, settings);
            const std::vector<Needle> after = objectNeedles(c.kind, flipped, libraries, settings);
            ASSERT_GT(before.size(), 50u);

            GeometryBox boxBefore, boxAfter;
            for (const Needle& n : before)
                boxBefore.add(n.x, n.y);
            for (Needle n : after) {
                mirrorBack(axis, sum, n.x, n.y);
                boxAfter.add(n.x, n.y);
            }
            EXPECT_NEAR(boxAfter.left, boxBefore.left, 1.5);
            EXPECT_NEAR(boxAfter.right, boxBefore.right, 1.5);
            EXPECT_NEAR(boxAfter.top, boxBefore.top, 1.5);
            EXPECT_NEAR(boxAfter.bottom, boxBefore.bottom, 1.5);

            // Every row of the flip, mirrored back, runs as the rows did.
            const std::vector<double> rows = rowDirections(before, axis, false);
            const std::vector<double> mirroredRows = rowDirections(after, axis, true);
            ASSERT_FALSE(rows.empty());
            ASSERT_FALSE(mirroredRows.empty());
            const double angle = rows.front();
            // Turned rows lie on the machine's grid: a stitch's ends sit up to
            // a unit off the row's line, a few degrees on the shortest stitch.
            for (double a : mirroredRows)
                EXPECT_LT(std::abs(std::remainder(a - angle, 180.0)), 4);
        }
    }
}

} // namespace
} // namespace kelvara::testing
