#include "model/drawingtool.h"
#include "model/kinds/kind.h"
#include "model/shiftrule.h"
#include "model/workspace.h"
#include "ui/canvasview.h"
#include "ui/drawingtools.h"
#include "ui/outlinerender.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace kelvara {

namespace {

const QColor kYellow(255, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);

// The design point's canvas pixel. Design coordinates come from clicks, so
// the products stay far inside 32 bits.
QPoint mapPoint(const ViewState& view, int32_t x, int32_t y)
{
    const ZoomRatio zoom = view.ratio();
    return {int(zoom.pixels(x) - view.scrollX), int(zoom.pixels(y) - view.scrollY)};
}

// The picture at a zoom that is no whole number: each canvas pixel takes
// the picture pixel under its design unit, faded when the picture is dimmed.
void drawPictureFine(QImage& canvas, const BackgroundPicture& picture, qint64 originX, qint64 originY,
                     const ViewState& view)
{
    const ZoomRatio zoom = view.ratio();
    const qint64 width = std::min<qint64>(picture.picWidth, picture.pixels.width());
    const qint64 height = std::min<qint64>(picture.picHeight, picture.pixels.height());
    const QRect shown = QRect(0, 0, std::min(view.canvasWidth, canvas.width()),
                              std::min(view.canvasHeight, canvas.height()));
    const qint64 left = std::max<qint64>(zoom.pixels(originX) - view.scrollX, shown.left());
    const qint64 top = std::max<qint64>(zoom.pixels(originY) - view.scrollY, shown.top());
    const qint64 right = std::min<qint64>(zoom.pixels(originX + width) - view.scrollX, shown.right() + 1);
    const qint64 bottom = std::min<qint64>(zoom.pixels(originY + height) - view.scrollY, shown.bottom() + 1);
    if (left >= right || top >= bottom || width <= 0 || height <= 0)
        return;
    if (picture.pixels.format() != QImage::Format_RGB32 || canvas.format() != QImage::Format_RGB32) {
        QPainter painter(&canvas);
        painter.drawImage(QRectF(zoom.exactPixels(double(originX)) - view.scrollX,
                                 zoom.exactPixels(double(originY)) - view.scrollY,
                                 zoom.exactPixels(double(width)), zoom.exactPixels(double(height))),
                          picture.pixels, QRectF(0, 0, double(width), double(height)));
        return;
    }
    std::vector<int> columns(std::size_t(right - left));
    for (qint64 x = left; x < right; ++x)
        columns[std::size_t(x - left)] =
            int(std::clamp<qint64>(zoom.unitOf(x + view.scrollX) - originX, 0, width - 1));
    for (qint64 y = top; y < bottom; ++y) {
        const qint64 sourceY = std::clamp<qint64>(zoom.unitOf(y + view.scrollY) - originY, 0, height - 1);
        const auto* source = reinterpret_cast<const QRgb*>(picture.pixels.constScanLine(int(sourceY)));
        auto* target = reinterpret_cast<QRgb*>(canvas.scanLine(int(y))) + left;
        for (const int column : columns)
            *target++ = picture.dimPercent > 0 ? dimmedPixel(source[column], picture.dimPercent) : source[column];
    }
}

// Copies the visible picture pixels straight into the canvas image, each as
// a zoom x zoom block: the general scaled drawing is several times slower.
void blitPicture(QImage& canvas, const QImage& pixels, const QRect& source, QPoint corner, int zoom)
{
    const QRect visible = QRect(corner, source.size() * zoom) & canvas.rect();
    if (visible.isEmpty())
        return;
    uchar* const bits = canvas.bits();
    const qsizetype stride = canvas.bytesPerLine();
    const QRgb* previousSource = nullptr;
    const QRgb* previousTarget = nullptr;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        auto* target = reinterpret_cast<QRgb*>(bits + stride * y);
        const int sourceY = source.top() + (y - corner.y()) / zoom;
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(sourceY));
        if (row == previousSource) {
            // The rows of one block are alike.
            std::copy(previousTarget + visible.left(), previousTarget + visible.right() + 1,
                      target + visible.left());
            continue;
        }
        int x = visible.left();
        int sourceX = source.left() + (x - corner.x()) / zoom;
        if (zoom == 1) {
            std::copy(row + sourceX, row + sourceX + visible.width(), target + x);
            continue;
        }
        int run = zoom - (x - corner.x()) % zoom;
        while (x <= visible.right()) {
            const int end = std::min(x + run, visible.right() + 1);
            std::fill(target + x, target + end, row[sourceX]);
            x = end;
            ++sourceX;
            run = zoom;
        }
        previousSource = row;
        previousTarget = target;
    }
}

void drawPicture(QImage& canvas, const Workspace& ws, PictureAnchor& anchor)
{
    const BackgroundPicture& picture = ws.picture;
    if (!picture.loaded() || picture.pixels.isNull() || picture.hidden)
        return;
    const ViewState& view = ws.view;
    // A picture seen for the first time was loaded at the present zoom:
    // loading always re-renders before the view can change.
    if (picture.pixels.cacheKey() != anchor.cacheKey) {
        anchor.cacheKey = picture.pixels.cacheKey();
        anchor.zoom = view.ratio();
    }
    const qint64 originX = anchor.zoom.units(picture.picLeft);
    const qint64 originY = anchor.zoom.units(picture.picTop);
    if (view.zoomDivisor != 1) {
        drawPictureFine(canvas, picture, originX, originY, view);
        return;
    }
    const qint64 zoom = view.ratio().zoom;
    const qint64 width = std::min<qint64>(picture.picWidth, picture.pixels.width());
    const qint64 height = std::min<qint64>(picture.picHeight, picture.pixels.height());
    // The picture's rectangle in canvas pixels, clipped to the canvas.
    const qint64 left = originX * zoom - view.scrollX;
    const qint64 top = originY * zoom - view.scrollY;
    const qint64 visibleLeft = std::max<qint64>(left, 0);
    const qint64 visibleTop = std::max<qint64>(top, 0);
    const qint64 visibleRight =
        std::min<qint64>(left + width * zoom, std::min(view.canvasWidth, canvas.width()));
    const qint64 visibleBottom =
        std::min<qint64>(top + height * zoom, std::min(view.canvasHeight, canvas.height()));
    if (visibleLeft >= visibleRight || visibleTop >= visibleBottom)
        return;
    // Only the picture pixels that show are drawn.
    const qint64 sourceLeft = (visibleLeft - left) / zoom;
    const qint64 sourceTop = (visibleTop - top) / zoom;
    const qint64 sourceRight = (visibleRight - left + zoom - 1) / zoom;
    const qint64 sourceBottom = (visibleBottom - top + zoom - 1) / zoom;
    const QRect source(int(sourceLeft), int(sourceTop), int(sourceRight - sourceLeft),
                       int(sourceBottom - sourceTop));
    const QPoint corner(int(left + sourceLeft * zoom), int(top + sourceTop * zoom));
    if (picture.dimPercent > 0 && picture.pixels.format() == QImage::Format_RGB32 &&
        canvas.format() == QImage::Format_RGB32) {
        // Only the pixels that show are faded, into a copy.
        QImage faded = picture.pixels.copy(source);
        for (int y = 0; y < faded.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(faded.scanLine(y));
            for (int x = 0; x < faded.width(); ++x)
                row[x] = dimmedPixel(row[x], picture.dimPercent);
        }
        blitPicture(canvas, faded, faded.rect(), corner, int(zoom));
        return;
    }
    if (picture.pixels.format() == QImage::Format_RGB32 && canvas.format() == QImage::Format_RGB32) {
        blitPicture(canvas, picture.pixels, source, corner, int(zoom));
        return;
    }
    QPainter painter(&canvas);
    painter.drawImage(QRect(corner, source.size() * int(zoom)), picture.pixels, source);
}

// The grid's dashes: 18 pixels on, 6 off, every line starting with a dash
// at the canvas edge, so the grid stays light on the design.
constexpr int kDashOn = 18;
constexpr int kDashPeriod = 24;

// The canvas positions of the grid lines on one axis, before `end`: every
// `units` design units. At a whole zoom the first line lies one spacing in
// even when the offset is a multiple of it; lines closer than a few pixels
// would only paint the canvas yellow and are left out.
std::vector<int> gridLines(const ZoomRatio& zoom, int32_t units, int32_t offset, int end)
{
    std::vector<int> lines;
    if (zoom.divisor == 1) {
        const int32_t spacing = units * zoom.zoom;
        for (int32_t at = spacing - offset % spacing; at < end; at += spacing)
            if (at >= 0)
                lines.push_back(at);
        return lines;
    }
    constexpr double kClosest = 4;
    if (zoom.exactPixels(units) < kClosest)
        return lines;
    const qint64 under = zoom.unitOf(offset);
    for (qint64 k = under / units - (under < 0 ? 1 : 0);; ++k) {
        const qint64 at = zoom.pixels(k * units) - offset;
        if (at >= end)
            break;
        if (at >= 0)
            lines.push_back(int(at));
    }
    return lines;
}

// Drawn straight into the pixels: with a fine spacing the grid has hundreds
// of dashed lines, which the general line drawing takes far longer over.
void drawGrid(QImage& image, const Workspace& ws)
{
    const ViewState& view = ws.view;
    if (ws.settings.MRIZXY <= 0 || image.format() != QImage::Format_RGB32)
        return;
    const QRgb yellow = kYellow.rgb();
    // Lines end one pixel short of the far edge, like the end-exclusive
    // line drawing the layout was made for.
    const int right = std::min(view.canvasWidth - 1, image.width());
    const int bottom = std::min(view.canvasHeight - 1, image.height());
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto row = [bits, stride](int y) { return reinterpret_cast<QRgb*>(bits + stride * y); };
    const int32_t units = ws.settings.MRIZXY * 10;
    const std::vector<int> columns = gridLines(view.ratio(), units, view.scrollX, right);
    for (int y = 0; y < bottom; ++y) {
        if (y % kDashPeriod >= kDashOn)
            continue;
        QRgb* line = row(y);
        for (const int x : columns)
            line[x] = yellow;
    }
    for (const int y : gridLines(view.ratio(), units, view.scrollY, bottom)) {
        QRgb* line = row(y);
        for (int x = 0; x < right; x += kDashPeriod)
            std::fill(line + x, line + std::min(x + kDashOn, right), yellow);
    }
}

void drawCurve(QPainter& painter, QPoint start, QPoint c1, QPoint c2, QPoint end)
{
    QPainterPath path(start);
    path.cubicTo(c1, c2, end);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void drawControlSquare(QPainter& painter, QPoint centre, const QColor& colour)
{
    painter.fillRect(QRect(centre.x() - 4, centre.y() - 4, 8, 8), colour);
}

// While STAR and CIRCLE wait for their last click, the ellipse their first
// segment makes, as the object will have it.
void drawShapeEllipse(QPainter& painter, const Workspace& ws)
{
    const int32_t mode = ws.tools.toolMode;
    const PreviewSegment& first = ws.tools.preview.segments[0];
    const KindRow* kind = kindRow(mode);
    if (kind == nullptr || kind->ellipse == nullptr || first.used == 0)
        return;
    const SegmentEllipse e = ellipseOf(first);
    const ViewState& view = ws.view;
    const QPoint centre = mapPoint(view, e.x, e.y);
    const double zoom = view.ratio().scale();
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(centre), e.rx * zoom, e.ry * zoom);
}

void drawFinishedSegments(QPainter& painter, const Workspace& ws)
{
    const ViewState& view = ws.view;
    painter.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawShapeEllipse(painter, ws);
    for (const PreviewSegment& segment : ws.tools.preview.segments) {
        if (segment.used == 0)
            break;
        const QPoint start = mapPoint(view, segment.startX, segment.startY);
        const QPoint end = mapPoint(view, segment.endX, segment.endY);
        if (segment.straight != 0) {
            painter.drawLine(start, end);
            continue;
        }
        const QPoint c1 = mapPoint(view, segment.c1X, segment.c1Y);
        const QPoint c2 = mapPoint(view, segment.c2X, segment.c2Y);
        drawCurve(painter, start, c1, c2, end);
        drawControlSquare(painter, c1, kBlue);
        drawControlSquare(painter, c2, kBlue);
    }
}

void drawRubberBand(QPainter& painter, const Workspace& ws)
{
    const ViewState& view = ws.view;
    const RubberBand& band = ws.tools.rubberBand;
    const QPoint start = mapPoint(view, band.startX, band.startY);
    int32_t endX = view.mouseX;
    int32_t endY = view.mouseY;
    if (ws.input.shiftDown != 0)
        constrainToShift(start.x(), start.y(), endX, endY);
    const QPoint end(endX, endY);
    painter.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (band.straight != 0) {
        painter.drawLine(start, end);
        return;
    }
    const QPoint c1 = mapPoint(view, band.c1X, band.c1Y);
    const QPoint c2 = mapPoint(view, band.c2X, band.c2Y);
    drawCurve(painter, start, c1, c2, end);
    drawControlSquare(painter, c1, kRed);
    drawControlSquare(painter, c2, kRed);
}

// The pen's nodes, the segments between them, and the segment being placed
// from the last node to the pointer (straight across with Shift), curved by
// the tangent being dragged.
void drawPen(QPainter& painter, const Workspace& ws)
{
    const ViewState& view = ws.view;
    const PenState& pen = ws.tools.pen;
    const std::vector<PenNode>& nodes = pen.nodes;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const PenNode& a = nodes[i - 1];
        const PenNode& b = nodes[i];
        drawCurve(painter, mapPoint(view, a.x, a.y), mapPoint(view, a.outX, a.outY),
                  mapPoint(view, b.inX, b.inY), mapPoint(view, b.x, b.y));
    }
    for (const PenNode& n : nodes)
        drawControlSquare(painter, mapPoint(view, n.x, n.y), kBlue);
    if (nodes.empty())
        return;
    const PenNode& last = nodes.back();
    const QPoint from = mapPoint(view, last.x, last.y);
    QPoint to(view.mouseX, view.mouseY);
    QPoint inHandle = to;
    if (pen.pressed != 0) {
        to = mapPoint(view, pen.pressX, pen.pressY);
        inHandle = mapPoint(view, 2 * pen.pressX - pen.dragX, 2 * pen.pressY - pen.dragY);
        painter.setPen(QPen(kRed, 1));
        painter.drawLine(inHandle, mapPoint(view, pen.dragX, pen.dragY));
    } else if (ws.input.shiftDown != 0) {
        int32_t x = to.x(), y = to.y();
        constrainToShift(from.x(), from.y(), x, y);
        to = QPoint(x, y);
        inHandle = to;
    }
    painter.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawCurve(painter, from, mapPoint(view, last.outX, last.outY), inHandle, to);
}

// The select tool's box, from the press to the pointer.
void drawSelectionBox(QPainter& painter, const Workspace& ws)
{
    const PointerDrag& drag = ws.tools.pointer;
    painter.setPen(QPen(kWhite, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRect(QPoint(drag.startX, drag.startY), QPoint(ws.view.mouseX, ws.view.mouseY)).normalized());
}

void drawCrossHair(QPainter& painter, const ViewState& view)
{
    painter.setPen(QPen(kWhite, 0));
    painter.drawLine(view.mouseX, 0, view.mouseX, view.canvasHeight - 2);
    painter.drawLine(0, view.mouseY, view.canvasWidth - 2, view.mouseY);
}

} // namespace

void renderCanvas(QImage& canvasImage, const Workspace& ws, PictureAnchor& anchor,
                  const DesignLayer& designLayer, QRgb field)
{
    if (canvasImage.isNull())
        return;
    const ViewState& view = ws.view;
    {
        QPainter painter(&canvasImage);
        painter.fillRect(QRect(0, 0, view.canvasWidth - 1, view.canvasHeight - 1), QColor(field));
    }
    drawPicture(canvasImage, ws, anchor);
    if (designLayer) {
        QPainter painter(&canvasImage);
        designLayer(painter);
    }
    if (ws.settings.MRIZ != 0)
        drawGrid(canvasImage, ws);
    // Over the grid, so no handle hides under a grid line.
    if (selectionShown(ws)) {
        QPainter painter(&canvasImage);
        drawSelection(painter, ws);
    }
}

bool needsUpperLayer(const Workspace& ws)
{
    return ws.tools.preview.segments[0].used != 0 || ws.settings.CROSS != 0 || !ws.tools.pen.nodes.empty() ||
           ws.tools.pen.pressed != 0 ||
           ws.tools.rubberBand.active != 0 || ws.tools.pointer.state == SelectState::BoxSelecting;
}

void presentCanvas(QPainter& target, const QImage& canvasImage, const Workspace& ws)
{
    if (!canvasImage.isNull())
        target.drawImage(0, 0, canvasImage);
    if (!needsUpperLayer(ws))
        return;
    target.save();
    target.setRenderHint(QPainter::Antialiasing, false);
    drawFinishedSegments(target, ws);
    if (ws.tools.rubberBand.active != 0)
        drawRubberBand(target, ws);
    drawPen(target, ws);
    if (ws.tools.pointer.state == SelectState::BoxSelecting)
        drawSelectionBox(target, ws);
    if (ws.settings.CROSS != 0)
        drawCrossHair(target, ws.view);
    target.restore();
}

} // namespace kelvara
