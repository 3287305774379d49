#pragma once

// Colours, pens and shapes that several toolbar pictures share.

#include <QColor>
#include <QPainter>
#include <QPolygonF>

#include <initializer_list>
#include <vector>

namespace kelvara::makebuttons {

inline const QColor kFace(0xEF, 0xEF, 0xEF);
inline const QColor kInk(0x2B, 0x33, 0x3B);
inline const QColor kBlue(0x2F, 0x6F, 0xD0);
inline const QColor kLightBlue(0xB8, 0xD4, 0xF4);
inline const QColor kRed(0xD0, 0x30, 0x30);
inline const QColor kGreen(0x2E, 0x9E, 0x4E);
inline const QColor kYellow(0xF0, 0xC0, 0x40);
inline const QColor kPaper(0xFF, 0xFF, 0xFF);
inline const QColor kGrey(0x90, 0x98, 0xA0);

// A solid pen with round ends, so short strokes stay soft at 30 pixels.
QPen ink(qreal width = 1.6, const QColor& colour = kInk);

QPolygonF polygon(std::initializer_list<QPointF> points);

// A sheet of paper with a folded top right corner.
void page(QPainter& p, qreal x, qreal y, qreal w, qreal h);

// A filled triangle whose tip points along angleDegrees (0 = right, 90 = down).
void arrowHead(QPainter& p, QPointF tip, qreal angleDegrees, qreal size, const QColor& colour);

void stitchDots(QPainter& p, const std::vector<QPointF>& points, const QColor& colour);

// Uses the painter's pen and brush as they are.
void starShape(QPainter& p, QPointF centre, qreal outer, qreal inner, int tips);

} // namespace kelvara::makebuttons
