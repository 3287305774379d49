#include "model/recordgeometry.h"

#include "model/kinds/kindparts.h"
#include "model/pathgeometry.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool finiteEdge(const BezierEdge& e)
{
    return std::isfinite(e.x1) && std::isfinite(e.y1) && std::isfinite(e.x2) && std::isfinite(e.y2) &&
           std::isfinite(e.xc1) && std::isfinite(e.yc1) && std::isfinite(e.xc2) && std::isfinite(e.yc2);
}

// The record's doubles are packed, so each point is mapped through copies.
template <typename Map> void mapEdge(BezierEdge& e, Map&& map)
{
    auto point = [&](auto x, auto y, auto setX, auto setY) {
        double px = x, py = y;
        map(px, py);
        setX(px);
        setY(py);
    };
    point(
        e.x1, e.y1, [&](double v) { e.x1 = v; }, [&](double v) { e.y1 = v; });
    point(
        e.x2, e.y2, [&](double v) { e.x2 = v; }, [&](double v) { e.y2 = v; });
    point(
        e.xc1, e.yc1, [&](double v) { e.xc1 = v; }, [&](double v) { e.yc1 = v; });
    point(
        e.xc2, e.yc2, [&](double v) { e.xc2 = v; }, [&](double v) { e.yc2 = v; });
}

double cubicAt(double p0, double p1, double p2, double p3, double t)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// Where one coordinate of a cubic turns: the roots of its derivative.
int turningPoints(double p0, double p1, double p2, double p3, double ts[2])
{
    const double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
    int n = 0;
    if (std::abs(a) < 1e-12) {
        if (std::abs(b) > 1e-12)
            ts[n++] = -c / b;
        return n;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0)
        return 0;
    const double root = std::sqrt(disc);
    ts[n++] = (-b + root) / (2 * a);
    ts[n++] = (-b - root) / (2 * a);
    return n;
}

// Adds whole units to an int32 field; false when it would leave the range.
bool shifted(int32_t& field, int32_t by)
{
    const int64_t v = int64_t{field} + by;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    field = static_cast<int32_t>(v);
    return true;
}

// Sine and cosine of whole degrees, exact at the quarter turns.
void turnOf(int32_t degrees, double& c, double& s)
{
    const int32_t d = ((degrees % 360) + 360) % 360;
    switch (d) {
    case 0:
        c = 1, s = 0;
        return;
    case 90:
        c = 0, s = 1;
        return;
    case 180:
        c = -1, s = 0;
        return;
    case 270:
        c = 0, s = -1;
        return;
    default:
        c = std::cos(d * kPi / 180);
        s = std::sin(d * kPi / 180);
    }
}

} // namespace

GeometryBox edgeBounds(const BezierEdge& e)
{
    GeometryBox box;
    box.add(e.x1, e.y1);
    box.add(e.x2, e.y2);
    if (e.straight != 0)
        return box;
    const double xs[4] = {e.x1, e.xc1, e.xc2, e.x2}, ys[4] = {e.y1, e.yc1, e.yc2, e.y2};
    for (const double* axis : {xs, ys}) {
        double ts[2];
        const int n = turningPoints(axis[0], axis[1], axis[2], axis[3], ts);
        for (int i = 0; i < n; ++i)
            if (ts[i] > 0 && ts[i] < 1)
                box.add(cubicAt(xs[0], xs[1], xs[2], xs[3], ts[i]),
                        cubicAt(ys[0], ys[1], ys[2], ys[3], ts[i]));
    }
    return box;
}

bool insideDesignArea(const GeometryBox& box)
{
    return box.empty() ||
           (box.left >= 0 && box.top >= 0 && box.right <= kDesignArea && box.bottom <= kDesignArea);
}

GeometryBox recordBounds(int32_t kind, const ObjectParams& params)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return {};
    GeometryBox box;
    const KindEdges edges = kindEdges(*row, params);
    for (int i = 0; i < edges.count; ++i) {
        if (!finiteEdge(*edges.at[i]))
            return {};
        box.add(edgeBounds(*edges.at[i]));
    }
    if (const PathData* path = kindPath(*row, params))
        for (const BezierEdge& e : pathEdges(*path))
            box.add(edgeBounds(e));
    if (row->widths != nullptr) {
        const double half = widerHalfWidth(*row, params);
        box = box.grown(half);
    }
    if (const KindEllipse e = kindEllipse(*row, params); e.x != nullptr && !row->anchorOnly) {
        const double rx = std::abs(double(*e.rx)), ry = std::abs(double(*e.ry));
        box.add(*e.x - rx, *e.y - ry);
        box.add(*e.x + rx, *e.y + ry);
    }
    if (row->storedOutline)
        for (const HullPoint& h : row->storedOutline(params))
            box.add(h.x, h.y);
    // Lettering reaches as far as its text, past its anchor and size.
    if (row->pickShape)
        for (const stitch::Vec& point : row->pickShape(params).points)
            if (std::isfinite(point.x) && std::isfinite(point.y))
                box.add(point.x, point.y);
    return box;
}

bool translateRecord(int32_t kind, ObjectParams& params, int32_t dx, int32_t dy)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return true;
    ObjectParams p = params;
    const KindEdges edges = row->edges ? row->edges(p) : KindEdges{};
    for (int i = 0; i < edges.count; ++i)
        mapEdge(*edges.at[i], [&](double& x, double& y) {
            x += dx;
            y += dy;
        });
    if (row->ellipse) {
        const KindEllipse e = row->ellipse(p);
        if (!(shifted(*e.x, dx) && shifted(*e.y, dy)))
            return false;
    }
    if (!mapKindPath(*row, p, [&](double& x, double& y) {
            x += dx;
            y += dy;
        }))
        return false;
    if (row->mapStored && !row->mapStored(p, [&](double& x, double& y) { x += dx, y += dy; }))
        return false;
    params = p;
    return true;
}

bool mirrorRecord(int32_t kind, ObjectParams& params, MirrorAxis axis, double sum)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return true;
    const bool across = axis == MirrorAxis::LeftRight;
    ObjectParams p = params;
    const KindEdges edges = row->edges ? row->edges(p) : KindEdges{};
    for (int i = 0; i < edges.count; ++i)
        mapEdge(*edges.at[i], [&](double& x, double& y) { (across ? x : y) = sum - (across ? x : y); });
    if (row->ellipse) {
        const KindEllipse e = row->ellipse(p);
        int32_t& at = across ? *e.x : *e.y;
        if (!kindparts::toField(sum - at, at))
            return false;
    }
    if (!mapKindPath(*row, p, [&](double& x, double& y) { (across ? x : y) = sum - (across ? x : y); }))
        return false;
    if (row->mirrorRest && !row->mirrorRest(p, axis, sum))
        return false;
    if (row->mapStored &&
        !row->mapStored(p, [&](double& x, double& y) { (across ? x : y) = sum - (across ? x : y); }))
        return false;
    params = p;
    return true;
}

void turnPoint(const TurnAndScale& how, double& x, double& y)
{
    double c = 1, s = 0;
    turnOf(how.degrees, c, s);
    // Counter-clockwise on screen, where y points down.
    const double dx = (x - how.centreX) * how.scaleX, dy = (y - how.centreY) * how.scaleY;
    x = how.centreX + dx * c + dy * s;
    y = how.centreY - dx * s + dy * c;
}

bool turnAndScaleRecord(int32_t kind, ObjectParams& params, const TurnAndScale& how)
{
    if (!(std::isfinite(how.scaleX) && std::isfinite(how.scaleY) && how.scaleX > 0 && how.scaleY > 0))
        return false;
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return true;
    ObjectParams p = params;
    // The rest first: a column's widths are measured along its edge as it was.
    if (row->turnRest && !row->turnRest(p, how))
        return false;
    const KindEdges edges = row->edges ? row->edges(p) : KindEdges{};
    for (int i = 0; i < edges.count; ++i) {
        mapEdge(*edges.at[i], [&](double& x, double& y) { turnPoint(how, x, y); });
        if (!finiteEdge(*edges.at[i]))
            return false;
    }
    if (!mapKindPath(*row, p, [&](double& x, double& y) { turnPoint(how, x, y); }))
        return false;
    if (row->mapStored && !row->mapStored(p, [&](double& x, double& y) { turnPoint(how, x, y); }))
        return false;
    params = p;
    return true;
}

} // namespace kelvara
