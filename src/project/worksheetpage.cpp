// The worksheet page: title, the facts the operator checks before sewing,
// the design as thread at actual size with a scale bar, and the thread
// sequence with swatches. Laid out in millimetres on any paint device.
#include "project/worksheet.h"

#include "shell/texts.h"
#include "stitch/threadraster.h"

#include <QFont>
#include <QImage>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <span>
#include <cmath>

namespace kelvara {

namespace {

constexpr double kHeaderMm = 16;      // title, subtitle and the rule under them
constexpr double kFactsMm = 24;       // two rows of facts
constexpr double kRowMm = 6;          // one thread of the sequence
constexpr double kSequenceHeadMm = 9; // the sequence's heading
constexpr double kMinRenderMm = 100;  // the design keeps at least this much height
constexpr double kFramePadMm = 5;
constexpr double kScaleBarRoomMm = 10;
constexpr int kSequenceColumns = 2;
constexpr QRgb kFabric = qRgb(238, 235, 228);

void drawThreadPicture(QPainter& painter, const Worksheet& sheet, double devicePixelsPerUnit);

// Millimetres on the page to device pixels.
class Page {
public:
    explicit Page(const QPaintDevice& device)
        : kx_(device.logicalDpiX() / 25.4), ky_(device.logicalDpiY() / 25.4), width_(device.width() / kx_),
          height_(device.height() / ky_)
    {
    }
    double width() const { return width_; }
    double height() const { return height_; }
    QPointF at(double x, double y) const { return {x * kx_, y * ky_}; }
    QRectF rect(double x, double y, double w, double h) const { return {x * kx_, y * ky_, w * kx_, h * ky_}; }
    double pixelsX(double mm) const { return mm * kx_; }
    double pixelsY(double mm) const { return mm * ky_; }

private:
    double kx_, ky_, width_, height_;
};

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString hexColour(int32_t colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString millimetres(int32_t units)
{
    return QString::number(units / 10.0, 'f', 1);
}

void text(QPainter& painter, const QRectF& box, int flags, const QString& line)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(box, flags | Qt::TextSingleLine, metrics.elidedText(line, Qt::ElideRight, box.width()));
}

void paintHeader(QPainter& painter, const Page& page, const Worksheet& sheet)
{
    const double w = page.width();
    painter.setPen(Qt::black);
    painter.setFont(font(10));
    const QString date = sheet.date.toString(Qt::ISODate);
    text(painter, page.rect(w - 40, 0, 40, 8), Qt::AlignRight | Qt::AlignBottom, date);
    painter.setFont(font(16, true));
    text(painter, page.rect(0, 0, w - 42, 8), Qt::AlignLeft | Qt::AlignBottom,
         sheet.designName.isEmpty() ? QStringLiteral("Untitled design") : sheet.designName);
    painter.setPen(QColor(90, 90, 90));
    painter.setFont(font(9));
    text(painter, page.rect(0, 8.5, w, 5), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Embroidery worksheet - %1").arg(QString::fromLatin1(kProgramTitle)));
    painter.setPen(QPen(Qt::black, page.pixelsY(0.3)));
    painter.drawLine(page.at(0, 14.5), page.at(w, 14.5));
}

void paintFacts(QPainter& painter, const Page& page, const Worksheet& sheet, double top)
{
    const int64_t minutes = worksheetMinutes(sheet.stitches, sheet.stitchesPerMinute);
    const std::pair<QString, QString> facts[] = {
        {QStringLiteral("Size"),
         QStringLiteral("%1 x %2 mm")
             .arg(millimetres(sheet.maxX - sheet.minX), millimetres(sheet.maxY - sheet.minY))},
        {QStringLiteral("Stitches"), QString::number(sheet.stitches)},
        {QStringLiteral("Colour changes"), QString::number(sheet.colourChanges)},
        {QStringLiteral("Trims"), QString::number(sheet.trims)},
        {QStringLiteral("Threads"), QString::number(sheet.threads.size())},
        {QStringLiteral("Estimated time at %1 stitches/min").arg(sheet.stitchesPerMinute),
         QStringLiteral("about %1 min").arg(minutes)},
    };
    const double cellW = page.width() / 3;
    for (std::size_t i = 0; i < std::size(facts); ++i) {
        const double x = cellW * static_cast<double>(i % 3);
        const double y = top + kFactsMm / 2 * static_cast<double>(i / 3);
        painter.setPen(QColor(90, 90, 90));
        painter.setFont(font(8));
        text(painter, page.rect(x, y, cellW - 2, 4.5), Qt::AlignLeft | Qt::AlignVCenter, facts[i].first);
        painter.setPen(Qt::black);
        painter.setFont(font(11, true));
        text(painter, page.rect(x, y + 4.5, cellW - 2, 6), Qt::AlignLeft | Qt::AlignVCenter, facts[i].second);
    }
}

// The design at 1:1 where it fits, else reduced; the scale bar shows ten
// millimetres of the design at the scale used.
void paintDesign(QPainter& painter, const Page& page, const Worksheet& sheet, const QRectF& frameMm)
{
    // A pale fabric under the design, so white thread shows as it will on cloth.
    painter.setPen(QPen(QColor(170, 170, 170), page.pixelsX(0.2)));
    painter.setBrush(QColor(kFabric));
    painter.drawRect(page.rect(frameMm.x(), frameMm.y(), frameMm.width(), frameMm.height()));

    const double designW = (sheet.maxX - sheet.minX) / 10.0, designH = (sheet.maxY - sheet.minY) / 10.0;
    const double roomW = frameMm.width() - 2 * kFramePadMm;
    const double roomH = frameMm.height() - 2 * kFramePadMm - kScaleBarRoomMm;
    double scale = 1;
    if (designW > roomW)
        scale = roomW / designW;
    if (designH > roomH)
        scale = std::min(scale, roomH / designH);
    const double left = frameMm.x() + kFramePadMm + (roomW - designW * scale) / 2;
    const double top = frameMm.y() + kFramePadMm + (roomH - designH * scale) / 2;

    painter.save();
    painter.translate(page.at(left, top));
    // One design unit is 0.1 mm of fabric.
    painter.scale(page.pixelsX(scale / 10), page.pixelsY(scale / 10));
    painter.translate(-sheet.minX, -sheet.minY);
    drawThreadPicture(painter, sheet, page.pixelsX(scale / 10));
    painter.restore();

    const double barY = frameMm.bottom() - kFramePadMm - 3;
    const double barX = frameMm.x() + kFramePadMm;
    const double barLength = 10 * scale;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(page.rect(barX, barY, barLength, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, page.pixelsX(0.25)));
    painter.drawLine(page.at(barX, barY - 1), page.at(barX, barY + 2.2));
    painter.drawLine(page.at(barX + barLength, barY - 1), page.at(barX + barLength, barY + 2.2));
    painter.setFont(font(8));
    text(painter, page.rect(barX + barLength + 2, barY - 1.5, 20, 4.5), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("10 mm"));
    const QString scaleText = scale >= 1 ? QStringLiteral("Scale 1:1 (actual size)")
                                         : QStringLiteral("Scale 1:%1, reduced to %2 % to fit the page")
                                               .arg(QString::number(1 / scale, 'f', 2))
                                               .arg(std::max(1.0, std::floor(scale * 100)));
    const double scaleW = frameMm.width() - 2 * kFramePadMm - barLength - 24;
    text(painter, page.rect(frameMm.right() - kFramePadMm - scaleW, barY - 1.5, scaleW, 4.5),
         Qt::AlignRight | Qt::AlignVCenter, scaleText);
}

void paintThread(QPainter& painter, const Page& page, const WorksheetThread& thread, int number,
                 const QRectF& rowMm)
{
    const double x = rowMm.x(), y = rowMm.y(), w = rowMm.width();
    painter.setPen(Qt::black);
    painter.setFont(font(9));
    text(painter, page.rect(x, y, 7, kRowMm), Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
    painter.setPen(QPen(QColor(60, 60, 60), page.pixelsX(0.2)));
    painter.setBrush(QColor(thread.colour & 0xFF, (thread.colour >> 8) & 0xFF, (thread.colour >> 16) & 0xFF));
    painter.drawRect(page.rect(x + 9, y + 1, 10, kRowMm - 2));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    const QString hex = hexColour(thread.colour);
    // The thread's name is what the operator fetches; its colour is in the swatch.
    // After a stop the thread is the one before: the row says what to do.
    const QString label = !thread.note.isEmpty() ? thread.note : thread.name.isEmpty() ? hex : thread.name;
    text(painter, page.rect(x + 21, y, w - 21 - 24, kRowMm), Qt::AlignLeft | Qt::AlignVCenter, label);
    text(painter, page.rect(x + w - 23, y, 21, kRowMm), Qt::AlignRight | Qt::AlignVCenter,
         QStringLiteral("%1 st").arg(thread.stitches));
}

void paintSequence(QPainter& painter, const Page& page, const Worksheet& sheet, double top, int rows)
{
    painter.setPen(Qt::black);
    painter.setFont(font(11, true));
    text(painter, page.rect(0, top, page.width(), kSequenceHeadMm - 2), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Colour sequence"));
    const int shown = rows * kSequenceColumns;
    const int count = static_cast<int>(sheet.threads.size());
    // Threads beyond the page are counted on the last row rather than lost.
    const int listed = count <= shown ? count : shown - 1;
    const double columnW = page.width() / kSequenceColumns;
    for (int i = 0; i < listed; ++i) {
        const QRectF row(columnW * (i / rows), top + kSequenceHeadMm + kRowMm * (i % rows), columnW - 3,
                         kRowMm);
        paintThread(painter, page, sheet.threads[std::size_t(i)], i + 1, row);
    }
    if (listed < count) {
        painter.setFont(font(9, true));
        const int i = listed;
        text(painter,
             page.rect(columnW * (i / rows) + 9, top + kSequenceHeadMm + kRowMm * (i % rows), columnW - 12,
                       kRowMm),
             Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("... and %1 more threads, %2 in all").arg(count - listed).arg(count));
    }
}

// The design as the thread view draws it, as a picture at the device's
// resolution (at most 10 pixels a millimetre of the page), laid over the
// design's box in design units.
void drawThreadPicture(QPainter& painter, const Worksheet& sheet, double devicePixelsPerUnit)
{
    // At most 10 pixels a millimetre of the page (254 dpi, a design unit a
    // pixel at 1:1), opaque on the page's fabric: the PDF then holds
    // one picture bounded by the page, whatever the stitch count.
    constexpr double kPixelsPerPageMm = 10;
    constexpr double kLongestSide = 6000;
    const double dpi = painter.device() != nullptr ? std::max(1, painter.device()->logicalDpiX()) : 300.0;
    const double margin = kThreadViewWidth;
    const double w = sheet.maxX - sheet.minX + 2 * margin, h = sheet.maxY - sheet.minY + 2 * margin;
    const double perUnit = std::max(
        1e-3, std::min(devicePixelsPerUnit * kPixelsPerPageMm * 25.4 / dpi, kLongestSide / std::max(w, h)));
    QImage picture(std::max(1, int(std::ceil(w * perUnit))), std::max(1, int(std::ceil(h * perUnit))),
                   QImage::Format_RGB32);
    if (picture.isNull())
        return;
    picture.fill(QColor(kFabric));
    ThreadRaster raster(picture, picture.rect(),
                        RasterView{perUnit, (sheet.minX - margin) * perUnit, (sheet.minY - margin) * perUnit});
    if (sheet.plan)
        sheet.plan([&](std::span<const StitchRecord> records) { raster.add(records); });
    raster.finish();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(sheet.minX - margin, sheet.minY - margin, picture.width() / perUnit,
                             picture.height() / perUnit),
                      picture);
}

} // namespace

void paintWorksheet(QPainter& painter, const Worksheet& sheet)
{
    if (painter.device() == nullptr)
        return;
    const Page page(*painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    paintHeader(painter, page, sheet);
    paintFacts(painter, page, sheet, kHeaderMm);

    // The sequence takes the rows it needs, as long as the design keeps
    // kMinRenderMm of height; the rest of the page is the design's.
    const double designTop = kHeaderMm + kFactsMm + 2;
    const double roomForRows = page.height() - designTop - kMinRenderMm - 4 - kSequenceHeadMm;
    const int maxRows = std::max(1, static_cast<int>(std::floor(roomForRows / kRowMm)));
    const int needed = static_cast<int>((sheet.threads.size() + kSequenceColumns - 1) / kSequenceColumns);
    const int rows = std::clamp(needed, 1, maxRows);
    const double sequenceTop = page.height() - kSequenceHeadMm - rows * kRowMm;
    paintDesign(painter, page, sheet, QRectF(0, designTop, page.width(), sequenceTop - 4 - designTop));
    paintSequence(painter, page, sheet, sequenceTop, rows);
    painter.restore();
}

} // namespace kelvara
