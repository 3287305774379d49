// The shared text-file reader: line rules, limits and hostile input.
#include "shell/texts.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <vector>

using namespace kelvara;
using kelvara::testing::TempFolder;

namespace {

std::vector<std::string> keptLines(const LineTable& table)
{
    return {table.lines.begin(), table.lines.begin() + table.lineCount};
}

std::unique_ptr<LineTable> readFile(const std::string& path)
{
    auto table = std::make_unique<LineTable>();
    readTextFile(*table, path);
    return table;
}

std::unique_ptr<LineTable> readBytes(const std::string& bytes)
{
    TempFolder folder;
    return readFile(folder.write("input.txt", bytes));
}

} // namespace

TEST(TextReaderRules, CommentsEmptyLinesTabsAndBlanksFollowTheLineRules)
{
    auto table = readFile(std::string(KELVARA_TEST_DATA) + "/shell/messages_rules.txt");
    // Comment-only, empty and blank-plus-comment lines are not slots.
    EXPECT_EQ(keptLines(*table), (std::vector<std::string>{"first slot", "x ", "word word", "word word",
                                                           "leading blanks and a tab", "trailing blanks "}));
}

TEST(TextReaderRules, EverySlotFromLineCountOnIsEmptyAfterARead)
{
    TempFolder folder;
    auto table = std::make_unique<LineTable>();
    readTextFile(*table, folder.write("long.txt", "a\nb\nc\nd\ne\n"));
    ASSERT_EQ(table->lineCount, 5);
    readTextFile(*table, folder.write("short.txt", "x\ny\n"));
    EXPECT_EQ(table->lineCount, 2);
    for (int i = 2; i < LineTable::kSlots; ++i)
        ASSERT_TRUE(table->slot(i).empty()) << i;
    EXPECT_TRUE(table->slot(-1).empty());
    EXPECT_TRUE(table->slot(LineTable::kSlots).empty());
}

TEST(TextReaderRules, KeepsAtMost2049Lines)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "line " + std::to_string(i) + "\n";
    auto table = readBytes(text);
    EXPECT_EQ(table->lineCount, 2049);
    EXPECT_EQ(table->slot(2048), "line 2048");
}

TEST(TextReaderRules, LineIsCutTo255CharactersBeforeTheOtherRules)
{
    // The cut comes first: a ';' beyond column 255 cuts nothing, and blanks
    // beyond it do not reach the collapsed text.
    const std::string lateComment = std::string(260, 'a') + ";comment";
    const std::string lateWord = std::string(200, 'b') + std::string(100, ' ') + "tail";
    auto table = readBytes(lateComment + "\n" + lateWord + "\nnext\n");
    ASSERT_EQ(table->lineCount, 3);
    EXPECT_EQ(table->slot(0), std::string(255, 'a'));
    EXPECT_EQ(table->slot(1), std::string(200, 'b') + " ");
    EXPECT_EQ(table->slot(2), "next");
}

TEST(TextReaderRules, CrLfAndCrAloneAndLfAloneAllEndLines)
{
    auto crlf = readBytes("one\r\ntwo\r\nthree");
    auto cr = readBytes("one\rtwo\rthree\r");
    auto mixed = readBytes("one\r\r\ntwo\n\rthree");
    const std::vector<std::string> expected{"one", "two", "three"};
    EXPECT_EQ(keptLines(*crlf), expected);
    EXPECT_EQ(keptLines(*cr), expected);
    EXPECT_EQ(keptLines(*mixed), expected);
}

TEST(TextReaderRules, MessagesAreReloadedAfterAnotherFileUsedTheTable)
{
    TempFolder folder;
    std::string messages;
    for (int i = 0; i < 16; ++i)
        messages += "message " + std::to_string(i) + "\n";
    folder.write("hlaseni.txt", messages);
    auto table = std::make_unique<LineTable>();
    loadMessages(*table, folder.file(""));
    readTextFile(*table, folder.write("project.kvp", "RUN LEN=20\nSATEN SDENS=4\n"));
    ASSERT_NE(table->slot(11), "message 11");
    loadMessages(*table, folder.file(""));
    EXPECT_EQ(table->slot(11), "message 11");
    EXPECT_EQ(table->lineCount, 16);
}

TEST(TextReaderBadInput, MissingFileFolderAndDeviceGiveAnEmptyTable)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "x.txt");
    auto table = std::make_unique<LineTable>();
    const std::vector<std::string> paths{folder.file("missing.txt"), folder.file("x.txt"), folder.file(""),
                                         "/dev/zero", ""};
    for (const std::string& path : paths) {
        readTextFile(*table, folder.write("filled.txt", "stale\n"));
        ASSERT_EQ(table->lineCount, 1);
        readTextFile(*table, path);
        EXPECT_EQ(table->lineCount, 0) << path;
        EXPECT_TRUE(table->slot(0).empty()) << path;
    }
}

TEST(TextReaderBadInput, NulBytesStayCharactersOfTheirLine)
{
    auto table = readBytes(std::string("ab\0cd\n\0\nnext\n", 13));
    ASSERT_EQ(table->lineCount, 3);
    EXPECT_EQ(table->slot(0), std::string("ab\0cd", 5));
    EXPECT_EQ(table->slot(1), std::string("\0", 1));
    EXPECT_EQ(table->slot(2), "next");
}

TEST(TextReaderBadInput, OneMegabyteLineIsCutAndTheFollowingLineIsRead)
{
    auto table = readBytes(std::string(1 << 20, 'z') + "\r\nafter");
    ASSERT_EQ(table->lineCount, 2);
    EXPECT_EQ(table->slot(0), std::string(255, 'z'));
    EXPECT_EQ(table->slot(1), "after");
}

TEST(TextReaderBadInput, BinaryBytesOnlyYieldLinesThatObeyTheRules)
{
    std::mt19937 random(7);
    std::string bytes(300000, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    auto table = readBytes(bytes);
    ASSERT_GT(table->lineCount, 0);
    ASSERT_LE(table->lineCount, LineTable::kSlots);
    for (int i = 0; i < table->lineCount; ++i) {
        const std::string& line = table->slot(i);
        ASSERT_FALSE(line.empty());
        ASSERT_LE(line.size(), 255u);
        EXPECT_EQ(line.find_first_of(";\r\n\t"), std::string::npos);
        EXPECT_NE(line.front(), ' ');
        EXPECT_EQ(line.find("  "), std::string::npos);
    }
}

// The file is read in chunks and project files are split in memory: both must
// keep exactly the same lines, also where a CR LF pair or a long line
// straddles a chunk boundary.
TEST(TextReaderBadInput, FileReaderAgreesWithTheInMemorySplitterAcrossChunkBoundaries)
{
    std::mt19937 random(11);
    const char alphabet[] = {'a', 'b', ' ', '\t', ';', '\r', '\n', '\0', '*'};
    std::string bytes;
    while (bytes.size() < 400000) {
        if (random() % 50 == 0)
            bytes.append(random() % 2000, 'q');
        bytes.push_back(alphabet[random() % sizeof alphabet]);
    }
    // A CR LF pair exactly on the first chunk boundary.
    bytes[65535] = '\r';
    bytes[65536] = '\n';

    auto fromFile = readBytes(bytes);
    auto fromMemory = std::make_unique<LineTable>();
    readTextBytes(*fromMemory, bytes);
    std::vector<std::string> split;
    forEachTextLine(bytes.data(), bytes.size(), LineTable::kMaxLineLength, [&](std::string line) {
        split.push_back(std::move(line));
        return split.size() < static_cast<std::size_t>(LineTable::kSlots);
    });
    EXPECT_EQ(keptLines(*fromFile), split);
    EXPECT_EQ(keptLines(*fromMemory), split);
}
