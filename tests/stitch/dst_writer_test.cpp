#include "stitch/dsttestreader.h"
#include "stitch/dstwriter.h"
#include "stitch/stitchtesting.h"

#include <gtest/gtest.h>

#include <random>

namespace kelvara {
namespace {

using testing::decodeDstRecord;
using testing::readDst;

StitchPlan planOf(std::vector<StitchRecord> records)
{
    StitchPlan plan;
    plan.records = std::move(records);
    return plan;
}

void expectSamePositions(const std::vector<StitchRecord>& want, const std::vector<StitchRecord>& got)
{
    ASSERT_EQ(want.size(), got.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(want[i].kind, got[i].kind) << "record " << i;
        EXPECT_EQ(want[i].x, got[i].x) << "record " << i;
        EXPECT_EQ(want[i].y, got[i].y) << "record " << i;
    }
}

TEST(DstEncoding, EveryMoveOnBothAxesDecodesToItself)
{
    for (int dx = -kMaxStep; dx <= kMaxStep; ++dx) {
        for (int dy = -kMaxStep; dy <= kMaxStep; ++dy) {
            for (DstRecordType type : {DstRecordType::Stitch, DstRecordType::Jump}) {
                const auto b = encodeDstRecord(dx, dy, type);
                ASSERT_EQ(b[2] & 0x03, 0x03);
                ASSERT_EQ(b[2] & 0x40, 0) << "colour-change bit on a move";
                const auto r = decodeDstRecord(b[0], b[1], b[2]);
                ASSERT_EQ(r.dx, dx);
                ASSERT_EQ(r.dy, dy);
                ASSERT_EQ(r.type, type == DstRecordType::Jump ? testing::DstRecord::Jump
                                                              : testing::DstRecord::Stitch);
                // Balanced ternary never sets both the + and - bit of one weight.
                for (uint8_t byte : {b[0], b[1]}) {
                    for (int pair = 0; pair < 8; pair += 2)
                        ASSERT_FALSE((byte >> pair & 1) && (byte >> (pair + 1) & 1));
                }
            }
        }
    }
}

TEST(DstEncoding, FixedRecordsHaveTheirBytes)
{
    EXPECT_EQ(encodeDstRecord(0, 0, DstRecordType::ColourChange), (std::array<uint8_t, 3>{0, 0, 0xC3}));
    EXPECT_EQ(encodeDstRecord(0, 0, DstRecordType::End), (std::array<uint8_t, 3>{0, 0, 0xF3}));
    EXPECT_EQ(encodeDstRecord(0, 0, DstRecordType::Stitch), (std::array<uint8_t, 3>{0, 0, 0x03}));
    // +1 x is bit 0 of byte 1, +1 y bit 7; +81 y bit 5 of byte 3, -81 x bit 3.
    EXPECT_EQ(encodeDstRecord(1, 1, DstRecordType::Stitch), (std::array<uint8_t, 3>{0x81, 0, 0x03}));
    EXPECT_EQ(encodeDstRecord(-81, 81, DstRecordType::Jump),
              (std::array<uint8_t, 3>{0, 0, 0x80 | 0x20 | 0x08 | 0x03}));
}

TEST(DstFile, RoundTripGivesBackEveryRecordOfThePlan)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-kMaxStep, kMaxStep);
    std::vector<StitchRecord> records{{1000, 2000, 0, StitchKind::Stitch}};
    int32_t x = 1000, y = 2000;
    for (int i = 0; i < 3000; ++i) {
        StitchKind kind = StitchKind::Stitch;
        if (i % 97 == 5)
            kind = StitchKind::Jump;
        if (i % 331 == 9)
            kind = StitchKind::Trim;
        if (i % 503 == 11)
            kind = StitchKind::ColourChange;
        if (kind == StitchKind::Stitch || kind == StitchKind::Jump) {
            x += step(rng);
            y += step(rng);
        }
        records.push_back({x, y, 0, kind});
    }
    records.push_back({x, y, 0, StitchKind::End});
    const StitchPlan plan = planOf(records);

    const auto file = readDst(writeDst(plan, "round"));
    ASSERT_TRUE(file.valid);
    std::size_t opening = 0;
    expectSamePositions(plan.records, testing::dstToPlanFromCentre(file, plan.records, opening));
    EXPECT_GT(opening, 0u);
}

TEST(DstFile, HeaderDescribesThePlanFromItsCentre)
{
    // Design y grows downward; DST's +Y is up. The needle positions span
    // 40..200 and 50..130: the file starts at their centre (120, 90), where a
    // machine puts the centre of the hoop, and jumps to the first stitch.
    const StitchPlan plan = planOf({{100, 100, 0, StitchKind::Stitch},
                                    {200, 50, 0, StitchKind::Stitch},
                                    {200, 50, 0, StitchKind::ColourChange},
                                    {40, 130, 0, StitchKind::Jump},
                                    {90, 80, 0, StitchKind::Stitch},
                                    {90, 80, 0, StitchKind::End}});
    const std::vector<uint8_t> bytes = writeDst(plan, "MyDesign");
    const auto file = readDst(bytes);
    ASSERT_TRUE(file.valid);
    EXPECT_TRUE(file.headerEndsWithEof);
    EXPECT_EQ(file.header.at("LA"), "MyDesign        ");
    // Records before the end: the opening jump, and the long jump of 160 on x becomes two.
    EXPECT_EQ(file.header.at("ST"), "      7");
    EXPECT_EQ(file.header.at("CO"), "  1");
    EXPECT_EQ(file.header.at("+X"), "   80");
    EXPECT_EQ(file.header.at("-X"), "   80");
    EXPECT_EQ(file.header.at("+Y"), "   40");
    EXPECT_EQ(file.header.at("-Y"), "   40");
    EXPECT_EQ(file.header.at("AX"), "-   30");
    EXPECT_EQ(file.header.at("AY"), "+   10");
    EXPECT_EQ(file.header.at("MX"), "+    0");
    EXPECT_EQ(file.header.at("MY"), "+    0");
    EXPECT_EQ(file.header.at("PD"), "******");
    ASSERT_EQ(file.records.size(), 8u);
    EXPECT_EQ(file.records[0].type, testing::DstRecord::Jump);
    EXPECT_EQ(file.records[0].dx, -20);
    EXPECT_EQ(file.records[0].dy, -10);
    EXPECT_EQ(file.records[1].type, testing::DstRecord::Stitch);
    EXPECT_EQ(file.records.back().type, testing::DstRecord::End);
    EXPECT_EQ(bytes[bytes.size() - 1], 0xF3);
}

TEST(DstFile, LabelIsCutToSixteenPrintableCharacters)
{
    const StitchPlan plan = planOf({{0, 0, 0, StitchKind::Stitch}, {0, 0, 0, StitchKind::End}});
    EXPECT_EQ(readDst(writeDst(plan, "a-very-long-design-name")).header.at("LA"), "a-very-long-desi");
    // A CR in the name would end the field early and shift the header.
    EXPECT_EQ(readDst(writeDst(plan, "x\ry\x1Az")).header.at("LA"), "x_y_z           ");
}

TEST(DstFile, LongMovesBecomeEqualRecords)
{
    const StitchPlan plan = planOf({{0, 0, 0, StitchKind::Stitch},
                                    {500, -3, 0, StitchKind::Jump},
                                    {800, 0, 0, StitchKind::Stitch},
                                    {800, 0, 0, StitchKind::End}});
    const auto file = readDst(writeDst(plan, "long"));
    // From the centre (400, -1) to the first stitch: 400 on x in four jumps.
    ASSERT_EQ(file.records.size(), 4u + 1 + 5 + 3 + 1);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(file.records[i].type, testing::DstRecord::Jump);
        EXPECT_EQ(file.records[i].dx, -100);
    }
    for (std::size_t i = 5; i <= 9; ++i) {
        EXPECT_EQ(file.records[i].type, testing::DstRecord::Jump);
        EXPECT_NEAR(file.records[i].dx, 100, 1);
    }
    for (std::size_t i = 10; i <= 12; ++i) {
        EXPECT_EQ(file.records[i].type, testing::DstRecord::Stitch);
        EXPECT_EQ(file.records[i].dx, 100);
    }
    std::size_t opening = 0;
    const auto back = testing::dstToPlanFromCentre(file, plan.records, opening);
    EXPECT_EQ(opening, 4u);
    EXPECT_EQ(back[5].x, 500);
    EXPECT_EQ(back[5].y, -3);
    EXPECT_EQ(back[8].x, 800);
}

TEST(DstFile, TrimIsThreeJumpsThatEndWhereTheyBegan)
{
    const StitchPlan plan =
        planOf({{5, 5, 0, StitchKind::Stitch}, {5, 5, 0, StitchKind::Trim}, {5, 5, 0, StitchKind::End}});
    const auto file = readDst(writeDst(plan, "t"));
    ASSERT_EQ(file.records.size(), 5u);
    int sx = 0, sy = 0;
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(file.records[static_cast<std::size_t>(i)].type, testing::DstRecord::Jump);
        sx += file.records[static_cast<std::size_t>(i)].dx;
        sy += file.records[static_cast<std::size_t>(i)].dy;
    }
    EXPECT_EQ(sx, 0);
    EXPECT_EQ(sy, 0);
    EXPECT_EQ(file.header.at("ST"), "      4");
}

TEST(DstFile, PlanWithoutEndStillEndsTheFile)
{
    const StitchPlan plan = planOf({{0, 0, 0, StitchKind::Stitch}, {10, 10, 0, StitchKind::Stitch}});
    const auto file = readDst(writeDst(plan, "n"));
    ASSERT_FALSE(file.records.empty());
    EXPECT_EQ(file.records.back().type, testing::DstRecord::End);
}

} // namespace
} // namespace kelvara
