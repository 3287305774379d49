#include "model/listtext.h"

#include "model/objecttable.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using testing::makeWorkspace;

// A used row of `kind` with the given group, TRIM and colour.
int32_t putObject(Workspace& ws, int32_t row, ObjectKind kind, int32_t group, int32_t trim, int32_t colour)
{
    ObjectEntry& e = ws.table.rows[row];
    e.kind = kind;
    e.paramsSize = recordSize(kind);
    e.params = ws.records.allocate(e.paramsSize);
    e.group = group;
    ObjectParams& p = ws.records[e.params];
    switch (kind) {
    case KindRun:
        p.run.TRIM = trim, p.run.colour = colour;
        break;
    case KindSaten:
        p.saten.TRIM = trim, p.saten.colour = colour;
        break;
    case KindSteil:
        p.steil.TRIM = trim, p.steil.colour = colour;
        break;
    case KindRect:
        p.rect.TRIM = trim, p.rect.colour = colour;
        break;
    case KindStar:
        p.star.TRIM = trim, p.star.colour = colour;
        break;
    case KindCircle:
        p.circle.TRIM = trim, p.circle.colour = colour;
        break;
    default:
        break;
    }
    return row;
}

TEST(ListText, WorkedExamplesComeOutExactly)
{
    auto ws = makeWorkspace();
    putObject(*ws, 0, KindRun, 1, 0, 0x0000FF);
    putObject(*ws, 1, KindRun, 1, 1, 0x0000FF);
    restartListNumbering(ws->numbering);
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 0), "--   >    1 0");
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 1), "-- T      1 1");
    EXPECT_EQ(ws->numbering.listNumber, 2);
}

TEST(ListText, GlyphsPerKindAndFirstLineAlwaysMarked)
{
    auto ws = makeWorkspace();
    const char* expected[] = {"", "--", "[]", "++", "# ", "* ", "()"};
    for (int k = KindRun; k <= KindCircle; ++k) {
        // The colour of all bits set must still show ">" on a first line.
        putObject(*ws, k, static_cast<ObjectKind>(k), 3, 1, -1);
        restartListNumbering(ws->numbering);
        const std::string line = buildListLine(ws->numbering, ws->table, ws->records, k);
        EXPECT_EQ(line, std::string(expected[k]) + " T >    3 0") << "kind " << k;
        EXPECT_EQ(line.find('\0'), std::string::npos);
    }
}

TEST(ListText, GroupFieldWidthAndColourChanges)
{
    auto ws = makeWorkspace();
    putObject(*ws, 0, KindSaten, 12345, 0, 7);
    putObject(*ws, 1, KindSaten, 0, 0, 7);
    putObject(*ws, 2, KindStar, -12, 0, 8);
    restartListNumbering(ws->numbering);
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 0), "[]   > 12345 0");
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 1), "[]        0 1");
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 2), "*    >  -12 2");
    EXPECT_EQ(ws->numbering.lastLineColour, 8);
}

TEST(ListText, FreeRowGivesQuestionMarksAndLeavesNumberingAlone)
{
    auto ws = makeWorkspace();
    restartListNumbering(ws->numbering);
    ws->numbering.listNumber = 41;
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 9), "???");
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, -1), "???");
    EXPECT_EQ(buildListLine(ws->numbering, ws->table, ws->records, 4096), "???");
    EXPECT_EQ(ws->numbering.listNumber, 41);
    EXPECT_EQ(ws->numbering.firstLinePending, 1);
}

TEST(ListText, WordsNameTheKindGroupAndCornerAndStayWithinAJournalLine)
{
    auto ws = makeWorkspace();
    putObject(*ws, 0, KindSaten, 0, 1, 7);
    putObject(*ws, 1, KindStar, INT32_MIN, 1, 7);
    ObjectParams& star = ws->records[ws->table.rows[1].params];
    star.star.X = -99999, star.star.Y = -99999, star.star.RX = 1, star.star.RY = 1;
    restartListNumbering(ws->numbering);
    ws->numbering.listNumber = 4095;
    const std::string saten = buildListWords(ws->numbering, ws->table, ws->records, 0);
    EXPECT_EQ(saten.substr(0, 25), "4096Satin column         ");
    EXPECT_EQ(saten.substr(saten.size() - 6), "  trim");
    // The widest group and position still fit the 63 bytes the journal keeps.
    const std::string wide = buildListWords(ws->numbering, ws->table, ws->records, 1);
    EXPECT_EQ(wide.substr(0, 29), "4097Star         g-2147483648");
    EXPECT_LE(wide.size(), 63u);
    EXPECT_EQ(buildListWords(ws->numbering, ws->table, ws->records, 9), "???");
    EXPECT_EQ(ws->numbering.listNumber, 4097);
}

} // namespace
} // namespace kelvara
