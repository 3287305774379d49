// Whether a design fits a hoop, by the hoop's real outline, and the
// smallest listed hoop that holds it.
#include "stitch/designinfo.h"
#include "stitch/hoopfit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvara {
namespace {

std::vector<StitchRecord> stitches(std::initializer_list<std::pair<int32_t, int32_t>> points)
{
    std::vector<StitchRecord> records;
    for (const auto& [x, y] : points)
        records.push_back({x, y, 0, StitchKind::Stitch});
    return records;
}

Hoop hoop(int32_t w, int32_t h, HoopShape shape, const char* name = "H")
{
    return Hoop{name, w, h, shape};
}

TEST(HoopFit, DesignExactlyTheHoopsSizeFitsAndOneUnitMoreDoesNot)
{
    const auto exact = stitches({{100, 200}, {1100, 200}, {1100, 1200}});
    const auto wider = stitches({{100, 200}, {1101, 200}, {1101, 1200}});
    const std::vector<StitchRecord>* a[] = {&exact};
    const std::vector<StitchRecord>* b[] = {&wider};
    EXPECT_TRUE(fitsHoop(hoop(1000, 1000, HoopShape::Rectangle), a));
    EXPECT_FALSE(fitsHoop(hoop(1000, 1000, HoopShape::Rectangle), b));
    // A hoop lies one way: turned, the design does not fit.
    EXPECT_FALSE(fitsHoop(hoop(1100, 1000, HoopShape::Rectangle), b) &&
                 fitsHoop(hoop(1000, 1100, HoopShape::Rectangle), b));
}

TEST(HoopFit, OvalHoopsGoByTheirShapeNotTheirBox)
{
    // A square's corners stick out of the circle its box fits.
    const auto square = stitches({{0, 0}, {800, 0}, {800, 800}, {0, 800}});
    // A diamond of the same box touches the circle only at its tips.
    const auto diamond = stitches({{400, 0}, {800, 400}, {400, 800}, {0, 400}});
    // The full circle on the hoop's own edge.
    std::vector<StitchRecord> ring;
    for (int i = 0; i < 72; ++i)
        ring.push_back({int32_t(std::lround(450 + 450 * std::cos(i * M_PI / 36))),
                        int32_t(std::lround(450 + 450 * std::sin(i * M_PI / 36))), 0, StitchKind::Stitch});
    const std::vector<StitchRecord>* sq[] = {&square};
    const std::vector<StitchRecord>* di[] = {&diamond};
    const std::vector<StitchRecord>* rg[] = {&ring};
    const Hoop round90 = hoop(900, 900, HoopShape::Oval);
    EXPECT_FALSE(fitsHoop(round90, sq));
    EXPECT_TRUE(fitsHoop(round90, di));
    EXPECT_TRUE(fitsHoop(round90, rg));
    // The rectangle of the same size takes the square.
    EXPECT_TRUE(fitsHoop(hoop(900, 900, HoopShape::Rectangle), sq));
    // A rounded field loses only the tips of its corners.
    EXPECT_FALSE(fitsHoop(hoop(800, 800, HoopShape::Rounded), sq));
    EXPECT_TRUE(fitsHoop(hoop(800, 800, HoopShape::Rounded), di));
}

TEST(HoopFit, SmallestHoopIsTheLeastAreaThatHoldsTheDesignFirstListedOnTies)
{
    HoopList list;
    list.hoops = {hoop(2000, 2000, HoopShape::Rounded, "Big"), hoop(1260, 1100, HoopShape::Rounded, "Janome 126 x 110"),
                  hoop(1100, 1260, HoopShape::Rounded, "Turned"), hoop(1200, 1200, HoopShape::Oval, "Round 120"),
                  hoop(1100, 1260, HoopShape::Rounded, "Turned twin")};
    // Wider than tall, with its corners filled: the oval loses it.
    const auto wide = stitches({{0, 0}, {1150, 0}, {1150, 1000}, {0, 1000}});
    const std::vector<StitchRecord>* w[] = {&wide};
    ASSERT_NE(smallestHoop(list, w), nullptr);
    EXPECT_EQ(smallestHoop(list, w)->name, "Janome 126 x 110");
    const auto tall = stitches({{0, 0}, {1000, 0}, {1000, 1150}, {0, 1150}});
    const std::vector<StitchRecord>* t[] = {&tall};
    EXPECT_EQ(smallestHoop(list, t)->name, "Turned");
    const auto huge = stitches({{0, 0}, {3000, 0}});
    const std::vector<StitchRecord>* h[] = {&huge};
    EXPECT_EQ(smallestHoop(list, h), nullptr);

    StitchPlan plan;
    plan.records = wide;
    const DesignInfo info = measureDesign(plan, 1, 800, &list, &list.hoops[3]);
    EXPECT_FALSE(info.fitsChosenHoop);
    EXPECT_NE(designInfoJson(info).find("\"hoop\": \"Janome 126 x 110\"}"), std::string::npos);
    EXPECT_NE(designInfoText(LineTable(), info).find("Round 120 (120 x 120 mm), the design does NOT fit"),
              std::string::npos);
}

// The hull a streamed plan is fitted by decides as all its stitches do:
// handed over in uneven stretches past the point where it is reduced, with
// repeated and collinear points, jumps among them, and a single point.
TEST(HoopFit, TheHullOfAStreamedPlanFitsAsItsStitchesDo)
{
    std::vector<StitchRecord> all;
    uint32_t seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < 150000; ++i) {
        const double a = (next() % 3600) * M_PI / 1800, r = (next() % 1000) / 1000.0;
        all.push_back({int32_t(600 + 560 * r * std::cos(a)), int32_t(500 + 470 * r * std::sin(a)), 0,
                       i % 97 == 0 ? StitchKind::Jump : StitchKind::Stitch});
    }
    for (int x = 40; x <= 1160; x += 8) // a straight edge along the bottom
        all.push_back({x, 980, 0, StitchKind::Stitch});
    all.push_back(all[5]);
    StitchHull hull;
    for (std::size_t at = 0, size = 1; at < all.size(); at += size, size = size * 3 + 1)
        hull.add(std::span(all).subspan(at, std::min(size, all.size() - at)));
    const std::vector<StitchRecord>* whole[] = {&all};
    const std::vector<StitchRecord>* corners[] = {&hull.points()};
    EXPECT_LT(hull.points().size(), 2000u);
    EXPECT_EQ(sewnBoxOf(corners), sewnBoxOf(whole));
    for (const HoopShape shape : {HoopShape::Rectangle, HoopShape::Oval, HoopShape::Rounded})
        for (int32_t w = 1100; w <= 1300; w += 10)
            EXPECT_EQ(fitsHoop(hoop(w, w * 9 / 10, shape), corners),
                      fitsHoop(hoop(w, w * 9 / 10, shape), whole))
                << int(shape) << " " << w;

    StitchHull one;
    const auto point = stitches({{3, 4}});
    one.add(point);
    ASSERT_EQ(one.points().size(), 1u);
    EXPECT_EQ(one.points()[0].x, 3);
}

} // namespace
} // namespace kelvara
