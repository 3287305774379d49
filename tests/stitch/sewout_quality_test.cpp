// What a digitizer measures on a sew-out: hole columns, edge spacing,
// stray lines, knots at joins.
#include "shell/libraries.h"
#include "shell/settings.h"
#include "shell/tokenizer.h"
#include "stitch/generators.h"
#include "stitch/stitchtesting.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace kelvara {
namespace {

using namespace testing;

struct ColumnCount {
    double busiest = 0; // share of the rows holding the busiest column of holes
    int longestRun = 0; // most consecutive rows sharing one column
};

// Holes of a fill at 0 degrees, row by row, away from the row ends.
ColumnCount holeColumns(const std::vector<Needle>& needles)
{
    std::map<long, std::set<long>> rows;
    for (const Needle& n : needles)
        rows[std::lround(n.y * 10)].insert(std::lround(n.x));
    std::vector<const std::set<long>*> inner;
    for (const auto& [y, xs] : rows)
        if (xs.size() > 4)
            inner.push_back(&xs);
    std::map<long, int> count, run, longest;
    for (const auto* xs : inner) {
        for (auto& [x, r] : run)
            if (!xs->count(x))
                r = 0;
        for (long x : *xs)
            if (x > *xs->begin() + 10 && x < *xs->rbegin() - 10) {
                ++count[x];
                longest[x] = std::max(longest[x], ++run[x]);
            }
    }
    ColumnCount c;
    for (const auto& [x, n] : count)
        c.busiest = std::max(c.busiest, static_cast<double>(n) / static_cast<double>(inner.size()));
    for (const auto& [x, n] : longest)
        c.longestRun = std::max(c.longestRun, n);
    return c;
}

TEST(SewoutQuality, PatternFillsKeepTheirPatternWithoutGrooves)
{
    // Bricks 8 characters long: a gap's middle is the next row's mark.
    Libraries libs;
    libs.patterns.count = 2;
    libs.patterns.rows[0][0] = {2, {10, 90}};
    libs.patterns.rows[0][1] = {2, {50, 130}};
    libs.patterns.rows[1][0] = {2, {10, 90}};
    libs.patterns.rows[1][1] = {4, {30, 70, 110, 150}};
    libs.patterns.rows[1][2] = {2, {50, 130}};
    libs.patterns.rows[1][3] = {4, {30, 70, 110, 150}};
    for (int32_t pattern : {0, 1}) {
        for (int32_t density : {35, 40, 45}) {
            ObjectParams p = rectParams(straightEdge(0, 0, 500, 0), straightEdge(0, 300, 500, 300), 0);
            p.rect.PATTERN = pattern;
            p.rect.SDENS = p.rect.TDENS = density;
            const ColumnCount c = holeColumns(objectNeedles(KindRect, p, libs, plainSettings()));
            // The marks themselves come back every other row, as the pattern asks.
            EXPECT_LE(c.busiest, 0.6) << pattern << " at " << density;
            EXPECT_LE(c.longestRun, 2) << pattern << " at " << density;
        }
    }
}

// A satin round a 4 mm inner radius, 6 mm wide, a quarter turn.
ObjectParams tightSatin(int32_t density)
{
    ObjectParams p = satenParams(curvedEdge(460, 500, 460, 478, 478, 460, 500, 460),
                                 curvedEdge(400, 500, 400, 445, 445, 400, 500, 400));
    p.saten.SDENS = p.saten.TDENS = density;
    return p;
}

TEST(SewoutQuality, SatinOnATightCurveKeepsItsOuterSpacingAndShortensInside)
{
    for (int32_t density : {35, 40}) {
        const auto n = objectNeedles(KindSaten, tightSatin(density), Libraries{}, plainSettings());
        std::vector<double> outer;
        const Needle* lastOuter = nullptr;
        int inset = 0, offBand = 0;
        for (const Needle& k : n) {
            const double r = distance(k.x, k.y, 500, 500);
            if (r > 99) {
                if (lastOuter)
                    outer.push_back(distance(k.x, k.y, lastOuter->x, lastOuter->y));
                lastOuter = &k;
            } else if (r > 41) {
                // Short stitches stop 15 to 35 % of the way across from the inner edge.
                ++inset;
                offBand += r < 40 + 0.14 * 60 || r > 40 + 0.36 * 60;
            }
        }
        std::sort(outer.begin(), outer.end());
        const double median = outer[outer.size() / 2];
        EXPECT_NEAR(median, density / 10.0, 0.5) << density;
        EXPECT_GT(inset, static_cast<int>(outer.size()) / 3) << density;
        EXPECT_EQ(offBand, 0) << density;
    }
}

TEST(SewoutQuality, MotifRunsDrawOnlyTheirFiguresAndTheLine)
{
    auto libraries = std::make_unique<Libraries>();
    auto lines = std::make_unique<LineTable>();
    auto tokens = std::make_unique<TokenTable>();
    loadLibraries(*libraries, *lines, *tokens, std::string(KELVARA_SOURCE_DATA) + "/");
    for (const char* name : {"STAR", "HEART"}) {
        ObjectParams p = runParams(straightEdge(100, 300, 700, 300), 25);
        p.run.MOTIVE = findLibraryEntry(libraries->motifs, name);
        ASSERT_GE(p.run.MOTIVE, 0);
        const auto& figure = libraries->motifs.points[static_cast<std::size_t>(p.run.MOTIVE)];
        const int count = stitch::figureLength(figure);
        double minX = 1e9, maxX = -1e9;
        for (int i = 0; i < count; ++i) {
            minX = std::min<double>(minX, figure[static_cast<std::size_t>(i)].x);
            maxX = std::max<double>(maxX, figure[static_cast<std::size_t>(i)].x);
        }
        const double copies = std::round(600 / (maxX - minX)), width = 600 / copies;
        const double stretch = width / (maxX - minX);
        // Stitches lie on a copy's figure or on the line itself.
        auto offFigure = [&](double x, double y) {
            double best = std::abs(y - 300);
            for (double c = 0; c < copies; ++c)
                for (int i = 1; i < count; ++i) {
                    const auto& a = figure[static_cast<std::size_t>(i - 1)];
                    const auto& b = figure[static_cast<std::size_t>(i)];
                    const Needle na{100 + c * width + (a.x - minX) * stretch, 300.0 + a.y, false};
                    const Needle nb{100 + c * width + (b.x - minX) * stretch, 300.0 + b.y, false};
                    const double dx = nb.x - na.x, dy = nb.y - na.y, len2 = dx * dx + dy * dy;
                    const double t =
                        len2 > 0 ? std::clamp(((x - na.x) * dx + (y - na.y) * dy) / len2, 0.0, 1.0) : 0.0;
                    best = std::min(best, distance(x, y, na.x + t * dx, na.y + t * dy));
                }
            return best;
        };
        // Off them lie only short steps between copies that nearly meet and
        // the drop onto the line's end point; a join from tip to tip was a
        // whole copy long.
        const auto n = objectNeedles(KindRun, p, *libraries, plainSettings());
        double off = 0;
        for (std::size_t i = 1; i < n.size(); ++i)
            if (offFigure((n[i - 1].x + n[i].x) / 2, (n[i - 1].y + n[i].y) / 2) > 1)
                off += distance(n[i - 1].x, n[i - 1].y, n[i].x, n[i].y);
        EXPECT_LE(off, 10 * copies) << name;
        EXPECT_NEAR(n.back().x, 700, 1e-6);
        EXPECT_NEAR(n.back().y, 300, 1e-6);
    }
}

TEST(SewoutQuality, WideSatinSplitsLeaveNoSeam)
{
    // 16 mm wide: three split holes a stitch, which a cycle of three shifts
    // put on nine lines down the column.
    for (double width : {100.0, 160.0}) {
        const ObjectParams p = satenParams(straightEdge(0, 0, 400, 0), straightEdge(0, width, 400, width));
        std::map<long, int> at;
        int splits = 0;
        for (const Needle& k : objectNeedles(KindSaten, p, Libraries{}, plainSettings()))
            if (k.y > 1e-6 && k.y < width - 1e-6) {
                ++at[std::lround(k.y)];
                ++splits;
            }
        ASSERT_GT(splits, 200);
        int busiest = 0;
        for (const auto& [y, n] : at)
            busiest = std::max(busiest, n);
        EXPECT_LE(busiest, splits / 20) << width;
    }
}

TEST(SewoutQuality, TurnedFillRowsKeepTheirSpacingOnTheMachineGrid)
{
    for (int32_t angle : {15, 30, 45, 60}) {
        ObjectParams p = rectParams(straightEdge(0, 0, 400, 0), straightEdge(0, 400, 400, 400), angle);
        p.rect.SDENS = p.rect.TDENS = 40;
        StitchPlan plan;
        ASSERT_EQ(generateObjectPlan(KindRect, p, Libraries{}, plainSettings(), plan), PlanStatus::Ok);
        const double a = angle * 3.14159265358979323846 / 180;
        auto across = [&](const StitchRecord& r) { return r.x * std::sin(a) + r.y * std::cos(a); };
        // A row: stitches of 2 mm and more whose ends stay within a unit and a half across.
        std::vector<double> rowOffsets;
        double sum = 0;
        int count = 0;
        for (std::size_t i = 1; i < plan.records.size(); ++i) {
            const StitchRecord &from = plan.records[i - 1], &to = plan.records[i];
            const bool inRow = to.kind == StitchKind::Stitch && std::abs(across(to) - across(from)) < 1.5 &&
                               distance(from.x, from.y, to.x, to.y) >= 20;
            if (inRow) {
                if (count == 0)
                    sum = across(from), count = 1;
                sum += across(to), ++count;
            } else if (count > 0) {
                if (count >= 4)
                    rowOffsets.push_back(sum / count);
                count = 0;
            }
        }
        std::sort(rowOffsets.begin(), rowOffsets.end());
        int measured = 0;
        for (std::size_t i = 1; i < rowOffsets.size(); ++i) {
            // Two pieces of one row are no gap; a short row left out makes two.
            const double gap = rowOffsets[i] - rowOffsets[i - 1], rows = std::round(gap / 4);
            if (rows < 1)
                continue;
            ++measured;
            EXPECT_NEAR(gap / rows, 4, 0.5) << angle << " row " << i;
        }
        EXPECT_GT(measured, 60) << angle;
    }
}

// The share of the disc within `reach` of a star's centre that thread
// `width` wide covers, drawn at 4 pixels a unit.
double centreCover(int32_t radius, double width, int reach)
{
    StitchPlan plan;
    EXPECT_EQ(
        generateObjectPlan(KindStar, starParams(0, 0, radius, radius), Libraries{}, plainSettings(), plan),
        PlanStatus::Ok);
    constexpr int kScale = 4;
    QImage image(2 * reach * kScale, 2 * reach * kScale, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.translate(reach * kScale, reach * kScale);
        painter.scale(kScale, kScale);
        painter.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
        for (const Segment& g : stitchSegments(plan))
            painter.drawLine(QPointF(g.ax, g.ay), QPointF(g.bx, g.by));
    }
    int inside = 0, covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (std::hypot(x - reach * kScale, y - reach * kScale) < reach * kScale) {
                ++inside;
                covered += qGray(image.pixel(x, y)) > 127;
            }
    return static_cast<double>(covered) / inside;
}

TEST(SewoutQuality, LargeStarCentresAreClosed)
{
    // Thread as the picture draws it (0.35 mm), within a tenth of the
    // radius of the centre, and at most 3 mm.
    for (int32_t radius : {150, 300, 450})
        EXPECT_GT(centreCover(radius, 3.5, std::min(30, radius / 10)), 0.999) << radius;
}

struct Reach {
    double top = 1e9, bottom = -1e9, left = 1e9, right = -1e9; // the fill's stitches
};

// A 40 x 20 mm fill at 0 degrees, a satin along its top whose near edge lies
// at `satinEdge`, and a running line down its left side at `lineAt`.
Reach fillUnderBorders(double satinEdge, double lineAt)
{
    auto ws = std::make_unique<Workspace>();
    ws->settings = plainSettings();
    ObjectParams fill = rectParams(straightEdge(0, 0, 400, 0), straightEdge(0, 200, 400, 200), 0);
    addObject(*ws, KindRect, fill);
    addObject(*ws, KindSaten,
              satenParams(straightEdge(0, satinEdge, 400, satinEdge),
                          straightEdge(0, satinEdge - 40, 400, satinEdge - 40)));
    addObject(*ws, KindRun, runParams(straightEdge(lineAt, 200, lineAt, 0), 25));
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    Reach r;
    for (const StitchRecord& k : plan.records)
        if (k.kind == StitchKind::Stitch && k.colour == fill.rect.colour) {
            r.top = std::min<double>(r.top, k.y), r.bottom = std::max<double>(r.bottom, k.y);
            r.left = std::min<double>(r.left, k.x), r.right = std::max<double>(r.right, k.x);
        }
    return r;
}

TEST(SewoutQuality, FillsReachUnderTheBordersSewnAfterThem)
{
    // The border on the fill's edge, 0.2 mm over it and 0.2 mm short of it:
    // the fill's thread reaches 0.3 to 0.5 mm under the satin's near edge
    // (its top row's thread is half a row wider than the row) and 0.3 to
    // 0.4 mm under the running line's thread (2 units either side of it).
    for (double shift : {0.0, 2.0, -2.0}) {
        const Reach r = fillUnderBorders(shift, -shift);
        EXPECT_GE(shift - (r.top - 1.75), 3) << shift;
        EXPECT_LE(shift - (r.top - 1.75), 5.5) << shift;
        EXPECT_GE(-shift + 2 - r.left, 3) << shift;
        EXPECT_LE(-shift + 2 - r.left, 5.5) << shift;
        EXPECT_GE(r.left, std::min(0.0, -shift - 1)) << shift; // never out past the line's thread
        // Where no border lies the fill keeps its outline.
        EXPECT_NEAR(r.bottom, 200 - 1.75, 1) << shift;
        EXPECT_NEAR(r.right, 400, 1) << shift;
    }
    // A border well clear of the edge is no border of this fill.
    const Reach apart = fillUnderBorders(-10, -10);
    EXPECT_NEAR(apart.top, 1.75, 1);
    EXPECT_NEAR(apart.left, 0, 1);
}

// How far the needle moves (without stitching) to the second object after
// a line ending at (x, y), and the trims on the way.
std::pair<double, int> moveTo(double x, double y, int32_t kind, const ObjectParams& second)
{
    auto ws = std::make_unique<Workspace>();
    ws->settings = plainSettings();
    ObjectParams lead = runParams(straightEdge(700, y, x, y), 25);
    addObject(*ws, KindRun, lead);
    ObjectParams next = second;
    std::memcpy(&next, &second, sizeof next);
    addObject(*ws, kind, next);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    return jumpsAndTrims(plan);
}

TEST(SewoutQuality, FillsClosedLinesAndColumnsStartNearestTheNeedle)
{
    // A fill whose top row is 20 mm away and a closed line whose start is
    // 18 mm away: each starts within a millimetre or two of the needle.
    ObjectParams fill = rectParams(straightEdge(0, 0, 400, 0), straightEdge(0, 200, 400, 200), 0);
    fill.rect.colour = runParams(straightEdge(0, 0, 1, 0)).run.colour;
    const auto [fillMove, fillTrims] = moveTo(405, 205, KindRect, fill);
    EXPECT_LT(fillMove, 10);
    EXPECT_EQ(fillTrims, 0);
    const ObjectParams loop = runParams(curvedEdge(100, 230, 100, 0, 400, 0, 100, 230), 25);
    const auto [loopMove, loopTrims] = moveTo(215, 57, KindRun, loop);
    EXPECT_LT(loopMove, 20);
    EXPECT_EQ(loopTrims, 0);
    // A satin and a column come from their far end.
    ObjectParams satin = satenParams(straightEdge(0, 0, 400, 0), straightEdge(0, 60, 400, 60));
    satin.saten.colour = fill.rect.colour;
    const auto [satinMove, satinTrims] = moveTo(405, 30, KindSaten, satin);
    EXPECT_LT(satinMove, 40);
    EXPECT_EQ(satinTrims, 0);
    ObjectParams column = steilParams(straightEdge(0, 30, 400, 30), 60);
    column.steil.colour = fill.rect.colour;
    const auto [columnMove, columnTrims] = moveTo(405, 30, KindSteil, column);
    EXPECT_LT(columnMove, 40);
    EXPECT_EQ(columnTrims, 0);
}

struct JoinCount {
    int jumps = 0, trims = 0;
    int holesNearJoin = 0; // penetrations within 1 mm of the join
};

// Two runs of one colour, the second starting `gap` units from the first's end.
JoinCount joinOf(double gap, int32_t secondColour)
{
    auto ws = std::make_unique<Workspace>();
    ws->settings = Settings{};
    ws->settings.TIEIN = ws->settings.TIEOUT = 1;
    ws->settings.TIELEN = 10;
    ObjectParams first = runParams(straightEdge(100, 100, 500, 100), 25);
    ObjectParams second = runParams(straightEdge(500 + gap, 100, 500 + gap, 400), 25);
    second.run.colour = secondColour;
    addObject(*ws, KindRun, first);
    addObject(*ws, KindRun, second);
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    JoinCount c;
    for (const StitchRecord& r : plan.records) {
        c.jumps += r.kind == StitchKind::Jump;
        c.trims += r.kind == StitchKind::Trim;
        c.holesNearJoin += r.kind == StitchKind::Stitch && distance(r.x, r.y, 500, 100) <= 10;
    }
    return c;
}

TEST(SewoutQuality, ObjectsThatCarryASeamOnAreNotKnottedWhereTheyMeet)
{
    const int32_t colour = runParams(straightEdge(0, 0, 1, 0)).run.colour;
    for (double gap : {0.0, 3.0, 5.0}) {
        const JoinCount c = joinOf(gap, colour);
        EXPECT_EQ(c.jumps + c.trims, 0) << gap;
        EXPECT_LE(c.holesNearJoin, 2) << gap; // the corner, and a hole beside it
    }
    // Just beyond 0.5 mm, or in another thread, it is two seams, each locked.
    const JoinCount apart = joinOf(6, colour);
    EXPECT_GE(apart.jumps, 1);
    EXPECT_GE(apart.holesNearJoin, 6);
    const JoinCount recoloured = joinOf(0, 0x123456);
    EXPECT_EQ(recoloured.trims, 1);
    EXPECT_GE(recoloured.holesNearJoin, 6);
}

// A leaf (a fill) and its stem (a line in the same thread starting at the
// leaf's edge), the stem at either end of the leaf: the fill ends where the
// stem begins, so the two are one seam with no lock, jump or trim.
TEST(SewoutQuality, AFillEndsWhereTheLineAfterItBegins)
{
    for (const bool stemAtTop : {true, false}) {
        for (const int32_t under : {-1, 20}) {
            SCOPED_TRACE(std::to_string(stemAtTop) + " " + std::to_string(under));
            auto ws = std::make_unique<Workspace>();
            ws->settings = plainSettings();
            ws->settings.TIEIN = ws->settings.TIEOUT = 1;
            ObjectParams leaf = rectParams(straightEdge(100, 100, 500, 100), straightEdge(100, 238, 500, 238));
            leaf.rect.UNDER = under;
            const double stemY = stemAtTop ? 100 : 238;
            ObjectParams stem = runParams(straightEdge(100, stemY, 100, stemAtTop ? 0 : 338), 25);
            stem.run.colour = leaf.rect.colour;
            addObject(*ws, KindRect, leaf);
            addObject(*ws, KindRun, stem);
            StitchPlan plan;
            ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
            // Farther than 0.5 mm, the fill's end would be tied off and jumped from.
            int cuts = 0;
            for (const StitchRecord& r : plan.records)
                cuts += r.kind == StitchKind::Jump || r.kind == StitchKind::Trim;
            EXPECT_EQ(cuts, 0);
        }
    }
}

} // namespace
} // namespace kelvara
