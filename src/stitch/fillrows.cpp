#include "stitch/fillrows.h"

#include <algorithm>

namespace kelvara::stitch {

bool cutRows(const std::vector<Vec>& outline, const Frame& frame, double spacing, double inset, int64_t room,
             Rows& rows, const std::vector<int32_t>& ringOf)
{
    const std::size_t n = outline.size();
    std::vector<Vec> r(n);
    double ymin = 1e300, ymax = -1e300;
    for (std::size_t i = 0; i < n; ++i) {
        r[i] = frame.toRows(outline[i]);
        ymin = std::min(ymin, r[i].y);
        ymax = std::max(ymax, r[i].y);
    }
    rows.inset = inset;
    const double top = ymin + inset, bottom = ymax - inset;
    if (!(bottom > top))
        return true;
    const double rowCount = std::floor((bottom - top) / spacing + 0.5);
    if (rowCount > static_cast<double>(room))
        return false;

    struct Edge {
        double ylo, yhi;
        int32_t index;
    };
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec a = r[i], b = r[(i + 1) % n];
        if (a.y != b.y && (i >= ringOf.size() || ringOf[i] >= 0))
            edges.push_back({std::min(a.y, b.y), std::max(a.y, b.y), static_cast<int32_t>(i)});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.ylo < b.ylo; });

    std::vector<Edge> active;
    std::vector<std::pair<double, int32_t>> crossings;
    std::size_t next = 0;
    const double step = (bottom - top) / std::max(rowCount, 1.0);
    for (double k = 0; k < rowCount; ++k) {
        const double y = top + (k + 0.5) * step;
        while (next < edges.size() && edges[next].ylo <= y)
            active.push_back(edges[next++]);
        crossings.clear();
        for (std::size_t i = 0; i < active.size();) {
            if (active[i].yhi <= y) {
                active[i] = active.back();
                active.pop_back();
                continue;
            }
            const Vec a = r[static_cast<std::size_t>(active[i].index)];
            const Vec b = r[(static_cast<std::size_t>(active[i].index) + 1) % n];
            crossings.push_back({a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), active[i].index});
            ++i;
        }
        std::sort(crossings.begin(), crossings.end());
        const int32_t row = static_cast<int32_t>(rows.y.size());
        rows.y.push_back(y);
        rows.first.push_back(rows.spans.size());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const double xa = crossings[i].first, xb = crossings[i + 1].first;
            if (xb - xa <= 2 * inset)
                continue;
            rows.spans.push_back({xa, xb, crossings[i].second, crossings[i + 1].second, row});
        }
        if (static_cast<int64_t>(rows.spans.size()) * 2 > room)
            return false;
    }
    rows.first.push_back(rows.spans.size());
    return true;
}

} // namespace kelvara::stitch
