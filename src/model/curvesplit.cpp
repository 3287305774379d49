#include "model/curvesplit.h"

#include "model/kinds/kind.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

struct Point {
    double x, y;
};

Point mix(Point a, Point b, double t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

BezierEdge straightEdge(Point from, Point to)
{
    const Point c1 = mix(from, to, 1.0 / 3), c2 = mix(from, to, 2.0 / 3);
    return {1, from.x, from.y, to.x, to.y, c1.x, c1.y, c2.x, c2.y};
}

} // namespace

// Edge B runs against edge A when its start lies nearer A's end (the rule
// the column generator reads it by).
bool runsAgainst(const BezierEdge& a, const BezierEdge& b)
{
    return std::hypot(a.x1 - b.x2, a.y1 - b.y2) + std::hypot(a.x2 - b.x1, a.y2 - b.y1) <
           std::hypot(a.x1 - b.x1, a.y1 - b.y1) + std::hypot(a.x2 - b.x2, a.y2 - b.y2);
}

// Fraction of the edge's length up to parameter t.
double lengthFraction(const BezierEdge& e, double t)
{
    constexpr int kSteps = 256;
    double total = 0, upTo = 0;
    double px = e.x1, py = e.y1;
    for (int i = 1; i <= kSteps; ++i) {
        double x, y;
        const double at = double(i) / kSteps;
        edgePointAt(e, at, x, y);
        const double step = std::hypot(x - px, y - py);
        total += step;
        if (at <= t)
            upTo += step;
        else if (at - 1.0 / kSteps < t)
            upTo += step * (t - (at - 1.0 / kSteps)) * kSteps;
        px = x;
        py = y;
    }
    return total > 0 ? upTo / total : t;
}

int32_t widthAt(int32_t start, int32_t end, double fraction)
{
    return static_cast<int32_t>(std::lround(start + (double(end) - start) * fraction));
}

void edgePointAt(const BezierEdge& e, double t, double& x, double& y)
{
    if (e.straight != 0) {
        x = e.x1 + (e.x2 - e.x1) * t;
        y = e.y1 + (e.y2 - e.y1) * t;
        return;
    }
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    x = a * e.x1 + b * e.xc1 + c * e.xc2 + d * e.x2;
    y = a * e.y1 + b * e.yc1 + c * e.yc2 + d * e.y2;
}

void splitEdge(const BezierEdge& e, double t, BezierEdge& first, BezierEdge& second)
{
    const Point p0{e.x1, e.y1}, p3{e.x2, e.y2};
    if (e.straight != 0) {
        Point at;
        edgePointAt(e, t, at.x, at.y);
        first = straightEdge(p0, at);
        second = straightEdge(at, p3);
        return;
    }
    const Point p1{e.xc1, e.yc1}, p2{e.xc2, e.yc2};
    const Point a = mix(p0, p1, t), b = mix(p1, p2, t), c = mix(p2, p3, t);
    const Point ab = mix(a, b, t), bc = mix(b, c, t);
    const Point at = mix(ab, bc, t);
    first = {0, p0.x, p0.y, at.x, at.y, a.x, a.y, ab.x, ab.y};
    second = {0, at.x, at.y, p3.x, p3.y, bc.x, bc.y, c.x, c.y};
}

double nearestOnEdge(const BezierEdge& e, double x, double y, double& distance)
{
    const auto away = [&](double t) {
        double px, py;
        edgePointAt(e, t, px, py);
        return std::hypot(px - x, py - y);
    };
    // The best of a coarse walk, then narrowed down around it.
    constexpr int kSamples = 128;
    double best = 0, bestAway = away(0);
    for (int i = 1; i <= kSamples; ++i) {
        const double t = double(i) / kSamples, d = away(t);
        if (d < bestAway) {
            best = t;
            bestAway = d;
        }
    }
    double lo = std::max(0.0, best - 1.0 / kSamples), hi = std::min(1.0, best + 1.0 / kSamples);
    for (int i = 0; i < 60; ++i) {
        const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
        if (away(m1) < away(m2))
            hi = m2;
        else
            lo = m1;
    }
    const double t = (lo + hi) / 2;
    distance = away(t);
    if (distance > bestAway) {
        distance = bestAway;
        return best;
    }
    return t;
}

double splitParameterOn(const BezierEdge& line, double t, double distance, double reach)
{
    if (!(distance <= reach))
        return -1;
    // Both pieces must keep some length.
    double px, py;
    edgePointAt(line, t, px, py);
    if (std::hypot(px - line.x1, py - line.y1) < 1 || std::hypot(px - line.x2, py - line.y2) < 1)
        return -1;
    return t;
}

double lineSplitParameter(const BezierEdge& line, double x, double y, double reach)
{
    double distance = 0;
    const double t = nearestOnEdge(line, x, y, distance);
    return splitParameterOn(line, t, distance, reach);
}

double splitParameterAt(int32_t kind, const ObjectParams& p, double x, double y, double tolerance)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr || row->splitAt == nullptr)
        return -1;
    return row->splitAt(p, x, y, tolerance);
}

bool splitRecord(int32_t kind, const ObjectParams& p, double t, ObjectParams& first, ObjectParams& second)
{
    const KindRow* row = kindRow(kind);
    if (!(t > 0 && t < 1) || row == nullptr || row->split == nullptr)
        return false;
    first = p;
    second = p;
    return row->split(p, t, first, second);
}

} // namespace kelvara
