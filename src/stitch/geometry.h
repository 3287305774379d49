#pragma once

#include "model/records.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kelvara::stitch {

struct Vec {
    double x = 0;
    double y = 0;
};

inline Vec operator+(Vec a, Vec b)
{
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double k)
{
    return {a.x * k, a.y * k};
}
inline double dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}
inline double length(Vec a)
{
    return std::hypot(a.x, a.y);
}
inline Vec lerp(Vec a, Vec b, double t)
{
    return a + (b - a) * t;
}
inline double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}
// Quarter turn: (1, 0) becomes (0, 1), which points down the screen.
inline Vec perp(Vec a)
{
    return {-a.y, a.x};
}
// Unit vector, or `fallback` for a vector too short to have a direction.
inline Vec unit(Vec a, Vec fallback = {1, 0})
{
    const double len = length(a);
    return len > 1e-9 ? a * (1.0 / len) : fallback;
}
// Distance from p to the segment ab.
inline double toSegment(Vec p, Vec a, Vec b)
{
    const Vec d = b - a;
    const double len2 = dot(d, d);
    const double t = len2 > 0 ? std::clamp(dot(p - a, d) / len2, 0.0, 1.0) : 0.0;
    return length(p - (a + d * t));
}
inline Vec rotate(Vec a, double cosA, double sinA)
{
    return {a.x * cosA - a.y * sinA, a.x * sinA + a.y * cosA};
}

bool isFinite(const BezierEdge& edge);
bool isFinite(double v);

// The edge as a polyline: two points when straight, otherwise the cubic
// flattened finely enough for stitching (at most 512 segments).
std::vector<Vec> flattenEdge(const BezierEdge& edge);

// A polyline measured by arc length, for placing stitches along it.
class ArcPath {
public:
    ArcPath() = default;
    explicit ArcPath(std::vector<Vec> points);

    double length() const { return cumulative_.empty() ? 0.0 : cumulative_.back(); }
    bool empty() const { return points_.empty(); }
    // Point at arc length s, clamped into the path.
    Vec pointAt(double s) const;
    // Smoothed unit direction at arc length s; (1, 0) on a path without length.
    Vec tangentAt(double s) const;
    const std::vector<Vec>& points() const { return points_; }

private:
    std::size_t segmentAt(double s) const;

    std::vector<Vec> points_;
    std::vector<double> cumulative_;
};

} // namespace kelvara::stitch
