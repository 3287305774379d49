// Plan assembly. Between objects: a trim when the previous object asks for
// one or the move is longer than the TRIM setting (only while thread is in
// the fabric), a colour change when the thread colour differs, then jumps of
// at most kMaxStep per axis. Within an object: a stitch shorter than DELETE
// is dropped, except tie-off stitches and the edge needles of fills; the object's last needle is kept by
// moving the previous stitch onto it when it fell to that rule; stitches
// longer than kMaxStep on an axis are split into equal parts.
//
// Tie-offs sit at the object's first and last penetration, turned to the
// stitching direction there. A library figure contributes its points up to
// the last non-zero one, x along the direction. The built-in lock is three
// stitches back and forth along the first (or last) stitch, no longer than
// TIELEN, so the lock lies under the seam itself.
#include "stitch/planbuilder.h"

#include "shell/libraries.h"
#include "shell/settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvara::stitch {

namespace {

// Needles a plan may place beyond four per record it can hold.
constexpr int64_t kNeedleAllowance = 1000000;

int64_t chebyshev(int64_t dx, int64_t dy)
{
    return std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
}

// k-th of n equal steps of d, rounded so that the steps add up exactly.
int64_t stepOf(int64_t d, int64_t k, int64_t n)
{
    return static_cast<int64_t>(
        std::llround(static_cast<double>(d) * static_cast<double>(k) / static_cast<double>(n)));
}

} // namespace

PlanBuilder::PlanBuilder(const Settings& settings, const Libraries& libraries, std::vector<StitchRecord>* out,
                         int64_t recordLimit)
    : settings_(settings), libraries_(libraries), out_(out), limit_(recordLimit),
      needleBudget_(4 * recordLimit + kNeedleAllowance)
{
}

// Needles dropped by the short-stitch rule make no records, so the record
// limit alone would not stop a forged design (say, a motif of 1-unit steps
// laid along a very long line) from placing needles for minutes. Every
// needle and jump is counted; past the budget the design counts as too large.
bool PlanBuilder::spendNeedle()
{
    if (++needles_ > needleBudget_)
        overflow_ = true;
    return !overflow_;
}

bool PlanBuilder::toPoint(Vec v, Point& p)
{
    constexpr double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    if (!(v.x >= lo && v.x <= hi && v.y >= lo && v.y <= hi)) {
        overflow_ = true; // also catches NaN
        return false;
    }
    p = {std::llround(v.x), std::llround(v.y)};
    return true;
}

void PlanBuilder::put(StitchKind kind, Point p)
{
    if (overflow_)
        return;
    if (p.x < std::numeric_limits<int32_t>::min() || p.x > std::numeric_limits<int32_t>::max() ||
        p.y < std::numeric_limits<int32_t>::min() || p.y > std::numeric_limits<int32_t>::max()) {
        overflow_ = true;
        return;
    }
    records_ += kind == StitchKind::Trim ? 3 : 1;
    if (records_ > limit_) {
        overflow_ = true;
        return;
    }
    if (!any_) {
        minX_ = maxX_ = p.x;
        minY_ = maxY_ = p.y;
        any_ = true;
    } else {
        minX_ = std::min(minX_, p.x);
        maxX_ = std::max(maxX_, p.x);
        minY_ = std::min(minY_, p.y);
        maxY_ = std::max(maxY_, p.y);
    }
    if (kind == StitchKind::Stitch)
        ++stitches_;
    if (out_)
        out_->push_back({static_cast<int32_t>(p.x), static_cast<int32_t>(p.y), colour_, kind});
}

void PlanBuilder::beginObject(const ObjectStyle& style)
{
    style_ = style;
    haveFirst_ = started_ = hasDropped_ = lastMovable_ = hasPrev_ = false;
}

void PlanBuilder::moveTo(Point to)
{
    const int64_t dx = to.x - cur_.x, dy = to.y - cur_.y;
    if (dx == 0 && dy == 0)
        return;
    const int64_t n = (chebyshev(dx, dy) + kMaxStep - 1) / kMaxStep;
    const Point from = cur_;
    for (int64_t k = 1; k <= n && !overflow_; ++k)
        put(StitchKind::Jump, {from.x + stepOf(dx, k, n), from.y + stepOf(dy, k, n)});
    cur_ = to;
    penetrated_ = false;
    lastMovable_ = false;
}

void PlanBuilder::connect(Point to, bool stitched)
{
    if (stitched && !colourKnown_) {
        // The first thread is simply the one on the machine; earlier jumps take its colour.
        colour_ = style_.colour;
        colourKnown_ = true;
        if (out_)
            for (StitchRecord& r : *out_)
                r.colour = colour_;
    }
    if (!any_) {
        cur_ = to;
        return;
    }
    const double distance =
        std::hypot(static_cast<double>(to.x - cur_.x), static_cast<double>(to.y - cur_.y));
    if (threadIn_ && (pendingTrim_ || distance > settings_.TRIM)) {
        put(StitchKind::Trim, cur_);
        threadIn_ = false;
        penetrated_ = false;
    }
    pendingTrim_ = false;
    if (stitched && style_.colour != colour_) {
        colour_ = style_.colour;
        put(StitchKind::ColourChange, cur_);
        threadIn_ = false;
        penetrated_ = false;
    }
    moveTo(to);
}

void PlanBuilder::stitchTo(Point p, bool keep)
{
    if (penetrated_ && p == cur_)
        return;
    const int64_t dx = p.x - cur_.x, dy = p.y - cur_.y;
    if (!keep && penetrated_ &&
        std::hypot(static_cast<double>(dx), static_cast<double>(dy)) < settings_.DELETE) {
        hasDropped_ = true;
        dropped_ = p;
        return;
    }
    hasDropped_ = false;
    const int64_t n = std::max<int64_t>(1, (chebyshev(dx, dy) + kMaxStep - 1) / kMaxStep);
    const Point from = cur_;
    Point last = from;
    for (int64_t k = 1; k <= n && !overflow_; ++k) {
        const Point q{from.x + stepOf(dx, k, n), from.y + stepOf(dy, k, n)};
        if (penetrated_ && !(q == cur_)) {
            prev_ = cur_;
            hasPrev_ = true;
        }
        last = cur_;
        put(StitchKind::Stitch, q);
        cur_ = q;
        penetrated_ = true;
    }
    beforeLast_ = last;
    lastMovable_ = !keep;
    threadIn_ = true;
}

void PlanBuilder::placeFigure(int entry, Point at, Vec dir)
{
    const auto& figure = libraries_.tieOffs.points[static_cast<std::size_t>(entry)];
    const int count = figureLength(figure);
    const Vec side = perp(dir);
    for (int i = 0; i < count && !overflow_; ++i) {
        const Vec q = Vec{static_cast<double>(at.x), static_cast<double>(at.y)} +
                      dir * figure[static_cast<std::size_t>(i)].x +
                      side * figure[static_cast<std::size_t>(i)].y;
        Point p;
        if (toPoint(q, p))
            stitchTo(p, true);
    }
}

// Three stitches between `from` and a point at most TIELEN towards `towards`.
void PlanBuilder::lock(Point from, Point towards)
{
    const Vec d{static_cast<double>(towards.x - from.x), static_cast<double>(towards.y - from.y)};
    const double reach = std::min(static_cast<double>(settings_.TIELEN), length(d));
    const Vec a = Vec{static_cast<double>(from.x), static_cast<double>(from.y)} + unit(d) * reach;
    Point p;
    if (!toPoint(a, p))
        return;
    stitchTo(p, true);
    stitchTo(from, true);
    stitchTo(p, true);
}

void PlanBuilder::startObject(Point first, Point towards)
{
    connect(first, true);
    stitchTo(first, true);
    started_ = true;
    const Vec dir =
        unit({static_cast<double>(towards.x - first.x), static_cast<double>(towards.y - first.y)});
    if (style_.tieIn >= 0)
        placeFigure(style_.tieIn, first, dir);
    else if (style_.builtinTieIn)
        lock(first, towards);
    lastMovable_ = false;
}

void PlanBuilder::place(Vec v, bool keep)
{
    Point p;
    if (overflow_ || !spendNeedle() || !toPoint(v, p))
        return;
    if (!started_) {
        if (!haveFirst_) {
            first_ = p;
            haveFirst_ = true;
            return;
        }
        if (p == first_)
            return;
        startObject(first_, p);
    }
    stitchTo(p, keep);
}

void PlanBuilder::jump(Vec v)
{
    Point p;
    if (overflow_ || !spendNeedle() || !toPoint(v, p))
        return;
    connect(p, false);
    if (!any_ && !overflow_)
        put(StitchKind::Jump, p); // a plan opening with a jump starts where it lands
}

void PlanBuilder::settleFinalNeedle()
{
    if (!hasDropped_ || !lastMovable_)
        return;
    // Move the last stitch onto the final needle rather than lose the end point.
    const int64_t dx = dropped_.x - beforeLast_.x, dy = dropped_.y - beforeLast_.y;
    if (chebyshev(dx, dy) > kMaxStep ||
        std::hypot(static_cast<double>(dx), static_cast<double>(dy)) < settings_.DELETE)
        return;
    if (out_ && !out_->empty()) {
        out_->back().x = static_cast<int32_t>(dropped_.x);
        out_->back().y = static_cast<int32_t>(dropped_.y);
    }
    minX_ = std::min(minX_, dropped_.x);
    maxX_ = std::max(maxX_, dropped_.x);
    minY_ = std::min(minY_, dropped_.y);
    maxY_ = std::max(maxY_, dropped_.y);
    cur_ = dropped_;
    hasDropped_ = false;
}

void PlanBuilder::endObject()
{
    if (started_ && !overflow_) {
        settleFinalNeedle();
        if (hasPrev_) {
            const Point end = cur_;
            const Vec dir =
                unit({static_cast<double>(end.x - prev_.x), static_cast<double>(end.y - prev_.y)});
            if (style_.tieOut >= 0)
                placeFigure(style_.tieOut, end, dir);
            else if (style_.builtinTieOut)
                lock(end, prev_);
        }
    }
    if (style_.trimAfter)
        pendingTrim_ = true;
    started_ = haveFirst_ = false;
}

void PlanBuilder::finish()
{
    if (overflow_ || !any_)
        return;
    if (threadIn_ && pendingTrim_)
        put(StitchKind::Trim, cur_);
    put(StitchKind::End, cur_);
}

} // namespace kelvara::stitch
