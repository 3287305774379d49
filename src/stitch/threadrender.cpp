#include "stitch/threadrender.h"

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPen>

namespace kelvara {

namespace {

// Embroidery thread lies about 0.35 mm wide; its shaded edge and the crest
// that catches the light are what make a printed render read as thread.
constexpr double kStrandWidth = 3.5;
constexpr double kEdgeWidth = 4.3;
constexpr double kCrestWidth = 1.0;

QColor threadColour(int32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QColor blend(const QColor& a, const QColor& b, double towardB)
{
    auto mix = [&](int x, int y) { return static_cast<int>(x + (y - x) * towardB + 0.5); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

struct StrandPens {
    QPen edge, body, crest;
};

StrandPens pensFor(int32_t colour)
{
    const QColor body = threadColour(colour);
    // A dark edge for light threads and a slightly lighter one for near-black
    // threads, so every colour separates from its neighbours and the paper.
    const QColor edge = blend(body, QColor(40, 40, 40), body.lightness() > 60 ? 0.45 : 0.25);
    const QColor crest = blend(body, Qt::white, 0.45);
    return {QPen(edge, kEdgeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
            QPen(body, kStrandWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
            QPen(crest, kCrestWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)};
}

} // namespace

void drawThreads(QPainter& painter, const StitchPlan& plan)
{
    if (plan.records.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    int32_t penColour = plan.records.front().colour;
    StrandPens pens = pensFor(penColour);
    QPointF at(plan.records.front().x, plan.records.front().y);
    for (const StitchRecord& r : plan.records) {
        const QPointF to(r.x, r.y);
        if (r.kind == StitchKind::Stitch && to != at) {
            if (r.colour != penColour) {
                penColour = r.colour;
                pens = pensFor(penColour);
            }
            // Each stitch whole before the next, so a later stitch covers the
            // earlier ones where they cross, as on the fabric.
            const QLineF strand(at, to);
            painter.setPen(pens.edge);
            painter.drawLine(strand);
            painter.setPen(pens.body);
            painter.drawLine(strand);
            painter.setPen(pens.crest);
            painter.drawLine(strand);
        }
        at = to;
    }
    painter.restore();
}

} // namespace kelvara
