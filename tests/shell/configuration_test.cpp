// Reading kelvara.cfg: key ranges, the bounded lengths, REPEAT and switches.
#include "shell/settings.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace kelvara;
using kelvara::testing::TempFolder;

namespace {

static_assert(sizeof(Settings) == 40 * sizeof(int32_t) + 64, "Settings is compared as plain words");

bool sameSettings(const Settings& a, const Settings& b)
{
    return std::memcmp(&a, &b, sizeof(Settings)) == 0;
}

// Settings after reading the given configuration text from a program folder.
Settings configured(const std::string& text)
{
    TempFolder folder;
    folder.write(kConfigFileName, text);
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    Settings settings;
    readConfiguration(settings, *lines, *tokens, folder.file(""));
    return settings;
}

} // namespace

TEST(Configuration, MissingOrEmptyFileKeepsEveryDefault)
{
    TempFolder folder;
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    Settings settings;
    readConfiguration(settings, *lines, *tokens, folder.file(""));
    EXPECT_TRUE(sameSettings(settings, Settings{}));
    EXPECT_TRUE(sameSettings(configured("; only a comment\n\n"), Settings{}));
}

TEST(Configuration, ValuesAreForcedIntoTheirRanges)
{
    EXPECT_EQ(configured("DENSITY=0").DENSITY, 1);
    EXPECT_EQ(configured("DENSITY=100").DENSITY, 99);
    EXPECT_EQ(configured("PULLCOMP=-150").PULLCOMP, -99);
    EXPECT_EQ(configured("STEIL=1000").STEIL, 999);
    EXPECT_EQ(configured("MRIZXY=1").MRIZXY, 2);
    EXPECT_EQ(configured("TRIM=$7FFFFFFF").TRIM, 199);
    EXPECT_EQ(configured("TIELEN=-2147483648").TIELEN, 5);
    EXPECT_EQ(configured("MAXSTITCH=10").MAXSTITCH, 30);
    EXPECT_EQ(configured("MAXSTITCH=500").MAXSTITCH, 120);
    // Not a number: 0, then forced.
    EXPECT_EQ(configured("DENSITY=abc").DENSITY, 1);
    EXPECT_EQ(configured("DENSITY=2147483648").DENSITY, 1);
}

TEST(Configuration, SwitchesAreOnForPositiveValuesOnly)
{
    EXPECT_EQ(configured("MRIZ=5").MRIZ, 1);
    EXPECT_EQ(configured("MRIZ=-1").MRIZ, 0);
    EXPECT_EQ(configured("MRIZ=0").MRIZ, 0);
    EXPECT_EQ(configured("MRIZ=YES").MRIZ, 0);
    EXPECT_EQ(configured("AUTO=0").AUTO, 0);
    EXPECT_EQ(configured("STITCHVIEW=7").STITCHVIEW, 1);
    EXPECT_EQ(configured("STITCHVIEW=1\nSTITCHVIEW=-3").STITCHVIEW, 0);
    EXPECT_EQ(configured("outlines=2").OUTLINES, 1);
}

TEST(Configuration, RepeatKeepsOnlyOneThreeFiveOrNine)
{
    EXPECT_EQ(configured("REPEAT=7").REPEAT, 1);
    EXPECT_EQ(configured("REPEAT=12").REPEAT, 9);
    EXPECT_EQ(configured("REPEAT=5").REPEAT, 5);
    EXPECT_EQ(configured("REPEAT=3").REPEAT, 3);
    EXPECT_EQ(configured("REPEAT=-4").REPEAT, 1);
}

TEST(Configuration, MaxIsSettableOnlyWithinFiveToTwenty)
{
    EXPECT_EQ(configured("MAX=3").MAX, 5);
    EXPECT_EQ(configured("MAX=50").MAX, 20);
    EXPECT_EQ(configured("DENSITY=40").MAX, 90);
}

TEST(Configuration, LengthsAreBoundedByDeleteAndMaxAsTheyStandAtThatLine)
{
    EXPECT_EQ(configured("DELETE=8\nSTITCH=6").STITCH, 8);
    EXPECT_EQ(configured("STITCH=6\nDELETE=8").STITCH, 6);
    EXPECT_EQ(configured("MAX=12\nLENGTH=30\nCIKCAK=2").LENGTH, 12);
    EXPECT_EQ(configured("CIKCAK=2").CIKCAK, 5);
    // With DELETE above MAX the low bound is tested first.
    const Settings crossed = configured("DELETE=10\nMAX=5\nSTITCH=7\nLENGTH=12\nCIKCAK=3");
    EXPECT_EQ(crossed.STITCH, 10);
    EXPECT_EQ(crossed.LENGTH, 5);
    EXPECT_EQ(crossed.CIKCAK, 10);
}

TEST(Configuration, OnlyTokenZeroOfAKnownKeyCounts)
{
    EXPECT_EQ(configured("density=40").DENSITY, 40);
    EXPECT_EQ(configured("DENSITY=$28").DENSITY, 40);
    EXPECT_EQ(configured("DENSITY = 40").DENSITY, 1);
    EXPECT_EQ(configured("DENSITY= 40").DENSITY, 1);
    const Settings twoKeys = configured("DENSITY=40 EDGE=3");
    EXPECT_EQ(twoKeys.DENSITY, 40);
    EXPECT_EQ(twoKeys.EDGE, 5);
    EXPECT_EQ(configured("DENSITY=40 ; my value").DENSITY, 40);
    EXPECT_EQ(configured("\tDENSITY=40").DENSITY, 40);
    EXPECT_EQ(configured("DENSITY=40\nDENSITY=50").DENSITY, 50);
    // Unknown, empty and over-long keys are ignored.
    EXPECT_TRUE(sameSettings(configured("COLOUR=3\n=40\n40\nDENSITYDENSITYX=2\nDENSITY"), Settings{}));
}

TEST(Configuration, KeyWithNothingAfterTheEqualsReadsZero)
{
    // The tokenizer row still holds 40 from the line before; it must not be used.
    EXPECT_EQ(configured("DENSITY=40\nDENSITY=").DENSITY, 1);
    EXPECT_EQ(configured("EDGE=40\nEDGE=").EDGE, 0);
}
