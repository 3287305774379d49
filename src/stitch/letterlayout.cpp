// Lettering glyphs from the installed fonts, through Qt's text layout.
#include "stitch/letterlayout.h"

#include "model/textstore.h"

#include <QFont>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr char kDefaultFamily[] = "DejaVu Sans";
// Glyphs are laid out at this many pixels an em and scaled afterwards, so
// hinting and whole-pixel rounding do not reach the design.
constexpr int kLayoutPixels = 1000;

bool haveFontSystem()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Where a point of a glyph goes: (u, v) is its place on the straight line
// (u along it from the anchor, v down from the baseline), `centre` the
// glyph's middle along the line.
struct Placement {
    const LettersParams& p;
    double lineDown = 0; // the line's baseline below the first one
    double cosTurn = 1, sinTurn = 0;

    Vec map(double u, double v, double centre) const
    {
        double x = u, y = v + lineDown;
        if (p.ARC > 0) {
            const double r = std::max(1.0, p.ARC - lineDown);
            const double phi = centre / r, du = u - centre;
            const double c = std::cos(phi), s = std::sin(phi);
            x = r * s + du * c - v * s;
            y = p.ARC - r * c + du * s + v * c;
        } else if (p.ARC < 0) {
            const double rho = -double(p.ARC), r = rho + lineDown;
            const double phi = centre / r, du = u - centre;
            const double c = std::cos(phi), s = std::sin(phi);
            x = r * s + du * c + v * s;
            y = -rho + r * c - du * s + v * c;
        }
        // Counter-clockwise on screen, where y points down.
        return {p.X + x * cosTurn + y * sinTurn, p.Y - x * sinTurn + y * cosTurn};
    }
};

} // namespace

std::string letteringFamily(const LettersParams& p)
{
    const std::string_view named = storedText(p.FONT);
    return named.empty() ? std::string(kDefaultFamily) : std::string(named);
}

void startFontSystem()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kelvara";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

LetteringLayout layOutLettering(const LettersParams& p)
{
    LetteringLayout out;
    out.requested = letteringFamily(p);
    out.used = out.requested;
    if (!haveFontSystem()) {
        out.noFonts = true;
        return out;
    }
    QFont font(QString::fromStdString(out.requested));
    font.setPixelSize(kLayoutPixels);
    font.setBold(p.BOLD != 0);
    font.setItalic(p.ITALIC != 0);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    const QFontInfo info(font);
    out.used = info.family().toStdString();
    out.replaced = info.family().compare(QString::fromStdString(out.requested), Qt::CaseInsensitive) != 0;

    const QRawFont raw = QRawFont::fromFont(font);
    const double cap = raw.isValid() && raw.capHeight() > 0 ? raw.capHeight() : 0.72 * kLayoutPixels;
    // A handle dragged past the range a line may give is held to it.
    const double scale = std::clamp(std::abs(double(p.SIZE)), 5.0, 10000.0) / cap;
    font.setLetterSpacing(QFont::AbsoluteSpacing, p.SPACING / scale);
    const double leading = p.LEADING > 0 ? p.LEADING : (raw.isValid() ? raw.ascent() + raw.descent() + raw.leading() : 1.2 * kLayoutPixels) * scale;

    const double turn = (p.TURN % 360) * kPi / 180;
    Placement place{p, 0, std::cos(turn), std::sin(turn)};
    const QTransform toDesign = QTransform::fromScale(scale, scale);

    const QString text = QString::fromUtf8(storedText(p.TEXT).data(), qsizetype(storedText(p.TEXT).size()));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
        QString lineText = lines[lineIndex];
        lineText.remove(QLatin1Char('\r'));
        place.lineDown = lineIndex * leading;
        QTextLayout layout(lineText, font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            layout.endLayout();
            continue;
        }
        line.setLineWidth(1e7);
        layout.endLayout();
        const double width = line.naturalTextWidth() * scale;
        const double start = p.ALIGN == 1 ? -width / 2 : p.ALIGN == 2 ? -width : 0;
        const double baseline = line.ascent();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QRawFont runFont = run.rawFont();
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype g = 0; g < indexes.size() && g < positions.size(); ++g) {
                QPainterPath path = runFont.pathForGlyph(indexes[g]);
                if (path.isEmpty())
                    continue;
                path.translate(positions[g].x(), positions[g].y() - baseline);
                path = path.simplified();
                const QRectF box = path.boundingRect();
                const double centre = start + box.center().x() * scale;
                LaidGlyph glyph;
                glyph.line = lineIndex;
                glyph.along = start + box.left() * scale;
                for (const QPolygonF& polygon : path.toSubpathPolygons(toDesign)) {
                    std::vector<Vec> ring;
                    ring.reserve(std::size_t(polygon.size()));
                    for (const QPointF& q : polygon)
                        ring.push_back(place.map(start + q.x(), q.y(), centre));
                    if (ring.size() >= 3)
                        glyph.rings.push_back(std::move(ring));
                }
                if (!glyph.rings.empty())
                    out.glyphs.push_back(std::move(glyph));
            }
        }
    }
    return out;
}

} // namespace kelvara::stitch
