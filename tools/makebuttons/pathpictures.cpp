#include "pictures.h"

#include "drawing.h"

#include <QPainterPath>

namespace kelvara::makebuttons {

namespace {

void node(QPainter& p, QPointF at, const QColor& colour)
{
    p.setPen(ink(1, kInk));
    p.setBrush(colour);
    p.drawRect(QRectF(at.x() - 2.5, at.y() - 2.5, 5, 5));
}

// A pen nib, its tip at (tipX, tipY), pointing down-left.
void nib(QPainter& p, qreal tipX, qreal tipY)
{
    p.setPen(ink(1.1));
    p.setBrush(kYellow);
    p.drawPolygon(polygon({{tipX, tipY}, {tipX + 4, tipY - 10}, {tipX + 10, tipY - 4}}));
    p.drawLine(QPointF(tipX + 7, tipY - 7), QPointF(tipX + 12, tipY - 12));
}

} // namespace

// A curved line through three nodes, and the pen.
void drawStrokePen(QPainter& p)
{
    QPainterPath line({3, 24});
    line.cubicTo(6, 10, 12, 10, 14, 17);
    line.cubicTo(16, 24, 22, 22, 24, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(line);
    node(p, {3, 24}, kPaper);
    node(p, {14, 17}, kPaper);
    nib(p, 20, 12);
}

// A closed filled outline with a node, and the pen.
void drawShapePen(QPainter& p)
{
    QPainterPath shape({4, 14});
    shape.cubicTo(4, 4, 18, 2, 20, 10);
    shape.lineTo(24, 26);
    shape.cubicTo(14, 28, 4, 24, 4, 14);
    p.setPen(ink(1.4, kBlue));
    p.setBrush(kLightBlue);
    p.drawPath(shape);
    node(p, {4, 14}, kPaper);
    node(p, {24, 26}, kPaper);
    nib(p, 16, 18);
}

// A circle on the left becomes nodes joined by a path on the right.
void drawConvertToPath(QPainter& p)
{
    p.setPen(ink(1.4, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 15), 6, 6);
    p.setPen(ink(1.2));
    p.drawLine(QPointF(14.5, 15), QPointF(17, 15));
    arrowHead(p, {19, 15}, 0, 4, kInk);
    QPainterPath path({21, 9});
    path.cubicTo(29, 9, 29, 21, 21, 21);
    p.setPen(ink(1.4, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    node(p, {21, 9}, kPaper);
    node(p, {21, 21}, kPaper);
}

// A filled shape with a hole drawn into it.
void drawAddHole(QPainter& p)
{
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(QPointF(13, 16), 11, 11);
    ring.addEllipse(QPointF(13, 16), 5, 5);
    p.setPen(ink(1.3, kBlue));
    p.setBrush(kLightBlue);
    p.drawPath(ring);
    node(p, {18, 16}, kPaper);
    p.setPen(ink(1.6, kGreen));
    p.drawLine(QPointF(25, 2), QPointF(25, 10));
    p.drawLine(QPointF(21, 6), QPointF(29, 6));
}

} // namespace kelvara::makebuttons
