// Locks measured on every kind of object, as a sew-out would judge them.
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvara {
namespace {

using namespace testing;

double toSegment(double px, double py, const Needle& a, const Needle& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return distance(px, py, a.x + t * dx, a.y + t * dy);
}

// Distance from a point to the path the object's own needles sew.
double offPath(const StitchRecord& r, const std::vector<Needle>& path)
{
    double best = 1e300;
    for (std::size_t i = 1; i < path.size(); ++i)
        best = std::min(best, toSegment(r.x, r.y, path[i - 1], path[i]));
    return best;
}

// Whether the record goes into one of the holes of the first (or last) few
// needles of the path: the stitches a lock lies on.
bool isHoleOf(const StitchRecord& r, const std::vector<Needle>& path, bool atEnd)
{
    const auto near = [&](const Needle& n) { return std::lround(n.x) == r.x && std::lround(n.y) == r.y; };
    return atEnd ? std::any_of(path.end() - 4, path.end(), near)
                 : std::any_of(path.begin(), path.begin() + 4, near);
}

std::vector<std::pair<int32_t, ObjectParams>> everyKind()
{
    ObjectParams satin = satenParams(straightEdge(0, 0, 600, 40), straightEdge(0, 100, 600, 60));
    satin.saten.UNDER = 20;
    ObjectParams star = starParams(200, 200, 200, 200);
    star.star.COMP = 4;
    return {{KindRun, runParams(curvedEdge(0, 0, 100, -200, 300, 200, 400, 0), 25)},
            {KindSaten, satin},
            {KindSteil, steilParams(curvedEdge(0, 0, 100, 100, 200, -100, 300, 0), 30)},
            {KindRect, rectParams(straightEdge(0, 0, 300, 0), straightEdge(0, 200, 300, 200), 30)},
            {KindCircle, circleParams(0, 0, 150, 100, 20)},
            {KindStar, star}};
}

TEST(PlanLocks, EveryKindIsLockedAtBothEndsOnItsOwnPathInNewHoles)
{
    const Libraries libraries;
    for (const int32_t tieLength : {10, 5, 99}) {
        for (const int32_t switches : {1, 0}) {
            Settings settings;
            settings.TIELEN = tieLength;
            settings.TIEIN = settings.TIEOUT = switches;
            const double longest = std::min(tieLength, 20) + 1.5; // rounding to whole units
            for (const auto& [kind, params] : everyKind()) {
                StitchPlan plan;
                ASSERT_EQ(generateObjectPlan(kind, params, libraries, settings, plan), PlanStatus::Ok);
                const auto path = objectNeedles(kind, params, libraries, settings);
                std::vector<StitchRecord> s;
                for (const StitchRecord& r : plan.records)
                    if (r.kind == StitchKind::Stitch)
                        s.push_back(r);
                ASSERT_GT(s.size(), 8u);
                const std::size_t n = s.size();
                // Three lock stitches after the first hole and after the last hole of the path.
                EXPECT_TRUE(isHoleOf(s[0], path, false)) << kind;
                EXPECT_TRUE(isHoleOf(s[n - 4], path, true)) << kind;
                for (const std::size_t i :
                     {std::size_t{1}, std::size_t{2}, std::size_t{3}, n - 3, n - 2, n - 1}) {
                    EXPECT_FALSE(isHoleOf(s[i], path, i > 3)) << kind << " lock stitch " << i;
                    EXPECT_LE(offPath(s[i], path), 1.5) << kind << " lock stitch " << i; // two roundings
                    EXPECT_LE(distance(s[i].x, s[i].y, s[i - 1].x, s[i - 1].y), longest) << kind << " " << i;
                    EXPECT_GE(distance(s[i].x, s[i].y, s[i - 1].x, s[i - 1].y), 1) << kind << " " << i;
                }
            }
        }
    }
}

TEST(PlanLocks, ShippedTieOffFiguresStayOnTheObject)
{
    // The shipped triangle lock: two triangles 0.8 mm long and 0.8 mm wide.
    Libraries libraries;
    libraries.tieOffs.count = 1;
    const LibraryPoint triangle[] = {{0, 0}, {8, 4}, {8, -4}, {0, 0}, {8, 4}, {8, -4}, {0, 0}};
    std::copy(std::begin(triangle), std::end(triangle), libraries.tieOffs.points[0].begin());
    const Settings settings;
    for (auto [kind, params] : everyKind()) {
        const auto useTriangle = [](auto& record) { record.TIEIN = record.TIEOUT = 0; };
        switch (kind) {
        case KindRun:
            useTriangle(params.run);
            break;
        case KindSaten:
            useTriangle(params.saten);
            break;
        case KindSteil:
            useTriangle(params.steil);
            break;
        case KindRect:
            useTriangle(params.rect);
            break;
        case KindStar:
            useTriangle(params.star);
            break;
        default:
            useTriangle(params.circle);
            break;
        }
        StitchPlan plan;
        ASSERT_EQ(generateObjectPlan(kind, params, libraries, settings, plan), PlanStatus::Ok);
        const auto path = objectNeedles(kind, params, libraries, settings);
        std::vector<StitchRecord> s;
        for (const StitchRecord& r : plan.records)
            if (r.kind == StitchKind::Stitch)
                s.push_back(r);
        ASSERT_GT(s.size(), 14u);
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_LE(offPath(s[i], path), 3) << kind << " tie-in point " << i;
            EXPECT_LE(offPath(s[s.size() - 1 - i], path), 3) << kind << " tie-off point " << i;
        }
    }
}

} // namespace
} // namespace kelvara
