#include "ui/outlinestroker.h"

#include "model/editorstate.h"
#include "model/kinds/kind.h"
#include "model/pathgeometry.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Pen ends and handles may reach this far past the canvas edge and still show.
constexpr double kClipMargin = 8;
// Curves are flattened until no chord strays further than this from the curve.
constexpr double kFlatness = 0.3;
// Bounds the work a curve or ellipse can make, however large it is drawn.
constexpr int kMaxPieces = 512;

bool finite(const BezierEdge& e)
{
    for (double v : {e.x1, e.y1, e.x2, e.y2, e.xc1, e.yc1, e.xc2, e.yc2})
        if (!std::isfinite(v))
            return false;
    return true;
}

QRectF boxOf(std::initializer_list<QPointF> points)
{
    double left = points.begin()->x(), right = left, top = points.begin()->y(), bottom = top;
    for (const QPointF& p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

double distance(double ax, double ay, double bx, double by)
{
    return std::hypot(ax - bx, ay - by);
}

// True when the ends of edge B lie the same way round as edge A's: then the
// rungs join start to start and end to end, as the column and fill
// generators pair them.
bool startsTogether(const BezierEdge& a, const BezierEdge& b)
{
    return distance(a.x1, a.y1, b.x1, b.y1) + distance(a.x2, a.y2, b.x2, b.y2) <=
           distance(a.x1, a.y1, b.x2, b.y2) + distance(a.x2, a.y2, b.x1, b.y1);
}

// Whole pieces for a wanted count that may be enormous or not a number.
int pieceCount(double wanted, int fewest)
{
    if (!(wanted <= kMaxPieces))
        return kMaxPieces;
    return std::max(fewest, int(std::ceil(wanted)));
}

struct Direction {
    double x, y;
};

// The unit direction of the edge where it leaves its start (atEnd false) or
// arrives at its end, the first of the candidates that has a length.
Direction edgeDirection(const BezierEdge& e, bool atEnd)
{
    const double candidates[3][2] = {
        {atEnd ? e.x2 - e.xc2 : e.xc1 - e.x1, atEnd ? e.y2 - e.yc2 : e.yc1 - e.y1},
        {atEnd ? e.x2 - e.xc1 : e.xc2 - e.x1, atEnd ? e.y2 - e.yc1 : e.yc2 - e.y1},
        {e.x2 - e.x1, e.y2 - e.y1},
    };
    for (int i = e.straight != 0 ? 2 : 0; i < 3; ++i) {
        const double len = std::hypot(candidates[i][0], candidates[i][1]);
        if (len > 1e-9 && std::isfinite(len))
            return {candidates[i][0] / len, candidates[i][1] / len};
    }
    return {1, 0};
}

} // namespace

OutlineStroker::OutlineStroker(const ViewState& view)
    : zoom_(view.ratio().scale()), scrollX_(view.scrollX), scrollY_(view.scrollY),
      clip_(-kClipMargin, -kClipMargin, view.canvasWidth + 2 * kClipMargin,
            view.canvasHeight + 2 * kClipMargin)
{
}

bool OutlineStroker::seen(const QRectF& box) const
{
    return box.right() >= clip_.left() && box.left() <= clip_.right() && box.bottom() >= clip_.top() &&
           box.top() <= clip_.bottom();
}

bool OutlineStroker::addObject(int32_t kind, const ObjectParams& p)
{
    const std::size_t before = lines_.size();
    const auto addColumn = [this](const BezierEdge& a, const BezierEdge& b) {
        addEdge(a);
        addEdge(b);
        if (!finite(a) || !finite(b))
            return;
        const bool together = startsTogether(a, b);
        addLine(a.x1, a.y1, together ? b.x1 : b.x2, together ? b.y1 : b.y2);
        addLine(a.x2, a.y2, together ? b.x2 : b.x1, together ? b.y2 : b.y1);
    };
    const auto addWidthBar = [this](const BezierEdge& line, bool atEnd, int32_t width) {
        const Direction d = edgeDirection(line, atEnd);
        const double half = std::abs(double(width)) / 2;
        const double x = atEnd ? line.x2 : line.x1, y = atEnd ? line.y2 : line.y1;
        addLine(x + d.y * half, y - d.x * half, x - d.y * half, y + d.x * half);
    };
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return false;
    const KindEdges edges = kindEdges(*row, p);
    if (edges.count == 2) {
        addColumn(*edges.at[0], *edges.at[1]);
    } else if (edges.count == 1) {
        const BezierEdge& line = *edges.at[0];
        addEdge(line);
        if (row->widths && finite(line)) {
            const KindWidths w = row->widths(const_cast<ObjectParams&>(p));
            addWidthBar(line, false, *w.start);
            addWidthBar(line, true, *w.end);
        }
    }
    if (const KindEllipse e = kindEllipse(*row, p); e.x != nullptr && !row->anchorOnly)
        addEllipse(*e.x, *e.y, *e.rx, *e.ry);
    if (row->anchorOnly && row->pickShape) {
        const std::vector<stitch::Vec> around = row->pickShape(p).points;
        for (std::size_t i = 0; i < around.size(); ++i)
            addLine(around[i].x, around[i].y, around[(i + 1) % around.size()].x, around[(i + 1) % around.size()].y);
    }
    if (const PathData* path = kindPath(*row, p))
        for (const BezierEdge& e : pathEdges(*path))
            addEdge(e);
    if (row->storedOutline) {
        const std::vector<HullPoint> hull = row->storedOutline(p);
        for (std::size_t i = 0; i < hull.size(); ++i) {
            const HullPoint& a = hull[i];
            const HullPoint& b = hull[(i + 1) % hull.size()];
            addLine(a.x, a.y, b.x, b.y);
        }
    }
    return lines_.size() != before;
}

void OutlineStroker::addEdge(const BezierEdge& e)
{
    if (!finite(e))
        return;
    const QPointF start = map(e.x1, e.y1);
    const QPointF end = map(e.x2, e.y2);
    if (e.straight != 0) {
        addSegment(start, end);
        return;
    }
    addCurve(start, map(e.xc1, e.yc1), map(e.xc2, e.yc2), end);
}

void OutlineStroker::addLine(double x1, double y1, double x2, double y2)
{
    if (std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))
        addSegment(map(x1, y1), map(x2, y2));
}

void OutlineStroker::addEllipse(double x, double y, double rx, double ry)
{
    rx = std::abs(rx);
    ry = std::abs(ry);
    const QPointF centre = map(x, y);
    const double ax = rx * zoom_, ay = ry * zoom_;
    if (!seen(QRectF(centre.x() - ax, centre.y() - ay, 2 * ax, 2 * ay)))
        return;
    // Chords of a circle of radius r stray r (1 - cos(pi / n)) from it.
    const double r = std::max(ax, ay);
    const int pieces = pieceCount(kPi * std::sqrt(std::max(r, 1.0) / (2 * kFlatness)), 8);
    QPointF previous(centre.x() + ax, centre.y());
    for (int i = 1; i <= pieces; ++i) {
        const double a = 2 * kPi * i / pieces;
        const QPointF next(centre.x() + ax * std::cos(a), centre.y() + ay * std::sin(a));
        addSegment(previous, next);
        previous = next;
    }
}

void OutlineStroker::addCurve(QPointF p0, QPointF p1, QPointF p2, QPointF p3)
{
    // A cubic lies inside the hull of its four points.
    if (!seen(boxOf({p0, p1, p2, p3})))
        return;
    // Wang's bound: this many chords keep within kFlatness of the curve.
    const QPointF d1 = p0 - 2 * p1 + p2, d2 = p1 - 2 * p2 + p3;
    const double bend = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
    const int pieces = pieceCount(std::sqrt(0.75 * bend / kFlatness), 1);
    QPointF previous = p0;
    for (int i = 1; i <= pieces; ++i) {
        const double t = double(i) / pieces, u = 1 - t;
        const QPointF next = u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
        addSegment(previous, next);
        previous = next;
    }
}

// Cohen-Sutherland: the part of the segment inside the clip rectangle, so
// the painter never sees a coordinate far off the canvas. Each cut is
// computed on the boundary itself, which keeps a line from a point very far
// away exact where it crosses the canvas.
void OutlineStroker::addSegment(QPointF a, QPointF b)
{
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return;
    enum { Left = 1, Right = 2, Top = 4, Bottom = 8 };
    const auto outcode = [this](QPointF p) {
        return (p.x() < clip_.left() ? Left : 0) | (p.x() > clip_.right() ? Right : 0) |
               (p.y() < clip_.top() ? Top : 0) | (p.y() > clip_.bottom() ? Bottom : 0);
    };
    int codeA = outcode(a), codeB = outcode(b);
    // Each cut clears one side of one end; rounding may leave a hair over.
    for (int cut = 0; cut < 8 && (codeA | codeB) != 0; ++cut) {
        if ((codeA & codeB) != 0)
            return;
        const bool moveA = codeA != 0;
        QPointF& p = moveA ? a : b;
        const QPointF& q = moveA ? b : a;
        const int code = moveA ? codeA : codeB;
        if (code & (Left | Right)) {
            const double x = code & Left ? clip_.left() : clip_.right();
            p = QPointF(x, p.y() + (q.y() - p.y()) * ((x - p.x()) / (q.x() - p.x())));
        } else {
            const double y = code & Top ? clip_.top() : clip_.bottom();
            p = QPointF(p.x() + (q.x() - p.x()) * ((y - p.y()) / (q.y() - p.y())), y);
        }
        (moveA ? codeA : codeB) = outcode(p);
    }
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return;
    lines_.emplace_back(
        std::clamp(a.x(), clip_.left(), clip_.right()), std::clamp(a.y(), clip_.top(), clip_.bottom()),
        std::clamp(b.x(), clip_.left(), clip_.right()), std::clamp(b.y(), clip_.top(), clip_.bottom()));
}

} // namespace kelvara
