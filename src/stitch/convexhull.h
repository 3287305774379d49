#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kelvara {

// The convex hull of points (anything with x and y), its corners in order
// round it: Andrew's monotone chain, the lower hull left to right, then the
// upper right to left. Points on a side between two corners are left out;
// fewer than three distinct points come back as they are.
template <typename Point> std::vector<Point> convexHull(std::vector<Point> points)
{
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    if (points.size() < 3)
        return points;
    const auto cross = [](const Point& o, const Point& a, const Point& b) {
        return (double(a.x) - o.x) * (double(b.y) - o.y) - (double(a.y) - o.y) * (double(b.x) - o.x);
    };
    std::vector<Point> hull(2 * points.size());
    std::size_t k = 0;
    for (const Point& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1); // the last is the first again
    return hull;
}

} // namespace kelvara
