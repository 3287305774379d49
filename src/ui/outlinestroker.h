#pragma once

#include "model/records.h"

#include <QLineF>
#include <QRectF>

#include <cstdint>
#include <vector>

namespace kelvara {

struct ViewState;

// Turns objects into the canvas-pixel lines of their outlines, clipped to
// the view: a RUN is its curve; a STEIL its centre line with a bar of its
// width across each end; SATEN and RECT both edges and the rungs joining
// their ends; STAR and CIRCLE their ellipse. Records may hold anything a
// file gave them, so a part with a coordinate that is not finite is left
// out and every line is clipped before it reaches the painter.
class OutlineStroker {
public:
    explicit OutlineStroker(const ViewState& view);

    // Appends the object's outline; returns false when no part of it shows.
    bool addObject(int32_t kind, const ObjectParams& params);
    void addEdge(const BezierEdge& edge);
    void addEllipse(double x, double y, double rx, double ry);
    // A straight line between two design points.
    void addLine(double x1, double y1, double x2, double y2);

    const std::vector<QLineF>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    // The design point's canvas pixel.
    QPointF map(double x, double y) const { return {x * zoom_ - scrollX_, y * zoom_ - scrollY_}; }
    // True when a box in canvas pixels meets the canvas.
    bool seen(const QRectF& box) const;

private:
    void addCurve(QPointF p0, QPointF p1, QPointF p2, QPointF p3);
    void addSegment(QPointF a, QPointF b);

    double zoom_;
    double scrollX_;
    double scrollY_;
    QRectF clip_; // the canvas, widened by a little so pen ends are not cut
    std::vector<QLineF> lines_;
};

} // namespace kelvara
