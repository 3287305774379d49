#include "model/journal.h"
#include "project/openproject.h"
#include "project/pictureline.h"
#include "project/pictureloader.h"
#include "project/projectformat.h"
#include "project/saveproject.h"
#include "projectfixtures.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include <sys/stat.h>

namespace kelvara {
namespace {

using testing::appendObject;
using testing::FakePlatform;
using testing::TempFolder;

class OpenProject : public ::testing::Test {
protected:
    void SetUp() override { loadMessages(ws->lines, std::string(KELVARA_SOURCE_DATA) + "/"); }

    void open(const std::string& path)
    {
        fake.files.answer(path);
        openProject(*ws, platform);
    }

    // A design of `count` runs, as if drawn, with a used journal.
    void makeDesign(int count)
    {
        for (int i = 0; i < count; ++i)
            appendObject(*ws, KindRun, 1);
        journalCurrentObject(*ws, JournalStep::Starts);
        fake.list.addString("existing line");
    }

    std::unique_ptr<Workspace> ws = testing::makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    TempFolder folder;
};

std::string lastWord(const std::string& text)
{
    return text.substr(text.rfind(' ') + 1);
}

TEST_F(OpenProject, AsksForAFileWithTheProjectAndPictureFilters)
{
    openProject(*ws, platform); // the script is empty: cancel
    ASSERT_EQ(fake.files.requests.size(), 1u);
    const FileDialogRequest& request = fake.files.requests[0];
    EXPECT_FALSE(fake.files.wasSave[0]);
    EXPECT_EQ(request.title, message(*ws, 3));
    EXPECT_FALSE(request.title.empty());
    ASSERT_EQ(request.filters.size(), 3u);
    EXPECT_EQ(request.filters[0].description, "Kelvara projekt (*.kvp)");
    EXPECT_EQ(request.filters[0].pattern, "*.kvp");
    EXPECT_EQ(request.filters[1].pattern, "*.dst *.exp *.jef *.pes");
    EXPECT_EQ(request.filters[2].description, "Pictures to trace (*.png *.jpg *.jpeg *.bmp)");
    EXPECT_EQ(request.filters[2].pattern, "*.png *.jpg *.jpeg *.bmp");
    EXPECT_TRUE(request.mustExist);
    EXPECT_TRUE(fake.title.titles.empty());
    EXPECT_TRUE(fake.cursor.history.empty());
    EXPECT_FALSE(ws->refresh.render);
}

TEST_F(OpenProject, ObjectLinesFillRowsInFileOrderAndTheList)
{
    // Comments, blank lines, tabs and all three line ends between objects.
    const std::string path =
        folder.write("three.kvp", "; a design\r\n\r\nSATEN GROUP=5 R=0\r\n"
                                  "  ; only a comment\n\tRUN\tGROUP=2 TRIM=1\r"
                                  "\nnot an object=1\r\nCIRCLE GROUP=7 X=5 ; Y=9\r\n\r\n");
    open(path);

    const ObjectTable& table = ws->table;
    ASSERT_EQ(table.objectCount, 3);
    EXPECT_EQ(table.rows[0].kind, KindSaten);
    EXPECT_EQ(table.rows[1].kind, KindRun);
    EXPECT_EQ(table.rows[2].kind, KindCircle);
    EXPECT_EQ(ws->records[table.rows[2].params].circle.X, 5);
    EXPECT_EQ(ws->records[table.rows[2].params].circle.Y, 0);
    for (int32_t r = 0; r < 3; ++r) {
        EXPECT_EQ(table.rows[r].prev, r - 1);
        EXPECT_EQ(table.rows[r].next, r == 2 ? -1 : r + 1);
    }
    EXPECT_EQ(table.firstObject, 0);
    EXPECT_EQ(table.currentObject, -1);
    EXPECT_EQ(table.groupCounter, 7);

    EXPECT_EQ(fake.list.data(), (std::vector<int32_t>{0, 1, 2}));
    ASSERT_EQ(fake.list.count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lastWord(fake.list.lines[i].text), std::to_string(i));
    EXPECT_EQ(fake.list.lines[1].text.substr(0, 3), "-- ");
    EXPECT_TRUE(fake.list.selectedPositions().empty());
    EXPECT_TRUE(fake.list.redrawOn);
    EXPECT_EQ(fake.list.initStorageCalls, 1);

    // The design was empty: nothing asked, only the line that is no object told.
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(lastWord(fake.boxes.shown[0].text), "object=1)");
    EXPECT_EQ(fake.title.current().toStdString(), "Kelvara Stitches (" + path + ")");
    EXPECT_EQ(ws->rememberedFileName.toStdString(), path);
    EXPECT_EQ(fake.cursor.history, (std::vector<int>{7, 0}));
    EXPECT_EQ(ws->cursorNumber, 0);
    EXPECT_EQ(ws->refresh.designRevision, 1u);
    EXPECT_TRUE(ws->refresh.render);
    EXPECT_TRUE(ws->refresh.repaint);
}

TEST_F(OpenProject, TheMessageTableStillHoldsTheMessagesAfterwards)
{
    const std::string caption = message(*ws, 11);
    ASSERT_FALSE(caption.empty());
    open(folder.write("a.kvp", "RUN GROUP=1\r\n"));
    EXPECT_EQ(message(*ws, 11), caption);
    open(folder.file("missing.kvp"));
    EXPECT_EQ(message(*ws, 11), caption);
}

TEST_F(OpenProject, AFirstLineThatIsNoObjectLeavesRowZeroForTheFirstObject)
{
    open(folder.write("b.kvp", "HELLO WORLD=1\r\nSTAR GROUP=3\r\n"));
    ASSERT_EQ(ws->table.objectCount, 1);
    EXPECT_EQ(ws->table.rows[0].kind, KindStar);
    EXPECT_EQ(fake.list.data(), (std::vector<int32_t>{0}));
}

// A misspelt kind vanished and "X1=abc" became an object at the origin;
// the next save lost both lines for good.
TEST_F(OpenProject, UnreadableLinesAreLeftOutWithOneWarningNamingTheFirst)
{
    open(folder.write("c.kvp", "RUN X1=1\r\nCIRCEL   X=5 ; typed by hand\r\n; comment\r\nRUN X1=abc Y1=2\r\n"
                               "STAR GROUP=3 MOTIVE=leaf\r\nSATEN SDENS=12x\r\n"));
    EXPECT_EQ(ws->table.objectCount, 2);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, kSlotUnreadableLines) + " 3 (the first: CIRCEL X=5 )");
}

TEST_F(OpenProject, AllFourThousandNinetySixObjectsOfALongFileAreReadAndTheRestCounted)
{
    // 5000 object lines with comment lines between them: far beyond the
    // 2049 lines of the shared line table. Objects past 4096 are not read,
    // and the user is told how many were left out.
    const char* kinds[] = {"RUN", "SATEN", "STEIL", "RECT", "STAR", "CIRCLE"};
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += "; object " + std::to_string(i) + "\r\n";
        text += std::string(kinds[i % 6]) + " GROUP=" + std::to_string(i + 1) +
                " X1=" + std::to_string(100 + i) + " AX1=" + std::to_string(1000 + i) +
                " X=" + std::to_string(i) + "\r\n\r\n";
    }
    open(folder.write("big.kvp", text));

    const ObjectTable& table = ws->table;
    ASSERT_EQ(table.objectCount, 4096);
    EXPECT_EQ(fake.list.count(), 4096);
    EXPECT_EQ(table.groupCounter, 4096);
    EXPECT_EQ(table.rows[4095].kind, KindRect);
    EXPECT_EQ(table.rows[4095].prev, 4094);
    EXPECT_EQ(table.rows[4095].next, -1);
    EXPECT_EQ(table.rows[4095].group, 4096);
    EXPECT_EQ(fake.list.itemData(4095), 4095);
    EXPECT_EQ(lastWord(fake.list.text(4095)), "4095");
    EXPECT_EQ(ws->records.liveCount(), 4096);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, kSlotObjectsLeftOut) + " 904");
}

TEST_F(OpenProject, AByteOrderMarkIsPassedOverAndACutLastObjectIsToldOf)
{
    const std::string run = "RUN GROUP=1 LINE=1 X1=10 Y1=20 X2=30 Y2=40 R=200 G=0 B=0";
    open(folder.write("bom.kvp", "\xEF\xBB\xBF" + run + "\r\n\r\nSTAR GROUP=2\r\n\r\n"));
    ASSERT_EQ(ws->table.objectCount, 2);
    EXPECT_EQ(ws->table.rows[0].kind, KindRun);
    EXPECT_TRUE(fake.boxes.shown.empty());

    // Cut part-way through the star's line: read, and said so.
    open(folder.write("cut.kvp", run + "\r\n\r\nSTAR GROUP=2 X=5"));
    EXPECT_EQ(ws->table.objectCount, 2);
    ASSERT_EQ(fake.boxes.shown.size(), 2u); // the question to discard, then the note
    EXPECT_EQ(fake.boxes.shown[1].text, message(*ws, kSlotProjectCutShort));

    // A last line without its line end that is no object is no sign of a cut.
    fake.boxes.shown.clear();
    fake.boxes.answers.push_back(true);
    open(folder.write("comment.kvp", run + "\r\n; the end"));
    EXPECT_EQ(fake.boxes.shown.size(), 1u);
}

TEST_F(OpenProject, AFileThatCannotBeReadIsReportedAndChangesNothing)
{
    makeDesign(2);
    ws->rememberedFileName = "previous.kvp";
    const std::vector<unsigned char> journalBefore(ws->journal.area.begin(), ws->journal.area.end());
    const int32_t newestBefore = ws->journal.newestRecord;
    const auto rowsBefore = ws->table.rows;

    std::filesystem::create_directory(folder.file("folder.kvp"));
    const std::string big = folder.write("huge.kvp", "");
    std::filesystem::resize_file(big, kMaxProjectFileBytes + 1); // sparse: nothing is written

    for (const std::string& path : {folder.file("missing.kvp"), folder.file("folder.kvp"), big}) {
        SCOPED_TRACE(path);
        fake.boxes.shown.clear();
        open(path);
        ASSERT_EQ(fake.boxes.shown.size(), 1u); // the error, and no question
        EXPECT_FALSE(fake.boxes.shown[0].question);
        EXPECT_EQ(fake.boxes.shown[0].caption, message(*ws, 11));
        EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, 16));
        EXPECT_FALSE(message(*ws, 16).empty());

        EXPECT_EQ(ws->table.objectCount, 2);
        EXPECT_EQ(std::memcmp(ws->table.rows.data(), rowsBefore.data(), sizeof rowsBefore), 0);
        EXPECT_EQ(ws->journal.newestRecord, newestBefore);
        EXPECT_TRUE(std::equal(journalBefore.begin(), journalBefore.end(), ws->journal.area.begin()));
        EXPECT_EQ(fake.list.texts(), (std::vector<std::string>{"existing line"}));
        EXPECT_TRUE(fake.title.titles.empty());
        EXPECT_EQ(ws->rememberedFileName, "previous.kvp");
        EXPECT_TRUE(fake.cursor.history.empty());
    }
}

TEST_F(OpenProject, TheQuestionComesOnlyForAReadableFileAndNoKeepsTheDesign)
{
    makeDesign(3);
    const std::string path = folder.write("next.kvp", "STAR GROUP=1\r\n");
    fake.boxes.answers = {false};
    open(path);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_TRUE(fake.boxes.shown[0].question);
    EXPECT_EQ(fake.boxes.shown[0].caption, message(*ws, 2));
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, 1));
    EXPECT_EQ(ws->table.objectCount, 3);
    EXPECT_EQ(countJournalSteps(ws->journal), 1);
    EXPECT_EQ(fake.list.count(), 1);
    EXPECT_TRUE(fake.title.titles.empty());
    EXPECT_TRUE(ws->rememberedFileName.isEmpty());

    fake.boxes.answers = {true};
    open(path);
    EXPECT_EQ(fake.boxes.shown.size(), 2u);
    EXPECT_EQ(ws->table.objectCount, 1);
    EXPECT_EQ(ws->table.rows[0].kind, KindStar);
    EXPECT_EQ(countJournalSteps(ws->journal), 0);
    EXPECT_EQ(ws->records.liveCount(), 1); // the old records were released
    EXPECT_EQ(fake.list.count(), 1);
}

TEST_F(OpenProject, OpeningDiscardsToolStateAndTheBackgroundPicture)
{
    makeDesign(1);
    ws->tools.toolMode = 3;
    ws->tools.clickCount = 2;
    ws->tools.preview.segments[0].used = 1;
    ws->tools.rubberBand.active = 1;
    ws->cursorNumber = 1;
    ws->table.currentObject = 0;
    ws->picture.pictureName = "old.bmp";
    ws->picture.pixels = QImage(2, 2, QImage::Format_RGB32);

    open(folder.write("c.kvp", "RUN GROUP=4\r\n"));
    EXPECT_EQ(ws->tools.toolMode, 0);
    EXPECT_EQ(ws->tools.clickCount, 0);
    EXPECT_EQ(ws->tools.preview.segments[0].used, 0);
    EXPECT_EQ(ws->tools.rubberBand.active, 0);
    EXPECT_EQ(ws->cursorNumber, 0);
    EXPECT_EQ(ws->table.currentObject, -1);
    EXPECT_FALSE(ws->picture.loaded());
    EXPECT_TRUE(ws->picture.pixels.isNull());
}

TEST_F(OpenProject, AReadableFileWithoutObjectLinesEmptiesTheDesign)
{
    makeDesign(2);
    open(folder.write("empty.kvp", "; nothing here\r\n\r\n   \r\n"));
    EXPECT_EQ(ws->table.objectCount, 0);
    EXPECT_EQ(fake.list.count(), 0);
    EXPECT_TRUE(fake.title.titles.empty()); // no line: the title still names the old file
    EXPECT_EQ(fake.boxes.shown.size(), 1u); // only the question
    EXPECT_EQ(ws->cursorNumber, 0);
}

TEST_F(OpenProject, OnlyAKvpEndingInAnyCaseIsAProject)
{
    EXPECT_TRUE(isProjectPath("/designs/flower.Kvp"));
    EXPECT_TRUE(isProjectPath(".kvp"));
    EXPECT_FALSE(isProjectPath("flower.kvp.bmp"));
    EXPECT_FALSE(isProjectPath("flowerKVP"));
    EXPECT_FALSE(isProjectPath("kvp"));

    // A project file with a picture's name goes to the picture loader.
    makeDesign(1);
    open(folder.write("flower.kvp.bmp", "RUN GROUP=1\r\n"));
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, 12));
    EXPECT_EQ(ws->table.objectCount, 1);
}

TEST_F(OpenProject, APictureKeepsTheDesignJournalAndTitle)
{
    makeDesign(2);
    ws->view.scrollX = 200;
    ws->view.scrollY = 100;
    open(std::string(KELVARA_TEST_DATA) + "/project/marks3x2-24.bmp");
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_TRUE(ws->picture.loaded());
    EXPECT_EQ(ws->picture.pictureName.toStdString(),
              std::string(KELVARA_TEST_DATA) + "/project/marks3x2-24.bmp");
    EXPECT_EQ(ws->picture.picLeft, 200);
    EXPECT_EQ(ws->picture.picTop, 100);
    EXPECT_EQ(ws->table.objectCount, 2);
    EXPECT_EQ(countJournalSteps(ws->journal), 1);
    EXPECT_TRUE(fake.title.titles.empty());
    // The canvas shows the picture; the objects are the same.
    EXPECT_TRUE(ws->refresh.render);
    EXPECT_TRUE(ws->refresh.repaint);
    EXPECT_EQ(ws->refresh.designRevision, 0u);
    refresh(*ws, platform);

    // A picture the loader refuses (a palette picture) is an error box, not
    // the end of the program, and the old picture stays loaded and shown.
    open(std::string(KELVARA_TEST_DATA) + "/project/palette3x2-8.bmp");
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].caption, message(*ws, 11));
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, 12));
    EXPECT_TRUE(ws->picture.loaded());
    EXPECT_EQ(ws->picture.pictureName.toStdString(),
              std::string(KELVARA_TEST_DATA) + "/project/marks3x2-24.bmp");
    EXPECT_EQ(ws->picture.picWidth, 3);
    EXPECT_EQ(ws->table.objectCount, 2);
    EXPECT_FALSE(ws->refresh.render);
}

// A FIFO blocked the program in open until a writer came, and /dev/zero was
// read up to the size limit: only regular files are read at all.
TEST_F(OpenProject, FifosAndDevicesAreRefusedAtOnceAndChangeNothing)
{
    makeDesign(2);
    const std::string picture = std::string(KELVARA_TEST_DATA) + "/project/marks3x2-24.bmp";
    open(picture);
    const std::string fifoProject = folder.file("pipe.kvp");
    const std::string fifoPicture = folder.file("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifoProject.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(fifoPicture.c_str(), 0600), 0);
    const std::string zeroProject = folder.file("zero.kvp");
    std::filesystem::create_symlink("/dev/zero", zeroProject);

    const std::pair<std::string, int> cases[] = {
        {fifoProject, 16}, {zeroProject, 16}, {fifoPicture, 12}, {"/dev/zero", 12}};
    for (const auto& [path, slot] : cases) {
        fake.boxes.shown.clear();
        open(path);
        ASSERT_EQ(fake.boxes.shown.size(), 1u) << path;
        EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, slot)) << path;
        EXPECT_EQ(ws->table.objectCount, 2) << path;
        EXPECT_EQ(countJournalSteps(ws->journal), 1) << path;
        EXPECT_EQ(ws->picture.pictureName.toStdString(), picture) << path;
        EXPECT_TRUE(fake.title.titles.empty()) << path;
        EXPECT_TRUE(ws->rememberedFileName.isEmpty()) << path;
    }
}

// Saved with the design, named relative to the project (blanks, a semicolon
// and UTF-8 in the name survive), the picture comes back where it was; gone,
// it is said once and the design still opens; an old project opens without one.
TEST_F(OpenProject, ThePictureComesBackWithItsProjectAndAMissingOneIsSaidOnce)
{
    const std::string picture =
        folder.write("pics/a b;\xC3\xA9.png",
                     testing::readWholeFile(std::string(KELVARA_TEST_DATA) + "/project/marks4x3.png"));
    makeDesign(2);
    ASSERT_TRUE(loadBackgroundPicture(ws->picture, QString::fromStdString(picture), 30, -12));
    stepPictureDimming(ws->picture);
    stepPictureDimming(ws->picture);
    fake.files.answer(folder.file("d.kvp"));
    saveProject(*ws, platform);
    const std::string saved = testing::readWholeFile(folder.file("d.kvp"));
    EXPECT_NE(saved.find("PICTURE LEFT=30 TOP=-12 SCALE=100 DIM=75 HIDE=0 FILE=pics/a%20b%3B%C3%A9.png\r\n"),
              std::string::npos);

    releaseBackgroundPicture(ws->picture);
    openProjectFile(*ws, platform, QString::fromStdString(folder.file("d.kvp")), false);
    EXPECT_EQ(ws->table.objectCount, 2);
    ASSERT_TRUE(ws->picture.loaded());
    EXPECT_EQ(ws->picture.pictureName.toStdString(), picture);
    EXPECT_EQ(ws->picture.picLeft, 30);
    EXPECT_EQ(ws->picture.picTop, -12);
    EXPECT_EQ(ws->picture.pixels.size(), QSize(4, 3));
    EXPECT_EQ(ws->picture.dimPercent, 75);
    stepPictureDimming(ws->picture);
    EXPECT_TRUE(ws->picture.hidden);
    stepPictureDimming(ws->picture);
    EXPECT_FALSE(ws->picture.hidden);
    EXPECT_EQ(ws->picture.dimPercent, 0);
    EXPECT_EQ(dimmedPixel(qRgb(0, 100, 255), 50), qRgb(127, 177, 255));
    EXPECT_TRUE(fake.boxes.shown.empty());

    std::filesystem::remove(picture);
    openProjectFile(*ws, platform, QString::fromStdString(folder.file("d.kvp")), false);
    EXPECT_EQ(ws->table.objectCount, 2);
    EXPECT_FALSE(ws->picture.loaded());
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, kSlotPictureMissing) + " " + picture);

    openProjectFile(*ws, platform, QString::fromStdString(folder.write("old.kvp", "RUN GROUP=1\r\n")), false);
    EXPECT_EQ(ws->table.objectCount, 1);
    EXPECT_FALSE(ws->picture.loaded());
    EXPECT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_FALSE(readPictureLine("PICTURE LEFT=1 TOP=2").has_value());
    EXPECT_FALSE(readPictureLine("RUN GROUP=1").has_value());
}

} // namespace
} // namespace kelvara
