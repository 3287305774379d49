#include "stitch/planahead.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchrender.h"
#include "stitch/threadraster.h"
#include "support/workspacefixture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace kelvara {
namespace {

using namespace testing;

std::vector<std::tuple<int32_t, int32_t, int32_t, StitchKind>> fields(const std::vector<StitchRecord>& records)
{
    std::vector<std::tuple<int32_t, int32_t, int32_t, StitchKind>> out;
    for (const StitchRecord& r : records)
        out.emplace_back(r.x, r.y, r.colour, r.kind);
    return out;
}

// A jump line first (its jumps take the first thread's colour only once a
// later object stitches), a line that stitches nothing in the middle, a
// trim, then the badge.
std::unique_ptr<Workspace> awkwardDesign()
{
    auto ws = makeWorkspace();
    ObjectParams hop = runParams(straightEdge(0, 0, 300, 200));
    hop.run.JUMP = 0;
    addObject(*ws, KindRun, hop);
    ObjectParams first = runParams(straightEdge(300, 200, 600, 200));
    first.run.colour = 0x2020D0;
    first.run.TRIM = 1;
    addObject(*ws, KindRun, first);
    addObject(*ws, KindRun, runParams(straightEdge(650, 250, 650, 250)));
    buildSampleDesign(*ws);
    return ws;
}

TEST(PlanStream, HandsOverTheWholePlansRecordsObjectByObject)
{
    auto ws = awkwardDesign();
    StitchPlan nothing;
    ASSERT_EQ(generateObjectPlan(KindRun, ws->records[ws->table.rows[2].params], ws->libraries, ws->settings,
                                 nothing),
              PlanStatus::Empty);
    StitchPlan whole;
    ASSERT_EQ(generatePlan(*ws, whole), PlanStatus::Ok);
    std::vector<StitchRecord> streamed;
    int stretches = 0;
    // Through the thread that stitches ahead, as the command line draws.
    const PlanReplay ahead = stitchedAhead(replayOf(*ws));
    ASSERT_EQ(ahead([&](std::span<const StitchRecord> records) {
                  EXPECT_FALSE(records.empty());
                  streamed.insert(streamed.end(), records.begin(), records.end());
                  ++stretches;
              }),
              PlanStatus::Ok);
    EXPECT_EQ(fields(streamed), fields(whole.records));
    EXPECT_GT(stretches, 5);

    // A refused design says so as generatePlan does.
    addObject(*ws, KindRun, runParams(straightEdge(0, 0, kMaxExtent + 10, 0)));
    EXPECT_EQ(generatePlan(*ws, whole), PlanStatus::TooLarge);
    EXPECT_EQ(streamPlan(*ws, [](std::span<const StitchRecord>) {}), PlanStatus::TooLarge);
}

// A drawing that fails part-way does not leave the stitching thread waiting.
TEST(PlanStream, ASinkThatThrowsStopsTheStitchingThread)
{
    auto ws = makeWorkspace();
    buildGridDesign(*ws, 60);
    int seen = 0;
    const PlanReplay ahead = stitchedAhead(replayOf(*ws));
    EXPECT_THROW(ahead([&](std::span<const StitchRecord>) {
                     if (++seen == 3)
                         throw std::runtime_error("full");
                 }),
                 std::runtime_error);
    EXPECT_EQ(seen, 3);
}

// The plan split at odd places draws what it draws whole, in both looks;
// a run of one thread longer than a drawing batch draws as one call to
// the painter draws it.
TEST(PlanStream, StretchesDrawThePictureOfTheWholePlan)
{
    auto ws = awkwardDesign();
    StitchPlan whole;
    ASSERT_EQ(generatePlan(*ws, whole), PlanStatus::Ok);
    const PlanReplay bySevens = [&](const RecordSink& sink) {
        for (std::size_t i = 0; i < whole.records.size(); i += 7)
            sink(std::span(whole.records).subspan(i, std::min<std::size_t>(7, whole.records.size() - i)));
        return PlanStatus::Ok;
    };
    for (const bool thread : {true, false}) {
        const StitchLook look{thread, 0x405060};
        const QImage one = renderStitchImageAt(whole, 0.8, look);
        ASSERT_FALSE(one.isNull());
        EXPECT_EQ(renderStitchImageAt(bySevens, 0.8, look), one) << thread;
    }

    StitchPlan zigzag;
    for (int i = 0; i < 5000; ++i)
        zigzag.records.push_back({(i % 50) * 6, i / 50 * 3 + (i % 2) * 5, 0x30A030, StitchKind::Stitch});
    std::vector<QLineF> lines; // the first stitch goes down where the needle is
    for (std::size_t i = 0; i < zigzag.records.size(); ++i) {
        const StitchRecord& from = zigzag.records[i > 0 ? i - 1 : 0];
        lines.emplace_back(from.x, from.y, zigzag.records[i].x, zigzag.records[i].y);
    }
    QImage batched(320, 320, QImage::Format_RGB32), single(320, 320, QImage::Format_RGB32);
    batched.fill(Qt::black);
    single.fill(Qt::black);
    {
        QPainter painter(&batched);
        drawStitchPlan(painter, zigzag, 1, 0, 0);
    }
    {
        QPainter painter(&single);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(threadColour(0x30A030), kThreadWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
    EXPECT_EQ(batched, single);
}

// Many records are painted in bands side by side; each pixel must still
// take its strands in plan order, as when a few are painted at a time.
TEST(PlanStream, ThreadBandsPaintWhatOneCorePaints)
{
    std::vector<StitchRecord> records;
    for (int i = 0; i < 12000; ++i)
        records.push_back({(i * 37) % 400, (i * 53) % 300, (i % 7) * 0x203010, StitchKind::Stitch});
    const RasterView view{0.7, -3, -2};
    QImage banded(290, 220, QImage::Format_RGB32), serial(290, 220, QImage::Format_RGB32);
    banded.fill(Qt::black);
    serial.fill(Qt::black);
    rasterThreads(banded, banded.rect(), records, view);
    ThreadRaster few(serial, serial.rect(), view);
    for (std::size_t i = 0; i < records.size(); i += 1000) {
        few.add(std::span(records).subspan(i, 1000));
        few.finish();
    }
    EXPECT_EQ(banded, serial);
}

} // namespace
} // namespace kelvara
