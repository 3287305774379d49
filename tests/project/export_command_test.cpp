#include "project/exportcommand.h"
#include "stitch/dsttestreader.h"
#include "stitch/stitchtesting.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvara {
namespace {

using namespace testing;

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = makeWorkspace();
        for (int slot : {5, 11, 15, 17, 18, 19, 20})
            ws->lines.lines[static_cast<std::size_t>(slot)] = "slot " + std::to_string(slot);
        ws->lines.lineCount = 21;
        ws->programFolder = std::string(KELVARA_SOURCE_DATA) + "/";
        ws->rememberedFileName = "/somewhere/design.kvp";
    }
    void addRun() { addObject(*ws, KindRun, runParams(straightEdge(0, 0, 300, 100))); }
    std::vector<uint8_t> bytesOf(const std::string& path)
    {
        const std::string s = readWholeFile(path);
        return {s.begin(), s.end()};
    }

    std::unique_ptr<Workspace> ws;
    FakePlatform fakes;
    TempFolder folder;
};

TEST_F(ExportCommand, EmptyDesignShowsTheBoxAndNoDialog)
{
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].caption, "slot 11");
    EXPECT_EQ(fakes.boxes.shown[0].text, "slot 15");
    EXPECT_FALSE(fakes.boxes.shown[0].question);
    EXPECT_TRUE(fakes.files.requests.empty());
    EXPECT_TRUE(fakes.cursor.history.empty());
}

TEST_F(ExportCommand, DesignOutsideTheChosenHoopIsWrittenOnlyWhenTheUserSaysSo)
{
    addRun(); // 30 x 10 mm
    ws->hoops = readHoops("20 20 rect Small\n");
    setHoopSetting(ws->settings, "small");
    const std::string path = folder.file("design.dst");
    for (const bool answer : {false, true}) {
        fakes.files.answer(path);
        fakes.boxes.answers.push_back(answer);
        exportStitches(*ws, fakes.platform());
        ASSERT_FALSE(fakes.boxes.shown.empty());
        const auto& asked = fakes.boxes.shown.back();
        EXPECT_TRUE(asked.question);
        // The design's size and the hoop's, named.
        EXPECT_NE(asked.text.find("30.0 x 10.0 mm"), std::string::npos) << asked.text;
        EXPECT_NE(asked.text.find("Small (20 x 20 mm)"), std::string::npos) << asked.text;
        EXPECT_EQ(std::filesystem::exists(path), answer);
    }
    // A hoop it fits asks nothing.
    ws->hoops = readHoops("30 10 rect Exact\n");
    setHoopSetting(ws->settings, "30x10");
    fakes.files.answer(path);
    const std::size_t before = fakes.boxes.shown.size();
    exportStitches(*ws, fakes.platform());
    EXPECT_EQ(fakes.boxes.shown.size(), before);
}

TEST_F(ExportCommand, CancelWritesNothing)
{
    addRun();
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.files.requests.size(), 1u);
    EXPECT_TRUE(fakes.files.wasSave[0]);
    EXPECT_TRUE(fakes.boxes.shown.empty());
    EXPECT_TRUE(fakes.cursor.history.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_TRUE(fakes.files.requests[0].startFolder.isEmpty()); // as it always was

    // With QUICKSAVE the dialog starts beside the design, when it has a name.
    ws->settings.QUICKSAVE = 1;
    exportStitches(*ws, fakes.platform());
    EXPECT_EQ(fakes.files.requests.at(1).startFolder, QStringLiteral("/somewhere"));
    EXPECT_EQ(fakes.files.requests[1].startName, QString());
    ws->rememberedFileName.clear();
    exportStitches(*ws, fakes.platform());
    EXPECT_TRUE(fakes.files.requests.at(2).startFolder.isEmpty());
}

TEST_F(ExportCommand, SuccessWritesAReadableDstAndAsksNothing)
{
    addRun();
    const std::string path = folder.file("badge.dst");
    fakes.files.answer(path);
    ws->tools.toolMode = 3;
    exportStitches(*ws, fakes.platform());

    const FileDialogRequest& request = fakes.files.requests.at(0);
    EXPECT_EQ(request.title, "slot 5");
    ASSERT_EQ(request.filters.size(), 4u);
    EXPECT_EQ(request.filters[0].description, "Tajima Stitch format (*.dst)");
    EXPECT_EQ(request.filters[0].pattern, "*.dst");
    EXPECT_EQ(request.filters[1].pattern, "*.exp");
    EXPECT_EQ(request.filters[2].pattern, "*.jef");
    EXPECT_EQ(request.filters[3].pattern, "*.pes");
    EXPECT_EQ(request.defaultSuffix, "dst");
    EXPECT_EQ(request.startName, "");
    EXPECT_TRUE(request.confirmOverwrite);

    EXPECT_TRUE(fakes.boxes.shown.empty());
    EXPECT_EQ(fakes.cursor.history, (std::vector<int>{7, 0}));
    EXPECT_EQ(ws->cursorNumber, 0);
    EXPECT_EQ(ws->tools.toolMode, 3);
    EXPECT_EQ(ws->rememberedFileName, "/somewhere/design.kvp");

    const DstFile file = readDst(bytesOf(path));
    ASSERT_TRUE(file.valid);
    EXPECT_EQ(file.header.at("LA"), "badge           ");
    ASSERT_FALSE(file.records.empty());
    EXPECT_EQ(file.records.back().type, DstRecord::End);
    // The line runs 300 right and 100 down (DST y points up); the file starts
    // at its centre, and the thread ends locked a little way back along it.
    const auto field = [&](const char* name) {
        const std::string text = file.header.at(name);
        return (text[0] == '-' ? -1 : 1) * std::stoi(text.substr(1));
    };
    EXPECT_EQ(field("+X"), 150);
    EXPECT_EQ(field("-X"), 150);
    EXPECT_EQ(field("+Y"), 50);
    EXPECT_EQ(field("-Y"), 50);
    EXPECT_NEAR(field("AX"), 150 - 9, 9);
    EXPECT_NEAR(field("AY"), -50 + 3, 3);

    // The next export starts with an empty name again.
    fakes.files.answer(folder.file("second.dst"));
    exportStitches(*ws, fakes.platform());
    EXPECT_EQ(fakes.files.requests.at(1).startName, "");
    EXPECT_TRUE(std::filesystem::exists(folder.file("second.dst")));
}

TEST_F(ExportCommand, ExistingFileIsReplacedWhole)
{
    addRun();
    const std::string path = folder.write("old.dst", std::string(5000, 'x'));
    fakes.files.answer(path);
    exportStitches(*ws, fakes.platform());
    const auto bytes = bytesOf(path);
    EXPECT_LT(bytes.size(), 5000u);
    EXPECT_TRUE(readDst(bytes).valid);
}

TEST_F(ExportCommand, WriteFailureShowsItsBoxAndLeavesNoFile)
{
    addRun();
    const std::string path = folder.file("missing/folder/out.dst");
    fakes.files.answer(path);
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].caption, "slot 11");
    EXPECT_EQ(fakes.boxes.shown[0].text, "slot 17\ncannot be written: No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(fakes.cursor.history, (std::vector<int>{7, 0}));
}

TEST_F(ExportCommand, NothingToStitchAndTooLargeHaveBoxesOfTheirOwn)
{
    ObjectParams hop = runParams(straightEdge(0, 0, 100, 0));
    hop.run.JUMP = 0;
    addObject(*ws, KindRun, hop);
    const std::string path = folder.write("keep.dst", "old");
    fakes.files.answer(path);
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].text, "slot 18");
    EXPECT_EQ(readWholeFile(path), "old");

    addObject(*ws, KindRun, runParams(straightEdge(0, 0, 250000, 0), 90));
    fakes.files.answer(path);
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.boxes.shown.size(), 2u);
    EXPECT_EQ(fakes.boxes.shown[1].text, "slot 19");
    EXPECT_EQ(readWholeFile(path), "old");
    EXPECT_EQ(ws->cursorNumber, 0);
}

TEST_F(ExportCommand, TheExtensionChoosesTheFormatAndARefusalSaysWhy)
{
    addRun();
    const std::string pes = folder.file("badge.PES");
    fakes.files.answer(pes);
    exportStitches(*ws, fakes.platform());
    EXPECT_TRUE(fakes.boxes.shown.empty());
    EXPECT_EQ(readWholeFile(pes).substr(0, 8), "#PES0001");
    EXPECT_TRUE(std::filesystem::exists(folder.file("badge.txt")));

    fakes.files.answer(folder.file("badge.dsx"));
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].text.substr(0, 8), "slot 20 ");
    EXPECT_FALSE(std::filesystem::exists(folder.file("badge.dsx")));

    // Wider than the largest Janome hoop, well within DST.
    addObject(*ws, KindRun, runParams(straightEdge(0, 0, 2500, 0), 90));
    const std::string jef = folder.write("wide.jef", "old");
    fakes.files.answer(jef);
    exportStitches(*ws, fakes.platform());
    ASSERT_EQ(fakes.boxes.shown.size(), 2u);
    EXPECT_NE(fakes.boxes.shown[1].text.find("slot 20 the design is larger"), std::string::npos);
    EXPECT_EQ(readWholeFile(jef), "old");
    EXPECT_EQ(ws->cursorNumber, 0);
}

// Two formats of one design keep their own colour lists, and the status bar
// is told what was written; a failed export tells nothing.
TEST_F(ExportCommand, ColourListsPerFormatAndWhatWasWritten)
{
    ws->settings.COLOURLISTS = 1;
    addRun();
    for (const char* name : {"badge.dst", "badge.Pes"}) {
        fakes.files.answer(folder.file(name));
        exportStitches(*ws, fakes.platform());
    }
    EXPECT_TRUE(fakes.boxes.shown.empty());
    EXPECT_NE(readWholeFile(folder.file("badge-dst.txt")), "");
    EXPECT_NE(readWholeFile(folder.file("badge-pes.txt")), "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("badge.txt")));
    EXPECT_EQ(ws->statusNote.text.rfind("Exported badge.Pes (PES, ", 0), 0u) << ws->statusNote.text;
    EXPECT_NE(ws->statusNote.text.find("stitches) and badge-pes.txt"), std::string::npos);
    fakes.files.answer(folder.file("badge.dsx"));
    exportStitches(*ws, fakes.platform());
    EXPECT_NE(ws->statusNote.text.find("badge.Pes"), std::string::npos) << "the last export it wrote";
}

} // namespace
} // namespace kelvara
