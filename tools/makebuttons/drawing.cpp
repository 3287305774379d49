#include "drawing.h"

#include <QList>

#include <cmath>

namespace kelvara::makebuttons {

QPen ink(qreal width, const QColor& colour)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPolygonF polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

void page(QPainter& p, qreal x, qreal y, qreal w, qreal h)
{
    const qreal fold = 6;
    p.setPen(ink(1.3));
    p.setBrush(kPaper);
    p.drawPolygon(polygon({{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}}));
    p.drawPolyline(polygon({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}}));
}

void arrowHead(QPainter& p, QPointF tip, qreal angleDegrees, qreal size, const QColor& colour)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    const QPointF back(-std::cos(a) * size, -std::sin(a) * size);
    const QPointF side(-std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(polygon({tip, tip + back + side, tip + back - side}));
}

void stitchDots(QPainter& p, const std::vector<QPointF>& points, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const QPointF& point : points)
        p.drawEllipse(point, 1.6, 1.6);
}

void starShape(QPainter& p, QPointF centre, qreal outer, qreal inner, int tips)
{
    QPolygonF star;
    for (int i = 0; i < tips * 2; ++i) {
        const qreal r = i % 2 == 0 ? outer : inner;
        const qreal a = -M_PI / 2 + i * M_PI / tips;
        star << centre + QPointF(std::cos(a) * r, std::sin(a) * r);
    }
    p.drawPolygon(star);
}

} // namespace kelvara::makebuttons
