#include "project/projectformat.h"
#include "project/saveproject.h"
#include "projectfixtures.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace kelvara {
namespace {

using testing::appendObject;
using testing::makeWorkspace;
using testing::paramsOf;
using testing::setNames;

// Parses one line as the open command does; the made row is returned in `row`.
bool readLine(Workspace& ws, std::string line, ObjectEntry& row)
{
    row = ObjectEntry{};
    parseLine(ws.tokens, line);
    return parseObjectLine(ws.tokens, row, ws.records, ws.settings, ws.libraries);
}

ObjectParams readParams(Workspace& ws, const std::string& line)
{
    ObjectEntry row{};
    EXPECT_TRUE(readLine(ws, line, row)) << line;
    return row.params ? ws.records[row.params] : ObjectParams{};
}

std::vector<std::string> keysOf(const std::string& line)
{
    std::vector<std::string> keys;
    std::istringstream in(line);
    std::string token;
    in >> token; // kind word
    while (in >> token)
        keys.push_back(token.substr(0, token.find('=')));
    return keys;
}

std::vector<std::string> split(const std::string& words)
{
    std::vector<std::string> out;
    std::istringstream in(words);
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// The three objects of the documented example design.
void buildExampleDesign(Workspace& ws)
{
    setNames(ws.libraries.motifs, {"wave", "leaf"});

    const int32_t run = appendObject(ws, KindRun, 1);
    RunParams& r = paramsOf(ws, run).run;
    r.LEN = 20;
    r.MOTIVE = r.TIEIN = r.TIEOUT = -1;
    r.TRIM = 0;
    r.JUMP = 1;
    r.line = BezierEdge{1, 100, 120, 300, 120, 0, 0, 0, 0};
    r.colour = 0xFFFFFF;

    const int32_t circle = appendObject(ws, KindCircle, 1);
    CircleParams& c = paramsOf(ws, circle).circle;
    c.SDENS = c.TDENS = 35;
    c.SCOMP = c.TCOMP = 2;
    c.PATTERN = c.MOTIVE = c.TIEIN = c.TIEOUT = -1;
    c.TRIM = 0;
    c.colour = 0x0000FF;
    c.REPEAT = 1;
    c.ZOOMX = c.ZOOMY = 1.0;
    c.PUSHCOMP = 1;
    c.X = 400;
    c.Y = 300;
    c.RX = 100;
    c.RY = 80;
    c.ANGLE = 30;
    c.STITCHES = 1;
    c.UNDER = 15;
    c.CIKCAK = -1;
    c.OFSUND = 5;
    c.OFSCIK = 3;

    const int32_t star = appendObject(ws, KindStar, 2);
    StarParams& s = paramsOf(ws, star).star;
    s.DENS = 35;
    s.COMP = 2;
    s.PATTERN = s.TIEIN = s.TIEOUT = -1;
    s.MOTIVE = 1;
    s.TRIM = 1;
    s.colour = 0x008000;
    s.REPEAT = 3;
    s.ZOOMX = 1.5;
    s.ZOOMY = 1.0;
    s.X = 600;
    s.Y = 300;
    s.RX = s.RY = 50;
    s.STARTANGLE = s.STOPANGLE = 0;
    s.UNDER = -1;
    s.OFSUND = 5;
}

const char* const kExampleLines[] = {
    "RUN GROUP=1 LINE=1 JUMP=0 LEN=20 R=255 G=255 B=255 X1=100 Y1=120 XC1=0 YC1=0 XC2=0 YC2=0 X2=300 Y2=120 "
    "MOTIVE=NIL TIEIN=NIL TIEOUT=NIL TRIM=0",
    "CIRCLE GROUP=1 PUSHCOMP=1 STITCHES=1 SDENS=35 TDENS=35 SCOMP=2 TCOMP=2 PATTERN=NIL MOTIVE=NIL TIEIN=NIL "
    "TIEOUT=NIL TRIM=0 R=255 G=0 B=0 ZOOMX=256 ZOOMY=256 X=400 Y=300 RX=100 RY=80 ANGLE=30 REPEAT=1 UNDER=15 "
    "CIKCAK=-1 OFSUND=5 OFSCIK=3",
    "STAR GROUP=2 DENS=35 COMP=2 PATTERN=NIL MOTIVE=leaf TIEIN=NIL TIEOUT=NIL TRIM=1 R=0 G=128 B=0 ZOOMX=384 "
    "ZOOMY=256 X=600 Y=300 RX=50 RY=50 STARTANGLE=0 STOPANGLE=0 REPEAT=3 UNDER=-1 OFSUND=5",
};

TEST(ProjectFormat, ExampleDesignIsWrittenByteForByte)
{
    auto ws = makeWorkspace();
    buildExampleDesign(*ws);
    std::string expected;
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(formatObjectLine(ws->table.rows[row], ws->records, ws->libraries), kExampleLines[row]);
        expected += std::string(kExampleLines[row]) + "\r\n\r\n";
    }
    EXPECT_EQ(projectFileText(*ws), expected);
}

TEST(ProjectFormat, ExampleDesignReadsBack)
{
    auto ws = makeWorkspace();
    setNames(ws->libraries.motifs, {"wave", "LEAF", "leaf"});
    ObjectEntry row{};

    ASSERT_TRUE(readLine(*ws, kExampleLines[0], row));
    EXPECT_EQ(row.kind, KindRun);
    EXPECT_EQ(row.group, 1);
    EXPECT_EQ(ws->records[row.params].run.JUMP, 1);
    EXPECT_EQ(double{ws->records[row.params].run.line.x2}, 300.0);

    ASSERT_TRUE(readLine(*ws, kExampleLines[1], row));
    EXPECT_EQ(row.kind, KindCircle);
    EXPECT_EQ(row.paramsSize, int32_t(sizeof(CircleRecord)));
    EXPECT_EQ(ws->records[row.params].circle.colour, 255);
    EXPECT_EQ(ws->records[row.params].circle.RY, 80);

    ASSERT_TRUE(readLine(*ws, kExampleLines[2], row));
    const StarParams& star = ws->records[row.params].star;
    EXPECT_EQ(row.group, 2);
    EXPECT_EQ(double{star.ZOOMX}, 1.5);
    EXPECT_EQ(double{star.ZOOMY}, 1.0);
    EXPECT_EQ(star.MOTIVE, 1); // first entry whose name is LEAF in any case
    EXPECT_EQ(star.colour, 128 * 256);

    setNames(ws->libraries.motifs, {"wave"});
    ASSERT_TRUE(readLine(*ws, kExampleLines[2], row));
    EXPECT_EQ(ws->records[row.params].star.MOTIVE, -1);
}

TEST(ProjectFormat, EveryKindWritesItsKeysInTheFixedOrder)
{
    const std::string twoEdgeHead =
        "GROUP LINEA LINEB PUSHCOMP STITCHES SDENS TDENS SCOMP TCOMP PATTERN MOTIVE "
        "TIEIN TIEOUT TRIM R G B ZOOMX ZOOMY STARTA STOPA ";
    const std::string twoEdgeTail = "AX1 AY1 AXC1 AYC1 AXC2 AYC2 AX2 AY2 BX1 BY1 BXC1 BYC1 BXC2 BYC2 BX2 BY2 "
                                    "REPEAT UNDER CIKCAK OFSUND OFSCIK";
    const std::pair<int32_t, std::string> expected[] = {
        {KindRun, "GROUP LINE JUMP LEN R G B X1 Y1 XC1 YC1 XC2 YC2 X2 Y2 MOTIVE TIEIN TIEOUT TRIM"},
        {KindSaten, twoEdgeHead + twoEdgeTail},
        {KindSteil,
         "GROUP LINE PUSHCOMP STITCHES SDENS TDENS SCOMP TCOMP SWIDTH TWIDTH PATTERN MOTIVE TIEIN "
         "TIEOUT TRIM R G B ZOOMX ZOOMY X1 Y1 XC1 YC1 XC2 YC2 X2 Y2 REPEAT UNDER CIKCAK OFSUND OFSCIK"},
        {KindRect, twoEdgeHead + "ANGLE " + twoEdgeTail},
        {KindStar, "GROUP DENS COMP PATTERN MOTIVE TIEIN TIEOUT TRIM R G B ZOOMX ZOOMY X Y RX RY STARTANGLE "
                   "STOPANGLE REPEAT UNDER OFSUND"},
        {KindCircle, "GROUP PUSHCOMP STITCHES SDENS TDENS SCOMP TCOMP PATTERN MOTIVE TIEIN TIEOUT TRIM R G B "
                     "ZOOMX ZOOMY X Y RX RY ANGLE REPEAT UNDER CIKCAK OFSUND OFSCIK"},
    };
    const char* words[] = {"", "RUN", "SATEN", "STEIL", "RECT", "STAR", "CIRCLE"};
    auto ws = makeWorkspace();
    for (const auto& [kind, keys] : expected) {
        const int32_t row = appendObject(*ws, kind);
        const std::string line = formatObjectLine(ws->table.rows[row], ws->records, ws->libraries);
        EXPECT_EQ(line.substr(0, line.find(' ')), words[kind]);
        EXPECT_EQ(keysOf(line), split(keys)) << words[kind];
        EXPECT_EQ(line.find("  "), std::string::npos);
        EXPECT_NE(line.back(), ' ');
    }
}

TEST(ProjectFormat, RowsWithoutAKindOrRecordGiveNoLine)
{
    auto ws = makeWorkspace();
    EXPECT_EQ(formatObjectLine(ObjectEntry{}, ws->records, ws->libraries), "");
    EXPECT_EQ(formatObjectLine(ObjectEntry{9, 1, 96, 0, 0, -1, -1}, ws->records, ws->libraries), "");
    EXPECT_EQ(formatObjectLine(ObjectEntry{KindRun, 0, 96, 0, 0, -1, -1}, ws->records, ws->libraries), "");
}

// Values chosen to survive the format unchanged, with seven-digit and
// negative coordinates, so a record must come back byte for byte.
void fillEdge(BezierEdge& e, int32_t straight, double base)
{
    e = BezierEdge{straight, base, -base, 9999999, -9999999, base + 1, 0, -1234567, 7654321};
}

void fillExtremes(int32_t kind, ObjectParams& p)
{
    auto shared = [](auto& r) {
        r.PATTERN = 2;
        r.MOTIVE = 1;
        r.TIEIN = 0;
        r.TIEOUT = 3;
        r.TRIM = 1;
        r.colour = 0x123456;
        r.REPEAT = 9;
        r.ZOOMX = 1000.25;
        r.ZOOMY = 0.0;
        r.UNDER = -1;
        r.OFSUND = -99999;
    };
    switch (kind) {
    case KindRun:
        p.run = RunParams{};
        p.run.LEN = 90;
        p.run.MOTIVE = 1;
        p.run.TIEIN = 3;
        p.run.TIEOUT = -1;
        p.run.TRIM = 1;
        p.run.JUMP = 0;
        fillEdge(p.run.line, 0, -1000);
        p.run.colour = 0xFEDCBA;
        break;
    case KindSaten:
    case KindRect: {
        auto fill = [&](auto& r) {
            shared(r);
            r.SDENS = -5;
            r.SCOMP = 2147483647;
            r.TDENS = -2147483647 - 1;
            r.TCOMP = 0;
            r.PUSHCOMP = 7;
            fillEdge(r.edgeA, 1, 123);
            fillEdge(r.edgeB, 0, -4567);
            r.STITCHES = 0;
            r.STARTA = 2;
            r.STOPA = 1;
            r.CIKCAK = 25;
            r.OFSCIK = -3;
        };
        if (kind == KindSaten) {
            fill(p.saten);
        } else {
            fill(p.rect);
            p.rect.ANGLE = 359;
        }
        break;
    }
    case KindSteil:
        shared(p.steil);
        p.steil.SDENS = 1;
        p.steil.SCOMP = -1;
        p.steil.SWIDTH = 999;
        p.steil.TDENS = 2;
        p.steil.TCOMP = -2;
        p.steil.TWIDTH = 0;
        p.steil.PUSHCOMP = 3;
        fillEdge(p.steil.line, 1, 1000000);
        p.steil.STITCHES = 1;
        p.steil.CIKCAK = -1;
        p.steil.OFSCIK = 44;
        break;
    case KindStar:
        shared(p.star);
        p.star.DENS = 99;
        p.star.COMP = -99;
        p.star.X = -1234567;
        p.star.Y = 9999999;
        p.star.RX = 0;
        p.star.RY = -5;
        p.star.STARTANGLE = 45;
        p.star.STOPANGLE = 315;
        break;
    case KindCircle:
        shared(p.circle);
        p.circle.SDENS = 11;
        p.circle.SCOMP = 12;
        p.circle.TDENS = 13;
        p.circle.TCOMP = 14;
        p.circle.PUSHCOMP = 0;
        p.circle.X = 9999999;
        p.circle.Y = -9999999;
        p.circle.RX = 1;
        p.circle.RY = 2;
        p.circle.ANGLE = 180;
        p.circle.STITCHES = 0;
        p.circle.CIKCAK = 20;
        p.circle.OFSCIK = 0;
        break;
    default:
        break;
    }
}

TEST(ProjectFormat, EveryKindRoundTripsExtremeValuesExactly)
{
    auto ws = makeWorkspace();
    const std::string longName(63, 'q');
    setNames(ws->libraries.motifs, {"m0", longName, "m2"});
    setNames(ws->libraries.patterns, {"p0", "p1", std::string(62, 'P') + "z"});
    setNames(ws->libraries.tieOffs, {"t0", "t1", "t2", "tieoff"});
    ws->settings.DELETE = 5;
    ws->settings.MAX = 90;

    for (int32_t kind = KindRun; kind <= KindCircle; ++kind) {
        SCOPED_TRACE(kind);
        const int32_t row = appendObject(*ws, kind, 1234567);
        fillExtremes(kind, paramsOf(*ws, row));
        const std::string line = formatObjectLine(ws->table.rows[row], ws->records, ws->libraries);

        ObjectEntry back{};
        ASSERT_TRUE(readLine(*ws, line, back)) << line;
        EXPECT_EQ(back.kind, kind);
        EXPECT_EQ(back.group, 1234567);
        EXPECT_EQ(back.reserved, 0);
        EXPECT_EQ(back.paramsSize, recordSize(kind));
        EXPECT_EQ(std::memcmp(ws->records.bytes(back.params), ws->records.bytes(ws->table.rows[row].params),
                              static_cast<std::size_t>(recordSize(kind))),
                  0)
            << line;
        EXPECT_EQ(formatObjectLine(back, ws->records, ws->libraries), line);
    }
}

TEST(ProjectFormat, LongLinesAreWrittenAndReadWhole)
{
    // With seven-digit coordinates a two-edge line is far beyond 255
    // characters; the keys at its end must still be read.
    auto ws = makeWorkspace();
    const int32_t row = appendObject(*ws, KindRect);
    fillExtremes(KindRect, paramsOf(*ws, row));
    const std::string line = formatObjectLine(ws->table.rows[row], ws->records, ws->libraries);
    EXPECT_GT(line.size(), 400u);
    EXPECT_NE(line.find(" OFSCIK=-3"), std::string::npos);

    const ObjectParams back = readParams(*ws, line);
    EXPECT_EQ(back.rect.OFSCIK, -3);
    EXPECT_EQ(double{+back.rect.edgeB.y2}, -9999999.0);
    EXPECT_EQ(double{+back.rect.edgeB.yc2}, 7654321.0);
}

TEST(ProjectFormat, WidthsAndStarAnglesAreReadBack)
{
    auto ws = makeWorkspace();
    ws->settings.STEIL = 20;
    ObjectParams p = readParams(*ws, "STEIL SWIDTH=35 TWIDTH=-4");
    EXPECT_EQ(p.steil.SWIDTH, 35);
    EXPECT_EQ(p.steil.TWIDTH, -4);
    p = readParams(*ws, "STEIL SDENS=3");
    EXPECT_EQ(p.steil.SWIDTH, 20);
    EXPECT_EQ(p.steil.TWIDTH, 20);

    p = readParams(*ws, "STAR STARTANGLE=-30 STOPANGLE=725");
    EXPECT_EQ(p.star.STARTANGLE, -30);
    EXPECT_EQ(p.star.STOPANGLE, 5);
    p = readParams(*ws, "STAR X=1");
    EXPECT_EQ(p.star.STARTANGLE, 0);
    EXPECT_EQ(p.star.STOPANGLE, 0);
}

TEST(ProjectFormat, MissingKeysTakeTheirDefaultsFromTheSettings)
{
    auto ws = makeWorkspace();
    Settings& s = ws->settings;
    s.DENSITY = 40;
    s.PULLCOMP = -7;
    s.PUSHCOMP = 4;
    s.STITCH = 33;
    s.UNDER = 0;
    s.LENGTH = 12;
    s.EDGE = 6;
    s.CIKUND = 1;
    s.CIKCAK = 22;
    s.MARGIN = 8;

    ObjectEntry row{};
    ASSERT_TRUE(readLine(*ws, "run group=3", row));
    EXPECT_EQ(row.kind, KindRun);
    EXPECT_EQ(row.group, 3);
    const RunParams run = ws->records[row.params].run;
    EXPECT_EQ(run.LEN, 33);
    EXPECT_EQ(run.MOTIVE, -1);
    EXPECT_EQ(run.TIEIN, -1);
    EXPECT_EQ(run.TIEOUT, -1);
    EXPECT_EQ(run.TRIM, 0);
    EXPECT_EQ(run.JUMP, 1);
    EXPECT_EQ(run.colour, 0xFFFFFF);
    EXPECT_EQ(run.line.straight, 1);
    EXPECT_EQ(double{+run.line.x2}, 10.0);
    EXPECT_EQ(double{+run.line.y2}, 0.0);

    const SatenParams saten = readParams(*ws, "SATEN TRIM=1").saten;
    EXPECT_EQ(saten.SDENS, 40);
    EXPECT_EQ(saten.TDENS, 40);
    EXPECT_EQ(saten.SCOMP, -7);
    EXPECT_EQ(saten.TCOMP, -7);
    EXPECT_EQ(saten.PUSHCOMP, 4);
    EXPECT_EQ(saten.PATTERN, -1);
    EXPECT_EQ(double{saten.ZOOMX}, 1.0);
    EXPECT_EQ(saten.STITCHES, 1);
    EXPECT_EQ(saten.STARTA, 1);
    EXPECT_EQ(saten.STOPA, 1);
    EXPECT_EQ(saten.UNDER, -1);
    EXPECT_EQ(saten.CIKCAK, 22);
    EXPECT_EQ(saten.OFSUND, 6);
    EXPECT_EQ(saten.OFSCIK, 8);
    EXPECT_EQ(double{+saten.edgeA.x2}, 10.0);
    EXPECT_EQ(double{+saten.edgeB.y1}, 10.0);
    EXPECT_EQ(double{+saten.edgeB.x2}, 10.0);
    EXPECT_EQ(double{+saten.edgeB.y2}, 10.0);

    const CircleParams circle = readParams(*ws, "CIRCLE X=5 Y=9").circle;
    EXPECT_EQ(circle.RX, 100);
    EXPECT_EQ(circle.RY, 100);
    EXPECT_EQ(circle.ANGLE, 0);

    s.UNDER = 1;
    s.CIKUND = 0;
    const StarParams star = readParams(*ws, "STAR X=1").star;
    EXPECT_EQ(star.UNDER, 12);
    EXPECT_EQ(star.DENS, 40);
    EXPECT_EQ(star.COMP, -7);
    EXPECT_EQ(readParams(*ws, "RECT X=1").rect.CIKCAK, -1);
}

TEST(ProjectFormat, ValuesAreConvertedAndClampedOnReading)
{
    auto ws = makeWorkspace();
    ws->settings.DELETE = 6;
    ws->settings.MAX = 18;

    EXPECT_EQ(readParams(*ws, "RUN JUMP=0").run.JUMP, 1);
    EXPECT_EQ(readParams(*ws, "RUN JUMP=1").run.JUMP, 0);
    EXPECT_EQ(readParams(*ws, "RUN JUMP=7").run.JUMP, 0);
    EXPECT_EQ(readParams(*ws, "RUN LEN=1000").run.LEN, 18);
    EXPECT_EQ(readParams(*ws, "RUN LEN=0").run.LEN, 6);
    EXPECT_EQ(readParams(*ws, "RUN TRIM=5").run.TRIM, 0);

    EXPECT_EQ(double{readParams(*ws, "SATEN ZOOMX=-256").saten.ZOOMX}, 1.0);
    EXPECT_EQ(double{readParams(*ws, "SATEN ZOOMX=0").saten.ZOOMX}, 0.0);
    EXPECT_EQ(double{readParams(*ws, "SATEN ZOOMY=64").saten.ZOOMY}, 0.25);
    EXPECT_EQ(readParams(*ws, "SATEN REPEAT=4").saten.REPEAT, 1);
    EXPECT_EQ(readParams(*ws, "SATEN REPEAT=12").saten.REPEAT, 9);
    EXPECT_EQ(readParams(*ws, "SATEN REPEAT=0").saten.REPEAT, 1);
    EXPECT_EQ(readParams(*ws, "SATEN REPEAT=7").saten.REPEAT, 7);
    EXPECT_EQ(readParams(*ws, "SATEN STARTA=0 STOPA=7").saten.STARTA, 2);
    EXPECT_EQ(readParams(*ws, "SATEN STARTA=0 STOPA=7").saten.STOPA, 2);
    EXPECT_EQ(readParams(*ws, "SATEN SDENS=10 SDENS=20").saten.SDENS, 10);
    ObjectEntry refused{};
    EXPECT_FALSE(readLine(*ws, "SATEN SDENS=abc", refused)); // a word is no zero
    EXPECT_FALSE(readLine(*ws, "RUN X1=5 Y1=$", refused));
    EXPECT_EQ(readParams(*ws, "SATEN SDENS=-40 OFSUND=-3").saten.SDENS, -40);

    EXPECT_EQ(readParams(*ws, "RECT ANGLE=725").rect.ANGLE, 5);

    EXPECT_EQ(readParams(*ws, "CIRCLE R=300 G=-5 B=128").circle.colour, 255 + 65536 * 128);
    EXPECT_EQ(readParams(*ws, "CIRCLE G=0").circle.colour, 255 + 65536 * 255);
    EXPECT_EQ(readParams(*ws, "CIRCLE X=5 AX1=7 BOGUS=1").circle.X, 5);
}

// Keys of a record's tail: read wherever they stand, written last and only
// when set, so a line that leaves them standard is written as it always was.
TEST(ProjectFormat, TailKeysAreWrittenOnlyWhenSet)
{
    auto ws = makeWorkspace();
    const std::string rect =
        "RECT GROUP=0 LINEA=1 LINEB=1 PUSHCOMP=0 STITCHES=1 SDENS=40 TDENS=40 SCOMP=0 TCOMP=0 "
        "PATTERN=NIL MOTIVE=NIL TIEIN=NIL TIEOUT=NIL TRIM=0 R=255 G=0 B=0 ZOOMX=256 "
        "ZOOMY=256 STARTA=1 STOPA=1 ANGLE=0 AX1=0 AY1=0 AXC1=0 AYC1=0 AXC2=0 AYC2=0 AX2=100 "
        "AY2=0 BX1=0 BY1=50 BXC1=0 BYC1=0 BXC2=0 BYC2=0 BX2=100 BY2=50 REPEAT=1 UNDER=-1 "
        "CIKCAK=-1 OFSUND=0 OFSCIK=0";
    for (const std::string& tail :
         {std::string(), std::string(" FLEN=45"), std::string(" FLEN=45 ROWSHIFT=25")}) {
        ObjectEntry row{};
        ASSERT_TRUE(readLine(*ws, rect + tail, row));
        EXPECT_EQ(formatObjectLine(row, ws->records, ws->libraries), rect + tail);
    }
    // Only ROWSHIFT set, before the fixed keys: written after them.
    ObjectEntry row{};
    ASSERT_TRUE(readLine(*ws, "RECT ROWSHIFT=30 SDENS=40", row));
    const std::string written = formatObjectLine(row, ws->records, ws->libraries);
    EXPECT_EQ(written.substr(written.find("OFSCIK=")), "OFSCIK=3 ROWSHIFT=30");
    EXPECT_EQ(ws->records[row.params].tailedRect.tail.FLEN, 0);

    EXPECT_EQ(readParams(*ws, "RUN REPEAT=2 MSIZE=150").tailedRun.tail.REPEAT, 2);
    EXPECT_EQ(readParams(*ws, "STEIL CENTRE=1").tailedSteil.tail.CENTRE, 1);
    EXPECT_EQ(readParams(*ws, "STEIL CENTRE=7").tailedSteil.tail.CENTRE, 0); // a switch, as TRIM
    EXPECT_EQ(readParams(*ws, "SATEN X=1").tailedSaten.tail.CENTRE, 0);
    // A stroke's 0 is the configuration's passes, kept as read.
    EXPECT_EQ(readParams(*ws, "STROKE REPEAT=0").stroke.REPEAT, 0);
    EXPECT_EQ(readParams(*ws, "STROKE REPEAT=-4").stroke.REPEAT, 1);
}

// A flip or turn can leave -45; reading it as +45 sewed the mirror image.
TEST(ProjectFormat, NegativeAnglesKeepTheirSignThroughWriteAndRead)
{
    auto ws = makeWorkspace();
    EXPECT_EQ(readParams(*ws, "RECT ANGLE=-30").rect.ANGLE, -30);
    EXPECT_EQ(readParams(*ws, "CIRCLE ANGLE=-405").circle.ANGLE, -45);
    EXPECT_EQ(readParams(*ws, "RECT ANGLE=-2147483648").rect.ANGLE, -128); // 2^31 mod 360, no overflow

    ObjectEntry row{};
    ASSERT_TRUE(readLine(*ws, "RECT ANGLE=-45", row));
    const std::string written = formatObjectLine(row, ws->records, ws->libraries);
    EXPECT_NE(written.find(" ANGLE=-45 "), std::string::npos) << written;
    EXPECT_EQ(readParams(*ws, written).rect.ANGLE, -45);
}

TEST(ProjectFormat, ValuesAreConvertedOnWriting)
{
    auto ws = makeWorkspace();
    const int32_t rect = appendObject(*ws, KindRect);
    RectParams& r = paramsOf(*ws, rect).rect;
    r.ANGLE = -30;
    r.STARTA = 2;
    r.STOPA = 1;
    r.colour = -1;
    r.ZOOMX = 1.5;
    r.ZOOMY = 0.5 / 256; // 0.5 rounds to the even 0
    r.edgeA.x1 = 2.5;
    r.edgeA.y1 = 3.5;
    r.edgeA.x2 = -2.5;
    r.edgeA.y2 = -3.5;
    r.edgeB.x1 = std::numeric_limits<double>::quiet_NaN();
    r.edgeB.y1 = std::numeric_limits<double>::infinity();
    r.edgeB.x2 = -1e300;
    r.edgeB.y2 = 0.49999999999999994;
    r.PATTERN = 400; // beyond any loaded entry
    r.MOTIVE = 0;    // an entry with an empty name
    setNames(ws->libraries.motifs, {""});
    const std::string line = formatObjectLine(ws->table.rows[rect], ws->records, ws->libraries);
    for (const char* part :
         {" ANGLE=-30 ", " STARTA=0 STOPA=1 ", " R=255 G=255 B=255 ", " ZOOMX=384 ZOOMY=0 ", " AX1=2 AY1=4 ",
          " AX2=-2 AY2=-4 ", " BX1=0 BY1=2147483647 ", " BX2=-2147483648 BY2=0 ", " PATTERN=NIL MOTIVE=NIL "})
        EXPECT_NE(line.find(part), std::string::npos) << part << " in " << line;

    // A colour of "none chosen" reads back as white.
    ObjectEntry back{};
    ASSERT_TRUE(readLine(*ws, line, back));
    EXPECT_EQ(ws->records[back.params].rect.colour, 255 + 256 * 255 + 65536 * 255);

    const int32_t run = appendObject(*ws, KindRun);
    paramsOf(*ws, run).run.JUMP = 0;
    EXPECT_NE(formatObjectLine(ws->table.rows[run], ws->records, ws->libraries).find(" JUMP=1 "),
              std::string::npos);
}

TEST(ProjectFormat, RoundingIsToNearestWithHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
    EXPECT_EQ(roundHalfEven(-7.4), -7);
    EXPECT_EQ(roundHalfEven(2147483646.5), 2147483646);
    EXPECT_EQ(roundHalfEven(2147483647.49), 2147483647);
    EXPECT_EQ(roundHalfEven(5e9), 2147483647);
    EXPECT_EQ(roundHalfEven(-2147483648.4), -2147483647 - 1);
    EXPECT_EQ(roundHalfEven(-std::numeric_limits<double>::infinity()), -2147483647 - 1);
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
}

TEST(ProjectFormat, LibraryReferencesResolveByNameIgnoringCase)
{
    auto ws = makeWorkspace();
    setNames(ws->libraries.patterns, {"nil", "Wave", "WAVE", "12", "a b", ""});
    setNames(ws->libraries.motifs, {"leaf"});
    setNames(ws->libraries.tieOffs, {"lock", "Knot"});

    // NIL in any case is "none", so an entry named nil cannot be reached.
    EXPECT_EQ(readParams(*ws, "SATEN PATTERN=Nil").saten.PATTERN, -1);
    EXPECT_EQ(readParams(*ws, "SATEN PATTERN=wave").saten.PATTERN, 1);
    // A name that is a number carries no text: it finds the empty name.
    EXPECT_EQ(readParams(*ws, "SATEN PATTERN=12").saten.PATTERN, 5);
    EXPECT_EQ(readParams(*ws, "SATEN MOTIVE=12").saten.MOTIVE, -1);
    EXPECT_EQ(readParams(*ws, "SATEN MOTIVE=oak").saten.MOTIVE, -1);
    EXPECT_EQ(readParams(*ws, "SATEN TIEIN=knot TIEOUT=LOCK").saten.TIEIN, 1);
    EXPECT_EQ(readParams(*ws, "SATEN TIEIN=knot TIEOUT=LOCK").saten.TIEOUT, 0);

    // A reference to the second of two names differing in case reads back
    // as the first; a name with a blank does not come back at all.
    const int32_t row = appendObject(*ws, KindSaten);
    paramsOf(*ws, row).saten.PATTERN = 2;
    std::string line = formatObjectLine(ws->table.rows[row], ws->records, ws->libraries);
    EXPECT_NE(line.find(" PATTERN=WAVE "), std::string::npos);
    EXPECT_EQ(readParams(*ws, line).saten.PATTERN, 1);
    paramsOf(*ws, row).saten.PATTERN = 4;
    line = formatObjectLine(ws->table.rows[row], ws->records, ws->libraries);
    EXPECT_NE(line.find(" PATTERN=a b "), std::string::npos);
    EXPECT_EQ(readParams(*ws, line).saten.PATTERN, -1);
}

TEST(ProjectFormat, LinesThatAreNoObjectLinesMakeNothing)
{
    auto ws = makeWorkspace();
    ObjectEntry row{};
    const int live = ws->records.liveCount();
    EXPECT_FALSE(readLine(*ws, "CIRCLE", row)); // no "=": the word has an empty key
    EXPECT_FALSE(readLine(*ws, "X=5 Y=6", row));
    EXPECT_FALSE(readLine(*ws, "ELLIPSE X=5", row));
    EXPECT_FALSE(readLine(*ws, "", row));
    EXPECT_EQ(row.kind, KindFree);
    EXPECT_EQ(ws->records.liveCount(), live);
    EXPECT_TRUE(readLine(*ws, "circle x=5", row));
    EXPECT_TRUE(readLine(*ws, "STAR =", row));
}

TEST(ProjectFormat, AFullRecordStoreMakesNoObject)
{
    auto ws = makeWorkspace();
    while (ws->records.allocate(8) != 0) {
    }
    ObjectEntry row{KindFree, 0, 0, 0, 77, 3, 4};
    std::string line = "RUN GROUP=1";
    parseLine(ws->tokens, line);
    EXPECT_FALSE(parseObjectLine(ws->tokens, row, ws->records, ws->settings, ws->libraries));
    EXPECT_EQ(row.kind, KindFree);
    EXPECT_EQ(row.group, 77);
}

} // namespace
} // namespace kelvara
