// hoops.txt: hoop lines read, bad lines refused and named, HOOP looked up.
#include "shell/hoops.h"
#include "shell/settings.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvara;

TEST(HoopList, BadLinesAreRefusedByNumberAndTheRestKept)
{
    const HoopList list = readHoops("; comment\n"
                                    "130 180 rounded Brother 130 x 180\n"
                                    "\n"
                                    "126 110 rect\n"               // 4: no name
                                    "12x 110 rect Odd\n"           // 5: not a number
                                    "100 100 square Square\n"      // 6: unknown shape
                                    "5 100 oval Tiny\r\n"          // 7: below 10 mm
                                    "126.55 110 rect Two decimals\n" // 8
                                    "90 90 OVAL Round 90 ; diameter\n");
    ASSERT_EQ(list.hoops.size(), 2u);
    EXPECT_EQ(list.hoops[0].name, "Brother 130 x 180");
    EXPECT_EQ(list.hoops[0].width, 1300);
    EXPECT_EQ(list.hoops[0].height, 1800);
    EXPECT_EQ(list.hoops[1].name, "Round 90");
    EXPECT_EQ(list.hoops[1].shape, HoopShape::Oval);
    ASSERT_EQ(list.problems.size(), 5u);
    const char* lines[] = {"line 4: ", "line 5: ", "line 6: ", "line 7: ", "line 8: "};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(builtInText(list.problems[i]).rfind(lines[i], 0), 0u) << builtInText(list.problems[i]);
}

TEST(HoopList, ListBeyondTheLimitIsCutWithAReason)
{
    std::string text;
    for (std::size_t i = 0; i <= kMostHoops; ++i)
        text += "100 100 rect Hoop " + std::to_string(i) + "\n";
    const HoopList list = readHoops(text);
    EXPECT_EQ(list.hoops.size(), kMostHoops);
    ASSERT_EQ(list.problems.size(), 1u);
    EXPECT_EQ(builtInText(list.problems[0]), "line 201: more than 200 hoops are listed");
}

TEST(HoopList, SettingNamesAHoopByNameInAnyCaseOrBySize)
{
    const HoopList list = readHoops("126 110 rounded Janome 126 x 110\n130 180 rect A\n130 180 rect B\n");
    EXPECT_EQ(findHoop(list, "janome 126 X 110"), &list.hoops[0]);
    // By size: the first of that size.
    EXPECT_EQ(findHoop(list, "130x180"), &list.hoops[1]);
    EXPECT_EQ(findHoop(list, "130 x 180"), &list.hoops[1]);
    EXPECT_EQ(findHoop(list, "180x130"), nullptr);
    EXPECT_EQ(findHoop(list, ""), nullptr);

    Settings settings;
    EXPECT_EQ(hoopSetting(settings), "");
    setHoopSetting(settings, "  Janome 126 x 110  ");
    EXPECT_EQ(hoopSetting(settings), "Janome 126 x 110");
    setHoopSetting(settings, std::string(100, 'x'));
    EXPECT_EQ(hoopSetting(settings).size(), settings.HOOP.size() - 1);
}

TEST(HoopList, ShippedListHoldsTheCommonHoopsWithoutProblems)
{
    const HoopList list = loadHoops(std::string(KELVARA_SOURCE_DATA) + "/");
    EXPECT_TRUE(list.problems.empty());
    for (const char* size : {"100x100", "130x180", "160x260", "200x200", "200x300", "50x50", "110x110",
                             "126x110", "140x140", "140x200", "230x200", "90x90", "120x120", "150x150",
                             "180x180", "210x210"})
        EXPECT_NE(findHoop(list, size), nullptr) << size;
    EXPECT_EQ(findHoop(list, "150x150")->shape, HoopShape::Oval);
}
