#include "stitch/dsttestreader.h"
#include "stitch/dstwriter.h"
#include "stitch/exptestreader.h"
#include "stitch/expwriter.h"
#include "stitch/jeftestreader.h"
#include "stitch/jefwriter.h"
#include "stitch/machinemoves.h"
#include "stitch/pestestreader.h"
#include "stitch/peswriter.h"
#include "stitch/readback.h"
#include "stitch/sampledesign.h"
#include "stitch/threadchart.h"

#include "shell/texts.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace testing;

ThreadChart chartFile(const char* file, const char* brand)
{
    ThreadChart chart;
    EXPECT_TRUE(loadThreadChart(std::string(KELVARA_SOURCE_DATA) + "/" + file, brand, chart).ok());
    return chart;
}

const ThreadChart& janome()
{
    static const ThreadChart chart = chartFile(kJanomeChartFile, "Janome");
    return chart;
}

const ThreadChart& brother()
{
    static const ThreadChart chart = chartFile(kBrotherChartFile, "Brother");
    return chart;
}

StitchPlan samplePlan()
{
    auto ws = std::make_unique<Workspace>();
    buildSampleDesign(*ws);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    return plan;
}

// A jump of 36 mm in 121-unit records, a trim, colour changes and a plan
// that opens far from its centre.
StitchPlan extremePlan(int colourChanges)
{
    StitchPlan plan;
    auto& r = plan.records;
    r.push_back({0, 0, 0x0000FF, StitchKind::Stitch});
    r.push_back({100, 0, 0x0000FF, StitchKind::Stitch});
    r.push_back({100, 0, 0x0000FF, StitchKind::Trim});
    for (int x = 221; x <= 463; x += 121)
        r.push_back({x, 0, 0x0000FF, StitchKind::Jump});
    r.push_back({500, 50, 0x0000FF, StitchKind::Stitch});
    for (int i = 0; i < colourChanges; ++i) {
        r.push_back({r.back().x, r.back().y, i % 2 ? 0x00FFFF : 0xFF0000, StitchKind::ColourChange});
        r.push_back({500 + (i % 7) * 10, 50 + (i % 3) * 10, 0, StitchKind::Stitch});
    }
    r.push_back({r.back().x, r.back().y, 0, StitchKind::End});
    return plan;
}

// A rectangle outline of the given size with its corner at the origin.
StitchPlan boxPlan(int32_t width, int32_t height)
{
    StitchPlan plan;
    auto walk = [&](int32_t tx, int32_t ty) {
        const StitchRecord from = plan.records.empty() ? StitchRecord{} : plan.records.back();
        const int32_t n = std::max({std::abs(tx - from.x), std::abs(ty - from.y), 1}) / 100 + 1;
        for (int32_t k = 1; k <= n; ++k)
            plan.records.push_back(
                {from.x + (tx - from.x) * k / n, from.y + (ty - from.y) * k / n, 0, StitchKind::Stitch});
    };
    plan.records.push_back({0, 0, 0, StitchKind::Stitch});
    walk(width, 0);
    walk(width, height);
    walk(0, height);
    walk(0, 0);
    plan.records.push_back({0, 0, 0, StitchKind::End});
    return plan;
}

void expectSameRecords(const StitchPlan& plan, const std::vector<StitchRecord>& back)
{
    ASSERT_EQ(back.size(), plan.records.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        ASSERT_EQ(back[i].kind, plan.records[i].kind) << "record " << i;
        ASSERT_EQ(back[i].x, plan.records[i].x) << "record " << i;
        ASSERT_EQ(back[i].y, plan.records[i].y) << "record " << i;
    }
}

// The chart code each colour change of the plan should carry.
void expectColourCodes(const StitchPlan& plan, const std::vector<StitchRecord>& back,
                       const ThreadChart& chart)
{
    for (std::size_t i = 0; i < back.size(); ++i) {
        if (plan.records[i].kind != StitchKind::ColourChange)
            continue;
        const int nearest = nearestThread(chart, plan.records[i].colour);
        ASSERT_EQ(back[i].colour, chart.threads[static_cast<std::size_t>(nearest)].code) << "record " << i;
    }
}

TEST(MachineFormats, ExpGivesBackEveryRecord)
{
    for (const StitchPlan& plan : {samplePlan(), extremePlan(3), extremePlan(300)}) {
        const PlanBox box = planExtents(plan);
        const ExpFile f =
            readExp(writeExp(plan), static_cast<int32_t>(box.centreX()), static_cast<int32_t>(box.centreY()));
        ASSERT_TRUE(f.valid);
        expectSameRecords(plan, withoutOpening(f.records, plan));
    }
}

TEST(MachineFormats, JefGivesBackEveryRecordThreadAndItsHeader)
{
    for (const StitchPlan& plan : {samplePlan(), extremePlan(3), extremePlan(300)}) {
        const PlanBox box = planExtents(plan);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(writeJef(plan, janome(), "20261207143000", bytes).ok());
        const JefFile f =
            readJef(bytes, static_cast<int32_t>(box.centreX()), static_cast<int32_t>(box.centreY()));
        ASSERT_TRUE(f.valid);
        const auto back = withoutOpening(f.records, plan);
        expectSameRecords(plan, back);
        expectColourCodes(plan, back, janome());

        EXPECT_EQ(f.date, "20261207143000");
        EXPECT_EQ(f.threadCount, plan.colourChangeCount() + 1);
        EXPECT_EQ(f.threadTypes, std::vector<int32_t>(static_cast<std::size_t>(f.threadCount), 0x0D));
        EXPECT_EQ(f.threadCodes.front(),
                  janome()
                      .threads[static_cast<std::size_t>(nearestThread(janome(), plan.records.front().colour))]
                      .code);
        EXPECT_EQ(f.extents[0], box.centreX() - box.left);
        EXPECT_EQ(f.extents[1], box.centreY() - box.top);
        EXPECT_EQ(f.extents[2], box.right - box.centreX());
        EXPECT_EQ(f.extents[3], box.bottom - box.centreY());
    }
}

TEST(MachineFormats, PesGivesBackEveryRecordPaletteAndItsHeader)
{
    for (const StitchPlan& plan : {samplePlan(), extremePlan(3), extremePlan(254)}) {
        const PlanBox box = planExtents(plan);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(writePes(plan, brother(), "badge\x01long name here", bytes).ok());
        const PesFile f = readPes(bytes, static_cast<int32_t>(box.centreX()), static_cast<int32_t>(box.centreY()));
        ASSERT_TRUE(f.valid);
        const auto back = withoutOpening(f.records, plan);
        expectSameRecords(plan, back);
        expectColourCodes(plan, back, brother());

        EXPECT_EQ(f.label, "badge_long name ");
        EXPECT_EQ(f.blockCount, 1);
        EXPECT_EQ(f.hoop, 0);
        EXPECT_EQ(f.width, box.width());
        EXPECT_EQ(f.height, box.height());
        EXPECT_EQ(static_cast<int64_t>(f.palette.size()), plan.colourChangeCount() + 1);
        ASSERT_EQ(f.thumbnails.size(), f.palette.size() + 1);
        // Every block draws into its own picture and into the whole one.
        for (const auto& t : f.thumbnails)
            EXPECT_NE(std::count(t.begin(), t.end(), 0), 228);
    }
}

// The PES file held the PEC block only, its moves starting at the top-left
// corner: readers placed the design at 0..W where the other formats centre it.
TEST(MachineFormats, BothPartsOfAPesPlaceTheDesignCentredAsTheOtherFormats)
{
    const StitchPlan plan = extremePlan(3);
    const PlanBox box = planExtents(plan);
    const auto cx = static_cast<int32_t>(box.centreX()), cy = static_cast<int32_t>(box.centreY());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(writePes(plan, brother(), "centred", bytes).ok());
    const PesFile pes = readPes(bytes, 0, 0);
    ASSERT_TRUE(pes.valid);
    const DstFile dst = readDst(writeDst(plan, "centred"));
    ASSERT_TRUE(dst.valid);
    const auto sewn = [](const std::vector<StitchRecord>& records) {
        std::vector<std::pair<int32_t, int32_t>> points;
        for (const StitchRecord& r : records)
            if (r.kind == StitchKind::Stitch)
                points.push_back({r.x, r.y});
        return points;
    };
    // Each file from its own origin: DST's is the centre.
    const auto dstPoints = sewn(dstToPlan(dst, 0, 0));
    ASSERT_FALSE(dstPoints.empty());
    EXPECT_EQ(sewn(pes.records), dstPoints);
    EXPECT_EQ(sewn(pes.designRecords), dstPoints);
    EXPECT_EQ((std::vector<int32_t>(pes.extents, pes.extents + 4)),
              (std::vector<int32_t>{int32_t(box.left) - cx, int32_t(box.top) - cy, int32_t(box.right) - cx,
                                    int32_t(box.bottom) - cy}));
    EXPECT_FLOAT_EQ(pes.moveX, 350 + 500);
    EXPECT_FLOAT_EQ(pes.moveY, 100 + 500);
    // The colour blocks' threads as the PEC block names them.
    EXPECT_EQ(pes.designRecords.back().colour, pes.palette.back());
    EXPECT_EQ(pes.designRecords.front().colour, pes.palette.front());
}

TEST(MachineFormats, EachFormatRefusesADesignBeyondItsLimitAndTakesOneAtIt)
{
    std::vector<uint8_t> bytes;
    const JefFile giga = [&] {
        EXPECT_TRUE(writeJef(boxPlan(2000, 2000), janome(), "", bytes).ok());
        return readJef(bytes, 1000, 1000);
    }();
    EXPECT_TRUE(giga.valid);
    EXPECT_EQ(giga.hoop, 4);
    EXPECT_EQ(giga.margins[0][0], -1);
    EXPECT_EQ(giga.margins[3][0], 0);
    EXPECT_TRUE(writeJef(boxPlan(1000, 1000), janome(), "", bytes).ok());
    EXPECT_EQ(readJef(bytes, 500, 500).hoop, 0);
    EXPECT_TRUE(writeJef(boxPlan(400, 300), janome(), "", bytes).ok());
    EXPECT_EQ(readJef(bytes, 200, 150).hoop, 1);
    EXPECT_EQ(writeJef(boxPlan(2002, 1000), janome(), "", bytes).slot, kSlotJefTooLarge);
    EXPECT_TRUE(bytes.empty());

    EXPECT_TRUE(writePes(boxPlan(1300, 1800), brother(), "big", bytes).ok());
    EXPECT_EQ(readPes(bytes, 0, 0).hoop, 1);
    EXPECT_EQ(writePes(boxPlan(1301, 1800), brother(), "big", bytes).slot, kSlotPesTooLarge);
    EXPECT_TRUE(bytes.empty());
    // A count byte of 0xFF would mean no colours at all.
    EXPECT_EQ(writePes(extremePlan(255), brother(), "many", bytes).slot, kSlotPesTooManyBlocks);

    // Moves of 100 units take four bytes each: 4.2 M of them overflow the
    // thumbnails' three-byte offset, which must be refused, not wrapped.
    StitchPlan zigzag;
    const int32_t moves = (0xFFFFFF / 4) + 16;
    zigzag.records.reserve(std::size_t(moves) + 1);
    for (int32_t i = 0; i < moves; ++i)
        zigzag.records.push_back({(i % 2) * 100, 0, 0, StitchKind::Stitch});
    zigzag.records.push_back({0, 0, 0, StitchKind::End});
    EXPECT_EQ(writePes(zigzag, brother(), "huge", bytes).slot, kSlotPesTooManyStitches);
    EXPECT_TRUE(bytes.empty());
}

TEST(MachineFormats, TheChosenHoopIsNamedWhereTheFormatHasItAndHoldsTheDesign)
{
    std::vector<uint8_t> bytes;
    const Hoop large{"Janome 140 x 200", 1400, 2000, HoopShape::Rounded};
    const Hoop brother130{"Brother 130 x 180", 1300, 1800, HoopShape::Rounded};
    const Hoop small{"Janome 50 x 50", 500, 500, HoopShape::Rounded};
    ASSERT_TRUE(writeJef(boxPlan(400, 300), janome(), "", bytes, &large).ok());
    EXPECT_EQ(readJef(bytes, 200, 150).hoop, 2);
    // No Janome hoop of the Brother size, and a hoop too small: the smallest that holds it.
    ASSERT_TRUE(writeJef(boxPlan(400, 300), janome(), "", bytes, &brother130).ok());
    EXPECT_EQ(readJef(bytes, 200, 150).hoop, 1);
    ASSERT_TRUE(writeJef(boxPlan(1000, 1000), janome(), "", bytes, &small).ok());
    EXPECT_EQ(readJef(bytes, 500, 500).hoop, 0);
    ASSERT_TRUE(writePes(boxPlan(400, 300), brother(), "small", bytes, &brother130).ok());
    EXPECT_EQ(readPes(bytes, 0, 0).hoop, 1);
    ASSERT_TRUE(writePes(boxPlan(400, 300), brother(), "small", bytes, &small).ok());
    EXPECT_EQ(readPes(bytes, 0, 0).hoop, 0);
}

TEST(ThreadCharts, HandPickedColoursFindTheirThreads)
{
    const auto code = [](const ThreadChart& chart, int r, int g, int b) {
        return chart.threads[static_cast<std::size_t>(nearestThread(chart, r | g << 8 | b << 16))].code;
    };
    EXPECT_EQ(janome().threads.size(), 24u);
    EXPECT_EQ(brother().threads.size(), 64u);
    EXPECT_EQ(code(brother(), 255, 0, 0), 5);      // Red
    EXPECT_EQ(code(brother(), 255, 230, 10), 13);  // Yellow
    EXPECT_EQ(code(brother(), 250, 250, 250), 29); // White
    EXPECT_EQ(code(brother(), 10, 10, 10), 20);    // Black
    EXPECT_EQ(code(janome(), 0, 0, 0), 1);         // Black
    EXPECT_EQ(code(janome(), 255, 200, 0), 3);     // Sunflower
    EXPECT_EQ(code(janome(), 40, 110, 50), 6);     // Green
    EXPECT_EQ(code(janome(), 150, 0, 50), 20);     // Wine Red
    EXPECT_EQ(nearestThread(ThreadChart{}, 0), -1);
}

TEST(ThreadCharts, AnyOtherBytesAreRefusedAndLeaveTheChartEmpty)
{
    const std::string bad[] = {
        "",
        "1 $FF0000\n",       // no name
        "0 $FF0000 Red\n",   // code below 1
        "256 $FF0000 Red\n", // code beyond a byte
        "1 FF0000 Red\n",    // colour without $
        "1 $1FF0000 Red\n",  // more than 24 bits
        "1 $FF0000 Red\n1 $00FF00 Green\n",
        std::string("\x00\xFF\x80 \x01\x02 garbage\n", 16),
    };
    for (const std::string& bytes : bad) {
        auto lines = std::make_unique<LineTable>();
        readTextBytes(*lines, bytes);
        ThreadChart chart;
        chart.threads.push_back({1, 0, "left over"});
        EXPECT_FALSE(readThreadChart(*lines, chart).ok()) << bytes;
        EXPECT_TRUE(chart.threads.empty());
    }
    ThreadChart missing;
    EXPECT_EQ(loadThreadChart("/nonexistent/chart.txt", "Janome", missing).slot, kSlotChartEmpty);
}

} // namespace
} // namespace kelvara
