#include "stitch/stitchtesting.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

namespace kelvara {
namespace {

using namespace testing;

struct Coverage {
    double covered = 0; // share of the area's pixels under thread
    double spill = 0;   // thread pixels well outside the area, per area pixel
};

// Rasterises the area and the plan's stitches (as threads as wide as the row
// spacing) at one pixel per unit and compares them.
Coverage coverageOf(const StitchPlan& plan, const QPainterPath& area, double threadWidth)
{
    const QRectF box = area.boundingRect().adjusted(-20, -20, 20, 20);
    QImage areaImage(static_cast<int>(box.width()), static_cast<int>(box.height()),
                     QImage::Format_Grayscale8);
    areaImage.fill(0);
    QImage grown = areaImage, threads = areaImage;
    {
        QPainter p(&areaImage);
        p.translate(-box.topLeft());
        p.fillPath(area, Qt::white);
        QPainter g(&grown);
        g.translate(-box.topLeft());
        g.fillPath(area, Qt::white);
        g.strokePath(area, QPen(Qt::white, 6)); // three units of slack around the outline
        QPainter t(&threads);
        t.translate(-box.topLeft());
        t.setPen(QPen(Qt::white, threadWidth, Qt::SolidLine, Qt::FlatCap));
        for (const Segment& s : stitchSegments(plan))
            t.drawLine(QPointF(s.ax, s.ay), QPointF(s.bx, s.by));
    }
    double inside = 0, hit = 0, outside = 0;
    for (int y = 0; y < areaImage.height(); ++y)
        for (int x = 0; x < areaImage.width(); ++x) {
            const bool in = qGray(areaImage.pixel(x, y)) > 127;
            const bool thread = qGray(threads.pixel(x, y)) > 127;
            inside += in;
            hit += in && thread;
            outside += thread && qGray(grown.pixel(x, y)) <= 127;
        }
    return {hit / inside, outside / inside};
}

QPainterPath polygonPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

StitchPlan planOf(int32_t kind, const ObjectParams& p, const Libraries& libs = Libraries{})
{
    StitchPlan plan;
    EXPECT_EQ(generateObjectPlan(kind, p, libs, plainSettings(), plan), PlanStatus::Ok);
    return plan;
}

TEST(FillArea, RectangleAtAnyAngleIsCoveredAndNothingSpills)
{
    for (int angle : {0, 30, 90, 135, -45, 400}) {
        const ObjectParams p = rectParams(straightEdge(0, 0, 300, 0), straightEdge(0, 200, 300, 200), angle);
        const Coverage c =
            coverageOf(planOf(KindRect, p), polygonPath({{0, 0}, {300, 0}, {300, 200}, {0, 200}}), 4);
        // Rows off the pixel grid round to whole units, which opens hairline gaps.
        EXPECT_GT(c.covered, 0.95) << angle;
        EXPECT_LT(c.spill, 0.002) << angle;
    }
}

TEST(FillArea, EveryRowReachesBothEdgesDespiteTheShortStitchRule)
{
    // Regression: turns between rows (3.5 units) are shorter than DELETE (5),
    // and dropping them left every other row short of the edge.
    const ObjectParams p = rectParams(straightEdge(0, 0, 300, 0), straightEdge(0, 100, 300, 100), 0);
    Settings settings = plainSettings();
    settings.DELETE = 5;
    StitchPlan plan;
    ASSERT_EQ(generateObjectPlan(KindRect, p, Libraries{}, settings, plan), PlanStatus::Ok);
    std::map<int32_t, std::pair<int32_t, int32_t>> rows; // y -> leftmost, rightmost
    for (const StitchRecord& r : plan.records) {
        if (r.kind != StitchKind::Stitch)
            continue;
        auto [it, added] = rows.try_emplace(r.y, r.x, r.x);
        it->second.first = std::min(it->second.first, r.x);
        it->second.second = std::max(it->second.second, r.x);
    }
    ASSERT_GE(rows.size(), 25u);
    for (const auto& [y, ends] : rows) {
        EXPECT_EQ(ends.first, 0) << "row " << y;
        EXPECT_EQ(ends.second, 300) << "row " << y;
    }
}

TEST(FillArea, ConcaveAreaIsCoveredWithoutStitchingAcrossItsGap)
{
    // Edge B dips deep into the area, leaving two lobes joined at the top.
    const BezierEdge a = straightEdge(0, 0, 400, 0);
    const BezierEdge b = straightEdge(0, 300, 400, 300);
    ObjectParams p = rectParams(a, b, 0);
    // Replace B with a V: a straight B cannot make a concave area, a curve can.
    p.rect.edgeB = curvedEdge(0, 300, 200, -250, 200, -250, 400, 300);
    QPainterPath area;
    area.moveTo(0, 0);
    area.lineTo(400, 0);
    area.lineTo(400, 300);
    area.cubicTo(200, -250, 200, -250, 0, 300);
    area.closeSubpath();
    for (int angle : {0, 90, 60}) {
        p.rect.ANGLE = angle;
        const Coverage c = coverageOf(planOf(KindRect, p), area, 4);
        EXPECT_GT(c.covered, 0.95) << angle;
        EXPECT_LT(c.spill, 0.003) << angle;
    }
}

struct Travel {
    double between = 0;  // travel from one section to another
    double straight = 0; // the same, as straight lines from end to start
    double onSewn = 0;   // of it, lying on rows already sewn (within a thread's width)
};

// Sorts a fill's moves into rows (along `angle`) and travel, and measures the
// travel that does not just turn to a neighbouring row.
Travel travelOf(const std::vector<Needle>& n, int angle, double spacing)
{
    const double a = angle * 3.14159265358979323846 / 180, c = std::cos(a), s = -std::sin(a);
    auto along = [&](const Needle& k) { return k.x * c + k.y * s; };
    auto across = [&](const Needle& k) { return -k.x * s + k.y * c; };
    std::vector<std::array<double, 3>> sewn; // across, lo, hi
    Travel t;
    std::size_t start = 0;
    // Turned rows 3 units apart or more lie on the machine's grid, within a unit of their line.
    const double sameRow = spacing >= 3 && angle % 90 != 0 ? 1.5 : 1e-6;
    for (std::size_t i = 1; i < n.size(); ++i) {
        const bool row = std::abs(across(n[i]) - across(n[i - 1])) < sameRow;
        if (row)
            sewn.push_back({across(n[i]), std::min(along(n[i]), along(n[i - 1])),
                            std::max(along(n[i]), along(n[i - 1]))});
        if (!row && (i + 1 == n.size() || std::abs(across(n[i + 1]) - across(n[i])) < sameRow) &&
            std::abs(across(n[i]) - across(n[start])) > 1.5 * spacing) {
            t.straight += std::hypot(n[i].x - n[start].x, n[i].y - n[start].y);
            for (std::size_t j = start + 1; j <= i; ++j) {
                const double len = std::hypot(n[j].x - n[j - 1].x, n[j].y - n[j - 1].y);
                t.between += len;
                for (double f = 0.5 / len; f < 1; f += 1 / len) {
                    const double u = std::lerp(along(n[j - 1]), along(n[j]), f);
                    const double v = std::lerp(across(n[j - 1]), across(n[j]), f);
                    for (const auto& r : sewn)
                        if (std::abs(v - r[0]) <= std::min(spacing / 2, 1.5) && u > r[1] + 1 &&
                            u < r[2] - 1) {
                            t.onSewn += 1;
                            break;
                        }
                }
            }
        }
        if (row)
            start = i;
    }
    return t;
}

TEST(FillArea, TravelBetweenSectionsRunsUnderRowsStillToCome)
{
    // A 40 x 22 mm U, and the same upside down, whose arms must be reached
    // before the bar joining them is sewn.
    const ObjectParams u = rectParams(curvedEdge(0, 0, 0, 293, 400, 293, 400, 0),
                                      curvedEdge(100, 0, 100, 160, 300, 160, 300, 0));
    const ObjectParams n = rectParams(curvedEdge(0, 220, 0, -73, 400, -73, 400, 220),
                                      curvedEdge(100, 220, 100, 60, 300, 60, 300, 220));
    for (const ObjectParams* shape : {&u, &n})
        for (int angle : {0, 30, 160})
            for (int32_t density : {35, 10, 150}) {
                ObjectParams p = *shape;
                p.rect.ANGLE = angle;
                p.rect.SDENS = density;
                const Travel t =
                    travelOf(objectNeedles(KindRect, p, Libraries{}, plainSettings()), angle, density / 10.0);
                EXPECT_EQ(t.onSewn, 0) << angle << " " << density;
                EXPECT_LT(t.between, 2 * t.straight + 1) << angle << " " << density;
            }
    // Still covered after the new routing.
    QPainterPath area;
    area.moveTo(0, 0);
    area.cubicTo(0, 293, 400, 293, 400, 0);
    area.lineTo(300, 0);
    area.cubicTo(300, 160, 100, 160, 100, 0);
    area.closeSubpath();
    const Coverage c = coverageOf(planOf(KindRect, u), area, 4);
    EXPECT_GT(c.covered, 0.95);
    EXPECT_LT(c.spill, 0.002);
}

TEST(FillArea, EllipseIsCoveredAndZeroRadiusGivesNothing)
{
    const ObjectParams p = circleParams(200, 150, 150, 90, 20);
    QPainterPath area;
    area.addEllipse(QPointF(200, 150), 150, 90);
    const Coverage c = coverageOf(planOf(KindCircle, p), area, 4);
    EXPECT_GT(c.covered, 0.97);
    EXPECT_LT(c.spill, 0.002);

    StitchPlan plan;
    EXPECT_EQ(generateObjectPlan(KindCircle, circleParams(0, 0, 0, 50), Libraries{}, plainSettings(), plan),
              PlanStatus::Empty);
}

TEST(FillArea, PenetrationsAreAtMostThirtyApartAndStaggered)
{
    const ObjectParams p = rectParams(straightEdge(0, 0, 400, 0), straightEdge(0, 100, 400, 100), 0);
    const StitchPlan plan = planOf(KindRect, p);
    for (const Segment& s : stitchSegments(plan))
        EXPECT_LE(distance(s.ax, s.ay, s.bx, s.by), 30 + 1.5);

    // The inner penetrations of neighbouring rows do not line up.
    const auto n = objectNeedles(KindRect, p, Libraries{}, plainSettings());
    std::vector<std::vector<double>> rows;
    double rowY = -1;
    for (const Needle& k : n) {
        if (k.y != rowY) {
            rows.emplace_back();
            rowY = k.y;
        }
        if (k.x > 0 && k.x < 400)
            rows.back().push_back(k.x);
    }
    ASSERT_GT(rows.size(), 20u);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        std::vector<double> a = rows[r - 1], b = rows[r];
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_NE(a, b) << "row " << r;
    }
}

TEST(FillArea, AnglesTurnCounterClockwiseOnScreenAsTheStarsDo)
{
    for (int angle : {30, 135, 300, -60}) {
        const double a = angle * 3.14159265358979323846 / 180;
        const double wantX = std::cos(a), wantY = -std::sin(a); // y points down the screen
        // The longest stitch of a large square fill lies along its rows.
        const ObjectParams p = rectParams(straightEdge(0, 0, 600, 0), straightEdge(0, 600, 600, 600), angle);
        const auto n = objectNeedles(KindRect, p, Libraries{}, plainSettings());
        double dx = 0, dy = 0;
        for (std::size_t i = 1; i < n.size(); ++i)
            if (std::hypot(n[i].x - n[i - 1].x, n[i].y - n[i - 1].y) > std::hypot(dx, dy))
                dx = n[i].x - n[i - 1].x, dy = n[i].y - n[i - 1].y;
        // The ends lie on the machine's grid, within a unit of the row's line.
        EXPECT_LT(std::abs(dx * wantY - dy * wantX) / std::hypot(dx, dy), 0.06) << angle;
        // A star's arc around the same angle points the same way.
        const auto s = objectNeedles(KindStar, starParams(0, 0, 100, 100, angle - 5, angle + 5), Libraries{},
                                     plainSettings());
        double sx = 0, sy = 0;
        for (const Needle& k : s)
            sx += k.x, sy += k.y;
        EXPECT_GT((sx * wantX + sy * wantY) / std::hypot(sx, sy), 0.99) << angle;
    }
}

// Where the penetrations of each of the first rows lie within a
// repeat of `period` units, in hundredths.
std::vector<std::set<long>> rowResidues(const std::vector<Needle>& n, double width, double period, int rows)
{
    std::vector<std::set<long>> out(static_cast<std::size_t>(rows));
    int row = -1;
    double rowY = -1;
    for (const Needle& k : n) {
        if (k.y != rowY) {
            ++row;
            rowY = k.y;
        }
        if (row < rows && k.x > 40 && k.x < width - 40) // away from the ends, which split their gaps
            out[static_cast<std::size_t>(row)].insert(std::lround(k.x * 100) % std::lround(period * 100));
    }
    return out;
}

TEST(FillArea, PatternMarksPlaceThePenetrations)
{
    // A brick: marks in columns 1 and 9 over 5 and 13, repeating every 16.
    Libraries libs;
    libs.patterns.count = 1;
    libs.patterns.rows[0][0] = {2, {10, 90}};
    libs.patterns.rows[0][1] = {2, {50, 130}};
    ObjectParams p = rectParams(straightEdge(0, 0, 500, 0), straightEdge(0, 100, 500, 100), 0);
    p.rect.PATTERN = 0;
    // A character is as wide as a row is deep (3.5 units): bricks of 28
    // units, every one, staggered by half a brick from row to row.
    auto r = rowResidues(objectNeedles(KindRect, p, libs, plainSettings()), 500, 56, 2);
    EXPECT_EQ(r[0], (std::set<long>{350, 3150}));
    EXPECT_EQ(r[1], (std::set<long>{1750, 4550}));

    // ZOOMX narrows the characters with the rows; ZOOMY repeats each pattern
    // row down.
    p.rect.ZOOMX = 0.5;
    p.rect.ZOOMY = 3;
    r = rowResidues(objectNeedles(KindRect, p, libs, plainSettings()), 500, 28, 6);
    for (std::size_t row = 0; row < 6; ++row)
        EXPECT_EQ(r[row], row < 3 ? (std::set<long>{175, 1575}) : (std::set<long>{875, 2275})) << row;

    // Wider rows, wider characters; gaps over 30 units are split on the
    // pattern's columns, never on the next row's marks (50 and 130).
    p.rect.ZOOMX = p.rect.ZOOMY = 1;
    p.rect.SDENS = 100;
    r = rowResidues(objectNeedles(KindRect, p, libs, plainSettings()), 500, 160, 1);
    EXPECT_TRUE(r[0].count(1000) && r[0].count(9000));
    EXPECT_EQ(r[0].size(), 6u);
    for (long at : r[0]) {
        EXPECT_EQ(at % 1000, 0) << at;
        EXPECT_TRUE(at != 5000 && at != 13000) << at;
    }
}

TEST(FillArea, UnderlayRowsRunAcrossTheTopRowsAndStayInset)
{
    ObjectParams p = rectParams(straightEdge(0, 0, 300, 0), straightEdge(0, 200, 300, 200), 0);
    p.rect.UNDER = 20;
    p.rect.OFSUND = 10;
    p.rect.STITCHES = 0;
    const auto n = objectNeedles(KindRect, p, Libraries{}, plainSettings());
    ASSERT_GT(n.size(), 20u);
    int vertical = 0, horizontal = 0;
    for (std::size_t i = 1; i < n.size(); ++i) {
        const double dx = std::abs(n[i].x - n[i - 1].x), dy = std::abs(n[i].y - n[i - 1].y);
        vertical += dx < 1e-6 && dy > 1;
        horizontal += dy < 1e-6 && dx > 1;
    }
    // Underlay rows three top rows apart (3.5 units each).
    std::set<long> columns;
    for (std::size_t i = 1; i < n.size(); ++i)
        if (std::abs(n[i].x - n[i - 1].x) < 1e-6 && std::abs(n[i].y - n[i - 1].y) > 1)
            columns.insert(std::lround(n[i].x * 10));
    ASSERT_GT(columns.size(), 10u);
    for (auto it = std::next(columns.begin()); it != columns.end(); ++it)
        EXPECT_NEAR((*it - *std::prev(it)) / 10.0, 10.5, 1.0);
    // The turns between rows run across, along the inset outline.
    EXPECT_GT(vertical, 4 * horizontal) << "underlay rows are at the angle plus 90 degrees";
    for (const Needle& k : n) {
        // Rows and turns stay on the inset outline: a turn out on the
        // outline itself would show as a pip beside the top layer's edge.
        EXPECT_TRUE(k.y >= 10 - 1e-6 && k.y <= 190 + 1e-6 && k.x >= 10 - 1e-6 && k.x <= 290 + 1e-6)
            << k.x << "," << k.y;
    }
}

TEST(StarFill, PenetrationsAlternateBetweenRimAndInside)
{
    const ObjectParams p = starParams(0, 0, 100, 60);
    Settings whole = plainSettings();
    whole.MAXSTITCH = 1000; // rays left unsplit
    const auto n = objectNeedles(KindStar, p, Libraries{}, whole);
    ASSERT_GT(n.size(), 100u);
    int atCentre = 0;
    for (std::size_t i = 0; i < n.size(); ++i) {
        const double e = std::hypot(n[i].x / 100, n[i].y / 60); // 1 on the ellipse
        if (i % 2 == 1) {
            EXPECT_NEAR(e, 1, 1e-3); // on the flattened ellipse
        } else {
            EXPECT_LE(e, 0.85 + 1e-6);
        }
        atCentre += i % 2 == 0 && e < 1e-9;
    }
    EXPECT_LE(atCentre, 1) << "not every stitch goes into one hole";
    // Outer penetrations DENS / 10 apart around a 2 * pi * ~80 ellipse.
    EXPECT_NEAR(static_cast<double>(n.size()) / 2, 510.5 / 3.5, 8);
}

TEST(StarFill, ArcStaysWithinItsAngles)
{
    // From 0 to 90 degrees, counter-clockwise on screen: the upper right quarter.
    const auto n = objectNeedles(KindStar, starParams(0, 0, 100, 100, 0, 90), Libraries{}, plainSettings());
    for (const Needle& k : n) {
        EXPECT_GE(k.x, -1e-6);
        EXPECT_LE(k.y, 1e-6);
    }
    StitchPlan plan;
    EXPECT_EQ(generateObjectPlan(KindStar, starParams(10, 10, 0, 0), Libraries{}, plainSettings(), plan),
              PlanStatus::Empty);
}

} // namespace
} // namespace kelvara
