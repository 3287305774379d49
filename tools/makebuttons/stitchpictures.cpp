#include "pictures.h"

#include "drawing.h"

#include <QPainterPath>

#include <algorithm>

namespace kelvara::makebuttons {

// A dashed curve and its two end points.
void drawRun(QPainter& p)
{
    p.setPen(QPen(kBlue, 2.2, Qt::DashLine, Qt::RoundCap));
    QPainterPath path({4, 24});
    path.cubicTo(10, 2, 18, 30, 26, 6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    stitchDots(p, {{4, 24}, {26, 6}}, kInk);
}

// A broad stroke along a dashed centre line.
void drawSteil(QPainter& p)
{
    QPainterPath centre({5, 24});
    centre.cubicTo(9, 6, 20, 24, 25, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLightBlue, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(centre);
    p.setPen(QPen(kBlue, 1.2, Qt::DashLine, Qt::RoundCap));
    p.drawPath(centre);
}

// Two edges and the zigzag between them.
void drawSaten(QPainter& p)
{
    p.setPen(ink(1.4));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(4, 8), QPointF(26, 4));
    p.drawLine(QPointF(4, 26), QPointF(26, 18));
    p.setPen(ink(1, kRed));
    QPolygonF zigzag;
    for (int i = 0; i <= 10; ++i) {
        const qreal t = i / 10.0;
        const qreal x = 4 + 22 * t;
        zigzag << QPointF(x, i % 2 == 0 ? 8 - 4 * t : 26 - 8 * t);
    }
    p.drawPolyline(zigzag);
}

void drawStar(QPainter& p)
{
    p.setPen(ink(1.3));
    p.setBrush(kYellow);
    starShape(p, {15, 16}, 12, 5, 5);
}

void drawCircle(QPainter& p)
{
    p.setPen(ink(1.6, kBlue));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(15, 15), 11, 11);
}

// A hatched area between two edges.
void drawRect(QPainter& p)
{
    const QPolygonF area = polygon({{4, 9}, {25, 4}, {26, 24}, {6, 26}});
    p.setPen(Qt::NoPen);
    p.setBrush(kLightBlue);
    p.drawPolygon(area);
    p.setClipRegion(QRegion(area.toPolygon()));
    p.setPen(ink(1, kBlue));
    for (int i = -30; i < 30; i += 4)
        p.drawLine(QPointF(i, 30), QPointF(i + 30, 0));
    p.setClipping(false);
    p.setPen(ink(1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(area);
}

// A point on a line, and a plus.
void drawInsertPoint(QPainter& p)
{
    p.setPen(ink(1.4, kGrey));
    p.drawLine(QPointF(3, 22), QPointF(27, 22));
    p.setPen(ink(1.2));
    p.setBrush(kYellow);
    p.drawRect(QRectF(11, 18, 7, 7));
    p.setPen(ink(2.4, kGreen));
    p.drawLine(QPointF(14.5, 3), QPointF(14.5, 13));
    p.drawLine(QPointF(9.5, 8), QPointF(19.5, 8));
}

// Three layers.
void drawUnderlay(QPainter& p)
{
    for (int i = 0; i < 3; ++i) {
        p.setPen(ink(1.2));
        p.setBrush(i == 0 ? kBlue : (i == 1 ? kLightBlue : kPaper));
        const qreal y = 19 - i * 6;
        p.drawPolygon(polygon({{15, y - 5}, {27, y}, {15, y + 5}, {3, y}}));
    }
}

// A knot.
void drawTieOff(QPainter& p)
{
    QPainterPath knot({3, 20});
    knot.cubicTo(12, 20, 22, 4, 15, 4);
    knot.cubicTo(8, 4, 18, 20, 27, 20);
    p.setPen(ink(2.2, kRed));
    p.setBrush(Qt::NoBrush);
    p.drawPath(knot);
    stitchDots(p, {{3, 20}, {27, 20}}, kInk);
}

// Lines closing up.
void drawDensity(QPainter& p)
{
    p.setPen(ink(1.3, kBlue));
    qreal x = 4;
    for (qreal gap = 6; x < 27; gap *= 0.72) {
        p.drawLine(QPointF(x, 5), QPointF(x, 25));
        x += std::max<qreal>(gap, 2);
    }
}

// Two chain links.
void drawJoin(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(ink(2.4, kBlue));
    p.drawRoundedRect(QRectF(3, 10, 14, 9), 4.5, 4.5);
    p.setPen(ink(2.4, kGreen));
    p.drawRoundedRect(QRectF(13, 11, 14, 9), 4.5, 4.5);
}

// A short path through points, and an arrow.
void drawOptimise(QPainter& p)
{
    p.setPen(ink(1.4, kGrey));
    p.drawPolyline(polygon({{5, 24}, {9, 8}, {18, 21}, {25, 6}}));
    stitchDots(p, {{5, 24}, {9, 8}, {18, 21}, {25, 6}}, kBlue);
    p.setPen(ink(2, kGreen));
    p.drawLine(QPointF(16, 27), QPointF(26, 27));
    arrowHead(p, {28.5, 27}, 0, 4, kGreen);
}

// A chequered square.
void drawFillPattern(QPainter& p)
{
    p.setPen(ink(1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 4, 22, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if ((row + col) % 2 == 0)
                p.drawRect(QRectF(5 + col * 5, 5 + row * 5, 5, 5));
}

// A curve and its handles.
void drawEditNodes(QPainter& p)
{
    QPainterPath curve({4, 24});
    curve.cubicTo(8, 6, 22, 6, 26, 24);
    p.setPen(ink(1.6, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(ink(1, kGrey));
    p.drawLine(QPointF(4, 24), QPointF(8, 6));
    p.drawLine(QPointF(26, 24), QPointF(22, 6));
    p.setPen(ink(1));
    p.setBrush(kRed);
    for (const QPointF& point : {QPointF(8, 6), QPointF(22, 6)})
        p.drawRect(QRectF(point.x() - 2.5, point.y() - 2.5, 5, 5));
    p.setBrush(kPaper);
    for (const QPointF& point : {QPointF(4, 24), QPointF(26, 24)})
        p.drawRect(QRectF(point.x() - 2.5, point.y() - 2.5, 5, 5));
}

// A pencil.
void drawEditObject(QPainter& p)
{
    p.setPen(ink(1.2));
    p.setBrush(kYellow);
    p.drawPolygon(polygon({{8, 26}, {4, 26}, {4, 22}, {20, 6}, {24, 10}}));
    p.setBrush(kRed);
    p.drawPolygon(polygon({{20, 6}, {23, 3}, {27, 7}, {24, 10}}));
    p.setBrush(kInk);
    p.drawPolygon(polygon({{4, 26}, {4, 23.5}, {6.5, 26}}));
}

// A column and its width between arrows.
void drawColumnWidth(QPainter& p)
{
    p.setPen(QPen(kLightBlue, 8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(15, 4), QPointF(15, 26));
    p.setPen(ink(1.2, kInk));
    p.drawLine(QPointF(4, 4), QPointF(4, 26));
    p.drawLine(QPointF(26, 4), QPointF(26, 26));
    p.setPen(ink(1.8, kBlue));
    p.drawLine(QPointF(9, 15), QPointF(21, 15));
    arrowHead(p, {5.5, 15}, 180, 5, kBlue);
    arrowHead(p, {24.5, 15}, 0, 5, kBlue);
}

// A magnifier over stitches.
void drawStitchQuality(QPainter& p)
{
    p.setPen(ink(1.2, kRed));
    p.drawPolyline(polygon({{4, 14}, {8, 8}, {12, 14}, {16, 8}, {20, 14}}));
    p.setPen(ink(1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 11), 8, 8);
    p.setPen(ink(3.4));
    p.drawLine(QPointF(18, 17), QPointF(26, 25));
}

// A leaf sewn down its middle.
void drawMotif(QPainter& p)
{
    QPainterPath leaf({5, 25});
    leaf.cubicTo(4, 10, 14, 4, 26, 4);
    leaf.cubicTo(26, 16, 20, 26, 5, 25);
    p.setPen(ink(1.4, kGreen.darker(130)));
    p.setBrush(kGreen);
    p.drawPath(leaf);
    p.setPen(QPen(kPaper, 1.2, Qt::DashLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 24), QPointF(23, 7));
}

} // namespace kelvara::makebuttons
