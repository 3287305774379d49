// Lettering sews well: the thread, drawn 0.4 mm wide, covers the glyphs Qt
// draws at the same size and strays little; counters stay open, marks are
// kept, no stitch is too long and no spot is pierced over and over.
#include "model/kinds/kind.h"
#include "model/recordgeometry.h"
#include "model/textstore.h"
#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/letterlayout.h"
#include "stitch/lettering.h"
#include "stitch/objectpicking.h"
#include "stitch/stitchtesting.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

namespace kelvara::testing {
namespace {

using stitch::Vec;

// Needles in stitched runs; a jump starts a new run.
struct Runs final : stitch::NeedleSink {
    std::vector<std::vector<Vec>> runs{{}};
    void needle(Vec p) override { runs.back().push_back(p); }
    void edgeNeedle(Vec p) override { runs.back().push_back(p); }
    void jump(Vec p) override { runs.push_back({p}); }
    bool exhausted() const override { return false; }
    int64_t room() const override { return 1 << 24; }
    void markOverflow() override {}
};

const Settings& settings()
{
    static const Settings s;
    return s;
}

LettersParams lettering(const char* font, bool bold, int32_t size, int32_t arc, const char* text)
{
    stitch::startFontSystem();
    ObjectParams p{};
    kindRow(KindLetters)->defaults(p, settings(), 0);
    p.letters.FONT = storeText(font);
    p.letters.BOLD = bold ? 1 : 0;
    p.letters.SIZE = size;
    p.letters.X = 1000;
    p.letters.Y = 1000;
    p.letters.ARC = arc;
    p.letters.ALIGN = 1;
    p.letters.TEXT = storeText(text);
    return p.letters;
}

Runs sew(const LettersParams& p)
{
    static const auto libraries = std::make_unique<Libraries>();
    Runs sink;
    stitch::generateLettering(p, stitch::GenContext{settings(), *libraries}, sink);
    return sink;
}

// Pictures at 20 pixels a millimetre of the glyphs, the glyphs grown by
// 0.3 mm, the thread, and the counters shrunk by 0.3 mm.
struct Pictures {
    static constexpr double kScale = 2; // pixels a design unit
    double left = 0, top = 0;
    QImage glyphs, near, thread, counters;

    QPointF at(Vec v) const { return {(v.x - left) * kScale, (v.y - top) * kScale}; }
    static bool set(const QImage& img, QPointF q)
    {
        const int x = int(q.x()), y = int(q.y());
        return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qGray(img.pixel(x, y)) > 127;
    }
};

QPainterPath ringsPath(const std::vector<std::vector<Vec>>& rings, const Pictures& pic)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const auto& ring : rings) {
        QPolygonF poly;
        for (const Vec& v : ring)
            poly << pic.at(v);
        path.addPolygon(poly);
        path.closeSubpath();
    }
    return path;
}

Pictures draw(const LettersParams& p, const Runs& sewn)
{
    const stitch::LetteringLayout layout = stitch::layOutLettering(p);
    Pictures pic;
    double right = -1e300, bottom = -1e300;
    pic.left = pic.top = 1e300;
    for (const auto& g : layout.glyphs)
        for (const auto& ring : g.rings)
            for (const Vec& v : ring) {
                pic.left = std::min(pic.left, v.x - 30);
                pic.top = std::min(pic.top, v.y - 30);
                right = std::max(right, v.x + 30);
                bottom = std::max(bottom, v.y + 30);
            }
    const QSize size(int((right - pic.left) * Pictures::kScale), int((bottom - pic.top) * Pictures::kScale));
    for (QImage* img : {&pic.glyphs, &pic.near, &pic.thread, &pic.counters}) {
        *img = QImage(size, QImage::Format_RGB32);
        img->fill(Qt::black);
    }
    QPainter glyphs(&pic.glyphs), near(&pic.near), counters(&pic.counters);
    near.setPen(QPen(Qt::white, 6 * Pictures::kScale));
    for (const auto& g : layout.glyphs) {
        const QPainterPath path = ringsPath(g.rings, pic);
        glyphs.fillPath(path, Qt::white);
        near.fillPath(path, Qt::white);
        near.drawPath(path);
    }
    // Counters: the rings inside another ring of their glyph, less 0.3 mm.
    counters.setPen(QPen(Qt::black, 6 * Pictures::kScale));
    for (const auto& g : layout.glyphs)
        for (std::size_t i = 0; i < g.rings.size(); ++i)
            for (std::size_t j = 0; j < g.rings.size(); ++j)
                if (i != j && ringsPath({g.rings[j]}, pic).contains(pic.at(g.rings[i].front()))) {
                    const QPainterPath hole = ringsPath({g.rings[i]}, pic);
                    counters.fillPath(hole, Qt::white);
                    counters.drawPath(hole);
                }
    QPainter thread(&pic.thread);
    thread.setPen(QPen(Qt::white, 4 * Pictures::kScale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const auto& run : sewn.runs)
        for (std::size_t i = 1; i < run.size(); ++i)
            thread.drawLine(pic.at(run[i - 1]), pic.at(run[i]));
    return pic;
}

struct Quality {
    double coverage = 0;   // of the glyphs' area
    double off = 0;        // share of thread length over 0.3 mm off the glyphs
    double inCounters = 0; // thread length deeper than 0.3 mm in a counter
    double longest = 0;
};

Quality measure(const LettersParams& p)
{
    const Runs sewn = sew(p);
    const Pictures pic = draw(p, sewn);
    Quality q;
    int64_t glyph = 0, covered = 0;
    for (int y = 0; y < pic.glyphs.height(); ++y)
        for (int x = 0; x < pic.glyphs.width(); ++x)
            if (qGray(pic.glyphs.pixel(x, y)) > 127) {
                ++glyph;
                covered += qGray(pic.thread.pixel(x, y)) > 127;
            }
    q.coverage = glyph ? double(covered) / double(glyph) : 0;
    double total = 0, off = 0;
    for (const auto& run : sewn.runs)
        for (std::size_t i = 1; i < run.size(); ++i) {
            const double len = stitch::length(run[i] - run[i - 1]);
            q.longest = std::max(q.longest, len);
            const int n = std::max(1, int(std::ceil(len / 0.5)));
            for (int k = 0; k < n; ++k) {
                const Vec v = run[i - 1] + (run[i] - run[i - 1]) * ((k + 0.5) / n);
                total += len / n;
                if (!Pictures::set(pic.near, pic.at(v)))
                    off += len / n;
                if (Pictures::set(pic.counters, pic.at(v)))
                    q.inCounters += len / n;
            }
        }
    q.off = total > 0 ? off / total : 1;
    return q;
}

struct Case {
    const char* font;
    bool bold;
    int32_t size;
    double coverage, off;
};

TEST(LetteringQuality, TwoFontsThreeSizesStraightAndOnBothArcsCoverTheGlyphsAndStrayLittle)
{
    const Case cases[] = {
        {"DejaVu Sans", true, 100, 0.90, 0.05},
        {"DejaVu Serif", true, 100, 0.90, 0.05},
        {"DejaVu Sans", false, 60, 0.75, 0.10},
        {"DejaVu Serif", false, 60, 0.75, 0.10},
        {"DejaVu Sans", false, 150, 0.75, 0.10},
    };
    for (const Case& c : cases)
        for (const int32_t arc : {0, 500, -500}) {
            const Quality q = measure(lettering(c.font, c.bold, c.size, arc, "Team Ž8 Bog"));
            const std::string what = std::string(c.font) + (c.bold ? " bold " : " ") + std::to_string(c.size) +
                                     " arc " + std::to_string(arc);
            EXPECT_GE(q.coverage, c.coverage) << what;
            EXPECT_LT(q.off, c.off) << what;
            EXPECT_EQ(q.inCounters, 0) << what;
            EXPECT_LE(q.longest, stitch::generatorMaxStitch(settings()) + 1e-6) << what;
        }
}

TEST(LetteringQuality, AccentedCapitalsKeepTheirMarksAndNoSpotIsPiercedOverAndOver)
{
    for (const char* letter : {"Ž", "Å", "Ç", "o", "B", "8", "W", "i"}) {
        const LettersParams p = lettering("DejaVu Sans", false, 80, 0, letter);
        const stitch::LetteringLayout layout = stitch::layOutLettering(p);
        ASSERT_EQ(layout.glyphs.size(), 1u) << letter;
        const Runs sewn = sew(p);
        const Pictures pic = draw(p, sewn);
        // Every ring outside the others (a letter's body, its mark, a dot)
        // is mostly under thread.
        const auto& rings = layout.glyphs[0].rings;
        for (std::size_t i = 0; i < rings.size(); ++i) {
            bool outer = true;
            for (std::size_t j = 0; j < rings.size(); ++j)
                outer = outer && (i == j || !ringsPath({rings[j]}, pic).contains(pic.at(rings[i].front())));
            if (!outer)
                continue;
            const QRectF box = ringsPath({rings[i]}, pic).boundingRect();
            int64_t in = 0, under = 0;
            for (int y = int(box.top()); y < int(box.bottom()); ++y)
                for (int x = int(box.left()); x < int(box.right()); ++x)
                    if (Pictures::set(pic.glyphs, QPointF(x, y)) && ringsPath({rings[i]}, pic).contains(QPointF(x, y))) {
                        ++in;
                        under += Pictures::set(pic.thread, QPointF(x, y));
                    }
            EXPECT_GE(double(under), 0.8 * double(in)) << letter << " ring " << i;
        }
        std::map<std::pair<int, int>, int> cells;
        int most = 0;
        for (const auto& run : sewn.runs)
            for (const Vec& v : run)
                most = std::max(most, ++cells[{int(std::floor(v.x / 3)), int(std::floor(v.y / 3))}]);
        EXPECT_LE(most, 4) << letter;
    }
}

TEST(LetteringFonts, AMissingFontFallsBackToAnInstalledFamilyAndSaysSo)
{
    const LettersParams missing = lettering("Nowhere Grotesk Zq", false, 80, 0, "Ab");
    const std::string note = builtInText(stitch::replacedFontNote(missing));
    EXPECT_NE(note.find("Nowhere Grotesk Zq"), std::string::npos) << note;
    EXPECT_FALSE(sew(missing).runs.front().empty());
    EXPECT_TRUE(stitch::replacedFontNote(lettering("DejaVu Serif", false, 80, 0, "Ab")).ok());
}

TEST(LetteringKeys, EscapesRoundTripEveryCharacterAndRefuseBrokenValues)
{
    std::string every;
    for (int c = 1; c < 0x80; ++c)
        every += char(c);
    every += "Žofie Åse Çà 日本 😀\r\n";
    const std::string escaped = escapeKeyText(every);
    for (const char c : escaped)
        EXPECT_TRUE(c > 0x20 && c < 0x7F && c != ';' && c != '=') << int(c);
    std::string back;
    ASSERT_TRUE(unescapeKeyText(escaped, back));
    EXPECT_EQ(back, every);
    EXPECT_EQ(escapeKeyText("Team Blue"), "Team%20Blue");
    EXPECT_EQ(escapeKeyText("Žofie"), "%C5%BDofie");
    ASSERT_TRUE(unescapeKeyText("Ž%C5%BD", back));
    EXPECT_EQ(back, "ŽŽ");
    ASSERT_TRUE(unescapeKeyText("%C5%BDofie", back));
    EXPECT_EQ(back, "Žofie");
    for (const char* broken : {"%", "a%4", "%G1", "a b", "%C5", "%C0%80", "%ED%A0%80", "%F5%80%80%80"})
        EXPECT_FALSE(unescapeKeyText(broken, back)) << broken;
    EXPECT_FALSE(unescapeKeyText(std::string(kLongestStoredText + 1, 'a'), back));
}

// A click picks lettering anywhere in its text's box, and the selection's
// box holds the whole text: also far past the anchor and its size, where
// no part of the kind's own geometry reaches.
TEST(LetteringPicking, ALetterFarFromTheAnchorIsPickedAndInsideTheBounds)
{
    ObjectParams p{};
    p.letters = lettering("DejaVu Sans", true, 100, 0, "WIDE WORDS");
    p.letters.ALIGN = 0;
    auto ws = std::make_unique<Workspace>();
    const int32_t row = addObject(*ws, KindLetters, p);
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {1600, 950}, 4), row);
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {4000, 950}, 4), -1);
    const GeometryBox box = recordBounds(KindLetters, p);
    EXPECT_GT(box.right, 1600);
    EXPECT_LT(box.right, 2500);
    EXPECT_LT(box.top, 905); // the capitals' tops
    EXPECT_GE(box.left, 900);
}

// What Convert to shapes gives: a narrow stroke is a satin column of at
// least 1 mm, a glyph with strokes over 7 mm wide a fill with a satin edge.
TEST(LetteringParts, NarrowStrokesAreSatinColumnsAndAWideGlyphIsAFillWithASatinEdge)
{
    static const auto libraries = std::make_unique<Libraries>();
    const stitch::GenContext ctx{settings(), *libraries};
    const auto small = stitch::letteringParts(lettering("DejaVu Sans", false, 60, 0, "l"), ctx);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].kind, KindStroke);
    EXPECT_EQ(small[0].params.stroke.STYLE, 1);
    EXPECT_GE(std::min(small[0].params.stroke.SWIDTH, small[0].params.stroke.TWIDTH), 10);
    EXPECT_LE(std::max(small[0].params.stroke.SWIDTH, small[0].params.stroke.TWIDTH), 12);

    const auto wide = stitch::letteringParts(lettering("DejaVu Sans", true, 600, 0, "I"), ctx);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].kind, KindShape);
    EXPECT_EQ(wide[0].params.shape.BORDER, 2);
    EXPECT_FALSE(wide[0].rows);
    // The edge lies inside the glyph: its path is the outline moved in.
    const GeometryBox glyph = recordBounds(KindLetters, ObjectParams{.letters = lettering("DejaVu Sans", true, 600, 0, "I")});
    const PathPoint corner = wide[0].path.subpaths.at(0).start;
    EXPECT_GT(corner.x, glyph.left);
    EXPECT_LT(corner.x, glyph.right);
}

} // namespace
} // namespace kelvara::testing
