// STROKE and SHAPE lines: read and saved to the same bytes, however long
// their paths; a path that cannot be read refuses only its own line.
#include "model/kinds/kind.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvara::testing {
namespace {

std::vector<std::string> savedLines(Workspace& ws)
{
    std::vector<std::string> lines;
    for (int32_t row : DisplayOrder(ws.table))
        lines.push_back(formatObjectLine(ws.table.rows[row], ws.records, ws.libraries));
    return lines;
}

TEST(PathKinds, StrokeAndShapeLinesSaveToTheBytesTheyWereReadFrom)
{
    std::string longPath = "M0,0";
    for (int i = 1; i < 3000; ++i)
        longPath += (i % 2 ? "L" : "C1,2,3,4,") + std::to_string(i) + "," + std::to_string(-i);
    const std::string stroke = "STROKE GROUP=0 STYLE=0 LEN=25 REPEAT=2 SWIDTH=20 TWIDTH=40 SDENS=35 TDENS=35 "
                               "SCOMP=2 TCOMP=2 UNDER=15 PATTERN=NIL MOTIVE=NIL MSIZE=150 TIEIN=NIL TIEOUT=NIL "
                               "TRIM=1 R=10 G=20 B=30 PATH=" +
                               longPath;
    const std::string shape =
        "SHAPE GROUP=0 PUSHCOMP=1 STITCHES=1 SDENS=40 TDENS=35 SCOMP=2 TCOMP=2 PATTERN=NIL MOTIVE=NIL "
        "TIEIN=NIL TIEOUT=NIL TRIM=0 R=255 G=0 B=0 ZOOMX=256 ZOOMY=256 ANGLE=45 BORDER=2 BWIDTH=30 APPLIQUE=0 FLEN=45 "
        "ROWSHIFT=25 REPEAT=1 "
        "UNDER=15 CIKCAK=25 OFSUND=3 OFSCIK=0 "
        "PATH=M100,100L900,100C950,100,950,150,950,200L950,900L100,900ZM300,300L300,700L700,700L700,300Z";
    FakePlatform fake;
    auto ws = makeWorkspace();
    loadProjectBytes(*ws, fake.platform(), "a.kvp", stroke + "\r\n\r\n" + shape + "\r\n\r\n");
    ASSERT_EQ(ws->table.objectCount, 2);
    EXPECT_EQ(savedLines(*ws), (std::vector<std::string>{stroke, shape}));
}

TEST(PathKinds, AnUnreadablePathRefusesItsLineAndTheOthersLoad)
{
    FakePlatform fake;
    auto ws = makeWorkspace();
    const UnreadableLines bad = loadProjectBytes(*ws, fake.platform(), "a.kvp",
                                                 "STROKE PATH=M0,0L5\r\n\r\n"
                                                 "SHAPE path=M0,0L9,0L9,9Z SDENS=50\r\n\r\n"
                                                 "STROKE PATH=\r\n\r\n"
                                                 "STROKE LEN=30\r\n\r\n")
                                    .unreadable;
    EXPECT_EQ(bad.count, 2);
    EXPECT_EQ(bad.first, "STROKE PATH=M0,0L5");
    const auto lines = savedLines(*ws);
    ASSERT_EQ(lines.size(), 2u);
    // Keys left out take a new object's values; a line without a path keeps
    // the small sample one.
    EXPECT_NE(lines[0].find(" SDENS=50 "), std::string::npos);
    EXPECT_TRUE(lines[0].ends_with(" PATH=M0,0L9,0L9,9Z")) << lines[0];
    EXPECT_NE(lines[1].find(" LEN=30 "), std::string::npos);
    EXPECT_TRUE(lines[1].ends_with(" PATH=M0,0L10,0")) << lines[1];
}

} // namespace
} // namespace kelvara::testing
