// The motif, pattern and tie-off libraries: names, contents, limits and odd folders.
#include "shell/libraries.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

using namespace kelvara;
using kelvara::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

struct Scanner {
    std::unique_ptr<Libraries> libraries = std::make_unique<Libraries>();
    std::unique_ptr<LineTable> lines = std::make_unique<LineTable>();
    std::unique_ptr<TokenTable> tokens = std::make_unique<TokenTable>();

    const MotifLibrary& motifs(const fs::path& folder)
    {
        scanLibrary(libraries->motifs, *lines, *tokens, folder.string());
        return libraries->motifs;
    }
    const TieOffLibrary& tieOffs(const fs::path& folder)
    {
        scanLibrary(libraries->tieOffs, *lines, *tokens, folder.string());
        return libraries->tieOffs;
    }
    const PatternLibrary& patterns(const fs::path& folder)
    {
        scanLibrary(libraries->patterns, *lines, folder.string());
        return libraries->patterns;
    }
};

std::string numbered(int i)
{
    std::string n = std::to_string(i);
    return "n" + std::string(3 - n.size(), '0') + n;
}

} // namespace

TEST(LibraryNames, NameIsTheFileNameUpToTheFirstTxtWithin63Characters)
{
    EXPECT_EQ(libraryName("Star.txt"), "Star");
    EXPECT_EQ(libraryName("a.txt.txt"), "a");
    EXPECT_EQ(libraryName("wave.TXT.bak.txt"), "wave");
    EXPECT_EQ(libraryName(".txt"), "");
    EXPECT_EQ(libraryName("Leaf.Txt"), "Leaf");

    const std::string stem66(66, 'm');
    EXPECT_EQ(libraryName(stem66 + ".txt"), std::string(63, 'm'));
    // ".txt" straddling the 63rd character is not removed.
    EXPECT_EQ(libraryName(std::string(61, 'm') + ".txt"), std::string(61, 'm') + ".t");
    EXPECT_EQ(libraryName(std::string(59, 'm') + ".txt"), std::string(59, 'm'));
    EXPECT_EQ(libraryName(std::string(296, 'n') + ".txt"), std::string(63, 'n'));
}

TEST(MotifLibraryContent, LinesGivePointsInOrderAndTheRestStaysZero)
{
    TempFolder folder;
    folder.write("motivy/Leaf.txt", "; header\n12 -40\n\n300 -500\n7\n5 5\n");
    folder.write("motivy/word.txt", "abc 5\n-8 x=3\n");
    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(folder.path() / "motivy");
    ASSERT_EQ(motifs.count, 2);
    EXPECT_EQ(motifs.names[0], "Leaf");
    const auto& leaf = motifs.points[0];
    EXPECT_EQ(leaf[0].x, 12);
    EXPECT_EQ(leaf[0].y, -40);
    EXPECT_EQ(leaf[1].x, 121);
    EXPECT_EQ(leaf[1].y, -121);
    // A single number is a point on the x axis, not one with the previous y.
    EXPECT_EQ(leaf[2].x, 7);
    EXPECT_EQ(leaf[2].y, 0);
    EXPECT_EQ(leaf[3].x, 5);
    for (int i = 4; i < MotifLibrary::kPoints; ++i)
        ASSERT_TRUE(leaf[i].x == 0 && leaf[i].y == 0) << i;
    // A word counts as 0; the tokenizer's key rule applies to "x=3".
    EXPECT_EQ(motifs.points[1][0].x, 0);
    EXPECT_EQ(motifs.points[1][0].y, 5);
    EXPECT_EQ(motifs.points[1][1].x, -8);
    EXPECT_EQ(motifs.points[1][1].y, 3);
}

TEST(MotifLibraryContent, SurplusLinesAreIgnored)
{
    TempFolder folder;
    std::string lines;
    for (int i = 0; i < 70; ++i)
        lines += std::to_string(i) + " 1\n";
    folder.write("t/long.txt", lines);
    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(folder.path() / "t");
    ASSERT_EQ(motifs.count, 1);
    EXPECT_EQ(motifs.points[0][63].x, 63);
    const TieOffLibrary& ties = scan.tieOffs(folder.path() / "t");
    ASSERT_EQ(ties.count, 1);
    EXPECT_EQ(ties.points[0][15].x, 15);
}

TEST(PatternLibraryContent, MarksComeFromStarsBeforeTheLastCharacter)
{
    TempFolder folder;
    fs::copy_file(fs::path(KELVARA_TEST_DATA) / "shell" / "pattern_table.txt", folder.path() / "table.txt");
    folder.write("alone.txt", "*..*\n");
    folder.write("single.txt", "*\n");
    folder.write("wide.txt", std::string(20, '*') + "\n");
    Scanner scan;
    const PatternLibrary& patterns = scan.patterns(folder.path());
    ASSERT_EQ(patterns.count, 4);
    ASSERT_EQ(patterns.names[0], "alone");
    EXPECT_EQ(patterns.rows[0][0].markCount, 1);
    EXPECT_EQ(patterns.rows[0][0].marks[0], 10);

    ASSERT_EQ(patterns.names[1], "single");
    EXPECT_EQ(patterns.rows[1][0].markCount, 1);

    ASSERT_EQ(patterns.names[2], "table");
    const auto& table = patterns.rows[2];
    EXPECT_EQ(table[0].markCount, 2);
    EXPECT_EQ(table[0].marks[0], 10);
    EXPECT_EQ(table[0].marks[1], 40);
    EXPECT_EQ(table[1].markCount, 1);
    EXPECT_EQ(table[1].marks[0], 20);
    EXPECT_EQ(table[2].markCount, 0);

    ASSERT_EQ(patterns.names[3], "wide");
    EXPECT_EQ(patterns.rows[3][0].markCount, 16);
    EXPECT_EQ(patterns.rows[3][0].marks[15], 160);
}

TEST(PatternLibraryContent, MoreThanSixteenMarkedLinesFillSixteenRows)
{
    TempFolder folder;
    std::string lines;
    for (int i = 0; i < 20; ++i)
        lines += std::string(static_cast<std::size_t>(i % 5), '.') + "*.\n";
    folder.write("rows.txt", lines);
    Scanner scan;
    const PatternLibrary& patterns = scan.patterns(folder.path());
    ASSERT_EQ(patterns.count, 1);
    for (int r = 0; r < PatternLibrary::kRows; ++r) {
        ASSERT_EQ(patterns.rows[0][r].markCount, 1) << r;
        EXPECT_EQ(patterns.rows[0][r].marks[0], 10 * (r % 5 + 1)) << r;
    }
}

TEST(LibraryLimits, At256MotifsTheScanStopsAndCommentOnlyFilesDoNotCount)
{
    TempFolder folder;
    for (int i = 0; i < 300; ++i)
        folder.write("m/" + numbered(i) + ".txt", i % 10 == 3 ? "; comment only\n" : "1 2\n");
    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(folder.path() / "m");
    ASSERT_EQ(motifs.count, 256);
    EXPECT_EQ(motifs.names[0], "n000");
    EXPECT_EQ(motifs.names[3], "n004");
    // 256 usable files among the first 285, as 29 of them hold only comments.
    EXPECT_EQ(motifs.names[255], "n284");
}

TEST(LibraryLimits, TheSeventeenthTieOffIsNotLoaded)
{
    TempFolder folder;
    for (int i = 0; i < 17; ++i)
        folder.write(numbered(i) + ".txt", "1 1\n");
    Scanner scan;
    const TieOffLibrary& ties = scan.tieOffs(folder.path());
    EXPECT_EQ(ties.count, 16);
    EXPECT_EQ(ties.names[15], "n015");
    EXPECT_EQ(findLibraryEntry(ties, "N016"), -1);
}

TEST(LibraryFolders, OnlyRegularTxtFilesAreEntriesInCaseInsensitiveOrder)
{
    TempFolder folder;
    const fs::path lib = folder.path() / "lib";
    folder.write("lib/b.txt", "1 1\n");
    folder.write("lib/A.TXT", "2 2\n");
    folder.write("lib/c.Txt", "3 3\n");
    folder.write("lib/notes.md", "4 4\n");
    folder.write("lib/d.txt.bak", "4 4\n");
    folder.write("lib/txt", "4 4\n");
    folder.write("lib/empty.txt", "");
    folder.write("lib/.txt", "5 5\n");
    folder.write("outside.dat", "6 6\n");
    fs::create_directories(lib / "x.txt");
    folder.write("lib/x.txt/inner.txt", "7 7\n");
    fs::create_symlink(folder.path() / "outside.dat", lib / "link.txt");
    fs::create_symlink(folder.path() / "missing", lib / "dangling.txt");
    fs::create_symlink(lib / "loop.txt", lib / "loop.txt");

    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(lib);
    ASSERT_EQ(motifs.count, 5);
    EXPECT_EQ(motifs.names[0], "");
    EXPECT_EQ(motifs.names[1], "A");
    EXPECT_EQ(motifs.names[2], "b");
    EXPECT_EQ(motifs.names[3], "c");
    EXPECT_EQ(motifs.names[4], "link");
    EXPECT_EQ(motifs.points[4][0].x, 6);
}

// A project line holds the name raw: these would come back as a comment, a
// cut value, a number or NIL, so they are not entries at all.
TEST(LibraryFolders, NamesThatCannotBeWrittenBackAreSkipped)
{
    TempFolder folder;
    for (const char* name : {"a;b", "two words", "tab\tin", "bell\a", "del\x7f", "12", "007", "x1F", "$ff",
                             "-3", "nil", "Leaf", "12b", "leaf=2"})
        folder.write(std::string("m/") + name + ".txt", "1 1\n");
    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(folder.path() / "m");
    ASSERT_EQ(motifs.count, 3);
    EXPECT_EQ(motifs.names[0], "12b");
    EXPECT_EQ(motifs.names[1], "Leaf");
    EXPECT_EQ(motifs.names[2], "leaf=2");
}

TEST(LibraryFolders, UnreadableFilesAreSkippedWithoutUsingAnIndex)
{
    TempFolder folder;
    folder.write("m/a.txt", "1 1\n");
    const std::string locked = folder.write("m/b.txt", "2 2\n");
    folder.write("m/c.txt", "3 3\n");
    fs::permissions(locked, fs::perms::none);
    if (std::FILE* probe = std::fopen(locked.c_str(), "rb")) {
        std::fclose(probe);
        GTEST_SKIP() << "permissions do not stop this user from reading";
    }
    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(folder.path() / "m");
    ASSERT_EQ(motifs.count, 2);
    EXPECT_EQ(motifs.names[1], "c");
    EXPECT_EQ(motifs.points[1][0].x, 3);
}

TEST(LibraryFolders, MissingFolderGivesAnEmptyLibraryEvenAfterAnEarlierScan)
{
    TempFolder folder;
    folder.write("m/one.txt", "1 1\n");
    Scanner scan;
    ASSERT_EQ(scan.motifs(folder.path() / "m").count, 1);
    const MotifLibrary& motifs = scan.motifs(folder.path() / "none");
    EXPECT_EQ(motifs.count, 0);
    EXPECT_EQ(motifs.names[0], "");
    EXPECT_EQ(motifs.points[0][0].x, 0);
    EXPECT_EQ(findLibraryEntry(motifs, "ONE"), -1);
}

TEST(LibraryFolders, LongestFileNamesAndDeepPathsAreRead)
{
    TempFolder folder;
    // 255 bytes is the longest name most file systems allow.
    const std::string stem(251, 'L');
    fs::path deep = folder.path();
    for (int i = 0; i < 6; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    fs::create_directories(deep);
    folder.write(fs::relative(deep / (stem + ".txt"), folder.path()).string(), "9 9\n");
    Scanner scan;
    const MotifLibrary& motifs = scan.motifs(deep);
    ASSERT_EQ(motifs.count, 1);
    EXPECT_EQ(motifs.names[0], std::string(63, 'L'));
    EXPECT_EQ(findLibraryEntry(motifs, std::string(63, 'L')), 0);
}

// Both files of a clash loaded, and a reference to the second read back as
// the first.
TEST(LibraryLookup, ASecondFileOfTheSameNameIsLeftOutAndNamed)
{
    TempFolder folder;
    folder.write("p/leaf.txt", "*.\n");
    folder.write("p/LEAF.txt", "*.\n");
    folder.write("p/Wave.txt", "*.\n");
    const std::string stem(63, 'm');
    folder.write("m/" + stem + "a.txt", "1 1\n");
    folder.write("m/" + stem + "b.txt", "2 2\n");
    folder.write("m/other.txt", "3 3\n");
    Scanner scan;
    const PatternLibrary& patterns = scan.patterns(folder.path() / "p");
    ASSERT_EQ(patterns.count, 2);
    EXPECT_EQ(patterns.names[0], "LEAF");
    EXPECT_EQ(findLibraryEntry(patterns, "LEAF"), 0);
    EXPECT_EQ(findLibraryEntry(patterns, "WAVE"), 1);
    EXPECT_EQ(findLibraryEntry(patterns, "wave"), -1);
    const MotifLibrary& motifs = scan.motifs(folder.path() / "m");
    ASSERT_EQ(motifs.count, 2);
    EXPECT_EQ(motifs.points[0][0].x, 1);
    EXPECT_EQ(motifs.names[1], "other");

    const auto builtIn = std::make_unique<LineTable>();
    EXPECT_EQ(libraryClashes(*scan.libraries, *builtIn),
              "motivy/" + stem + "a.txt (" + stem + "b.txt left out); vzory/LEAF.txt (leaf.txt left out)");
    scan.patterns(folder.path() / "none");
    EXPECT_EQ(libraryClashes(*scan.libraries, *builtIn),
              "motivy/" + stem + "a.txt (" + stem + "b.txt left out)");
}

TEST(LibraryLoading, ThreeFoldersOfTheProgramFolderAreScanned)
{
    TempFolder folder;
    folder.write("motivy/heart.txt", "0 -10\n10 0\n");
    folder.write("vzory/brick.txt", "*...*.\n");
    folder.write("zapositi/lock.txt", "0 0\n8 0\n");
    Scanner scan;
    loadLibraries(*scan.libraries, *scan.lines, *scan.tokens, folder.file(""));
    EXPECT_EQ(findLibraryEntry(scan.libraries->motifs, "HEART"), 0);
    EXPECT_EQ(findLibraryEntry(scan.libraries->patterns, "BRICK"), 0);
    EXPECT_EQ(findLibraryEntry(scan.libraries->tieOffs, "LOCK"), 0);
    EXPECT_EQ(scan.libraries->tieOffs.points[0][1].x, 8);
}
