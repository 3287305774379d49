// Fills under their borders. A satin or a running line sewn round a fill
// after it is meant to cover the fill's edge, but drawn on the same line
// it lands anywhere from a little over the fill to a little short of it, and
// the fill's pull opens a line of fabric between the two. So where such a
// border runs along the outline (parallel to it, over it or at most
// kBorderReach short of it), the outline is pushed out until the fill
// reaches kBorderOverlap under the border's near edge, or under a running
// line to a unit short of its far side. The outline is first
// cut into short pieces so that only the stretch the border covers moves.
#include "stitch/fillborders.h"

#include "model/kinds/kind.h"
#include "model/records.h"
#include "model/workspace.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr std::size_t kMostPoints = 20000;
constexpr double kMostWork = 1e8;    // distance measurements for one fill
constexpr double kAlongCosine = 0.9; // how parallel a border runs to the edge it covers

void boxOf(BorderShape& shape)
{
    shape.left = shape.top = 1e300;
    shape.right = shape.bottom = -1e300;
    for (const Vec& p : shape.points) {
        shape.left = std::min(shape.left, p.x - shape.halfWidth);
        shape.right = std::max(shape.right, p.x + shape.halfWidth);
        shape.top = std::min(shape.top, p.y - shape.halfWidth);
        shape.bottom = std::max(shape.bottom, p.y + shape.halfWidth);
    }
}

// How deep p lies under the shape's edge nearest the fill (negative: how far
// short of it), measured to the nearest part of its edge that runs along
// `tangent`; false when no such part is near. `outward` points away from the fill.
bool depthUnder(const BorderShape& shape, Vec p, Vec tangent, Vec outward, double& depth)
{
    const std::size_t n = shape.points.size();
    const std::size_t segments = shape.band ? n - 1 : n;
    double nearest = 1e300, inwards = 1e300;
    bool along = false;
    for (std::size_t i = 0; i < segments; ++i) {
        const Vec a = shape.points[i], b = shape.points[(i + 1) % n];
        const double d = toSegment(p, a, b);
        inwards = std::min(inwards, toSegment(p - outward, a, b));
        if (d < nearest) {
            nearest = d;
            along = std::abs(dot(unit(b - a), tangent)) >= kAlongCosine;
        }
    }
    if (!along)
        return false;
    if (shape.band) {
        // A line inside the fill covers it from its far side of the thread.
        depth = inwards < nearest ? shape.halfWidth + nearest : shape.halfWidth - nearest;
        return true;
    }
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const Vec a = shape.points[i], b = shape.points[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    depth = inside ? nearest : -nearest;
    return true;
}

double signedArea(const std::vector<Vec>& v)
{
    double area = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Vec a = v[i], b = v[(i + 1) % v.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

} // namespace

bool borderShapeOf(int32_t kind, const ObjectParams& params, BorderShape& shape)
{
    shape = BorderShape{};
    const KindRow* row = kindRow(kind);
    if (row == nullptr || row->borderShape == nullptr || !row->borderShape(params, shape))
        return false;
    for (const Vec& p : shape.points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    if (shape.points.size() < (shape.band ? 2u : 3u))
        return false;
    boxOf(shape);
    return true;
}

std::vector<Vec> offsetOutline(const std::vector<Vec>& outline, const std::vector<double>& by)
{
    const std::size_t n = outline.size();
    // Outwards is to the left of travel for a clockwise outline (y down).
    const double outward = signedArea(outline) > 0 ? -1.0 : 1.0;
    std::vector<Vec> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Vec prev = outline[(i + n - 1) % n], at = outline[i], next = outline[(i + 1) % n];
        const Vec n1 = perp(unit(at - prev)) * outward, n2 = perp(unit(next - at)) * outward;
        const Vec dir = unit(n1 + n2, n2);
        // Keeps each edge `by` away at a corner, within reason at a spike.
        const double scale = 1 / std::max(0.5, dot(dir, n2));
        out[i] = at + dir * (by[i] * scale);
    }
    return out;
}

std::vector<Vec> extendUnderBorders(const std::vector<Vec>& outline, const BorderShape* borders,
                                    std::size_t count)
{
    if (outline.size() < 3 || count == 0)
        return {};
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300, perimeter = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vec p = outline[i];
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        perimeter += length(outline[(i + 1) % outline.size()] - p);
    }
    std::vector<const BorderShape*> near;
    const double reach = kBorderReach + 1;
    for (std::size_t i = 0; i < count; ++i) {
        const BorderShape& b = borders[i];
        if (b.left <= right + reach && b.right >= left - reach && b.top <= bottom + reach &&
            b.bottom >= top - reach)
            near.push_back(&b);
    }
    if (near.empty() || !std::isfinite(perimeter))
        return {};
    // Every piece of the outline is measured against every border near it:
    // a forged design with a great many borders round a fill keeps its
    // outline rather than take minutes.
    double work = 0;
    for (const BorderShape* b : near)
        work += static_cast<double>(b->points.size());
    if (work * std::min(static_cast<double>(kMostPoints), perimeter / kBorderPiece + outline.size()) >
        kMostWork)
        return {};

    const double piece = std::max(kBorderPiece, perimeter / static_cast<double>(kMostPoints));
    std::vector<Vec> fine;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vec a = outline[i], b = outline[(i + 1) % outline.size()];
        const double parts = std::max(1.0, std::ceil(length(b - a) / piece));
        for (double k = 0; k < parts; ++k)
            fine.push_back(lerp(a, b, k / parts));
    }
    std::vector<double> by(fine.size(), 0.0);
    bool any = false;
    const double outwardSign = signedArea(fine) > 0 ? -1.0 : 1.0;
    for (std::size_t i = 0; i < fine.size(); ++i) {
        const Vec p = fine[i];
        const Vec tangent = unit(fine[(i + 1) % fine.size()] - fine[(i + fine.size() - 1) % fine.size()]);
        const Vec outward = perp(tangent) * outwardSign;
        double deepest = -1e300, most = 0;
        for (const BorderShape* b : near) {
            double depth = 0;
            if (p.x >= b->left - reach && p.x <= b->right + reach && p.y >= b->top - reach &&
                p.y <= b->bottom + reach && depthUnder(*b, p, tangent, outward, depth) && depth > deepest) {
                deepest = depth;
                // A running line is narrower than the overlap: the fill
                // stops a unit short of its far side rather than show past it.
                most = b->band ? 2 * b->halfWidth - depth - 1 : kBorderOverlap + kBorderReach;
            }
        }
        if (deepest >= -kBorderReach && deepest < kBorderOverlap && most > 0) {
            by[i] = std::min(kBorderOverlap - deepest, most);
            any = true;
        }
    }
    if (!any)
        return {};
    return offsetOutline(fine, by);
}

} // namespace kelvara::stitch
