#include "stitch/geometry.h"

#include <algorithm>

namespace kelvara::stitch {

bool isFinite(double v)
{
    return std::isfinite(v);
}

bool isFinite(const BezierEdge& e)
{
    return std::isfinite(e.x1) && std::isfinite(e.y1) && std::isfinite(e.x2) && std::isfinite(e.y2) &&
           std::isfinite(e.xc1) && std::isfinite(e.yc1) && std::isfinite(e.xc2) && std::isfinite(e.yc2);
}

std::vector<Vec> flattenEdge(const BezierEdge& e)
{
    const Vec p0{e.x1, e.y1}, p3{e.x2, e.y2};
    if (e.straight != 0)
        return {p0, p3};
    const Vec p1{e.xc1, e.yc1}, p2{e.xc2, e.yc2};
    // The control polygon bounds the curve's length; its square root keeps the
    // segment count modest for long gentle curves while short ones stay smooth.
    const double hull = length(p1 - p0) + length(p2 - p1) + length(p3 - p2);
    const int n = static_cast<int>(std::clamp(std::ceil(2.0 * std::sqrt(hull)), 8.0, 512.0));
    std::vector<Vec> out;
    out.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        out.push_back(
            {b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x, b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y});
    }
    return out;
}

ArcPath::ArcPath(std::vector<Vec> points)
{
    points_.reserve(points.size());
    for (const Vec& p : points)
        if (points_.empty() || stitch::length(p - points_.back()) > 1e-9)
            points_.push_back(p);
    cumulative_.reserve(points_.size());
    double total = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (i > 0)
            total += stitch::length(points_[i] - points_[i - 1]);
        cumulative_.push_back(total);
    }
}

std::size_t ArcPath::segmentAt(double s) const
{
    // Index i of the segment points_[i]..points_[i+1] holding s.
    auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), s);
    std::size_t i = it == cumulative_.begin() ? 0 : static_cast<std::size_t>(it - cumulative_.begin()) - 1;
    return std::min(i, points_.size() - 2);
}

Vec ArcPath::pointAt(double s) const
{
    if (points_.empty())
        return {};
    if (points_.size() == 1 || s <= 0)
        return points_.front();
    if (s >= length())
        return points_.back();
    const std::size_t i = segmentAt(s);
    const double segLen = cumulative_[i + 1] - cumulative_[i];
    const double t = segLen > 0 ? (s - cumulative_[i]) / segLen : 0.0;
    return lerp(points_[i], points_[i + 1], t);
}

Vec ArcPath::tangentAt(double s) const
{
    if (points_.size() < 2)
        return {1, 0};
    // A central difference over a couple of units smooths the corners of the
    // flattened curve, so offset edges do not kink at every vertex.
    const double h = std::min(2.0, length() / 4);
    const double a = std::max(0.0, s - h), b = std::min(length(), s + h);
    const Vec d = pointAt(b) - pointAt(a);
    if (stitch::length(d) > 1e-9)
        return unit(d);
    const std::size_t i = segmentAt(std::clamp(s, 0.0, length()));
    return unit(points_[i + 1] - points_[i]);
}

} // namespace kelvara::stitch
