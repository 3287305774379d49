#include "pictures.h"

#include "drawing.h"

#include <QPainterPath>

namespace kelvara::makebuttons {

namespace {

void smallSquares(QPainter& p, bool grouped)
{
    p.setPen(ink(1.2));
    p.setBrush(kLightBlue);
    const qreal shift = grouped ? 0 : 3;
    p.drawRect(QRectF(6 - shift, 7 - shift, 8, 8));
    p.setBrush(kYellow);
    p.drawRect(QRectF(15 + shift, 14 + shift, 8, 8));
}

// Two grey lines of writing on a label or a sheet, 3 pixels apart.
void writing(QPainter& p, qreal left, qreal right, qreal top)
{
    p.setPen(ink(1, kGrey));
    p.drawLine(QPointF(left, top), QPointF(right, top));
    p.drawLine(QPointF(left, top + 3), QPointF(right, top + 3));
}

void scissors(QPainter& p, QPointF at, qreal scale)
{
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    p.setPen(ink(1.8, kInk));
    p.drawLine(QPointF(-6, -9), QPointF(4, 6));
    p.drawLine(QPointF(6, -9), QPointF(-4, 6));
    p.setPen(ink(1.6, kRed));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(-5.5, 9), 3.4, 3.4);
    p.drawEllipse(QPointF(5.5, 9), 3.4, 3.4);
    p.restore();
}

void orderArrow(QPainter& p, bool toStart)
{
    // Three list lines and an arrow to the first or the last place.
    p.setPen(ink(2, kGrey));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(13, 8 + i * 7), QPointF(25, 8 + i * 7));
    p.setPen(ink(2.2, kBlue));
    p.drawLine(QPointF(6, 22), QPointF(6, 8));
    const qreal barY = toStart ? 5 : 25;
    p.drawLine(QPointF(2, barY), QPointF(10, barY));
    if (toStart) {
        p.drawLine(QPointF(6, 22), QPointF(6, 10));
        arrowHead(p, {6, 7.5}, -90, 5, kBlue);
    } else {
        p.drawLine(QPointF(6, 8), QPointF(6, 20));
        arrowHead(p, {6, 22.5}, 90, 5, kBlue);
    }
}

void curvedArrow(QPainter& p, bool left)
{
    QPainterPath path;
    if (left) {
        path.moveTo(23, 22);
        path.cubicTo(26, 10, 14, 5, 8, 12);
    } else {
        path.moveTo(7, 22);
        path.cubicTo(4, 10, 16, 5, 22, 12);
    }
    p.setPen(ink(2.6, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    arrowHead(p, left ? QPointF(5.5, 15) : QPointF(24.5, 15), left ? 125 : 55, 7, kBlue);
}

} // namespace

// A blank page with a star.
void drawNewDesign(QPainter& p)
{
    page(p, 7, 4, 16, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    starShape(p, {21, 22}, 6, 2.6, 5);
}

// A folder with an arrow out of it.
void drawOpen(QPainter& p)
{
    p.setPen(ink(1.3));
    p.setBrush(kYellow.darker(115));
    p.drawPolygon(polygon({{3, 8}, {10, 8}, {12, 10}, {25, 10}, {25, 24}, {3, 24}}));
    p.setBrush(kYellow);
    p.drawPolygon(polygon({{3, 24}, {7, 14}, {28, 14}, {25, 24}}));
    p.setPen(ink(2, kGreen));
    p.drawLine(QPointF(20, 9), QPointF(20, 3));
    arrowHead(p, {20, 1.5}, -90, 4, kGreen);
}

// A waste bin and a red cross.
void drawDelete(QPainter& p)
{
    p.setPen(ink(1.3));
    p.setBrush(kGrey.lighter(140));
    p.drawPolygon(polygon({{8, 9}, {22, 9}, {20, 26}, {10, 26}}));
    p.drawLine(QPointF(6, 8), QPointF(24, 8));
    p.drawLine(QPointF(12, 5), QPointF(18, 5));
    p.drawLine(QPointF(12.5, 12), QPointF(13, 23));
    p.drawLine(QPointF(17.5, 12), QPointF(17, 23));
    p.setPen(ink(2.4, kRed));
    p.drawLine(QPointF(18, 17), QPointF(27, 26));
    p.drawLine(QPointF(27, 17), QPointF(18, 26));
}

// A floppy disk.
void drawSave(QPainter& p)
{
    p.setPen(ink(1.3));
    p.setBrush(kBlue);
    p.drawPolygon(polygon({{4, 4}, {23, 4}, {26, 7}, {26, 26}, {4, 26}}));
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 15, 14, 11));
    p.setBrush(kLightBlue);
    p.drawRect(QRectF(9, 4, 11, 7));
    p.setBrush(kInk);
    p.drawRect(QRectF(16, 5, 2.5, 5));
    writing(p, 10, 20, 19);
}

// A tick.
void drawApply(QPainter& p)
{
    p.setPen(ink(3.2, kGreen));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(polygon({{6, 15}, {12, 22}, {24, 7}}));
}

// A stitched page and an arrow out of it.
void drawExport(QPainter& p)
{
    page(p, 3, 4, 15, 21);
    p.setPen(ink(1.2, kRed));
    p.drawPolyline(polygon({{6, 10}, {14, 12}, {6, 15}, {14, 17}, {6, 20}, {14, 22}}));
    p.setPen(ink(2.6, kBlue));
    p.drawLine(QPointF(16, 15), QPointF(25, 15));
    arrowHead(p, {28.5, 15}, 0, 6, kBlue);
}

// The mouse pointer.
void drawSelect(QPainter& p)
{
    p.setPen(ink(1.3));
    p.setBrush(kPaper);
    p.drawPolygon(polygon({{9, 4}, {9, 24}, {13.5, 19.5}, {17, 27}, {20, 25.5}, {16.5, 18.5}, {22.5, 18.5}}));
}

// An eye over stitches.
void drawStitchView(QPainter& p)
{
    p.setPen(ink(1.2, kRed));
    p.drawPolyline(polygon({{3, 24}, {8, 20}, {13, 25}, {18, 20}, {23, 25}, {27, 21}}));
    QPainterPath eye({3, 11});
    eye.quadTo(15, 0, 27, 11);
    eye.quadTo(15, 22, 3, 11);
    p.setPen(ink(1.3));
    p.setBrush(kPaper);
    p.drawPath(eye);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(15, 11), 4, 4);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(15, 11), 1.6, 1.6);
}

// A printer.
void drawPrint(QPainter& p)
{
    p.setPen(ink(1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 12, 9));
    p.setBrush(kGrey.lighter(130));
    p.drawRoundedRect(QRectF(4, 11, 22, 10), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 17, 12, 10));
    writing(p, 11, 19, 21);
}

// Two squares in a dashed frame.
void drawGroup(QPainter& p)
{
    smallSquares(p, true);
    p.setPen(QPen(kInk, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 4, 23, 21));
}

// Two squares apart, struck through.
void drawUngroup(QPainter& p)
{
    smallSquares(p, false);
    p.setPen(ink(1.4, kRed));
    p.drawLine(QPointF(6, 26), QPointF(24, 4));
}

// Mirrored triangles.
void drawFlip(QPainter& p)
{
    p.setPen(QPen(kInk, 1, Qt::DashLine));
    p.drawLine(QPointF(15, 3), QPointF(15, 27));
    p.setPen(ink(1.2));
    p.setBrush(kBlue);
    p.drawPolygon(polygon({{12, 6}, {12, 24}, {3, 24}}));
    p.setBrush(kPaper);
    p.drawPolygon(polygon({{18, 6}, {18, 24}, {27, 24}}));
}

// Scissors cutting the thread.
void drawTrim(QPainter& p)
{
    p.setPen(QPen(kRed, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 8), QPointF(11, 8));
    p.drawLine(QPointF(19, 8), QPointF(28, 8));
    scissors(p, {15, 12}, 0.8);
}

// Three threads.
void drawColour(QPainter& p)
{
    p.setPen(ink(1.2));
    const QColor colours[] = {kRed, kGreen, kBlue};
    const QPointF centres[] = {{11, 11}, {19, 11}, {15, 19}};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawEllipse(centres[i], 7, 7);
    }
}

void drawUndo(QPainter& p)
{
    curvedArrow(p, true);
}

void drawRedo(QPainter& p)
{
    curvedArrow(p, false);
}

// Two pages.
void drawCopy(QPainter& p)
{
    page(p, 4, 3, 14, 18);
    page(p, 12, 9, 14, 18);
}

// A clipboard and a page.
void drawPaste(QPainter& p)
{
    p.setPen(ink(1.2));
    p.setBrush(kYellow.darker(120));
    p.drawRoundedRect(QRectF(4, 5, 17, 21), 2, 2);
    p.setBrush(kGrey);
    p.drawRect(QRectF(9, 3, 7, 4));
    page(p, 13, 11, 14, 16);
}

void drawToStart(QPainter& p)
{
    orderArrow(p, true);
}

void drawToEnd(QPainter& p)
{
    orderArrow(p, false);
}

void drawCrossHair(QPainter& p)
{
    p.setPen(ink(1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(15, 15), 8, 8);
    p.drawLine(QPointF(15, 2), QPointF(15, 28));
    p.drawLine(QPointF(2, 15), QPointF(28, 15));
    p.setPen(ink(1.4, kRed));
    p.drawEllipse(QPointF(15, 15), 1.5, 1.5);
}

// A dashed grid on dark ground.
void drawGrid(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(3, 3, 24, 24));
    p.setPen(QPen(QColor(255, 255, 0), 1.2, Qt::DashLine));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(3 + i * 6, 4), QPointF(3 + i * 6, 26));
        p.drawLine(QPointF(4, 3 + i * 6), QPointF(26, 3 + i * 6));
    }
}

// Scissors under a dashed selection.
void drawCut(QPainter& p)
{
    p.setPen(QPen(kGrey, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 2, 24, 12));
    scissors(p, {15, 13}, 1.0);
}

// A page of stitches with a green arrow bringing it into the design.
void drawImport(QPainter& p)
{
    page(p, 10, 6, 16, 20);
    p.setPen(ink(1.2, kBlue));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(13 + i * 3, 12), QPointF(15 + i * 3, 21));
    p.setPen(ink(2.2, kGreen));
    p.drawLine(QPointF(2, 16), QPointF(9, 16));
    arrowHead(p, {12, 16}, 0, 5, kGreen);
}

// A capital A standing on a blue baseline, its start marked where the click
// puts it.
void drawText(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(ink(3.0));
    p.drawPolyline(polygon({{8, 23}, {15, 4}, {22, 23}}));
    p.setPen(ink(2.4));
    p.drawLine(QPointF(10.8, 16.5), QPointF(19.2, 16.5));
    p.setPen(ink(1.4, kBlue));
    p.drawLine(QPointF(3, 26), QPointF(27, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(5, 26), 2.2, 2.2);
}

} // namespace kelvara::makebuttons
