// The machine file readers: what our writers write comes back record for
// record, files laid out by hand from the public descriptions read as those
// describe, and cut or forged files are refused with their reason.
#include "stitch/dstwriter.h"
#include "stitch/expwriter.h"
#include "stitch/jefwriter.h"
#include "stitch/machinereader.h"
#include "stitch/peswriter.h"
#include "stitch/sampledesign.h"
#include "stitch/threadchart.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvara {
namespace {

using namespace testing;
using Bytes = std::vector<uint8_t>;

const ThreadChart& chart(bool brother)
{
    static const auto load = [](const char* file, const char* brand) {
        ThreadChart c;
        EXPECT_TRUE(loadThreadChart(std::string(KELVARA_SOURCE_DATA) + "/" + file, brand, c).ok());
        return c;
    };
    static const ThreadChart janome = load(kJanomeChartFile, "Janome");
    static const ThreadChart brotherChart = load(kBrotherChartFile, "Brother");
    return brother ? brotherChart : janome;
}

std::string_view view(const Bytes& b)
{
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

enum class Format { Dst, Exp, Jef, Pes };
constexpr Format kFormats[] = {Format::Dst, Format::Exp, Format::Jef, Format::Pes};

Bytes write(Format f, const StitchPlan& plan)
{
    Bytes out;
    switch (f) {
    case Format::Dst:
        return writeDst(plan, "roundtrip");
    case Format::Exp:
        return writeExp(plan);
    case Format::Jef:
        EXPECT_TRUE(writeJef(plan, chart(false), "20260101120000", out).ok());
        return out;
    case Format::Pes:
        EXPECT_TRUE(writePes(plan, chart(true), "roundtrip", out).ok());
        return out;
    }
    return out;
}

MachineRead read(Format f, const Bytes& b)
{
    switch (f) {
    case Format::Dst:
        return readDst(view(b));
    case Format::Exp:
        return readExp(view(b));
    case Format::Jef:
        return readJef(view(b), chart(false));
    case Format::Pes:
        return readPes(view(b), chart(true));
    }
    return {};
}

StitchPlan samplePlan()
{
    auto ws = std::make_unique<Workspace>();
    buildSampleDesign(*ws);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    return plan;
}

// Jumps of 121 units, a trim, stops (two changes to one thread) and a plan
// that opens far from its centre.
StitchPlan edgePlan()
{
    StitchPlan plan;
    auto& r = plan.records;
    r.push_back({0, 0, 0x0000FF, StitchKind::Stitch});
    r.push_back({100, 0, 0x0000FF, StitchKind::Stitch});
    r.push_back({100, 0, 0x0000FF, StitchKind::Trim});
    for (int x = 221; x <= 463; x += 121)
        r.push_back({x, 0, 0x0000FF, StitchKind::Jump});
    r.push_back({500, 50, 0x0000FF, StitchKind::Stitch});
    for (int i = 0; i < 4; ++i) {
        r.push_back({r.back().x, r.back().y, i < 2 ? 0x00FF00 : 0xFF0000, StitchKind::ColourChange});
        r.push_back({500 + i * 10, 60 - i * 7, r.back().colour, StitchKind::Stitch});
    }
    r.push_back({r.back().x, r.back().y, r.back().colour, StitchKind::End});
    return plan;
}

// The plan as a reader gives it back: without the travel to the first stitch.
std::vector<StitchRecord> fromFirstStitch(const StitchPlan& plan)
{
    auto first = plan.records.begin();
    while (first != plan.records.end() && first->kind != StitchKind::Stitch)
        ++first;
    return {first, plan.records.end()};
}

TEST(MachineReaders, EachFormatGivesBackWhatOurWriterWroteRecordForRecord)
{
    for (const StitchPlan& plan : {samplePlan(), edgePlan()}) {
        const std::vector<StitchRecord> want = fromFirstStitch(plan);
        for (Format f : kFormats) {
            SCOPED_TRACE(static_cast<int>(f));
            const MachineRead got = read(f, write(f, plan));
            ASSERT_TRUE(got.read) << got.refusal << " " << builtInText(got.where);
            ASSERT_EQ(got.plan.records.size(), want.size());
            // The file's start is its own origin: one shift for every record.
            const int32_t sx = want[0].x - got.plan.records[0].x, sy = want[0].y - got.plan.records[0].y;
            for (std::size_t i = 0; i < want.size(); ++i) {
                const StitchRecord& g = got.plan.records[i];
                ASSERT_EQ(g.kind, want[i].kind) << i;
                ASSERT_EQ(g.x + sx, want[i].x) << i;
                ASSERT_EQ(g.y + sy, want[i].y) << i;
                if (f == Format::Jef || f == Format::Pes) {
                    const ThreadChart& c = chart(f == Format::Pes);
                    ASSERT_EQ(g.colour,
                              c.threads[static_cast<std::size_t>(nearestThread(c, want[i].colour))].colour)
                        << i;
                }
            }
        }
    }
}

TEST(MachineReaders, LabelsAndColourlessBlocksStandApart)
{
    const StitchPlan plan = edgePlan();
    EXPECT_EQ(read(Format::Dst, write(Format::Dst, plan)).label, "roundtrip");
    EXPECT_EQ(read(Format::Pes, write(Format::Pes, plan)).label, "roundtrip");
    // DST carries no colours: each block takes the next of the cycle, a stop too.
    const MachineRead dst = read(Format::Dst, write(Format::Dst, plan));
    int32_t last = dst.plan.records.front().colour;
    for (const StitchRecord& r : dst.plan.records) {
        if (r.kind == StitchKind::ColourChange)
            EXPECT_NE(r.colour, last);
        last = r.colour;
    }
}

void put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<StitchRecord> records(std::initializer_list<StitchRecord> r)
{
    return r;
}

void expectRecords(const MachineRead& got, const std::vector<StitchRecord>& want, bool colours = true)
{
    ASSERT_TRUE(got.read) << got.refusal << " " << builtInText(got.where);
    ASSERT_EQ(got.plan.records.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const StitchRecord& g = got.plan.records[i];
        EXPECT_EQ(g.kind, want[i].kind) << i;
        EXPECT_EQ(g.x, want[i].x) << i;
        EXPECT_EQ(g.y, want[i].y) << i;
        if (colours)
            EXPECT_EQ(g.colour, want[i].colour) << i;
    }
}

TEST(MachineReaders, DstByHandTrustsItsStitchesOverItsHeader)
{
    std::string header = "LA:handmade        \rST:      2\rCO:  0\r+X:99999\r-X:99999\r+Y:    1\r-Y:    1\r"
                         "AX:+    0\rAY:+    0\rMX:+    0\rMY:+    0\rPD:******\r\x1A";
    header.resize(kDstHeaderSize, ' ');
    Bytes b(header.begin(), header.end());
    b.insert(b.end(), {
                          0x00, 0x00, 0x87, // jump x+81: the travel to the first stitch
                          0x01, 0x00, 0x03, // stitch x+1
                          0x80, 0x00, 0x03, // stitch y+1 (up)
                          0x81, 0x00, 0x83, 0x81, 0x42, 0x83, 0x81, 0x00, 0x83, // +1+1, -2-2, +1+1: a trim
                          0x00, 0x00, 0x87,                                     // jump x+81
                          0x00, 0x00, 0xC3,                                     // colour change
                          0x04, 0x00, 0x03,                                     // stitch x+9
                          0x00, 0x00, 0xF3,                                     // end
                      });
    const int32_t a = unnamedThreadColour(0), c = unnamedThreadColour(1);
    expectRecords(readDst(view(b)), records({{82, 0, a, StitchKind::Stitch},
                                             {82, -1, a, StitchKind::Stitch},
                                             {82, -1, a, StitchKind::Trim},
                                             {163, -1, a, StitchKind::Jump},
                                             {163, -1, c, StitchKind::ColourChange},
                                             {172, -1, c, StitchKind::Stitch},
                                             {172, -1, c, StitchKind::End}}));
    EXPECT_EQ(readDst(view(b)).label, "handmade");
}

TEST(MachineReaders, ExpByHandReadsTrimCommandsAndJumpTriples)
{
    const Bytes b{0x0A, 0x00,             // stitch +10
                  0x80, 0x80, 0x07, 0x00, // trim; its bytes are no move
                  0x80, 0x04, 0x0A, 0x0A, // jump +10, +10 up
                  0x80, 0x04, 0x01, 0x01, 0x80, 0x04,
                  0xFE, 0xFE, 0x80, 0x04, 0x01, 0x01, // a trim as three jumps
                  0x80, 0x01, 0x00, 0x00,             // colour change
                  0x80, 0x02, 0x00, 0x00,             // a stop keeps the thread
                  0x02, 0xFE};                        // stitch +2, -2 up
    const int32_t a = unnamedThreadColour(0), c = unnamedThreadColour(1);
    expectRecords(readExp(view(b)), records({{10, 0, a, StitchKind::Stitch},
                                             {10, 0, a, StitchKind::Trim},
                                             {20, -10, a, StitchKind::Jump},
                                             {20, -10, a, StitchKind::Trim},
                                             {20, -10, c, StitchKind::ColourChange},
                                             {20, -10, c, StitchKind::Jump},
                                             {22, -8, c, StitchKind::Stitch},
                                             {22, -8, c, StitchKind::End}}));
}

TEST(MachineReaders, JefByHandNamesKnownThreadsAndCyclesUnknownOnes)
{
    Bytes b;
    put32(b, 0x74 + 8 * 3);
    put32(b, 0x14);
    for (char ch : std::string("20260101120000\0\0", 16))
        b.push_back(static_cast<uint8_t>(ch));
    put32(b, 3); // threads
    put32(b, 0); // the stitch count is not trusted
    while (b.size() < 0x74)
        b.push_back(0xFF);
    put32(b, 2);   // white
    put32(b, 999); // no such thread
    put32(b, 1);   // black
    for (int i = 0; i < 3; ++i)
        put32(b, 0x0D);
    b.insert(b.end(), {0x0A, 0x00, 0x80, 0x02, 0x00, 0x00, 0x80, 0x02, 0x14, 0xEC, 0x80, 0x01,
                       0x00, 0x00, 0x05, 0x05, 0x80, 0x01, 0x00, 0x00, 0x01, 0x00, 0x80, 0x10});
    const int32_t white = chartThreadColour(chart(false), 2, 0), unknown = unnamedThreadColour(1),
                  black = chartThreadColour(chart(false), 1, 2);
    EXPECT_EQ(white, 0xF0F0F0);
    EXPECT_EQ(black, 0);
    expectRecords(readJef(view(b), chart(false)), records({{10, 0, white, StitchKind::Stitch},
                                                           {10, 0, white, StitchKind::Trim},
                                                           {30, 20, white, StitchKind::Jump},
                                                           {30, 20, unknown, StitchKind::ColourChange},
                                                           {35, 15, unknown, StitchKind::Stitch},
                                                           {35, 15, black, StitchKind::ColourChange},
                                                           {36, 15, black, StitchKind::Stitch},
                                                           {36, 15, black, StitchKind::End}}));
}

// A PES whose design section (if any) sits between its header and the PEC block.
Bytes handPes(const std::string& designSection)
{
    Bytes b;
    const std::string magic = designSection.empty() ? "#PES0001" : "#PES0060";
    b.insert(b.end(), magic.begin(), magic.end());
    put32(b, static_cast<uint32_t>(12 + designSection.size()));
    b.insert(b.end(), designSection.begin(), designSection.end());
    const std::size_t pec = b.size();
    const std::string la = "LA:handmade pes    \r";
    b.insert(b.end(), la.begin(), la.end());
    b.resize(pec + 48, 0x20);
    b.insert(b.end(), {0x01, 5, 200}); // two threads: Brother 5, then a code no chart has
    b.resize(pec + 512, 0x20);
    b.resize(pec + 512 + 16, 0x00);
    b.insert(b.end(), {0x90, 0x0A, 0x90, 0x05, // jump +10, +5: the travel
                       0x03, 0x7E,             // stitch +3, -2
                       0xFE, 0xB0, 0x02,       // thread change
                       0x80, 0x64, 0x00,       // stitch +100 (12 bits), 0
                       0xA0, 0x00, 0xA0, 0x00, // trim
                       0xFF});
    return b;
}

TEST(MachineReaders, PesByHandReadsThePecBlockWithOrWithoutADesignSection)
{
    const int32_t red = chartThreadColour(chart(true), 5, 0), unknown = unnamedThreadColour(1);
    EXPECT_NE(red, unknown);
    const auto want = records({{13, 3, red, StitchKind::Stitch},
                               {13, 3, unknown, StitchKind::ColourChange},
                               {113, 3, unknown, StitchKind::Stitch},
                               {113, 3, unknown, StitchKind::Trim},
                               {113, 3, unknown, StitchKind::End}});
    // A design section of 32 bytes: a header naming one CEmbOne, then zeros.
    std::string designSection("\x01\x00\x00\x00\x01\x00\xFF\xFF\x00\x00"
                              "\x07\x00"
                              "CEmbOne",
                              19);
    designSection.resize(32, '\0');
    for (const std::string& section : {std::string(), designSection}) {
        const MachineRead got = readPes(view(handPes(section)), chart(true));
        expectRecords(got, want);
        EXPECT_EQ(got.label, "handmade pes");
    }
}

TEST(MachineReaders, CutFilesAreRefusedAtEveryLength)
{
    const StitchPlan plan = edgePlan();
    for (Format f : kFormats) {
        const Bytes whole = write(f, plan);
        const MachineRead full = read(f, whole);
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            const MachineRead got = read(f, Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
            if (!got.read) {
                EXPECT_NE(got.refusal, kSlotMachineFileForged) << static_cast<int>(f) << " cut at " << cut;
                continue;
            }
            // Only what ends on a whole record (EXP has no end mark) or cuts
            // the PES thumbnails after the end mark may still be read.
            if (f == Format::Exp) {
                EXPECT_EQ(cut % 2, 0u);
            } else {
                ASSERT_EQ(f, Format::Pes) << "cut at " << cut;
                EXPECT_EQ(got.plan.records.size(), full.plan.records.size());
            }
        }
    }
}

TEST(MachineReaders, ForgedSizesAndStrangeFilesAreRefusedWithTheirReason)
{
    const StitchPlan plan = edgePlan();
    struct Case {
        const char* name;
        Format format;
        std::function<void(Bytes&)> forge;
        MessageSlot refusal;
    };
    const Case cases[] = {
        {"jef thread count beyond the file", Format::Jef, [](Bytes& b) { b[27] = 0x7F; },
         kSlotMachineFileForged},
        {"jef stitches beyond the file", Format::Jef, [](Bytes& b) { b[2] = 0x10; },
         kSlotMachineFileTruncated},
        {"jef stitches inside the header", Format::Jef, [](Bytes& b) { b[0] = 0x10; },
         kSlotMachineFileNotFormat},
        {"jef unknown command", Format::Jef,
         [](Bytes& b) {
             b.insert(b.end() - 2, {0x80, 0x07, 0, 0});
         },
         kSlotMachineFileNotFormat},
        {"pes PEC beyond the file", Format::Pes, [](Bytes& b) { b[11] = 0x40; }, kSlotMachineFileTruncated},
        {"pes PEC inside its own offset", Format::Pes, [](Bytes& b) { b[8] = 4; }, kSlotMachineFileForged},
        {"pes not a PES", Format::Pes, [](Bytes& b) { b[1] = 'X'; }, kSlotMachineFileNotFormat},
        {"pes PEC without LA:", Format::Pes,
         [](Bytes& b) { b[std::size_t(b[8]) | std::size_t(b[9]) << 8 | std::size_t(b[10]) << 16] = 'X'; },
         kSlotMachineFileNotFormat},
        {"dst without LA:", Format::Dst, [](Bytes& b) { b[0] = 'X'; }, kSlotMachineFileNotFormat},
        {"dst a needle 10 m away", Format::Dst,
         [](Bytes& b) {
             b.insert(b.begin() + kDstHeaderSize, 9000, 0); // 3000 stitches of x+121
             for (std::size_t i = 0; i < 9000; i += 3) {
                 b[kDstHeaderSize + i] = 0x05;
                 b[kDstHeaderSize + i + 1] = 0x05;
                 b[kDstHeaderSize + i + 2] = 0x07;
             }
         },
         kSlotMachineFileTooLarge},
        {"exp only jumps", Format::Exp,
         [](Bytes& b) {
             b = {0x80, 0x04, 0x10, 0x10};
         },
         kSlotMachineFileNoStitches},
        {"exp empty", Format::Exp, [](Bytes& b) { b.clear(); }, kSlotMachineFileNoStitches},
    };
    for (const Case& c : cases) {
        Bytes b = write(c.format, plan);
        c.forge(b);
        const MachineRead got = read(c.format, b);
        EXPECT_FALSE(got.read) << c.name;
        EXPECT_EQ(got.refusal, c.refusal) << c.name << ": " << builtInText(got.where);
    }
}

std::vector<int32_t> changeColours(const StitchPlan& p)
{
    std::vector<int32_t> out{p.records.front().colour};
    for (const StitchRecord& r : p.records)
        if (r.kind == StitchKind::ColourChange)
            out.push_back(r.colour);
    return out;
}

TEST(MachineReaders, AConversionKeepsEveryNeedleChangeAndTrim)
{
    // Through every pair of formats: what both can carry stays, to the unit.
    const StitchPlan plan = samplePlan();
    auto sewn = [](const StitchPlan& p) {
        std::vector<StitchRecord> out;
        for (const StitchRecord& r : fromFirstStitch(p))
            if (r.kind != StitchKind::Jump)
                out.push_back({r.x - p.records.front().x, r.y - p.records.front().y, 0, r.kind});
        return out;
    };
    for (Format from : kFormats) {
        const MachineRead first = read(from, write(from, plan));
        ASSERT_TRUE(first.read);
        for (Format to : kFormats) {
            const MachineRead second = read(to, write(to, first.plan));
            ASSERT_TRUE(second.read);
            const auto a = sewn(first.plan), b = sewn(second.plan);
            ASSERT_EQ(a.size(), b.size()) << static_cast<int>(from) << " to " << static_cast<int>(to);
            for (std::size_t i = 0; i < a.size(); ++i)
                ASSERT_TRUE(a[i].x == b[i].x && a[i].y == b[i].y && a[i].kind == b[i].kind) << i;
            if ((from == Format::Pes || from == Format::Jef) && from == to)
                EXPECT_EQ(changeColours(first.plan), changeColours(second.plan));
        }
    }
}

} // namespace
} // namespace kelvara
