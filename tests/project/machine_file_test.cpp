#include "project/machinefile.h"
#include "stitch/dsttestreader.h"
#include "stitch/jeftestreader.h"
#include "stitch/machinemoves.h"
#include "stitch/pestestreader.h"
#include "stitch/stitchtesting.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvara {
namespace {

using namespace testing;

class MachineFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = makeWorkspace();
        ws->programFolder = std::string(KELVARA_SOURCE_DATA) + "/";
        ObjectParams red = runParams(straightEdge(0, 0, 300, 100));
        red.run.colour = 0x0000EC;
        addObject(*ws, KindRun, red);
        ObjectParams white = runParams(straightEdge(300, 100, 300, 400));
        white.run.colour = -1;
        addObject(*ws, KindRun, white);
        ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    }
    std::vector<uint8_t> bytesOf(const std::string& path)
    {
        const std::string s = readWholeFile(path);
        return {s.begin(), s.end()};
    }
    QString in(const std::string& name) { return QString::fromStdString(folder.file(name)); }

    std::unique_ptr<Workspace> ws;
    StitchPlan plan;
    TempFolder folder;
};

TEST_F(MachineFiles, FormatComesFromTheExtensionInAnyCase)
{
    EXPECT_EQ(machineFormatOf("/a/b.DST"), MachineFormat::Dst);
    EXPECT_EQ(machineFormatOf("b.Exp"), MachineFormat::Exp);
    EXPECT_EQ(machineFormatOf("/x.y/b.jef"), MachineFormat::Jef);
    EXPECT_EQ(machineFormatOf("b.tar.PES"), MachineFormat::Pes);
    EXPECT_EQ(machineFormatOf("b.dst.txt"), std::nullopt);
    EXPECT_EQ(machineFormatOf("dst"), std::nullopt);
    EXPECT_EQ(colourListPath("/a/b.c/design.v2.PES"), "/a/b.c/design.v2.txt");
}

TEST_F(MachineFiles, EveryFormatWritesItsFileAndTheColourListInSewingOrder)
{
    ws->settings.CHART = kChartBrother;
    for (const char* name : {"badge.dst", "badge.exp", "badge.pes"}) {
        const QString path = in(name);
        ASSERT_TRUE(writeMachineFiles(*ws, plan, *machineFormatOf(path), path).ok()) << name;
        EXPECT_FALSE(bytesOf(folder.file(name)).empty());
        const std::string list = readWholeFile(folder.file("badge.txt"));
        const auto blue = std::count_if(plan.records.begin(), plan.records.end(), [](const StitchRecord& r) {
            return r.kind == StitchKind::Stitch && r.colour == 0x0000EC;
        });
        EXPECT_EQ(list, "1\t#EC0000\tBrother 5 Red\t" + std::to_string(blue) +
                            "\n2\t#FFFFFF\tBrother 29 White\t" + std::to_string(plan.stitchCount() - blue) +
                            "\n");
    }
    const PlanBox box = planExtents(plan);
    const PesFile pes = readPes(bytesOf(folder.file("badge.pes")), static_cast<int32_t>(box.left),
                                static_cast<int32_t>(box.top));
    EXPECT_EQ(pes.palette, (std::vector<int32_t>{5, 29}));
    EXPECT_EQ(pes.label, "badge           ");
}

// Every list used the configured chart, so a PES beside a Janome setting
// listed Janome threads the machine never shows.
TEST_F(MachineFiles, JefAndPesListsNameTheirOwnMakersThreads)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"a.jef", kChartBrother}, {"b.pes", kChartJanome}, {"c.dst", kChartJanome}, {"d.exp", kChartBrother}};
    const char* brands[] = {"\tJanome ", "\tBrother ", "\tJanome ", "\tBrother "};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ws->settings.CHART = cases[i].second;
        const QString path = in(cases[i].first);
        ASSERT_TRUE(writeMachineFiles(*ws, plan, *machineFormatOf(path), path).ok());
        const std::string list = readWholeFile(colourListPath(path).toStdString());
        EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 2) << cases[i].first;
        EXPECT_NE(list.find(std::string("\t#EC0000") + brands[i]), std::string::npos) << list;
        EXPECT_NE(list.find(std::string("\t#FFFFFF") + brands[i]), std::string::npos) << list;
    }
}

// "Zoë" gave two bytes of UTF-8, so two underscores, and a long name could
// end in half a character.
TEST_F(MachineFiles, LabelsArePrintableAsciiOneCharacterEach)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Zoë Größe café", "Zoe Gro_e cafe  "},
        {"日本の刺繍デザインのファイル名です", "________________"},
        {"ÅÅÅÅÅÅÅÅÅÅÅÅÅÅÅÅÅÅ", "AAAAAAAAAAAAAAAA"},
    };
    for (const auto& [name, label] : cases) {
        const QString path = QString::fromUtf8(name) + ".dst";
        ASSERT_TRUE(writeMachineFiles(*ws, plan, MachineFormat::Dst, in("") + path).ok());
        const std::vector<uint8_t> dst = bytesOf(folder.file("") + name + ".dst");
        ASSERT_GE(dst.size(), 20u);
        EXPECT_EQ(std::string(dst.begin() + 3, dst.begin() + 19), label) << name;
        EXPECT_EQ(dst[19], '\r');
    }
}

TEST_F(MachineFiles, WithoutAChartTheListNamesNoThread)
{
    const QString path = in("plain.dst");
    ASSERT_TRUE(writeMachineFiles(*ws, plan, MachineFormat::Dst, path).ok());
    const std::string list = readWholeFile(folder.file("plain.txt"));
    EXPECT_EQ(list.substr(0, 12), "1\t#EC0000\t-\t");
    EXPECT_TRUE(readDst(bytesOf(folder.file("plain.dst"))).valid);
}

TEST_F(MachineFiles, ARefusedDesignOrChartWritesNothing)
{
    const std::string keep = folder.write("keep.jef", "old");
    ws->programFolder = folder.file("");
    const std::string reason =
        message(*ws, writeMachineFiles(*ws, plan, MachineFormat::Jef, QString::fromStdString(keep)));
    EXPECT_NE(reason.find("Janome thread chart"), std::string::npos) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
    EXPECT_EQ(readWholeFile(keep), "old");
    EXPECT_FALSE(std::filesystem::exists(folder.file("keep.txt")));

    folder.write("threads/brother.txt", std::string("\x89PNG\r\n\x1A\n\0\0", 10));
    ws->settings.CHART = kChartBrother;
    const MachineFileResult result = exportMachineFiles(*ws, plan, MachineFormat::Dst, in("new.dst"));
    EXPECT_EQ(result.outcome, MachineFileResult::Refused);
    EXPECT_FALSE(std::filesystem::exists(folder.file("new.dst")));

    ws->programFolder = std::string(KELVARA_SOURCE_DATA) + "/";
    const MachineFileResult failed = exportMachineFiles(*ws, plan, MachineFormat::Exp, in("no/such/x.exp"));
    EXPECT_EQ(failed.outcome, MachineFileResult::WriteFailed);
    EXPECT_NE(message(*ws, failed.reason).find("No such file or directory"), std::string::npos);
}

} // namespace
} // namespace kelvara
