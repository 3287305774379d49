#include "stitch/hoopfit.h"

#include "stitch/convexhull.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

template <typename Visit>
void forEachStitch(StitchRuns runs, Visit&& visit)
{
    for (const std::vector<StitchRecord>* run : runs)
        for (const StitchRecord& r : *run)
            if (r.kind == StitchKind::Stitch)
                visit(r.x, r.y);
}

// Whether the point (relative to the field's centre) is inside the field.
bool inside(const Hoop& hoop, double dx, double dy)
{
    const double a = hoop.width / 2.0, b = hoop.height / 2.0;
    dx = std::abs(dx);
    dy = std::abs(dy);
    // Half a unit of slack: a design exactly the field's size fits.
    constexpr double kSlack = 0.5;
    if (dx > a + kSlack || dy > b + kSlack)
        return false;
    switch (hoop.shape) {
    case HoopShape::Rectangle:
        return true;
    case HoopShape::Oval: {
        const double ex = dx / (a + kSlack), ey = dy / (b + kSlack);
        return ex * ex + ey * ey <= 1.0;
    }
    case HoopShape::Rounded: {
        const double r = roundedCornerRadius(hoop);
        const double cx = a - r, cy = b - r;
        if (dx <= cx || dy <= cy)
            return true;
        return std::hypot(dx - cx, dy - cy) <= r + kSlack;
    }
    }
    return false;
}

} // namespace

void StitchHull::add(std::span<const StitchRecord> records)
{
    for (const StitchRecord& r : records) {
        if (r.kind != StitchKind::Stitch)
            continue;
        points_.push_back(r);
        // Reduced once it doubles: the gathered points stay within a bound.
        if (points_.size() >= std::max<std::size_t>(1 << 16, 2 * reducedSize_))
            reduce();
    }
}

const std::vector<StitchRecord>& StitchHull::points()
{
    if (points_.size() != reducedSize_)
        reduce();
    return points_;
}

// Only the hull's corners are kept: the box's extremes are among them.
void StitchHull::reduce()
{
    points_ = convexHull(std::move(points_));
    reducedSize_ = points_.size();
}

PlanBox sewnBoxOf(StitchRuns runs)
{
    PlanBox box;
    forEachStitch(runs, [&](int32_t x, int32_t y) { box.add(x, y); });
    return box;
}

bool fitsHoop(const Hoop& hoop, StitchRuns runs)
{
    const PlanBox box = sewnBoxOf(runs);
    if (box.empty())
        return true;
    // The box decides a rectangle, and rules out any field it does not fit.
    if (box.width() > hoop.width || box.height() > hoop.height)
        return false;
    if (hoop.shape == HoopShape::Rectangle)
        return true;
    // The centre to the half unit, as the field is centred.
    const double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
    bool fits = true;
    forEachStitch(runs, [&](int32_t x, int32_t y) { fits = fits && inside(hoop, x - cx, y - cy); });
    return fits;
}

const Hoop* smallestHoop(const HoopList& list, StitchRuns runs)
{
    if (sewnBoxOf(runs).empty())
        return nullptr;
    const Hoop* best = nullptr;
    double bestArea = 0;
    for (const Hoop& hoop : list.hoops) {
        const double a = hoop.width / 2.0, b = hoop.height / 2.0;
        double area = 4 * a * b;
        if (hoop.shape == HoopShape::Oval)
            area = M_PI * a * b;
        else if (hoop.shape == HoopShape::Rounded) {
            const double r = roundedCornerRadius(hoop);
            area -= (4 - M_PI) * r * r;
        }
        if ((best == nullptr || area < bestArea) && fitsHoop(hoop, runs)) {
            best = &hoop;
            bestArea = area;
        }
    }
    return best;
}

std::string hoopTitle(const Hoop& hoop)
{
    return hoop.name + " (" + hoopSizeText(hoop) + ")";
}

} // namespace kelvara
