// The data files that ship beside the program.
#include "shell/libraries.h"
#include "shell/outcome.h"
#include "shell/settings.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

using namespace kelvara;
namespace fs = std::filesystem;

namespace {

const std::string kProgramFolder = std::string(KELVARA_SOURCE_DATA) + "/";

} // namespace

TEST(ShippedData, ConfigurationStartsWhereAProductionDigitizerWould)
{
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    Settings settings;
    readConfiguration(settings, *lines, *tokens, kProgramFolder);
    // Running stitch 2.5 mm, rows 0.4 mm apart, underlay stitches 2.5 mm, edge underlay 0.8 mm in,
    // pull compensation 0.2 mm, every object locked with 1 mm stitches, and
    // the stitch view and outlines on; all else as built in.
    Settings expected;
    expected.STITCHVIEW = 1;
    expected.OUTLINES = 1;
    expected.STITCH = 25;
    expected.DENSITY = 40;
    expected.EDGE = 8;
    expected.LENGTH = 25;
    expected.PULLCOMP = 2;
    expected.TIEIN = expected.TIEOUT = 1;
    expected.TIELEN = 10;
    expected.CHART = kChartJanome;
    expected.SPEED = 800;
    expected.THREADVIEW = 1;
    expected.FABRIC = 0xE8E2D4;
    expected.QUICKSAVE = 1;
    expected.COLOURLISTS = 1;
    expected.MENUBAR = 1;
    expected.PICKCOLOUR = 1;
    expected.ZOOMSTEPS = 1;
    expected.SHOWMODES = 1;
    expected.DOCKPANEL = 1;
    expected.LISTWORDS = 1;
    expected.BACKPLAN = 1;
    expected.TOOLSTAYS = 1;
    expected.ENTRYEXIT = 1;
    setHoopSetting(expected, "Brother 130 x 180");
    EXPECT_EQ(std::memcmp(&settings, &expected, sizeof(Settings)), 0);
    // All 22 keys, STITCHVIEW, OUTLINES, MAXSTITCH, CHART, SPEED, THREADVIEW,
    // FABRIC, HOOP, QUICKSAVE, MENUBAR, PICKCOLOUR, COLOURLISTS, ZOOMSTEPS,
    // SHOWMODES, DOCKPANEL, LISTWORDS, BACKPLAN, TOOLSTAYS and ENTRYEXIT are
    // present; MAX only as a comment.
    EXPECT_EQ(lines->lineCount, 40);
}

TEST(ShippedData, MessageFileFillsEverySlot)
{
    auto lines = std::make_unique<LineTable>();
    loadMessages(*lines, kProgramFolder);
    ASSERT_EQ(lines->lineCount, kSlotCount);
    for (int slot = 0; slot < kSlotCount; ++slot)
        EXPECT_FALSE(lines->slot(slot).empty()) << slot;
    for (int slot : {6, 7, 8})
        EXPECT_EQ(lines->slot(slot), "-");
    EXPECT_EQ(lines->slot(11).find("error") != std::string::npos, true);
    EXPECT_EQ(lines->slot(16), "The project file could not be read.");
    // The built-in texts stand in for a missing file: they must be its words.
    for (int slot = 0; slot < kSlotCount; ++slot)
        EXPECT_EQ(lines->slot(slot), builtInMessage(slot)) << slot;
}

TEST(ShippedData, ButtonInformationHasOneLinePerPicture)
{
    auto lines = std::make_unique<LineTable>();
    readTextFile(*lines, kProgramFolder + kButtonInfoFileName);
    ASSERT_EQ(lines->lineCount, 47);
    EXPECT_EQ(lines->slot(0), "Start a new, empty design");
    EXPECT_EQ(lines->slot(13), "Show or hide the stitches");
    EXPECT_EQ(lines->slot(34), "Copy the selected objects to the clipboard");
}

TEST(ShippedData, LibrariesHoldUsableEntries)
{
    auto libraries = std::make_unique<Libraries>();
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    loadLibraries(*libraries, *lines, *tokens, kProgramFolder);

    for (const char* name : {"LEAF", "HEART", "STAR", "FLOWER"}) {
        const int n = findLibraryEntry(libraries->motifs, name);
        ASSERT_GE(n, 0) << name;
        const auto& points = libraries->motifs.points[static_cast<std::size_t>(n)];
        int spread = 0;
        for (const LibraryPoint& p : points)
            spread = std::max({spread, std::abs(p.x), std::abs(p.y)});
        // A real figure of several millimetres, not clipped at the limit.
        EXPECT_GT(spread, 40) << name;
        EXPECT_LT(spread, 121) << name;
    }
    EXPECT_EQ(libraries->patterns.count, 3);
    for (int i = 0; i < libraries->patterns.count; ++i)
        EXPECT_GT(libraries->patterns.rows[static_cast<std::size_t>(i)][0].markCount, 0) << i;
    EXPECT_EQ(libraries->tieOffs.count, 2);
}

// The comments that tell a translator which slot or picture a line is for
// must agree with the line's real position among the kept lines.
TEST(ShippedData, SlotCommentsNameTheLineThatFollowsThem)
{
    const std::pair<const char*, std::string> files[] = {{kMessageFileName, "; slot "},
                                                         {kButtonInfoFileName, "; picture "}};
    for (const auto& [file, marker] : files) {
        const std::string bytes = kelvara::testing::readWholeFile(kProgramFolder + file);
        int kept = 0;
        int announced = -1;
        int checked = 0;
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            std::size_t end = bytes.find('\n', pos);
            if (end == std::string::npos)
                end = bytes.size();
            const std::string raw = bytes.substr(pos, end - pos);
            pos = end + 1;
            if (raw.rfind(marker, 0) == 0) {
                announced = std::atoi(raw.c_str() + marker.size());
                continue;
            }
            if (cleanTextLine(raw).empty())
                continue;
            if (announced >= 0) {
                EXPECT_EQ(announced, kept) << file << ": " << raw;
                ++checked;
            }
            announced = -1;
            ++kept;
        }
        EXPECT_EQ(checked, kept) << file << ": every kept line has its comment";
    }
}

// Lines longer than 255 characters would be cut without notice, and bytes
// above 127 would depend on the reader's code page.
TEST(ShippedData, TextFilesArePlainAsciiWithShortLines)
{
    for (const auto& entry : fs::recursive_directory_iterator(KELVARA_SOURCE_DATA)) {
        if (!entry.is_regular_file())
            continue;
        const std::string ext = entry.path().extension().string();
        if (ext != ".txt" && ext != ".cfg")
            continue;
        const std::string bytes = kelvara::testing::readWholeFile(entry.path().string());
        std::size_t lineLength = 0;
        for (unsigned char c : bytes) {
            ASSERT_LT(c, 128) << entry.path();
            lineLength = (c == '\n' || c == '\r') ? 0 : lineLength + 1;
            ASSERT_LE(lineLength, 255u) << entry.path();
        }
    }
}
