#include "project/openproject.h"
#include "project/projectformat.h"
#include "project/saveproject.h"
#include "projectfixtures.h"
#include "shell/filesizesignal.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace kelvara {
namespace {

using testing::appendObject;
using testing::FakePlatform;
using testing::paramsOf;
using testing::readWholeFile;
using testing::setNames;
using testing::TempFolder;

class SaveProject : public ::testing::Test {
protected:
    void SetUp() override { loadMessages(ws->lines, std::string(KELVARA_SOURCE_DATA) + "/"); }

    void save(const std::string& path)
    {
        fake.files.answer(path);
        saveProject(*ws, platform);
    }

    // One object of each of three kinds, told apart by their group.
    void makeThree()
    {
        appendObject(*ws, KindRun, 1);
        appendObject(*ws, KindStar, 2);
        appendObject(*ws, KindCircle, 3);
    }

    std::vector<std::string> fileNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void expectSaveFailedBox()
    {
        ASSERT_EQ(fake.boxes.shown.size(), 1u);
        EXPECT_FALSE(fake.boxes.shown[0].question);
        EXPECT_EQ(fake.boxes.shown[0].caption, message(*ws, 11));
        // The message, then the system's reason on a line of its own.
        EXPECT_EQ(fake.boxes.shown[0].text.rfind(message(*ws, 13) + "\n", 0), 0u) << fake.boxes.shown[0].text;
        EXPECT_GT(fake.boxes.shown[0].text.size(), message(*ws, 13).size() + 1);
        EXPECT_TRUE(fake.title.titles.empty());
        EXPECT_EQ(ws->cursorNumber, 0);
    }

    std::unique_ptr<Workspace> ws = testing::makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    TempFolder folder;
};

// The kind word of every object line of a file, in file order.
std::vector<std::string> kindWords(const std::string& text)
{
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        const std::string line = text.substr(pos, end - pos);
        if (!line.empty())
            words.push_back(line.substr(0, line.find(' ')));
        pos = end == std::string::npos ? text.size() : end + 2;
    }
    return words;
}

TEST_F(SaveProject, AnEmptyDesignIsRefusedWithoutADialog)
{
    fake.files.answer(folder.file("x.kvp"));
    saveProject(*ws, platform);
    EXPECT_TRUE(fake.files.requests.empty());
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_EQ(fake.boxes.shown[0].caption, message(*ws, 11));
    EXPECT_EQ(fake.boxes.shown[0].text, message(*ws, 14));
    EXPECT_TRUE(fileNames().empty());
}

TEST_F(SaveProject, TheDialogStartsWithTheRememberedNameAndCancelChangesNothing)
{
    makeThree();
    ws->rememberedFileName = "/somewhere/plan.kvp";
    saveProject(*ws, platform); // cancel
    ASSERT_EQ(fake.files.requests.size(), 1u);
    const FileDialogRequest& request = fake.files.requests[0];
    EXPECT_TRUE(fake.files.wasSave[0]);
    EXPECT_EQ(request.title, message(*ws, 4));
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].description, "Kelvara projekt (*.kvp)");
    EXPECT_EQ(request.filters[0].pattern, "*.kvp");
    EXPECT_EQ(request.defaultSuffix, "kvp");
    EXPECT_EQ(request.startName, "/somewhere/plan.kvp");
    EXPECT_TRUE(request.confirmOverwrite);

    EXPECT_EQ(ws->rememberedFileName, "/somewhere/plan.kvp");
    EXPECT_TRUE(fake.title.titles.empty());
    EXPECT_TRUE(fake.cursor.history.empty());
    EXPECT_TRUE(fake.boxes.shown.empty());
}

TEST_F(SaveProject, ObjectsAreWrittenAsLinePairsEndingInCrLf)
{
    makeThree();
    const std::string path = folder.file("plan.kvp");
    save(path);

    const std::string text = readWholeFile(path);
    EXPECT_EQ(text, projectFileText(*ws));
    EXPECT_EQ(kindWords(text), (std::vector<std::string>{"RUN", "STAR", "CIRCLE"}));
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++lineEnds;
            EXPECT_EQ(text[i - 1], '\r');
        }
    }
    EXPECT_EQ(lineEnds, 6u); // object, empty, three times
    EXPECT_EQ(text.find("\r\n\r\n\r\n"), std::string::npos);

    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(fake.title.current().toStdString(), "Kelvara Stitches (" + path + ")");
    EXPECT_EQ(ws->rememberedFileName.toStdString(), path);
    EXPECT_EQ(fake.cursor.history, (std::vector<int>{7, 0}));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"plan.kvp"})); // no temporary left behind

    // The next dialog starts with the full path.
    save(path);
    EXPECT_EQ(fake.files.requests.back().startName.toStdString(), path);
}

TEST_F(SaveProject, ObjectsAreWrittenInDisplayOrderAndComeBackInIt)
{
    // Rows 0, 1, 2 shown as 2, 0, 1: the file follows what the user sees.
    makeThree();
    ObjectTable& t = ws->table;
    t.rows[2].prev = -1;
    t.rows[2].next = 0;
    t.rows[0].prev = 2;
    t.rows[0].next = 1;
    t.rows[1].prev = 0;
    t.rows[1].next = -1;
    t.firstObject = 2;
    const std::string path = folder.file("order.kvp");
    save(path);
    EXPECT_EQ(kindWords(readWholeFile(path)), (std::vector<std::string>{"CIRCLE", "RUN", "STAR"}));

    fake.files.answer(path);
    openProject(*ws, platform);
    ASSERT_EQ(ws->table.objectCount, 3);
    EXPECT_EQ(ws->table.rows[0].kind, KindCircle);
    EXPECT_EQ(ws->table.rows[1].kind, KindRun);
    EXPECT_EQ(ws->table.rows[2].kind, KindStar);
    EXPECT_EQ(ws->table.rows[0].group, 3);
}

TEST_F(SaveProject, AReusedRowIsWrittenWhereItIsShown)
{
    // Delete the object in row 1, then a new one takes row 1 again but is
    // shown first.
    makeThree();
    ObjectTable& t = ws->table;
    ws->records.release(t.rows[1].params);
    unlinkRow(t, 1);
    t.rows[1] = ObjectEntry{};
    t.objectCount = 2;
    const int32_t size = recordSize(KindSaten);
    t.rows[1] = ObjectEntry{KindSaten, ws->records.allocate(size), size, 0, 9, -1, -1};
    t.rows[1].next = t.firstObject;
    t.rows[t.firstObject].prev = 1;
    t.firstObject = 1;
    t.objectCount = 3;

    EXPECT_EQ(kindWords(projectFileText(*ws)), (std::vector<std::string>{"SATEN", "RUN", "CIRCLE"}));
}

TEST_F(SaveProject, RowsMissedByADamagedChainAreStillWritten)
{
    makeThree();
    ws->table.rows[0].next = -1; // the chain ends after the first object
    EXPECT_EQ(kindWords(projectFileText(*ws)), (std::vector<std::string>{"RUN", "STAR", "CIRCLE"}));
    ws->table.rows[2].next = 0; // and now it loops
    ws->table.rows[0].next = 2;
    EXPECT_EQ(kindWords(projectFileText(*ws)), (std::vector<std::string>{"RUN", "CIRCLE", "STAR"}));
}

TEST_F(SaveProject, SavingOverAFileReplacesItsWholeContent)
{
    makeThree();
    const std::string path = folder.write("plan.kvp", std::string(100000, 'x'));
    save(path);
    EXPECT_EQ(readWholeFile(path), projectFileText(*ws));
}

TEST_F(SaveProject, AFileThatCannotBeCreatedIsReportedAndTheOldOneKept)
{
    makeThree();
    // The target is a folder holding a file.
    const std::string target = folder.file("taken.kvp");
    std::filesystem::create_directory(target);
    folder.write("taken.kvp/inside.txt", "keep me");
    save(target);
    expectSaveFailedBox();
    EXPECT_EQ(ws->rememberedFileName.toStdString(), target); // the name is kept for the next try
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(readWholeFile(folder.file("taken.kvp/inside.txt")), "keep me");

    // A folder that does not exist.
    fake.boxes.shown.clear();
    save(folder.file("nowhere/plan.kvp"));
    expectSaveFailedBox();
    EXPECT_FALSE(std::filesystem::exists(folder.file("nowhere")));
}

TEST_F(SaveProject, AWriteFailureLeavesTheOldFileAsItWas)
{
    // A file size limit makes the writes fail part way, as a full disk does.
    for (int i = 0; i < 200; ++i)
        appendObject(*ws, KindRect, i + 1);
    const std::string old = "RUN GROUP=1\r\n\r\n";
    const std::string path = folder.write("plan.kvp", old);

    struct rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save(path);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    expectSaveFailedBox();
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"plan.kvp"}));

    // The same save succeeds once there is room.
    fake.boxes.shown.clear();
    save(path);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(readWholeFile(path), projectFileText(*ws));
}

// Without the program's own setting the signal killed the process, and the
// design with it. The child saves under a small limit with only that setting.
TEST_F(SaveProject, AFileSizeLimitFailsTheSaveInsteadOfKillingTheProgram)
{
    for (int i = 0; i < 60; ++i)
        appendObject(*ws, KindSaten, i + 1);
    const std::string path = folder.file("plan.kvp");
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_DFL);
            ignoreFileSizeSignal();
            struct rlimit small {};
            getrlimit(RLIMIT_FSIZE, &small);
            small.rlim_cur = 1024;
            setrlimit(RLIMIT_FSIZE, &small);
            save(path);
            const bool failedBox =
                fake.boxes.shown.size() == 1 && fake.boxes.shown[0].text.rfind(message(*ws, 13), 0) == 0;
            std::_Exit(failedBox && !std::filesystem::exists(path) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SaveProject, AFileAnotherEditorSavedMeanwhileIsOverwrittenOnlyWhenTheUserSaysSo)
{
    makeThree();
    const std::string path = folder.file("shared.kvp");
    save(path);
    const std::string ours = readWholeFile(path);
    // Saved again untouched: no question.
    save(path);
    EXPECT_TRUE(fake.boxes.shown.empty());

    const std::string theirs = "STAR GROUP=9\r\n\r\n";
    folder.write("shared.kvp", theirs);
    fake.boxes.answers.push_back(false);
    save(path);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);
    EXPECT_TRUE(fake.boxes.shown[0].question);
    EXPECT_EQ(fake.boxes.shown[0].caption, message(*ws, kSlotChangedOnDiskCaption));
    EXPECT_EQ(readWholeFile(path), theirs);

    fake.boxes.answers.push_back(true);
    save(path);
    EXPECT_EQ(readWholeFile(path), ours);
    EXPECT_EQ(fake.boxes.shown.size(), 2u);
}

TEST_F(SaveProject, AReadOnlyFolderKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    makeThree();
    const std::string path = folder.write("ro/plan.kvp", "old");
    std::filesystem::permissions(folder.file("ro"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    save(path);
    std::filesystem::permissions(folder.file("ro"), std::filesystem::perms::owner_all);
    expectSaveFailedBox();
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST_F(SaveProject, ADesignSurvivesSaveAndOpenByteForByte)
{
    setNames(ws->libraries.motifs, {"leaf", std::string(63, 'm')});
    setNames(ws->libraries.tieOffs, {"lock"});
    for (int32_t kind = KindRun; kind <= KindCircle; ++kind) {
        const int32_t row = appendObject(*ws, kind, kind * 1000);
        // Start from the reader's defaults, then make a few fields unusual.
        ObjectEntry made{};
        std::string defaults =
            std::vector<std::string>{"", "RUN", "SATEN", "STEIL", "RECT", "STAR", "CIRCLE"}[kind] +
            " MOTIVE=" + std::string(63, 'M') + " TIEIN=LOCK X1=-1234567 AX2=9999999 X=-5 RX=4321";
        parseLine(ws->tokens, defaults);
        ASSERT_TRUE(parseObjectLine(ws->tokens, made, ws->records, ws->settings, ws->libraries));
        std::memcpy(ws->records.bytes(ws->table.rows[row].params), ws->records.bytes(made.params),
                    static_cast<std::size_t>(recordSize(kind)));
        ws->records.release(made.params);
    }
    const std::string path = folder.file("all.kvp");
    save(path);
    const std::string first = readWholeFile(path);

    auto other = testing::makeWorkspace();
    other->libraries = ws->libraries;
    FakePlatform otherFake;
    otherFake.files.answer(path);
    openProject(*other, otherFake.platform());
    ASSERT_EQ(other->table.objectCount, 6);
    for (int32_t row = 0; row < 6; ++row) {
        const ObjectEntry& a = ws->table.rows[row];
        const ObjectEntry& b = other->table.rows[row];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.group, b.group);
        EXPECT_EQ(std::memcmp(ws->records.bytes(a.params), other->records.bytes(b.params),
                              static_cast<std::size_t>(recordSize(a.kind))),
                  0)
            << "row " << row;
    }
    EXPECT_EQ(projectFileText(*other), first);
}

// A library file named "a;b" turned every key after its reference into a
// comment on reopening, and one named "12" came back as NIL.
TEST_F(SaveProject, EveryLoadedLibraryEntryReadsBackFromTheProject)
{
    for (const char* name : {"motivy/a;b.txt", "motivy/12.txt", "motivy/two words.txt", "motivy/leaf.txt",
                             "zapositi/7.txt", "zapositi/lock.txt"})
        folder.write(name, "1 1\n");
    folder.write("vzory/b;c.txt", "*.\n");
    folder.write("vzory/brick.txt", "*.\n");
    loadLibraries(ws->libraries, ws->lines, ws->tokens, folder.file(""));
    loadMessages(ws->lines, std::string(KELVARA_SOURCE_DATA) + "/");
    const Libraries& libraries = ws->libraries;
    ASSERT_GT(libraries.motifs.count, 0);
    for (int32_t motif = 0; motif < libraries.motifs.count; ++motif) {
        const int32_t row = appendObject(*ws, KindSaten, motif + 1);
        SatenParams& saten = paramsOf(*ws, row).saten;
        saten.MOTIVE = motif;
        saten.PATTERN = motif % libraries.patterns.count;
        saten.TIEIN = motif % libraries.tieOffs.count;
        saten.colour = 0x123456;
        saten.REPEAT = 3;
    }
    const std::string path = folder.file("refs.kvp");
    save(path);

    auto other = testing::makeWorkspace();
    other->libraries = ws->libraries;
    FakePlatform otherFake;
    otherFake.files.answer(path);
    openProject(*other, otherFake.platform());
    ASSERT_EQ(other->table.objectCount, ws->table.objectCount);
    for (int32_t row = 0; row < ws->table.objectCount; ++row) {
        const SatenParams& a = paramsOf(*ws, row).saten;
        const SatenParams& b = paramsOf(*other, row).saten;
        EXPECT_EQ(b.MOTIVE, a.MOTIVE) << row;
        EXPECT_EQ(b.PATTERN, a.PATTERN) << row;
        EXPECT_EQ(b.TIEIN, a.TIEIN) << row;
        EXPECT_EQ(b.colour, a.colour) << row;
        EXPECT_EQ(b.REPEAT, a.REPEAT) << row;
    }
}

TEST_F(SaveProject, PathsLongerThan255CharactersSaveAndOpen)
{
    makeThree();
    std::string sub;
    for (int i = 0; i < 6; ++i)
        sub += std::string(50, static_cast<char>('k' + i)) + "/";
    std::filesystem::create_directories(folder.file(sub));
    const std::string path = folder.file(sub + "design.kvp");
    ASSERT_GT(path.size(), 300u);
    save(path);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(readWholeFile(path), projectFileText(*ws));
    EXPECT_EQ(ws->rememberedFileName.toStdString(), path);

    fake.files.answer(path);
    openProject(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 3);
    EXPECT_EQ(fake.title.current().toStdString(), "Kelvara Stitches (" + path + ")");
}

} // namespace
} // namespace kelvara
