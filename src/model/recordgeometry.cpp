#include "model/recordgeometry.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The Bezier edges a record holds: none, one or two.
int edgesOf(int32_t kind, ObjectParams& p, BezierEdge* edges[2])
{
    switch (kind) {
    case KindRun:
        edges[0] = &p.run.line;
        return 1;
    case KindSteil:
        edges[0] = &p.steil.line;
        return 1;
    case KindSaten:
        edges[0] = &p.saten.edgeA;
        edges[1] = &p.saten.edgeB;
        return 2;
    case KindRect:
        edges[0] = &p.rect.edgeA;
        edges[1] = &p.rect.edgeB;
        return 2;
    default:
        return 0;
    }
}

// A whole value an int32 field can hold; false for anything else.
bool toField(double v, int32_t& out)
{
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        return false;
    out = static_cast<int32_t>(r);
    return true;
}

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

void addEdge(GeometryBox& box, const BezierEdge& e)
{
    box.add(e.x1, e.y1);
    box.add(e.x2, e.y2);
    if (e.straight != 0)
        return;
    const double xs[4] = {e.x1, e.xc1, e.xc2, e.x2}, ys[4] = {e.y1, e.yc1, e.yc2, e.y2};
    for (const double* axis : {xs, ys}) {
        double ts[2];
        const int n = turningPoints(axis[0], axis[1], axis[2], axis[3], ts);
        for (int i = 0; i < n; ++i)
            if (ts[i] > 0 && ts[i] < 1)
                box.add(cubicAt(xs[0], xs[1], xs[2], xs[3], ts[i]),
                        cubicAt(ys[0], ys[1], ys[2], ys[3], ts[i]));
    }
}

template <typename Ellipse> void addEllipse(GeometryBox& box, const Ellipse& p)
{
    const double rx = std::abs(double(p.RX)), ry = std::abs(double(p.RY));
    box.add(p.X - rx, p.Y - ry);
    box.add(p.X + rx, p.Y + ry);
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

int32_t negated(int32_t v)
{
    return v == INT32_MIN ? INT32_MAX : -v;
}

// A fill's rows (or a star's angles) mirrored: rows at -a about a vertical
// axis, 180 - a about a horizontal one, so the rows are also sewn in the
// mirrored order.
int32_t mirroredAngle(int32_t a, MirrorAxis axis)
{
    const int64_t wide = axis == MirrorAxis::LeftRight ? -int64_t{a} : 180 - int64_t{a};
    if (wide >= INT32_MIN && wide <= INT32_MAX)
        return static_cast<int32_t>(wide);
    const int32_t turn = a % 360;
    return axis == MirrorAxis::LeftRight ? -turn : 180 - turn;
}

// A STEIL is the mirror image of its line's column when either width is
// negative; a mirror turns that over, widths keeping their size.
void mirrorWidths(SteilParams& p)
{
    const bool mirrored = p.SWIDTH < 0 || p.TWIDTH < 0;
    const auto size = [](int32_t w) { return w < 0 ? negated(w) : w; };
    p.SWIDTH = mirrored ? size(p.SWIDTH) : -size(p.SWIDTH);
    p.TWIDTH = mirrored ? size(p.TWIDTH) : -size(p.TWIDTH);
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

// A fill angle after the scale: the rows' direction stretched, then turned.
bool turnedFillAngle(int32_t& angle, const TurnAndScale& how)
{
    const double a = (angle % 360) * kPi / 180;
    const double stretched = std::atan2(how.scaleY * std::sin(a), how.scaleX * std::cos(a)) * 180 / kPi;
    const double change = std::remainder(stretched - (angle % 360), 180.0);
    const int64_t turned = int64_t{angle} + std::llround(change) + how.degrees;
    if (turned < INT32_MIN || turned > INT32_MAX)
        return toField(double(angle % 360) + std::llround(change) + how.degrees % 360, angle);
    angle = static_cast<int32_t>(turned);
    return true;
}

// Turns nearer a quarter than a straight turn put an upright ellipse's
// radii the other way round.
bool swapsRadii(int32_t degrees)
{
    const int32_t q = ((degrees % 180) + 180) % 180;
    return q >= 45 && q < 135;
}

} // namespace

void GeometryBox::add(double x, double y)
{
    if (empty()) {
        left = right = x;
        top = bottom = y;
        return;
    }
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
}

void GeometryBox::add(const GeometryBox& other)
{
    if (other.empty())
        return;
    add(other.left, other.top);
    add(other.right, other.bottom);
}

bool GeometryBox::insideDesignArea() const
{
    return empty() || (left >= 0 && top >= 0 && right <= kDesignArea && bottom <= kDesignArea);
}

GeometryBox recordBounds(int32_t kind, const ObjectParams& params)
{
    GeometryBox box;
    ObjectParams p = params;
    BezierEdge* edges[2] = {};
    const int n = edgesOf(kind, p, edges);
    for (int i = 0; i < n; ++i) {
        if (!finiteEdge(*edges[i]))
            return {};
        addEdge(box, *edges[i]);
    }
    if (kind == KindSteil) {
        const double half = std::max(std::abs(double(p.steil.SWIDTH)), std::abs(double(p.steil.TWIDTH))) / 2;
        box = {box.left - half, box.top - half, box.right + half, box.bottom + half};
    } else if (kind == KindStar) {
        addEllipse(box, p.star);
    } else if (kind == KindCircle) {
        addEllipse(box, p.circle);
    }
    return box;
}

bool translateRecord(int32_t kind, ObjectParams& params, int32_t dx, int32_t dy)
{
    ObjectParams p = params;
    BezierEdge* edges[2] = {};
    const int n = edgesOf(kind, p, edges);
    for (int i = 0; i < n; ++i)
        mapEdge(*edges[i], [&](double& x, double& y) {
            x += dx;
            y += dy;
        });
    if (kind == KindStar && !(shifted(p.star.X, dx) && shifted(p.star.Y, dy)))
        return false;
    if (kind == KindCircle && !(shifted(p.circle.X, dx) && shifted(p.circle.Y, dy)))
        return false;
    params = p;
    return true;
}

bool mirrorRecord(int32_t kind, ObjectParams& params, MirrorAxis axis, double sum)
{
    const bool across = axis == MirrorAxis::LeftRight;
    ObjectParams p = params;
    BezierEdge* edges[2] = {};
    const int n = edgesOf(kind, p, edges);
    for (int i = 0; i < n; ++i)
        mapEdge(*edges[i], [&](double& x, double& y) { (across ? x : y) = sum - (across ? x : y); });
    switch (kind) {
    case KindSteil:
        mirrorWidths(p.steil);
        break;
    case KindRect:
        p.rect.ANGLE = mirroredAngle(p.rect.ANGLE, axis);
        break;
    case KindStar: {
        int32_t& at = across ? p.star.X : p.star.Y;
        if (!toField(sum - at, at))
            return false;
        int32_t& radius = across ? p.star.RX : p.star.RY;
        radius = negated(radius);
        break;
    }
    case KindCircle: {
        int32_t& at = across ? p.circle.X : p.circle.Y;
        if (!toField(sum - at, at))
            return false;
        p.circle.ANGLE = mirroredAngle(p.circle.ANGLE, axis);
        break;
    }
    default:
        break;
    }
    params = p;
    return true;
}

bool turnAndScaleRecord(int32_t kind, ObjectParams& params, const TurnAndScale& how)
{
    if (!(std::isfinite(how.scaleX) && std::isfinite(how.scaleY) && how.scaleX > 0 && how.scaleY > 0))
        return false;
    double c = 1, s = 0;
    turnOf(how.degrees, c, s);
    // Counter-clockwise on screen, where y points down.
    const auto map = [&](double& x, double& y) {
        const double dx = (x - how.centreX) * how.scaleX, dy = (y - how.centreY) * how.scaleY;
        x = how.centreX + dx * c + dy * s;
        y = how.centreY - dx * s + dy * c;
    };
    ObjectParams p = params;
    BezierEdge* edges[2] = {};
    const int n = edgesOf(kind, p, edges);
    for (int i = 0; i < n; ++i) {
        if (kind == KindSteil) {
            // The column is as wide as its area over its length, both of
            // which the scale changes, measured along its chord.
            const BezierEdge& e = *edges[i];
            const double cx = e.x2 - e.x1, cy = e.y2 - e.y1, chord = std::hypot(cx, cy);
            const double along = chord > 0 ? std::hypot(how.scaleX * cx, how.scaleY * cy) / chord
                                           : std::sqrt(how.scaleX * how.scaleY);
            const double factor = how.scaleX * how.scaleY / along;
            if (!toField(p.steil.SWIDTH * factor, p.steil.SWIDTH) ||
                !toField(p.steil.TWIDTH * factor, p.steil.TWIDTH))
                return false;
        }
        mapEdge(*edges[i], map);
        if (!finiteEdge(*edges[i]))
            return false;
    }
    const auto moveEllipse = [&](int32_t& x, int32_t& y, int32_t& rx, int32_t& ry, int32_t sign) {
        double cx = x, cy = y;
        map(cx, cy);
        if (!toField(cx, x) || !toField(cy, y) || !toField(rx * how.scaleX, rx) ||
            !toField(ry * how.scaleY, ry))
            return false;
        if (swapsRadii(how.degrees)) {
            const int32_t oldRx = rx;
            rx = sign < 0 ? negated(ry) : ry;
            ry = sign < 0 ? negated(oldRx) : oldRx;
        }
        return true;
    };
    if (kind == KindStar) {
        StarParams& star = p.star;
        // A mirrored star's rays run clockwise: its angles turn the other way.
        const int32_t sign = (star.RX < 0) != (star.RY < 0) ? -1 : 1;
        if (!moveEllipse(star.X, star.Y, star.RX, star.RY, sign) ||
            !toField(double(star.STARTANGLE % 360) + sign * how.degrees, star.STARTANGLE) ||
            !toField(double(star.STOPANGLE % 360) + sign * how.degrees, star.STOPANGLE))
            return false;
    } else if (kind == KindCircle) {
        if (!moveEllipse(p.circle.X, p.circle.Y, p.circle.RX, p.circle.RY, 1) ||
            !turnedFillAngle(p.circle.ANGLE, how))
            return false;
    } else if (kind == KindRect && !turnedFillAngle(p.rect.ANGLE, how)) {
        return false;
    }
    params = p;
    return true;
}

} // namespace kelvara
