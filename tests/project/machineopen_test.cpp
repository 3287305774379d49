// Machine files opened and imported as STITCHES blocks: kept to the unit,
// moved and undone to the byte, saved losslessly; SVG artwork imported.
#include "model/editing.h"
#include "model/selection.h"
#include "model/stitchblock.h"
#include "model/transformselection.h"
#include "project/importfile.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "project/svgimport.h"
#include "projectfixtures.h"
#include "stitch/dstwriter.h"
#include "stitch/machinereader.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace kelvara::testing {
namespace {

std::vector<std::string> savedLines(Workspace& ws)
{
    std::vector<std::string> lines;
    for (int32_t row : DisplayOrder(ws.table))
        lines.push_back(formatObjectLine(ws.table.rows[row], ws.records, ws.libraries));
    return lines;
}

std::vector<std::pair<int32_t, int32_t>> needles(const StitchPlan& plan, int32_t dx = 0, int32_t dy = 0)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const StitchRecord& r : plan.records)
        if (r.kind == StitchKind::Stitch)
            out.push_back({r.x + dx, r.y + dy});
    return out;
}

TEST(StitchBlockText, ReadsWhatItWritesAndRefusesWhatIsNoBlock)
{
    StitchBlock block;
    ASSERT_TRUE(readBlock("+100-5+3+0J+300+0T+0+0-1-1+0+0", block));
    EXPECT_EQ(block.moves, (std::vector<BlockMove>{{100, -5},
                                                   {103, -5},
                                                   {403, -5, BlockMoveKind::Jump},
                                                   {403, -5, BlockMoveKind::Trim},
                                                   {403, -5},
                                                   {402, -6},
                                                   {402, -6}}));
    std::string text;
    appendBlock(text, block);
    EXPECT_EQ(text, "+100-5+3+0J+300+0T+0+0-1-1+0+0");
    for (const char* bad : {"", "J+1+1", "T", "+1", "+1+", "1+1", "+1+1 ", "+1.5+1", "+1+1X",
                            "+9999999999+0", "+16777217+0", "+16777216+0+1+0"})
        EXPECT_FALSE(readBlock(bad, block)) << bad;
    EXPECT_TRUE(block.moves.empty());
}

class MachineOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = makeWorkspace();
        ws->view.canvasWidth = ws->view.canvasHeight = 2000; // the view's centre is (1000, 1000)
        // Two threads; the red one cut in the middle, with a jump, a long
        // stitch and a stitch into the same hole.
        const int32_t red = 0x0000FF, blue = 0xFF0000;
        plan.records = {{0, 0, red, StitchKind::Stitch},       {10, 0, red, StitchKind::Stitch},
                        {10, 0, red, StitchKind::Stitch},      {20, 5, red, StitchKind::Stitch},
                        {20, 5, red, StitchKind::Trim},        {120, 5, red, StitchKind::Jump},
                        {120, 45, red, StitchKind::Stitch},    {130, 45, red, StitchKind::Stitch},
                        {130, 45, red, StitchKind::Trim},      {130, 45, blue, StitchKind::ColourChange},
                        {60, 100, blue, StitchKind::Jump},     {60, 100, blue, StitchKind::Stitch},
                        {60, -20, blue, StitchKind::Stitch},   {61, -20, blue, StitchKind::Stitch},
                        {61, -20, blue, StitchKind::End}};
        path = QString::fromStdString(folder.write("rose.dst", ""));
        const std::vector<uint8_t> dst = writeDst(plan, "rose");
        folder.write("rose.dst", std::string(dst.begin(), dst.end()));
        read = readDst(std::string_view(reinterpret_cast<const char*>(dst.data()), dst.size()));
        ASSERT_TRUE(read.read);
    }

    std::unique_ptr<Workspace> ws;
    FakePlatform fake;
    TempFolder folder;
    StitchPlan plan;
    MachineRead read;
    QString path;
};

TEST_F(MachineOpen, OpensAsOneGroupOfBlocksThatSewTheSameNeedles)
{
    openMachineDesign(*ws, fake.platform(), path, false);
    ASSERT_EQ(ws->table.objectCount, 2);
    const std::vector<int32_t> rows = displayOrder(ws->table);
    EXPECT_EQ(ws->table.rows[rows[0]].kind, KindStitches);
    EXPECT_NE(ws->table.rows[rows[0]].group, 0);
    EXPECT_EQ(ws->table.rows[rows[0]].group, ws->table.rows[rows[1]].group);
    EXPECT_EQ(ws->rememberedFileName, QString::fromStdString(folder.file("rose.kvp")));
    const StitchesParams& first = ws->records[ws->table.rows[rows[0]].params].stitches;
    EXPECT_EQ(first.colour, read.plan.records[0].colour); // DST names no threads
    EXPECT_EQ(first.TRIM, 1);

    // The box (0..130, -20..100) is centred on the view's centre; every
    // needle moves by the same whole units and none is added or lost.
    StitchPlan sewn;
    ASSERT_EQ(generatePlan(*ws, sewn), PlanStatus::Ok);
    int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
    for (const auto& [x, y] : needles(read.plan))
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_EQ(needles(sewn), needles(read.plan, 1000 - (left + right) / 2, 1000 - (top + bottom) / 2));
    const auto count = [](const StitchPlan& p, StitchKind kind) {
        return std::count_if(p.records.begin(), p.records.end(), [&](const StitchRecord& r) { return r.kind == kind; });
    };
    EXPECT_EQ(count(sewn, StitchKind::Trim), count(read.plan, StitchKind::Trim));
    EXPECT_EQ(count(sewn, StitchKind::ColourChange), 1);

    // Saved and read back, the lines are the same bytes.
    const std::vector<std::string> lines = savedLines(*ws);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    auto again = makeWorkspace();
    loadProjectBytes(*again, fake.platform(), "a.kvp", text);
    EXPECT_EQ(savedLines(*again), lines);
}

TEST_F(MachineOpen, AnImportedBlockMovesFlipsAndUndoesToTheSameBytes)
{
    loadProjectBytes(*ws, fake.platform(), "a.kvp", "RUN X1=10 Y1=10 X2=50 Y2=10\r\n");
    importFileAt(*ws, fake.platform(), path);
    ASSERT_EQ(ws->table.objectCount, 3);
    std::vector<ObjectParams> before;
    for (int32_t row : DisplayOrder(ws->table))
        before.push_back(ws->records[ws->table.rows[row].params]);
    const std::vector<std::string> linesBefore = savedLines(*ws);

    // The import is the selection: drag it, flip it, turn it, then undo all.
    HeldSelection held;
    ASSERT_TRUE(holdSelection(*ws, fake.platform(), held));
    int32_t dx = 37, dy = -12;
    placeHeldSelection(*ws, held, dx, dy);
    commitHeldSelection(*ws, fake.platform(), held);
    ASSERT_EQ(flipSelection(*ws, fake.platform(), MirrorAxis::LeftRight), TransformResult::Applied);
    // Up to a fifth larger or smaller the stitches pass without a word; beyond, the status says
    // they are not sewn anew.
    ASSERT_EQ(turnAndScaleSelection(*ws, fake.platform(), 0, 1.2, 0.8), TransformResult::Applied);
    EXPECT_TRUE(ws->view.note.empty()) << ws->view.note;
    ASSERT_EQ(turnAndScaleSelection(*ws, fake.platform(), 30, 1.5, 1.5), TransformResult::Applied);
    EXPECT_NE(ws->view.note.find("not re-stitched"), std::string::npos);
    EXPECT_NE(savedLines(*ws), linesBefore);
    undoStep(*ws, fake.platform());
    undoStep(*ws, fake.platform());
    undoStep(*ws, fake.platform());
    undoStep(*ws, fake.platform());
    const std::vector<int32_t> rows = displayOrder(ws->table);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(std::memcmp(&ws->records[ws->table.rows[rows[i]].params], &before[i], sizeof(ObjectParams)), 0);
    EXPECT_EQ(savedLines(*ws), linesBefore);
    // One more undo takes the import away as one step.
    undoStep(*ws, fake.platform());
    EXPECT_EQ(ws->table.objectCount, 1);
}

TEST_F(MachineOpen, ARefusedFileKeepsTheDesignAndAForgedLineIsLeftOut)
{
    loadProjectBytes(*ws, fake.platform(), "a.kvp", "RUN X1=10 Y1=10 X2=50 Y2=10\r\n");
    folder.write("cut.dst", std::string(100, 'x'));
    openMachineDesign(*ws, fake.platform(), QString::fromStdString(folder.file("cut.dst")), false);
    EXPECT_EQ(ws->table.objectCount, 1);
    ASSERT_EQ(fake.boxes.shown.size(), 1u);

    const ProjectLoad load = loadProjectBytes(*ws, fake.platform(), "a.kvp",
                                              "STITCHES MOVES=J+5+5T\r\n"
                                              "STITCHES R=5 MOVES=+1+1+2+2\r\n"
                                              "STITCHES MOVES=+1+1+2\r\n");
    EXPECT_EQ(load.unreadable.count, 2);
    EXPECT_EQ(savedLines(*ws), (std::vector<std::string>{"STITCHES GROUP=0 TRIM=0 R=5 G=255 B=255 MOVES=+1+1+2+2"}));
}

SvgImport svg(const std::string& body, const std::string& root = R"s(width="100mm" height="50mm" viewBox="0 0 200 100")s")
{
    return importSvg("<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" " + root + ">" + body +
                         "</svg>",
                     1000, 1000);
}

TEST(SvgImport, UnitsViewBoxAndTransformsGiveTrueSizes)
{
    // 200 user units are 100 mm: one unit is 5 design units. The group
    // moves the rect by (10, 10) and scales it twice.
    SvgImport s = svg(R"s(<g transform="translate(10,10) scale(2)"><rect x="0" y="0" width="20" height="10" fill="#ff0000"/></g>)s"
                      R"s(<path d="m0,0 h10 v10 z" fill="none" stroke="blue" stroke-width="0.2"/>)s");
    ASSERT_TRUE(s.reason.ok());
    // The rect covers 40 x 20 user units = 200 x 100 units; with the
    // triangle (0..10) the whole is 50..250 wide, centred on 1000.
    EXPECT_NE(s.lines.find("SHAPE GROUP=1 R=255 G=0 B=0 PATH=M925,975L1125,975L1125,1075L925,1075Z"),
              std::string::npos)
        << s.lines;
    EXPECT_NE(s.lines.find("STROKE STYLE=0 R=0 G=0 B=255 PATH=M875,925L925,925L925,975Z"), std::string::npos)
        << s.lines;

    // A stroke 0.4 mm wide at 96 px an inch stays a running line; 2 mm is a satin column.
    s = svg(R"s(<line x1="0" y1="0" x2="96" y2="0" stroke="#000" stroke-width="1.6"/>)s"
            R"s(<circle cx="0" cy="0" r="48" stroke="#000" stroke-width="7.6" fill="none"/>)s",
            R"s(width="1in" height="1in")s");
    ASSERT_TRUE(s.reason.ok());
    EXPECT_NE(s.lines.find("STROKE STYLE=0 R=0 G=0 B=0 PATH=M937,1000L1191,1000"), std::string::npos) << s.lines;
    EXPECT_NE(s.lines.find("STROKE STYLE=1 SWIDTH=20 TWIDTH=20"), std::string::npos) << s.lines;

    // Arcs and quadratic curves come out as absolute cubics.
    s = svg(R"s(<path d="M0,0 a10,10 0 0 1 20,0 q10,10 20,0 T60,0" stroke="#000"/>)s");
    ASSERT_TRUE(s.reason.ok());
    EXPECT_EQ(s.lines.find('Q'), std::string::npos);
    EXPECT_NE(s.lines.find('C'), std::string::npos);
}

TEST(SvgImport, RoundedRectanglesKeepTheirCornersAndOneRadiusStandsForBoth)
{
    const std::string root = R"s(width="40mm" height="20mm" viewBox="0 0 40 20")s";
    SvgImport s = svg(R"s(<rect width="40" height="20" ry="5" fill="red"/>)s", root);
    ASSERT_TRUE(s.reason.ok());
    EXPECT_NE(s.lines.find("PATH=M850,900L1150,900C1178,900,1200,922,1200,950L1200,1050C"), std::string::npos)
        << s.lines;
    // Radii past half a side are held there: with no straight side left the rect is an ellipse.
    s = svg(R"s(<rect width="40" height="20" rx="100" fill="red"/>)s", root);
    ASSERT_TRUE(s.reason.ok());
    EXPECT_NE(s.lines.find("PATH=M1000,900C1110,900,1200,945,1200,1000C"), std::string::npos) << s.lines;
}

TEST(SvgImport, AUseDrawsWhatItNamesMovedAndAUseOfItselfIsRefused)
{
    const std::string root =
        R"s(xmlns:xlink="http://www.w3.org/1999/xlink" width="40mm" height="20mm" viewBox="0 0 40 20")s";
    // Hidden definitions draw only where used: a symbol twice, moved, and a path by the plain href.
    SvgImport s = svg(R"s(<defs><symbol id="dot"><rect width="2" height="2" fill="red"/></symbol>)s"
                      R"s(<path id="bar" d="M0,0H10" stroke="blue" fill="none"/></defs>)s"
                      R"s(<use xlink:href="#dot" x="10"/><use xlink:href="#dot" x="30" y="4"/>)s"
                      R"s(<use href="#bar" transform="translate(0,10)"/><use href="#missing"/>)s",
                      root);
    ASSERT_TRUE(s.reason.ok());
    EXPECT_EQ(std::count(s.lines.begin(), s.lines.end(), '\n'), 3) << s.lines;
    // Drawn: x 0..32, y 0..10, centred on 1000: the second dot lands 200 units right, 40 down of the first.
    EXPECT_NE(s.lines.find("PATH=M940,950L960,950L960,970L940,970Z"), std::string::npos) << s.lines;
    EXPECT_NE(s.lines.find("PATH=M1140,990L1160,990L1160,1010L1140,1010Z"), std::string::npos) << s.lines;

    s = svg(R"s(<g id="a"><rect width="2" height="2"/><use href="#a" x="1"/></g>)s", root);
    EXPECT_NE(builtInText(s.reason).find("too deeply"), std::string::npos) << builtInText(s.reason);
}

TEST(SvgImport, WhatCannotBeReadIsRefusedWithAReason)
{
    for (const std::string& bad :
         {std::string("<html/>"), std::string("<svg><rect width='10' height='10'"), std::string("not xml"),
          std::string("<svg xmlns='http://www.w3.org/2000/svg'/>"),
          std::string("<svg><path d='M0,0 L5' fill='red'/></svg>"),
          std::string("<svg><g transform='spin(4)'><rect width='1' height='1'/></g></svg>"),
          std::string("<svg><rect width='1e300' height='1e300' transform='scale(1e300)'/></svg>")})
        EXPECT_FALSE(importSvg(bad, 0, 0).reason.ok()) << bad;
}

} // namespace
} // namespace kelvara::testing
