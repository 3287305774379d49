#include "project/openproject.h"
#include "stitch/dsttestreader.h"
#include "stitch/dstwriter.h"
#include "stitch/planbuilder.h"
#include "stitch/sampledesign.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

namespace kelvara {
namespace {

using namespace testing;

std::unique_ptr<Workspace> plainWorkspace()
{
    auto ws = makeWorkspace();
    ws->settings = plainSettings();
    return ws;
}

TEST(PlanAssembly, EmptyDesignAndJumpsOnlyHaveNothingToStitch)
{
    auto ws = plainWorkspace();
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Empty);
    ObjectParams hop = runParams(straightEdge(0, 0, 100, 0));
    hop.run.JUMP = 0;
    addObject(*ws, KindRun, hop);
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Empty);
    EXPECT_TRUE(plan.records.empty());
}

TEST(PlanAssembly, ObjectsAreStitchedInDisplayOrderNotRowOrder)
{
    auto ws = plainWorkspace();
    ObjectParams a = runParams(straightEdge(0, 0, 100, 0));
    ObjectParams b = runParams(straightEdge(0, 50, 100, 50));
    a.run.colour = 0x111111;
    b.run.colour = 0x222222;
    const int32_t rowA = addObject(*ws, KindRun, a);
    const int32_t rowB = addObject(*ws, KindRun, b);
    // Move B in front of A.
    unlinkRow(ws->table, rowB);
    ws->table.rows[static_cast<std::size_t>(rowB)].next = rowA;
    ws->table.rows[static_cast<std::size_t>(rowA)].prev = rowB;
    ws->table.firstObject = rowB;

    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    EXPECT_EQ(plan.records.front().colour, 0x222222);
    EXPECT_EQ(plan.records.front().y, 50);
    EXPECT_EQ(plan.records[plan.records.size() - 2].colour, 0x111111);
    EXPECT_EQ(plan.records.back().kind, StitchKind::End);
}

TEST(PlanAssembly, BrokenDisplayOrderStopsInsteadOfLooping)
{
    auto ws = plainWorkspace();
    const int32_t r0 = addObject(*ws, KindRun, runParams(straightEdge(0, 0, 100, 0)));
    addObject(*ws, KindRun, runParams(straightEdge(0, 10, 100, 10)));
    ws->table.rows[static_cast<std::size_t>(r0)].next = r0; // a cycle
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    ws->table.rows[static_cast<std::size_t>(r0)].next = 9999; // out of the table
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
}

TEST(PlanAssembly, ColourChangesTrimsAndJumpsBetweenObjects)
{
    auto ws = plainWorkspace();
    ws->settings.TRIM = 40;
    ObjectParams first = runParams(straightEdge(0, 0, 100, 0));
    ObjectParams near = runParams(straightEdge(120, 0, 200, 0)); // 20 away: no trim
    ObjectParams far = runParams(straightEdge(600, 300, 700, 300));
    ObjectParams recoloured = runParams(straightEdge(700, 310, 800, 310));
    ObjectParams uncoloured = runParams(straightEdge(800, 320, 900, 320));
    near.run.TRIM = 0;
    far.run.TRIM = 1;
    recoloured.run.colour = 0x00FF00;
    uncoloured.run.colour = -1;
    for (const ObjectParams* p : {&first, &near, &far, &recoloured, &uncoloured})
        addObject(*ws, KindRun, *p);

    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    std::vector<StitchKind> between; // what happens between stitches, in order
    for (std::size_t i = 1; i < plan.records.size(); ++i)
        if (plan.records[i].kind != StitchKind::Stitch &&
            (between.empty() || between.back() != plan.records[i].kind ||
             plan.records[i].kind != StitchKind::Jump))
            between.push_back(plan.records[i].kind);
    // Every colour change follows a trim, even between objects 1 mm apart.
    const std::vector<StitchKind> expected{StitchKind::Jump, StitchKind::Trim,         StitchKind::Jump,
                                           StitchKind::Trim, StitchKind::ColourChange, StitchKind::Jump,
                                           StitchKind::Trim, StitchKind::ColourChange, StitchKind::Jump,
                                           StitchKind::End};
    EXPECT_EQ(between, expected);
    EXPECT_EQ(plan.colourChangeCount(), 2);
    // Colour -1 stitches white; stitches carry their thread.
    EXPECT_EQ(plan.records[plan.records.size() - 2].colour, kWhiteThread);
    for (std::size_t i = 1; i < plan.records.size(); ++i) {
        const StitchRecord &a = plan.records[i - 1], &b = plan.records[i];
        EXPECT_LE(std::abs(b.x - a.x), kMaxStep);
        EXPECT_LE(std::abs(b.y - a.y), kMaxStep);
    }
}

TEST(PlanAssembly, TrimAfterTheLastObjectComesBeforeTheEnd)
{
    auto ws = plainWorkspace();
    ObjectParams p = runParams(straightEdge(0, 0, 100, 0));
    p.run.TRIM = 1;
    addObject(*ws, KindRun, p);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    ASSERT_GE(plan.records.size(), 3u);
    EXPECT_EQ(plan.records[plan.records.size() - 2].kind, StitchKind::Trim);
}

TEST(PlanAssembly, LongStitchesSplitAndShortOnesDrop)
{
    auto ws = plainWorkspace();
    ws->settings.DELETE = 8;
    addObject(*ws, KindRun, runParams(straightEdge(0, 0, 1000, 0), 300));    // 300 > 121: split
    addObject(*ws, KindRun, runParams(straightEdge(1000, 40, 1100, 40), 3)); // 3 < 8: dropped
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    bool afterMove = true;
    for (std::size_t i = 1; i < plan.records.size(); ++i) {
        const StitchRecord &a = plan.records[i - 1], &b = plan.records[i];
        if (b.kind != StitchKind::Stitch) {
            afterMove = true;
            continue;
        }
        EXPECT_LE(std::abs(b.x - a.x), kMaxStep);
        // The first penetration after a move may sit where the move ended.
        if (!afterMove) {
            EXPECT_GE(std::hypot(b.x - a.x, b.y - a.y), 8) << i;
        }
        afterMove = false;
    }
    // Both lines still reach their end points (the tie-off follows).
    for (const auto& [x, y] : {std::pair{1000, 0}, std::pair{1100, 40}}) {
        bool reached = false;
        for (const StitchRecord& r : plan.records)
            reached = reached || (r.x == x && r.y == y && r.kind == StitchKind::Stitch);
        EXPECT_TRUE(reached) << x;
    }
}

TEST(PlanAssembly, BuiltInLocksRunBackAndForthOnTheSeamIntoNewHoles)
{
    auto ws = plainWorkspace();
    ws->settings.TIEIN = 1;
    ws->settings.TIEOUT = 1;
    ws->settings.TIELEN = 12;
    ws->settings.DELETE = 10; // lock stitches are kept although shorter
    addObject(*ws, KindRun, runParams(straightEdge(0, 0, 0, 200), 25));
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    const auto& r = plan.records;
    ASSERT_GT(r.size(), 10u);
    // Start: the start point, out 12 along the line, back to 3, out to 9,
    // then on to the first hole of the seam, 25.
    const int32_t startY[] = {0, 12, 3, 9, 25};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(r[i].x, 0);
        EXPECT_EQ(r[i].y, startY[i]) << i;
    }
    // End: the end point, then back up the line the same way; the thread is cut
    // inside the seam.
    const std::size_t e = r.size() - 5;
    const int32_t endY[] = {200, 188, 197, 191};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(r[e + i].y, endY[i]) << i;
    EXPECT_EQ(r.back().kind, StitchKind::End);

    // Never over 2 mm, whatever TIELEN says.
    ws->settings.TIELEN = 99;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    EXPECT_EQ(plan.records[1].y, 20);
}

TEST(PlanAssembly, SwitchesOffStillLockAroundEveryCut)
{
    // The switches only decide for objects that follow each other without a
    // cut; a new thread is locked in and a thread about to be cut locked off.
    auto ws = plainWorkspace();
    ws->settings.TIELEN = 10;
    const auto line = [](double y, int32_t colour, bool back = false) {
        ObjectParams p = runParams(back ? straightEdge(400, y, 0, y) : straightEdge(0, y, 400, y), 40);
        p.run.colour = colour;
        return p;
    };
    addObject(*ws, KindRun, line(0, 0x0000FF));
    addObject(*ws, KindRun, line(5, 0x0000FF, true)); // continues: no cut, no locks between
    addObject(*ws, KindRun, line(10, 0x00FF00));      // colour change
    ObjectParams far = line(600, 0x00FF00);           // trim for the distance
    far.run.TRIM = 1;                                 // and a trim after it
    addObject(*ws, KindRun, far);
    ObjectParams hop = runParams(straightEdge(400, 600, 400, 620));
    hop.run.JUMP = 0;
    addObject(*ws, KindRun, hop);
    addObject(*ws, KindRun, line(620, 0x00FF00, true));

    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    const auto& r = plan.records;
    auto isLock = [&](std::size_t from) { // three short stitches from record `from` on
        for (std::size_t i = from; i < from + 3; ++i)
            if (i == 0 || i >= r.size() || r[i].kind != StitchKind::Stitch ||
                r[i - 1].kind != StitchKind::Stitch ||
                distance(r[i].x, r[i].y, r[i - 1].x, r[i - 1].y) > 11.5)
                return false;
        return true;
    };
    int starts = 0, ends = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const bool cut = r[i].kind == StitchKind::Trim || r[i].kind == StitchKind::End;
        const bool newThread =
            i == 0 || (r[i].kind == StitchKind::Jump &&
                       (r[i - 1].kind == StitchKind::Trim || r[i - 1].kind == StitchKind::ColourChange));
        if (cut && r[i - 1].kind == StitchKind::Stitch) {
            EXPECT_TRUE(isLock(i - 3)) << "before the cut at record " << i;
            ++ends;
        }
        if (newThread) {
            std::size_t first = i;
            while (first < r.size() && r[first].kind != StitchKind::Stitch)
                ++first;
            EXPECT_TRUE(isLock(first + 1)) << "after the cut at record " << i;
            ++starts;
        }
        if (r[i].kind == StitchKind::ColourChange) {
            EXPECT_EQ(r[i - 1].kind, StitchKind::Trim);
        }
    }
    EXPECT_EQ(ends, 4);   // before the colour change, both trims and the end
    EXPECT_EQ(starts, 4); // the first object and after the colour change and both trims
    // The second line follows the first without a cut and so without locks.
    std::size_t joined = 0;
    while (!(r[joined].y == 5 && r[joined].x == 400 && r[joined].kind == StitchKind::Stitch))
        ++joined;
    EXPECT_EQ(r[joined + 1].x, 360);
}

TEST(PlanAssembly, LibraryTieOffsPointBackIntoTheObject)
{
    auto ws = plainWorkspace();
    ws->libraries.tieOffs.count = 1;
    ws->libraries.tieOffs.points[0][0] = {0, 0};
    ws->libraries.tieOffs.points[0][1] = {10, 4};
    ws->libraries.tieOffs.points[0][2] = {0, 0};
    ObjectParams p = runParams(straightEdge(100, 100, 100, 300), 25); // stitching downward
    p.run.TIEIN = p.run.TIEOUT = 0;
    addObject(*ws, KindRun, p);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    // x runs into the object, y a quarter turn from it and scaled down to
    // stay within 0.2 mm of the seam; the figure ends at its last non-zero point.
    const auto& r = plan.records;
    EXPECT_EQ(r[0].y, 100);
    EXPECT_EQ(r[1].x, 98);
    EXPECT_EQ(r[1].y, 110);
    EXPECT_EQ(r[2].x, 100);
    EXPECT_EQ(r[2].y, 125);
    // At the end x points back up the seam, not on past its end.
    const std::size_t e = r.size() - 2;
    EXPECT_EQ(r[e - 1].y, 300);
    EXPECT_EQ(r[e].x, 102);
    EXPECT_EQ(r[e].y, 290);
}

TEST(PlanAssembly, DesignBeyondDstIsRefusedQuickly)
{
    const auto started = std::chrono::steady_clock::now();
    auto refused = [](const ObjectParams& p, int32_t kind) {
        auto ws = plainWorkspace();
        addObject(*ws, kind, p);
        StitchPlan plan;
        const PlanStatus status = generatePlan(*ws, plan);
        if (status == PlanStatus::TooLarge) {
            EXPECT_TRUE(plan.records.empty());
        }
        return status == PlanStatus::TooLarge;
    };
    // Extents over 99999 units.
    EXPECT_TRUE(refused(runParams(straightEdge(0, 0, 100000, 0), 90), KindRun));
    EXPECT_FALSE(refused(runParams(straightEdge(0, 0, 99000, 0), 90), KindRun));
    // Coordinates at the ends of what a project holds, and beyond.
    EXPECT_TRUE(refused(runParams(straightEdge(-2147483648.0, 0, 2147483647.0, 0)), KindRun));
    EXPECT_TRUE(refused(runParams(straightEdge(1e300, 0, 0, 0)), KindRun));
    EXPECT_TRUE(refused(circleParams(0, 0, std::numeric_limits<int32_t>::max(), 5), KindCircle));
    EXPECT_TRUE(
        refused(steilParams(straightEdge(0, 0, 100, 0), std::numeric_limits<int32_t>::min()), KindSteil));
    // Numbers that are no numbers.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(refused(runParams(straightEdge(nan, 0, 10, 10)), KindRun));
    EXPECT_TRUE(
        refused(satenParams(straightEdge(0, 0, 10, 0), curvedEdge(0, 5, inf, 0, 0, 0, 10, 5)), KindSaten));
    // Too many records: a dense fill of 9 by 9 metres.
    ObjectParams huge = rectParams(straightEdge(0, 0, 90000, 0), straightEdge(0, 90000, 90000, 90000));
    huge.rect.SDENS = 1;
    EXPECT_TRUE(refused(huge, KindRect));
    ObjectParams hugeSatin = satenParams(straightEdge(0, 0, 90000, 0), straightEdge(0, 90000, 90000, 90000));
    hugeSatin.saten.SDENS = hugeSatin.saten.TDENS = 1;
    hugeSatin.saten.REPEAT = 9;
    EXPECT_TRUE(refused(hugeSatin, KindSaten));
    // A compensation of two billion units.
    ObjectParams wide = satenParams(straightEdge(0, 0, 100, 0), straightEdge(0, 10, 100, 10));
    wide.saten.SCOMP = std::numeric_limits<int32_t>::max();
    EXPECT_TRUE(refused(wide, KindSaten));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60))
        << "bounded, not a timing target";
}

TEST(PlanAssembly, FillThatCannotFitIsRefusedFromItsOutlineAlone)
{
    // A one-line project: the disc's rows alone need more records than a
    // plan holds, and so does its underlay when the top layer is off.
    auto ws = makeWorkspace();
    FakePlatform fakes;
    loadProjectBytes(*ws, fakes.platform(), "disc.kvp", "CIRCLE X=25600 Y=25600 RX=25600 RY=23040\r\n");
    ASSERT_EQ(ws->table.objectCount, 1);
    const ObjectParams& disc = ws->records[ws->table.rows[0].params];
    EXPECT_GT(objectRecordFloor(KindCircle, disc, ws->libraries, ws->settings), kMaxRecords);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::TooLarge);
    ObjectParams underlayOnly = circleParams(25600, 25600, 25600, 23040);
    underlayOnly.circle.STITCHES = 0;
    underlayOnly.circle.UNDER = 1;
    EXPECT_GT(objectRecordFloor(KindCircle, underlayOnly, ws->libraries, ws->settings), kMaxRecords);
}

TEST(PlanAssembly, FillRecordFloorNeverExceedsThePlanItJudges)
{
    // Whatever the short-stitch rule, tie-ins, compensation, pattern or
    // underlay, a fill makes at least as many records as its floor says.
    auto sample = makeWorkspace();
    buildSampleDesign(*sample);
    std::vector<std::pair<int32_t, ObjectParams>> fills;
    for (const ObjectEntry& e : sample->table.rows)
        if (e.kind == KindCircle || e.kind == KindRect)
            fills.push_back({e.kind, sample->records[e.params]});
    for (int32_t angle : {0, 33, 90}) {
        ObjectParams r = rectParams(straightEdge(0, 0, 600, 0), straightEdge(0, 400, 600, 400), angle);
        fills.push_back({KindRect, r});
        r.rect.SCOMP = -40;
        r.rect.PATTERN = 0;
        fills.push_back({KindRect, r});
        r.rect.SCOMP = 25;
        r.rect.UNDER = 7;
        r.rect.OFSUND = 4;
        fills.push_back({KindRect, r});
    }
    fills.push_back({KindCircle, circleParams(0, 0, 3, 40, 10)});
    Libraries libraries;
    libraries.patterns.count = 1;
    libraries.patterns.rows[0][0] = {3, {4, 9, 60}};
    libraries.tieOffs.count = 1;
    libraries.tieOffs.points[0][0] = {200, 90};
    for (int32_t shortest : {0, 5, 12, 40}) {
        for (int32_t tie : {0, 1}) {
            Settings settings;
            settings.DELETE = shortest;
            settings.TIEIN = settings.TIEOUT = tie;
            for (auto [kind, params] : fills) {
                (kind == KindRect ? params.rect.TIEIN : params.circle.TIEIN) = tie - 1;
                StitchPlan plan;
                ASSERT_EQ(generateObjectPlan(kind, params, libraries, settings, plan), PlanStatus::Ok);
                const int64_t floor = objectRecordFloor(kind, params, libraries, settings);
                EXPECT_LE(floor, static_cast<int64_t>(plan.records.size())) << kind << " DELETE " << shortest;
                const bool plainRows =
                    kind == KindRect && params.rect.UNDER == -1 && params.rect.PATTERN == -1;
                if (shortest == 5 && plainRows) {
                    EXPECT_GE(floor * 2, static_cast<int64_t>(plan.records.size())) << "a floor of use";
                }
            }
        }
    }
}

TEST(PlanAssembly, NeedlesDroppedAsTooShortStillCountTowardsTheLimit)
{
    // A forged motif of 1-unit steps makes needles the short-stitch rule
    // drops; without a count of its own such a plan would run on for minutes.
    const Settings settings;
    Libraries libraries;
    stitch::PlanBuilder builder(settings, libraries, nullptr, 10);
    builder.beginObject({});
    int64_t placed = 0;
    while (!builder.exhausted() && placed < 50'000'000) {
        builder.needle({static_cast<double>(placed % 2), 0.0});
        ++placed;
    }
    EXPECT_TRUE(builder.overflowed());
    EXPECT_LE(placed, 2'000'000);
    EXPECT_LE(builder.recordCount(), 10);
}

TEST(PlanAssembly, DesignFarFromTheOriginStillExports)
{
    // Only extents count: DST moves are relative.
    auto ws = plainWorkspace();
    addObject(*ws, KindRun,
              runParams(straightEdge(2147480000.0, -2147480000.0, 2147480500.0, -2147480000.0)));
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    EXPECT_EQ(plan.records.front().x, 2147480000);
}

TEST(PlanAssembly, WholeDesignSurvivesTheTripThroughDst)
{
    auto ws = makeWorkspace(); // default configuration, tie-offs included
    buildSampleDesign(*ws);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    ASSERT_GT(plan.stitchCount(), 1000);

    const auto file = readDst(writeDst(plan, "sample"));
    ASSERT_TRUE(file.valid);
    std::size_t opening = 0;
    const auto back = dstToPlanFromCentre(file, plan.records, opening);
    ASSERT_EQ(back.size(), plan.records.size());
    int trims = 0;
    for (std::size_t i = 0; i < back.size(); ++i) {
        ASSERT_EQ(back[i].kind, plan.records[i].kind) << i;
        if (back[i].kind == StitchKind::Stitch || back[i].kind == StitchKind::Jump) {
            ASSERT_EQ(back[i].x, plan.records[i].x) << i;
            ASSERT_EQ(back[i].y, plan.records[i].y) << i;
        }
        trims += back[i].kind == StitchKind::Trim;
    }
    EXPECT_GT(trims, 0);
    EXPECT_EQ(std::stoll(file.header.at("ST")),
              static_cast<long long>(opening + plan.records.size() - 1 + 2 * trims));
    EXPECT_EQ(std::stoll(file.header.at("CO")), plan.colourChangeCount());
    int32_t minX = plan.records[0].x, maxX = minX, minY = plan.records[0].y, maxY = minY;
    for (const StitchRecord& r : plan.records) {
        minX = std::min(minX, r.x);
        maxX = std::max(maxX, r.x);
        minY = std::min(minY, r.y);
        maxY = std::max(maxY, r.y);
    }
    // Extents from the centre, even on both sides; trims reach one unit beyond the needle.
    const auto [cx, cy] = planCentre(plan.records);
    EXPECT_NEAR(std::stoll(file.header.at("+X")), maxX - cx, 1);
    EXPECT_NEAR(std::stoll(file.header.at("-X")), cx - minX, 1);
    EXPECT_NEAR(std::stoll(file.header.at("+Y")), cy - minY, 1);
    EXPECT_NEAR(std::stoll(file.header.at("-Y")), maxY - cy, 1);
    EXPECT_NEAR(std::stoll(file.header.at("+X")), std::stoll(file.header.at("-X")), 2);
    EXPECT_NEAR(std::stoll(file.header.at("+Y")), std::stoll(file.header.at("-Y")), 2);
}

} // namespace
} // namespace kelvara
