#include "stitch/objectplancache.h"
#include "model/recordgeometry.h"
#include "stitch/sampledesign.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kelvara {
namespace {

using testing::addObject;

struct Point {
    int32_t x, y, colour;
    bool operator==(const Point&) const = default;
};

// The needle positions that stitch, without a stitch onto the same spot.
std::vector<Point> stitchPath(const std::vector<StitchRecord>& records, std::vector<Point> path = {})
{
    for (const StitchRecord& r : records)
        if (r.kind == StitchKind::Stitch && (path.empty() || path.back() != Point{r.x, r.y, r.colour}))
            path.push_back({r.x, r.y, r.colour});
    return path;
}

// The cache must show what the export stitches, lock for lock: the status
// bar's count is the file's count.
void expectSameAsWholePlan(const Workspace& ws, const ObjectPlanCache& cache)
{
    StitchPlan whole;
    ASSERT_EQ(generatePlan(ws, whole), PlanStatus::Ok);
    std::vector<Point> pieces;
    for (int32_t row : cache.order())
        pieces = stitchPath(cache.piece(row).plan.records, std::move(pieces));
    // Each piece knows where the needle comes from, so columns start at the
    // same end and fills at the same place as in the export.
    EXPECT_EQ(pieces, stitchPath(whole.records));
    EXPECT_EQ(cache.stitchCount(), whole.stitchCount());
    EXPECT_EQ(cache.status(), PlanStatus::Ok);
}

// Two same-coloured lines meeting end to start, the second without a stitch
// of its own at the join, then a jump line and a trimmed line.
void addJoinedLines(Workspace& ws)
{
    addObject(ws, KindRun, testing::runParams(testing::straightEdge(100, 100, 300, 100)));
    addObject(ws, KindRun, testing::runParams(testing::straightEdge(300, 100, 300, 300)));
    ObjectParams hop = testing::runParams(testing::straightEdge(300, 300, 600, 600));
    hop.run.JUMP = 0;
    addObject(ws, KindRun, hop);
    ObjectParams trimmed = testing::runParams(testing::straightEdge(600, 600, 700, 650));
    trimmed.run.TRIM = 1;
    addObject(ws, KindRun, trimmed);
}

// Pieces were stitched without their neighbours: every one locked at both
// ends, a few stitches more than the file around each trim and colour change.
TEST(ObjectPlanCache, PiecesStitchAsTheWholePlan)
{
    for (const int variant : {0, 1, 2}) {
        const bool ties = variant != 1;
        SCOPED_TRACE(variant);
        auto ws = testing::makeWorkspace();
        if (!ties)
            ws->settings = testing::plainSettings();
        // Columns and closed lines then end towards the next object too.
        ws->settings.ENTRYEXIT = variant == 2 ? 1 : 0;
        testing::buildSampleDesign(*ws);
        addJoinedLines(*ws);
        testing::buildGridDesign(*ws, 40);
        ObjectPlanCache cache;
        cache.update(*ws);
        expectSameAsWholePlan(*ws, cache);
        // Jumps between objects are kept as the moves they are.
        EXPECT_FALSE(cache.connections().empty());
    }
}

TEST(ObjectPlanCache, AnEditStitchesOnlyTheChangedObjectAndReportsWhereItWas)
{
    auto ws = testing::makeWorkspace();
    testing::buildGridDesign(*ws, 30);
    ObjectPlanCache cache;
    cache.update(*ws);
    const PlanSnapshot before = cache.snapshot();

    // Object 7 (a satin) moves right and changes colour.
    const int32_t row = cache.order()[7];
    SatenParams& satin = ws->records[ws->table.rows[row].params].saten;
    satin.edgeA.x1 += 40;
    satin.edgeA.x2 += 40;
    satin.edgeB.x1 += 40;
    satin.edgeB.x2 += 40;
    satin.colour = 0x0000FF;
    cache.update(*ws);
    expectSameAsWholePlan(*ws, cache);

    const PlanSnapshot after = cache.snapshot();
    // Its neighbours are stitched again only for the locks its new colour
    // asks; the fills before it are too far from it to reach under it.
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
        if (i < 6 || i > 8 || i == 7) {
            EXPECT_EQ(after.entries[i].generation == before.entries[i].generation, i != 7) << i;
        }
    }
    bool reordered = true;
    const std::vector<PlanBox> boxes = changedBoxes(before, after, reordered);
    EXPECT_FALSE(reordered);
    PlanBox all;
    for (const PlanBox& b : boxes)
        all.add(b);
    PlanBox expected = before.entries[7].box;
    expected.add(after.entries[7].box);
    // The piece's old and new place, and the moves into and out of it.
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), before.entries[7].box), boxes.end());
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), after.entries[7].box), boxes.end());
    EXPECT_LE(all.left, expected.left);
    EXPECT_GE(all.right, expected.right);
    for (const PlanBox& b : boxes) // nothing far from the two neighbours' cells
        EXPECT_LE(b.right - b.left, 3 * 160);

    // Moving an object to the end changes how pieces overlap anywhere: all
    // is drawn again, unless the moved piece, stitched again from where its
    // new neighbour leaves the needle, is drawn again at both places.
    unlinkRow(ws->table, row);
    insertAfter(ws->table, row, -1);
    cache.update(*ws);
    const std::vector<PlanBox> moved = changedBoxes(after, cache.snapshot(), reordered);
    const auto drawn = [&](const PlanBox& box) { return std::find(moved.begin(), moved.end(), box) != moved.end(); };
    EXPECT_TRUE(reordered || (drawn(after.entries[7].box) && drawn(cache.piece(row).box)));
}

// A fill reaches under the borders sewn after it: moving one stitches the
// fill again, as the export would, though the fill itself did not change.
TEST(ObjectPlanCache, AFillFollowsTheBordersSewnAfterIt)
{
    auto ws = testing::makeWorkspace();
    testing::buildSampleDesign(*ws);
    ObjectPlanCache cache;
    cache.update(*ws);
    const int32_t disc = cache.order().front();
    const uint64_t before = cache.piece(disc).generation;
    for (int32_t row : cache.order())
        if (ws->table.rows[static_cast<std::size_t>(row)].kind == KindSaten) {
            ObjectParams& banner = ws->records[ws->table.rows[static_cast<std::size_t>(row)].params];
            ASSERT_TRUE(translateRecord(KindSaten, banner, 0, -25));
        }
    cache.update(*ws);
    EXPECT_NE(cache.piece(disc).generation, before);
    expectSameAsWholePlan(*ws, cache);
}

TEST(ObjectPlanCache, DeletedObjectsAreDroppedAndTheDesignLimitsStillHold)
{
    auto ws = testing::makeWorkspace();
    testing::buildSampleDesign(*ws);
    ObjectPlanCache cache;
    cache.update(*ws);
    const int32_t first = cache.order().front();
    const PlanBox firstBox = cache.piece(first).box;
    const int32_t next = ws->table.rows[first].next;
    unlinkRow(ws->table, first);
    ws->table.firstObject = next;
    --ws->table.objectCount;
    const PlanSnapshot before = cache.snapshot();
    cache.update(*ws);
    EXPECT_EQ(cache.piece(first).kind, KindFree);
    expectSameAsWholePlan(*ws, cache);
    bool reordered = true;
    const std::vector<PlanBox> boxes = changedBoxes(before, cache.snapshot(), reordered);
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), firstBox), boxes.end());

    // An object pushed beyond what the machine format spans refuses the design.
    ObjectParams far = testing::runParams(testing::straightEdge(0, 0, kMaxExtent + 10, 0));
    addObject(*ws, KindRun, far);
    cache.update(*ws);
    StitchPlan whole;
    EXPECT_EQ(generatePlan(*ws, whole), PlanStatus::TooLarge);
    EXPECT_EQ(cache.status(), PlanStatus::TooLarge);
}

// A planning thread stops between objects when the design changed again,
// and hands the window copies while it goes on: a stopped update must leave
// pieces the next one can keep, and a copy must keep its own plan.
TEST(ObjectPlanCache, AStoppedUpdateResumesAndACopyKeepsItsPlan)
{
    auto ws = testing::makeWorkspace();
    testing::buildGridDesign(*ws, 30);
    ObjectPlanCache cache;
    int64_t calls = 0;
    EXPECT_FALSE(cache.update(PlanSource(*ws), [&](int64_t done, int64_t total) {
        ++calls;
        EXPECT_EQ(total, 60);
        return done < 17; // stops in the middle of the first pass
    }));
    EXPECT_EQ(calls, 17);
    EXPECT_TRUE(cache.update(PlanSource(*ws), [](int64_t, int64_t) { return true; }));
    expectSameAsWholePlan(*ws, cache);

    const ObjectPlanCache copy = cache;
    const int32_t row = cache.order()[4];
    const std::vector<StitchRecord> before = copy.piece(row).plan.records;
    ws->records[ws->table.rows[row].params].star.RX += 30;
    cache.update(*ws);
    expectSameAsWholePlan(*ws, cache);
    EXPECT_NE(cache.piece(row).plan.records.size(), before.size());
    EXPECT_EQ(copy.piece(row).plan.records.size(), before.size());
    EXPECT_NE(copy.snapshot().entries[4].generation, cache.snapshot().entries[4].generation);
}

} // namespace
} // namespace kelvara
