#include "model/workspace.h"
#include "ui/canvasview.h"
#include "ui/drawingtools.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

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
    return {x * view.zoom - view.scrollX, y * view.zoom - view.scrollY};
}

void drawPicture(QPainter& painter, const Workspace& ws, PictureAnchor& anchor)
{
    const BackgroundPicture& picture = ws.picture;
    if (!picture.loaded() || picture.pixels.isNull())
        return;
    const ViewState& view = ws.view;
    // A picture seen for the first time was loaded at the present zoom:
    // loading always re-renders before the view can change.
    if (picture.pixels.cacheKey() != anchor.cacheKey) {
        anchor.cacheKey = picture.pixels.cacheKey();
        anchor.zoom = view.zoom;
    }
    const qint64 zoom = view.zoom;
    const qint64 originX = picture.picLeft / anchor.zoom;
    const qint64 originY = picture.picTop / anchor.zoom;
    const qint64 width = std::min<qint64>(picture.picWidth, picture.pixels.width());
    const qint64 height = std::min<qint64>(picture.picHeight, picture.pixels.height());
    // The picture's rectangle in canvas pixels, clipped to the canvas.
    const qint64 left = originX * zoom - view.scrollX;
    const qint64 top = originY * zoom - view.scrollY;
    const qint64 visibleLeft = std::max<qint64>(left, 0);
    const qint64 visibleTop = std::max<qint64>(top, 0);
    const qint64 visibleRight = std::min<qint64>(left + width * zoom, view.canvasWidth);
    const qint64 visibleBottom = std::min<qint64>(top + height * zoom, view.canvasHeight);
    if (visibleLeft >= visibleRight || visibleTop >= visibleBottom)
        return;
    // Only the picture pixels that show are drawn, each as a zoom x zoom block.
    const qint64 sourceLeft = (visibleLeft - left) / zoom;
    const qint64 sourceTop = (visibleTop - top) / zoom;
    const qint64 sourceRight = (visibleRight - left + zoom - 1) / zoom;
    const qint64 sourceBottom = (visibleBottom - top + zoom - 1) / zoom;
    const QRect source(int(sourceLeft), int(sourceTop), int(sourceRight - sourceLeft),
                       int(sourceBottom - sourceTop));
    const QPoint corner(int(left + sourceLeft * zoom), int(top + sourceTop * zoom));
    if (zoom == 1) {
        painter.drawImage(corner, picture.pixels, source);
        return;
    }
    const QRect target(corner, QSize(source.width() * int(zoom), source.height() * int(zoom)));
    painter.drawImage(target, picture.pixels, source);
}

void drawGrid(QPainter& painter, const Workspace& ws)
{
    const ViewState& view = ws.view;
    const int32_t spacing = ws.settings.MRIZXY * view.zoom * 10;
    if (spacing <= 0)
        return;
    QPen pen(kYellow, 0);
    pen.setDashPattern({18, 6}); // the classic dashed pen: 18 pixels on, 6 off
    painter.setPen(pen);
    // Lines end one pixel short of the far edge, like the end-exclusive
    // line drawing the layout was made for.
    for (int32_t x = spacing - view.scrollX % spacing; x < view.canvasWidth - 1; x += spacing)
        painter.drawLine(x, 0, x, view.canvasHeight - 2);
    for (int32_t y = spacing - view.scrollY % spacing; y < view.canvasHeight - 1; y += spacing)
        painter.drawLine(0, y, view.canvasWidth - 2, y);
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

void drawFinishedSegments(QPainter& painter, const Workspace& ws)
{
    const ViewState& view = ws.view;
    painter.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
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

void drawCrossHair(QPainter& painter, const ViewState& view)
{
    painter.setPen(QPen(kWhite, 0));
    painter.drawLine(view.mouseX, 0, view.mouseX, view.canvasHeight - 2);
    painter.drawLine(0, view.mouseY, view.canvasWidth - 2, view.mouseY);
}

} // namespace

void renderCanvas(QImage& canvasImage, const Workspace& ws, PictureAnchor& anchor,
                  const DesignLayer& designLayer)
{
    if (canvasImage.isNull())
        return;
    const ViewState& view = ws.view;
    QPainter painter(&canvasImage);
    painter.fillRect(QRect(0, 0, view.canvasWidth - 1, view.canvasHeight - 1), Qt::black);
    drawPicture(painter, ws, anchor);
    if (designLayer)
        designLayer(painter);
    if (ws.settings.MRIZ != 0)
        drawGrid(painter, ws);
}

bool needsUpperLayer(const Workspace& ws)
{
    return ws.tools.preview.segments[0].used != 0 || ws.settings.CROSS != 0 ||
           ws.tools.rubberBand.active != 0;
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
    if (ws.settings.CROSS != 0)
        drawCrossHair(target, ws.view);
    target.restore();
}

} // namespace kelvara
