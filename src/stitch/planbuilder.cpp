// Plan assembly. Between objects: a trim when the previous object asks for
// one or the move is longer than the TRIM setting (only while thread is in
// the fabric), a trim and a colour change when the thread colour differs,
// then jumps of at most kMaxStep per axis. Within an object: a stitch shorter
// than DELETE is dropped, except tie-off stitches and the edge needles of
// fills; the object's last needle is kept by moving the previous stitch onto
// it when it fell to that rule; stitches longer than kMaxStep on an axis are
// split into equal parts, and so are stitches longer than the object's
// maximum stitch: the generators split their own long stitches with care,
// this catches whatever else is long (underlay zigzags, tie-off figures,
// travel), so no stitch floats.
//
// Locks. A thread end that is not locked pulls out, so whatever the TIEIN and
// TIEOUT switches say, an object whose thread is new (the first one, and every
// one after a trim or colour change) starts with a lock, and an object is
// locked at its end before the thread is cut (a trim, a colour change, a jump
// line, the end of the design). The switches add locks where objects follow
// each other without a cut, except where an object of the same thread
// starts within 0.5 mm of where the last one ended: that is one seam, sewn
// on without a lock, a jump or a trim between the two. Locks lie on the object's own path: the tie-in
// runs forward along its first stitches, where the stitches that follow cover
// it, the tie-off back along its last ones, so both stay inside what the
// object sews (across the column for satins and stars) and the thread is cut
// inside the object, never past its end.
//
// The built-in lock is three stitches back and forth over at most TIELEN and
// never more than 2 mm (longer lock stitches would show and hold no better):
// out to the full reach, back to a quarter of it, out to three quarters. Each
// goes into a hole of its own, never into a hole of the stitches it lies on,
// which a second penetration would widen. A library figure contributes its points up to the
// last non-zero one: x is the distance along the path into the object, y the
// offset across it, scaled down to at most 0.2 mm so the figure stays on the
// seam it locks.
#include "stitch/planbuilder.h"

#include "shell/libraries.h"
#include "shell/settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvara::stitch {

namespace {

// Needles a plan may place beyond four per record it can hold.
constexpr int64_t kNeedleAllowance = 20000;

constexpr int32_t kLongestLock = 20;     // built-in lock stitches never exceed 2 mm
constexpr double kShortestLock = 4;      // a shorter path has no room for three new holes
constexpr double kFigureOffset = 2;      // a library figure strays at most this far off its path
constexpr std::size_t kLeadNeedles = 64; // needles held back at most for the tie-in
constexpr std::size_t kTailNeedles = 64; // penetrations kept for the tie-off

double pathLength(const std::vector<Vec>& path)
{
    double total = 0;
    for (std::size_t i = 1; i < path.size(); ++i)
        total += length(path[i] - path[i - 1]);
    return total;
}

// The point at arc length s along the path (clamped into it), and the
// direction of travel there.
Vec walkAlong(const std::vector<Vec>& path, double s, Vec& dir)
{
    dir = {1, 0};
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Vec d = path[i] - path[i - 1];
        const double len = length(d);
        if (len <= 0)
            continue;
        dir = d * (1.0 / len);
        if (s <= len)
            return path[i - 1] + dir * std::max(s, 0.0);
        s -= len;
    }
    return path.empty() ? Vec{} : path.back();
}

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
    haveFirst_ = started_ = hasDropped_ = lastMovable_ = false;
    lead_.clear();
    leadLength_ = 0;
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
        if (startThreaded_ && stitched) {
            threadIn_ = true;
            continuing_ = startContinuing_;
        }
        return;
    }
    const double distance =
        std::hypot(static_cast<double>(to.x - cur_.x), static_cast<double>(to.y - cur_.y));
    const bool recolour = stitched && style_.colour != colour_;
    // An object that carries on where the last one ended, in its thread, is
    // one seam with it: a lock and a jump there would knot the line.
    continuing_ = stitched && threadIn_ && !pendingTrim_ && !recolour && distance <= kContinueReach;
    if (continuing_) {
        tieOutFigure_ = kNoTieOut;
        return;
    }
    if (threadIn_ && tieOutFigure_ != kNoTieOut)
        tieOffTail(tieOutFigure_);
    tieOutFigure_ = kNoTieOut;
    // The old thread is cut before the machine stops for the new one, or its
    // end would be dragged along to the next object.
    const bool trim = threadIn_ && (pendingTrim_ || distance > settings_.TRIM || recolour);
    // A jump line leaves the thread hanging from the end as a trim does.
    if (threadIn_ && tailOpen_ && (trim || !stitched))
        tieOffTail(-1);
    if (trim) {
        put(StitchKind::Trim, cur_);
        threadIn_ = false;
        penetrated_ = false;
    }
    pendingTrim_ = false;
    if (recolour) {
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
    int64_t n = std::max<int64_t>(1, (chebyshev(dx, dy) + kMaxStep - 1) / kMaxStep);
    const double span = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    if (style_.maxStitch > 0 && span > style_.maxStitch) {
        // Parts a little shorter, since each split point is rounded to a whole unit.
        const double part = std::max(1.0, style_.maxStitch - 1.5);
        n = std::max(n, static_cast<int64_t>(std::ceil(span / part)));
    }
    const Point from = cur_;
    Point last = from;
    for (int64_t k = 1; k <= n && !overflow_; ++k) {
        const Point q{from.x + stepOf(dx, k, n), from.y + stepOf(dy, k, n)};
        last = cur_;
        put(StitchKind::Stitch, q);
        cur_ = q;
        penetrated_ = true;
        if (tail_.empty() || !(tail_.back() == q)) {
            if (tail_.size() >= 2 * kTailNeedles)
                tail_.erase(tail_.begin(), tail_.begin() + static_cast<std::ptrdiff_t>(kTailNeedles));
            tail_.push_back(q);
        }
    }
    beforeLast_ = last;
    lastMovable_ = !keep;
    threadIn_ = true;
}

// The figure laid along `path`, which starts where the needle is and runs
// into the object.
void PlanBuilder::placeFigure(int entry, const std::vector<Vec>& path)
{
    const auto& figure = libraries_.tieOffs.points[static_cast<std::size_t>(entry)];
    const int count = figureLength(figure);
    double across = 0;
    for (int i = 0; i < count; ++i)
        across = std::max(across, std::abs(static_cast<double>(figure[static_cast<std::size_t>(i)].y)));
    const double scale = across > kFigureOffset ? kFigureOffset / across : 1.0;
    const double reach = pathLength(path);
    for (int i = 0; i < count && !overflow_; ++i) {
        const LibraryPoint& f = figure[static_cast<std::size_t>(i)];
        Vec dir;
        const Vec at = walkAlong(path, std::clamp(static_cast<double>(f.x), 0.0, reach), dir);
        Point p;
        if (toPoint(at + perp(dir) * (f.y * scale), p))
            stitchTo(p, true);
    }
}

double PlanBuilder::lockReach() const
{
    return std::clamp(settings_.TIELEN, 1, kLongestLock);
}

// How much of the object's path a lock (a library figure, or the built-in
// one for -1) lies on.
double PlanBuilder::lockPath(int entry) const
{
    if (entry < 0)
        return lockReach() / 0.8 + 1; // the lock's full reach fits short of the far end
    const auto& figure = libraries_.tieOffs.points[static_cast<std::size_t>(entry)];
    double reach = 0;
    for (const LibraryPoint& f : figure)
        reach = std::max(reach, static_cast<double>(f.x));
    return reach;
}

// The built-in lock along `path`, which starts where the needle is.
void PlanBuilder::lock(const std::vector<Vec>& path)
{
    const double total = pathLength(path);
    // On a short object the lock keeps clear of its far end's hole.
    const double reach = std::min(lockReach(), 0.8 * total);
    if (reach < kShortestLock)
        return;
    auto isPathHole = [&](Point q) {
        for (const Vec& v : path)
            if (q.x == std::llround(v.x) && q.y == std::llround(v.y))
                return true;
        return false;
    };
    for (const double part : {1.0, 0.25, 0.75}) {
        Point hole{};
        // Nudged along the path when it would fall into one of the object's holes.
        for (const double nudge : {0.0, 1.0, -1.0, 2.0, -2.0}) {
            Vec dir;
            if (!toPoint(walkAlong(path, std::clamp(part * reach + nudge, 1.0, total), dir), hole))
                return;
            if (!isPathHole(hole))
                break;
        }
        stitchTo(hole, true);
    }
}

// The end of the object just finished, with the tie-off as its style asks or
// the built-in lock: laid back along its last stitches.
void PlanBuilder::tieOffTail(int figure)
{
    tailOpen_ = false;
    if (tail_.size() < 2 || overflow_)
        return;
    walk_.clear();
    const double needed = lockPath(figure);
    double walked = 0;
    for (auto it = tail_.rbegin(); it != tail_.rend() && walked < needed; ++it) {
        const Vec v{static_cast<double>(it->x), static_cast<double>(it->y)};
        if (!walk_.empty())
            walked += length(v - walk_.back());
        walk_.push_back(v);
    }
    if (figure >= 0)
        placeFigure(figure, walk_);
    else
        lock(walk_);
}

void PlanBuilder::startObject()
{
    connect(first_, true);
    tail_.clear();
    tailOpen_ = false;
    const bool newThread = !threadIn_;
    const bool continuing = continuing_;
    continuing_ = false;
    stitchTo(first_, !continuing); // a step shorter than DELETE into the seam is dropped
    started_ = true;
    walk_.clear();
    walk_.push_back({static_cast<double>(first_.x), static_cast<double>(first_.y)});
    for (const auto& [p, keep] : lead_)
        walk_.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    if (continuing) {
        // no tie-in inside one seam
    } else if (style_.tieIn >= 0)
        placeFigure(style_.tieIn, walk_);
    else if (style_.builtinTieIn || newThread)
        lock(walk_);
    lastMovable_ = false;
    for (const auto& [p, keep] : lead_)
        stitchTo(p, keep);
    lead_.clear();
}

// The machine stops with the thread in: a colour change to the same thread.
void PlanBuilder::stop()
{
    if (overflow_ || !haveFirst_)
        return;
    if (!started_)
        startObject();
    if (!overflow_ && any_)
        put(StitchKind::ColourChange, cur_);
}

void PlanBuilder::placeAsRead(Point p)
{
    if (!started_) {
        connect(p, true);
        tail_.clear();
        continuing_ = false;
        first_ = p;
        haveFirst_ = started_ = true;
        stitchTo(p, true);
        return;
    }
    // A stitch into the hole the needle is in is kept: the file has it.
    if (penetrated_ && p == cur_)
        put(StitchKind::Stitch, p);
    else
        stitchTo(p, true);
}

void PlanBuilder::place(Vec v, bool keep)
{
    Point p;
    if (overflow_ || !spendNeedle() || !toPoint(v, p))
        return;
    if (style_.asRead)
        return placeAsRead(p);
    if (!started_) {
        if (!haveFirst_) {
            first_ = p;
            haveFirst_ = true;
            return;
        }
        const Point last = lead_.empty() ? first_ : lead_.back().first;
        if (p == last)
            return;
        lead_.push_back({p, keep});
        leadLength_ += std::hypot(static_cast<double>(p.x - last.x), static_cast<double>(p.y - last.y));
        if (leadLength_ >= lockPath(style_.tieIn) || lead_.size() >= kLeadNeedles)
            startObject();
        return;
    }
    stitchTo(p, keep);
}

void PlanBuilder::jump(Vec v)
{
    Point p;
    if (overflow_ || !spendNeedle() || !toPoint(v, p))
        return;
    if (style_.asRead) {
        // Before its first stitch the travel there is the plan's own.
        if (started_)
            moveTo(p);
        return;
    }
    connect(p, false);
    if (!any_ && !overflow_)
        put(StitchKind::Jump, p); // a plan opening with a jump starts where it lands
}

void PlanBuilder::trim()
{
    if (!style_.asRead || !started_ || !threadIn_ || overflow_)
        return;
    put(StitchKind::Trim, cur_);
    threadIn_ = false;
    penetrated_ = false;
    tail_.clear();
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
    if (!tail_.empty())
        tail_.back() = dropped_;
    hasDropped_ = false;
}

void PlanBuilder::endObject()
{
    if (haveFirst_ && !started_ && !lead_.empty() && !overflow_)
        startObject(); // an object shorter than its tie-in's reach
    if (started_ && !overflow_) {
        settleFinalNeedle();
        sewn_ = true;
        end_ = cur_;
        // The tie-off waits for the next object: none when that one
        // carries on the seam, nor for a block that keeps its own.
        tailOpen_ = !style_.asRead;
        if (style_.tieOut >= 0 || style_.builtinTieOut)
            tieOutFigure_ = style_.tieOut;
    }
    if (style_.trimAfter)
        pendingTrim_ = true;
    started_ = haveFirst_ = false;
}

void PlanBuilder::finish()
{
    if (overflow_ || !any_)
        return;
    if (threadIn_ && tailOpen_ && !endOpen_)
        tieOffTail(tieOutFigure_ != kNoTieOut ? tieOutFigure_ : -1);
    tieOutFigure_ = kNoTieOut;
    if (threadIn_ && pendingTrim_)
        put(StitchKind::Trim, cur_);
    put(StitchKind::End, cur_);
}

} // namespace kelvara::stitch
