// Writes that meet a full disk or a file-size limit: small designs, whose
// bytes all sit in a write buffer until the file is closed, so a failure
// shows only when the buffer goes out.
#include "project/machinefile.h"
#include "project/recoveryfile.h"
#include "project/saveproject.h"
#include "project/worksheet.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchtesting.h"
#include "support/fullfolder.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvara {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = makeWorkspace();
        ws->programFolder = std::string(KELVARA_SOURCE_DATA) + "/";
        buildSampleDesign(*ws);
        text = projectFileText(*ws);
        ASSERT_LT(text.size(), 16u * 1024);
        // A few hundred bytes of stitches, well inside the write buffer.
        auto line = makeWorkspace();
        addObject(*line, KindRun, runParams(straightEdge(0, 0, 300, 100)));
        ASSERT_EQ(generatePlan(*line, plan), PlanStatus::Ok);
    }
    std::unique_ptr<Workspace> ws;
    std::string text;
    StitchPlan plan;
};

TEST_F(FullDisk, ASmallProjectOntoAFullFileSystemFailsAndKeepsTheOldFile)
{
    FullFolder full;
    if (!full.ready())
        GTEST_SKIP() << full.why();
    full.put("badge.kvp", "old design");
    full.put("badge.dst", "old stitches");
    full.put("badge.txt", "old list");
    full.fill();
    const std::string reason = writeProjectFile(QString::fromStdString(full.file("badge.kvp")), text);
    EXPECT_NE(reason.find("No space left on device"), std::string::npos) << reason;
    EXPECT_EQ(readWholeFile(full.file("badge.kvp")), "old design");

    const MachineFileResult exported =
        exportMachineFiles(*ws, plan, MachineFormat::Dst, QString::fromStdString(full.file("badge.dst")));
    EXPECT_EQ(exported.outcome, MachineFileResult::WriteFailed);
    EXPECT_EQ(readWholeFile(full.file("badge.dst")), "old stitches");
    EXPECT_EQ(readWholeFile(full.file("badge.txt")), "old list");
    // No temporary is left to take the space the user needs.
    EXPECT_EQ(namesIn(full.file("")), (std::vector<std::string>{"badge.dst", "badge.kvp", "badge.txt", "filler"}));
}

TEST_F(FullDisk, PastAFileSizeLimitEveryWriterFailsAndLeavesNothing)
{
    TempFolder folder;
    const std::string project = folder.write("badge.kvp", "old design");
    const std::string dst = folder.write("badge.dst", "old stitches");
    const std::string pdf = folder.write("badge.pdf", "old sheet");
    {
        FileSizeLimit limit(256);
        const std::string why = writeProjectFile(QString::fromStdString(project), text);
        EXPECT_EQ(why, "File too large");
        EXPECT_EQ(exportMachineFiles(*ws, plan, MachineFormat::Dst, QString::fromStdString(dst)).outcome,
                  MachineFileResult::WriteFailed);
        EXPECT_FALSE(writeWorksheetPdf(*ws, "badge", QString::fromStdString(pdf)).ok());
    }
    EXPECT_EQ(readWholeFile(project), "old design");
    EXPECT_EQ(readWholeFile(dst), "old stitches");
    EXPECT_EQ(readWholeFile(pdf), "old sheet");
    EXPECT_EQ(namesIn(folder.file("")), (std::vector<std::string>{"badge.dst", "badge.kvp", "badge.pdf"}));
}

TEST_F(FullDisk, TheRecoveryFileIsNotMarkedWrittenWhenItWasCutShort)
{
    TempFolder folder;
    RecoveryFile recovery(QString::fromStdString(folder.file("")));
    ASSERT_TRUE(recovery.claimed());
    ASSERT_TRUE(recovery.write(*ws));
    const std::string before = readWholeFile(recovery.path().toStdString());
    {
        FileSizeLimit limit(512);
        EXPECT_FALSE(recovery.write(*ws));
    }
    EXPECT_EQ(readWholeFile(recovery.path().toStdString()), before);
}

TEST_F(FullDisk, TemporariesAKilledWriteLeftAreRemovedByTheNextWrite)
{
    TempFolder folder;
    const std::string dead = folder.write("badge.kvp.kelvara-2147483000.tmp", "half");
    const std::string other = folder.write("other.kvp.kelvara-2147483000.tmp", "someone else's");
    ASSERT_EQ(writeProjectFile(QString::fromStdString(folder.file("badge.kvp")), text), "");
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(readWholeFile(folder.file("badge.kvp")), text);
}

} // namespace
} // namespace kelvara
