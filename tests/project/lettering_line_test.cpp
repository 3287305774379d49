// LETTERS lines: escaped font names and texts read and save to the same
// bytes; a value that cannot be used refuses only its own line; mirrors and
// turns keep the letters readable and come back to the same bytes.
#include "model/kinds/kind.h"
#include "model/recordgeometry.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kelvara::testing {
namespace {

const std::string kLine =
    "LETTERS GROUP=0 PUSHCOMP=1 STITCHES=1 SDENS=40 TDENS=35 SCOMP=2 TCOMP=2 PATTERN=NIL MOTIVE=NIL "
    "TIEIN=NIL TIEOUT=NIL TRIM=1 R=0 G=0 B=255 ZOOMX=256 ZOOMY=256 ANGLE=0 FONT=DejaVu%20Serif BOLD=1 "
    "ITALIC=0 SIZE=80 X=500 Y=400 ALIGN=1 SPACING=-3 LEADING=120 ARC=-600 TURN=15 REPEAT=1 UNDER=15 "
    "CIKCAK=25 OFSUND=3 OFSCIK=0 TEXT=%C5%BDofie%20100%25%3B%3D%0AT%C3%BDm";

TEST(LettersLine, EscapedTextsSaveToTheBytesTheyWereReadFromAndBrokenValuesRefuseOnlyTheirLine)
{
    FakePlatform fake;
    auto ws = makeWorkspace();
    const UnreadableLines bad = loadProjectBytes(*ws, fake.platform(), "a.kvp",
                                                 "RUN X1=1\r\n\r\n" + kLine +
                                                     "\r\n\r\n"
                                                     "LETTERS TEXT=a%G1\r\n\r\n"
                                                     "LETTERS SIZE=0 TEXT=x\r\n\r\n"
                                                     "LETTERS ALIGN=3\r\n\r\n"
                                                     "LETTERS FONT=Deja%2\r\n\r\n"
                                                     "LETTERS TEXT=%FF\r\n\r\n"
                                                     "LETTERS SIZE=60\r\n\r\n")
                                    .unreadable;
    EXPECT_EQ(bad.count, 5);
    EXPECT_EQ(bad.first, "LETTERS TEXT=a%G1");
    std::vector<std::string> lines;
    for (int32_t row : DisplayOrder(ws->table))
        lines.push_back(formatObjectLine(ws->table.rows[row], ws->records, ws->libraries));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], kLine);
    // Keys left out take a new object's values: the default family, no text.
    EXPECT_NE(lines[2].find(" FONT= "), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find(" SIZE=60 "), std::string::npos);
    EXPECT_TRUE(lines[2].ends_with(" TEXT=")) << lines[2];
}

TEST(LettersLine, MirrorsAndTurnsKeepTheLettersReadableAndComeBackToTheSameBytes)
{
    FakePlatform fake;
    auto ws = makeWorkspace();
    loadProjectBytes(*ws, fake.platform(), "a.kvp", kLine + "\r\n\r\n");
    ASSERT_EQ(ws->table.objectCount, 1);
    const ObjectParams before = ws->records[ws->table.rows[0].params];

    ObjectParams p = before;
    ASSERT_TRUE(mirrorRecord(KindLetters, p, MirrorAxis::TopBottom, 1000));
    EXPECT_EQ(p.letters.Y, 600);
    EXPECT_EQ(p.letters.ARC, 600); // the bottom of the circle becomes its top
    EXPECT_EQ(p.letters.TURN, -15);
    ASSERT_TRUE(mirrorRecord(KindLetters, p, MirrorAxis::LeftRight, 1000));
    EXPECT_EQ(p.letters.X, 500);
    EXPECT_EQ(p.letters.ALIGN, 1);
    ASSERT_TRUE(mirrorRecord(KindLetters, p, MirrorAxis::LeftRight, 1000));
    ASSERT_TRUE(mirrorRecord(KindLetters, p, MirrorAxis::TopBottom, 1000));
    EXPECT_EQ(std::memcmp(p.bytes, before.bytes, sizeof(LettersParams)), 0);

    // A quarter turn about (500, 500) and twice the size: the anchor turns,
    // the baseline turns with it, the arc, size, spacing and leading grow.
    p = before;
    ASSERT_TRUE(turnAndScaleRecord(KindLetters, p, TurnAndScale{500, 500, 90, 2, 2}));
    EXPECT_EQ(p.letters.X, 300);
    EXPECT_EQ(p.letters.Y, 500);
    EXPECT_EQ(p.letters.TURN, 105);
    EXPECT_EQ(p.letters.SIZE, 160);
    EXPECT_EQ(p.letters.ARC, -1200);
    EXPECT_EQ(p.letters.SPACING, -6);
    // Past the largest size the turn is refused and the record kept.
    EXPECT_FALSE(turnAndScaleRecord(KindLetters, p, TurnAndScale{0, 0, 0, 100, 100}));
    EXPECT_EQ(p.letters.SIZE, 160);
}

} // namespace
} // namespace kelvara::testing
