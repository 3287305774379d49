// Fill areas (RECT and CIRCLE).
//
// The outline is cut by parallel rows `spacing` apart at the fill angle, each
// row giving spans between crossings of the outline (even-odd). Spans are
// gathered into sections of one span per row (fillroute.cpp), each stitched
// back and forth without leaving the area. Inside a row penetrations are at
// most kFillStitch apart: on a grid shifted from row to row (tatami), or at
// the pattern's mark positions repeated along the row; marks too close to
// their neighbours are skipped and wide gaps are split evenly. The turn from
// the end of one row to the start of the next travels along the outline;
// the travel from one section to the next runs inside the area, under rows
// still to come. The top layer's outline may have been pushed out under
// the borders sewn after the fill (fillborders.cpp). The first penetration of a row, on the outline, is kept
// even when the turn to it is shorter than DELETE: dropping it would leave
// every other row short of the edge and the edge ragged. An underlay, when
// asked for, comes first: rows at the fill angle plus 90 degrees, three
// top rows apart, cut from the outline moved in by the inset, whose turns then lie
// where the top layer covers them.
#include "stitch/fill.h"
#include "stitch/fillborders.h"
#include "stitch/fillroute.h"

#include "shell/libraries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>

namespace kelvara::stitch {

namespace {

class Outline {
public:
    explicit Outline(const std::vector<Vec>& points, const std::vector<int32_t>& ringOf = {})
        : v_(points), ringOf_(ringOf)
    {
        for (std::size_t i = 0; i < ringOf_.size(); ++i) {
            const int32_t r = ringOf_[i];
            if (r < 0)
                continue;
            if (rings_.size() <= static_cast<std::size_t>(r))
                rings_.resize(static_cast<std::size_t>(r) + 1, {static_cast<long>(i), 0});
            ++rings_[static_cast<std::size_t>(r)].second;
        }
        cumulative_.reserve(v_.size() + 1);
        cumulative_.push_back(0);
        for (std::size_t i = 0; i < v_.size(); ++i)
            cumulative_.push_back(cumulative_.back() + length(v_[(i + 1) % v_.size()] - v_[i]));
    }
    std::size_t size() const { return v_.size(); }
    std::size_t rings() const { return std::max<std::size_t>(1, rings_.size()); }
    // Whether a walk along the outline leads from edge a to edge b.
    bool walkable(int32_t a, int32_t b) const
    {
        if (ringOf_.empty())
            return true;
        const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
        return ua < ringOf_.size() && ub < ringOf_.size() && ringOf_[ua] >= 0 && ringOf_[ua] == ringOf_[ub];
    }
    const std::vector<Vec>& vertices() const { return v_; }
    // How far the straight step from a to b may leave the area where the
    // way round is a, c, b, which stays inside (along a row, then across
    // into the next): the farthest an outline corner inside that triangle
    // (or on its edge) lies from the step. A corner of a hole between the
    // rows pokes in there.
    double cutBy(Vec a, Vec c, Vec b) const
    {
        const auto side = [](Vec p, Vec q, Vec r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
        const double turn = side(a, c, b), ab = length(b - a);
        double deepest = 0;
        if (turn == 0)
            return 0;
        for (const Vec& v : v_) {
            const double d = std::abs(side(a, b, v)) / ab;
            if (d > deepest && side(a, c, v) * turn >= 0 && side(c, b, v) * turn >= 0 && side(b, a, v) * turn >= 0)
                deepest = d;
        }
        return deepest;
    }

    // Appends the outline's corners from pa (on edge ea) to pb (on edge eb),
    // the shorter way round, then pb itself.
    // With several rings, the walk stays on the ring both edges lie on; from
    // one ring to another it is the straight step between them.
    void walk(int ea, Vec pa, int eb, Vec pb, std::vector<Vec>& out) const
    {
        if (!ringOf_.empty()) {
            const std::size_t a = static_cast<std::size_t>(ea), b = static_cast<std::size_t>(eb);
            if (a >= ringOf_.size() || b >= ringOf_.size() || ringOf_[a] < 0 || ringOf_[a] != ringOf_[b]) {
                out.push_back(pb);
                return;
            }
            // The ring's edges are consecutive: walk on it as on an outline of its own.
            const auto [first, count] = rings_[static_cast<std::size_t>(ringOf_[a])];
            walkOn(first, count, ea, pa, eb, pb, out);
            return;
        }
        walkOn(0, static_cast<long>(v_.size()), ea, pa, eb, pb, out);
    }

private:
    // The walk on the `n` edges from `base`, a closed ring.
    void walkOn(long base, long n, int eaAll, Vec pa, int ebAll, Vec pb, std::vector<Vec>& out) const
    {
        const long ea = eaAll - base, eb = ebAll - base;
        const auto at = [&](long j) { return v_[static_cast<std::size_t>(base + j)]; };
        const auto cum = [&](long j) { return cumulative_[static_cast<std::size_t>(base + j)] - cumulative_[static_cast<std::size_t>(base)]; };
        const double perimeter = cum(n);
        const double posA = cum(ea) + length(pa - at(ea));
        const double posB = cum(eb) + length(pb - at(eb));
        const double forward = std::fmod(posB - posA + 2 * perimeter, perimeter);
        if (forward <= perimeter - forward) {
            long k = (eb - ea + n) % n;
            if (k == 0 && posB < posA)
                k = n;
            for (long j = 1; j <= k; ++j)
                out.push_back(at((ea + j) % n));
        } else {
            long k = (ea - eb + n) % n;
            if (k == 0 && posB > posA)
                k = n;
            for (long j = 1; j <= k; ++j)
                out.push_back(at(((ea - j + 1) % n + n) % n));
        }
        out.push_back(pb);
    }

    std::vector<Vec> v_;
    std::vector<int32_t> ringOf_;
    std::vector<std::pair<long, long>> rings_; // first edge and count of each ring
    std::vector<double> cumulative_;
};

struct LayerStyle {
    double spacing = 3.5;
    double comp = 0;
    double stitch = kFillStitch; // longest stitch in a row
    int rowShift = 40;           // percent of a stitch the grid moves on per row
    double evenLength = 0; // > 0: plain rows split evenly (underlay)
    const PatternRow* patternRows = nullptr;
    int patternRowCount = 0;
    double patternPeriod = 10; // the repeat across, in mark units (10 per character)
    double patternScale = 1;   // design units per mark unit
    int rowsPerPatternRow = 1;
    double gap = 6; // closest two penetrations of a row may be
    double travelBend = 0; // > 0: travel stitches keep this close to the outline
};

constexpr double kMostColumns = 32; // pattern columns tried for one split

// Whether x (a row position) falls on one of a pattern row's marks.
bool onMark(double x, const PatternRow& pr, const LayerStyle& style)
{
    const double period = style.patternPeriod * style.patternScale;
    const double at = x - std::floor(x / period) * period;
    const int marks = std::clamp(pr.markCount, 0, 16);
    for (int m = 0; m < marks; ++m) {
        const double mark = pr.marks[static_cast<std::size_t>(m)] * style.patternScale;
        const double d = std::abs(at - (mark - std::floor(mark / period) * period));
        if (d < 0.25 * style.patternScale * 10 || period - d < 0.25 * style.patternScale * 10)
            return true;
    }
    return false;
}

// Splits the gaps of a pattern row longer than a fill stitch. A split at a
// gap's middle lands on a mark of the rows beside it (a brick's middle is the
// next row's mark) and repeats down the fill as a groove. So the splits go on
// the pattern's own column grid, never on the neighbouring rows' marks, and
// which of the allowed columns a split takes moves from row to row by the
// golden ratio, so no column of holes runs down the rows.
void splitPatternGaps(long row, const LayerStyle& style, std::vector<double>& xs)
{
    const long count = style.patternRowCount;
    const long own = row / style.rowsPerPatternRow;
    const PatternRow* near[2] = {&style.patternRows[(own + 1) % count],
                                 &style.patternRows[(own + count - 1) % count]};
    const double column = 10 * style.patternScale;
    std::vector<double> out;
    std::vector<double> allowed;
    out.reserve(xs.size() * 2);
    out.push_back(xs.front());
    for (std::size_t i = 1; i < xs.size(); ++i) {
        double a = xs[i - 1];
        const double b = xs[i];
        const double parts = std::ceil((b - a) / style.stitch - 1e-9);
        for (double k = 1; k < parts; ++k) {
            const double left = parts - k; // parts still to come after this split
            const double lo = std::max(a + style.gap, b - left * style.stitch);
            const double hi = std::min(a + style.stitch, b - style.gap);
            allowed.clear();
            // A forged pattern may make its columns tiny: at most kMostColumns are tried.
            const double first = std::ceil(lo / column - 1e-9);
            const double stride = std::max(1.0, std::ceil((hi - lo) / column / kMostColumns));
            for (double c = first; c * column <= hi + 1e-9; c += stride)
                if (!onMark(c * column, *near[0], style) && !onMark(c * column, *near[1], style))
                    allowed.push_back(c * column);
            double at = a + (b - a) / (left + 1);
            if (!allowed.empty()) {
                const double turn = static_cast<double>(row + 1) * 0.6180339887498949 + a / column * 0.381966;
                const double pick = turn - std::floor(turn);
                at = allowed[std::min(allowed.size() - 1, static_cast<std::size_t>(pick * allowed.size()))];
            }
            out.push_back(at);
            a = at;
        }
        out.push_back(b);
    }
    xs.swap(out);
}

// Penetrations of one row from lo to hi, ascending, both ends included.
void rowPoints(double lo, double hi, long row, const LayerStyle& style, std::vector<double>& xs)
{
    xs.clear();
    xs.push_back(lo);
    if (style.evenLength > 0) {
        const double n = std::max(1.0, std::ceil((hi - lo) / style.evenLength - 1e-9));
        for (double i = 1; i < n; ++i)
            xs.push_back(lo + (hi - lo) * (i / n));
        xs.push_back(hi);
        return;
    }
    const double gap = style.gap;
    auto keep = [&](double x) {
        if (x > lo + gap && x < hi - gap && x - xs.back() >= gap)
            xs.push_back(x);
    };
    if (style.patternRowCount > 0) {
        const PatternRow& pr = style.patternRows[(row / style.rowsPerPatternRow) % style.patternRowCount];
        const double period = style.patternPeriod * style.patternScale;
        const int marks = std::clamp(pr.markCount, 0, 16);
        for (double j = std::floor(lo / period); j * period <= hi; ++j)
            for (int m = 0; m < marks; ++m)
                keep(j * period + pr.marks[static_cast<std::size_t>(m)] * style.patternScale);
        xs.push_back(hi);
        splitPatternGaps(row, style, xs);
        return;
    }
    const double grid = style.stitch - gap;
    const double offset = static_cast<double>((row * style.rowShift) % 100) / 100.0 * grid;
    for (double j = std::ceil((lo + gap - offset) / grid); offset + j * grid < hi - gap; ++j)
        keep(offset + j * grid);
    xs.push_back(hi);
    // Split what is still too long, evenly.
    std::vector<double> out;
    out.reserve(xs.size() * 2);
    out.push_back(xs.front());
    for (std::size_t i = 1; i < xs.size(); ++i) {
        const double a = xs[i - 1], b = xs[i];
        const double n = std::ceil((b - a) / style.stitch - 1e-9);
        for (double k = 1; k < n; ++k)
            out.push_back(a + (b - a) * (k / n));
        out.push_back(b);
    }
    xs.swap(out);
}

// The repeat of a pattern across, in mark units. The library keeps a row's
// marks but not its line's width, so the repeat is read from the marks: the
// smallest multiple of the step common to neighbouring marks of a row that
// clears all the marks, which makes every brick of "*.......*......." over
// "....*.......*..." eight characters long, the last one of a repeat too.
// Without two marks in any row, one character past the widest mark.
double patternPeriod(const PatternRow* rows, int count)
{
    int64_t lowest = INT64_MAX, widest = INT64_MIN, step = 0;
    for (int i = 0; i < count; ++i) {
        const int marks = std::clamp(rows[i].markCount, 0, 16);
        for (int m = 0; m < marks; ++m) {
            const int64_t at = rows[i].marks[static_cast<std::size_t>(m)];
            lowest = std::min(lowest, at);
            widest = std::max(widest, at);
            if (m > 0)
                step = std::gcd(step, std::abs(at - rows[i].marks[static_cast<std::size_t>(m - 1)]));
        }
    }
    if (widest < lowest)
        return 10;
    const int64_t period = step > 0 ? ((widest - lowest) / step + 1) * step : widest + 10;
    return static_cast<double>(std::max<int64_t>(period, 10));
}

// Where the needle is, and where on the outline it last left a row.
struct Position {
    bool valid = false;
    Vec point;
    int32_t edge = 0;
    Vec boundary;
    Vec out; // along the row where it left the area, pointing out
};

// Travel may cut outside a corner of the area by this much (half a thread's
// width, which hides it) before it goes round the corner instead.
constexpr double kCornerCut = 2;

// The farthest point along `points` from `from` (an index and a fraction)
// a straight stitch reaches while no corner it passes lies more than `bend`
// off it and it is at most `longest` long.
double straightReach(const std::vector<Vec>& points, const std::vector<double>& at, double from, double bend,
                     double longest, const ArcPath& path)
{
    const Vec start = path.pointAt(from);
    double reach = std::min(from + longest, at.back());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (at[i] <= from)
            continue;
        if (at[i] >= reach)
            break;
        // A corner before the end: the stitch may reach past it only while
        // the corner stays near the chord.
        const Vec end = path.pointAt(reach);
        const Vec chord = end - start;
        const double len = length(chord);
        const double off = len > 0 ? std::abs(chord.x * (points[i].y - start.y) - chord.y * (points[i].x - start.x)) / len
                                   : length(points[i] - start);
        if (off > bend)
            reach = at[i];
    }
    return reach;
}

void travel(const Outline& outline, const Position& from, int32_t edge, Vec boundary, Vec target,
            double bend, NeedleSink& sink)
{
    std::vector<Vec> points{from.point, from.boundary};
    outline.walk(from.edge, from.boundary, edge, boundary, points);
    points.push_back(target);
    std::vector<Vec> corners = points;
    const ArcPath path(std::move(points));
    if (bend > 0) {
        // Each stitch as long as it can be while it follows the outline, so
        // travel round a curve never cuts across a counter.
        std::vector<double> at(corners.size(), 0);
        for (std::size_t i = 1; i < corners.size(); ++i)
            at[i] = at[i - 1] + length(corners[i] - corners[i - 1]);
        double s = 0;
        while (s < path.length() - 1e-9 && !sink.exhausted()) {
            const double next = straightReach(corners, at, s, bend, kTravelStitch, path);
            s = next > s + 1e-9 ? next : std::min(path.length(), s + kTravelStitch);
            if (s < path.length() - 1e-9)
                sink.needle(path.pointAt(s));
        }
        sink.edgeNeedle(target);
        return;
    }
    // Evenly spaced stitches cut the walk's corners. Where the outline turns
    // away from the area (a hole's corner, the inside of a bend) the cut
    // leaves the area, so a corner cut deeper than kCornerCut takes a needle.
    // The area lies on one side of the walk all along one ring: the side the
    // row came from.
    double areaSide = 0;
    for (std::size_t i = 2; i < corners.size() && areaSide == 0; ++i) {
        const Vec d = corners[i] - corners[1];
        if (length(d) > 1e-9)
            areaSide = d.x * -from.out.y - d.y * -from.out.x;
    }
    const double n = std::max(1.0, std::ceil(path.length() / kTravelStitch - 1e-9));
    Vec last = from.point;
    std::size_t corner = 2; // the next corner of the walk, and how far along the path the one before it is
    double passed = length(corners[1] - corners[0]);
    for (double k = 1; k <= n && !sink.exhausted(); ++k) {
        const double s = path.length() * (k / n);
        const Vec p = k < n ? path.pointAt(s) : target;
        for (; corner + 2 < corners.size(); ++corner) {
            const double at = passed + length(corners[corner] - corners[corner - 1]);
            if (at >= s)
                break;
            passed = at;
            const Vec in = corners[corner] - corners[corner - 1], next = corners[corner + 1] - corners[corner];
            if ((in.x * next.y - in.y * next.x) * areaSide < 0 &&
                toSegment(corners[corner], last, p) > kCornerCut) {
                sink.needle(corners[corner]);
                last = corners[corner];
            }
        }
        if (k < n)
            sink.needle(p);
        last = p;
    }
    sink.edgeNeedle(target);
}

// Running stitches along a travel path inside the area, a needle on every
// corner so no stitch cuts across the outline the path keeps clear of.
void travelInside(const std::vector<Vec>& path, const Frame& frame, Vec target, NeedleSink& sink)
{
    Vec at = frame.toDesign(path.front());
    for (std::size_t i = 1; i < path.size() && !sink.exhausted(); ++i) {
        const Vec to = i + 1 < path.size() ? frame.toDesign(path[i]) : target;
        const double n = std::max(1.0, std::ceil(length(to - at) / kTravelStitch - 1e-9));
        for (double k = 1; k < n; ++k)
            sink.needle(lerp(at, to, k / n));
        if (i + 1 < path.size())
            sink.needle(to);
        at = to;
    }
    sink.edgeNeedle(target);
}

// Row penetrations on the machine's grid. A turned row's points round to
// whole units off its line, and a row whose points all fall to one side
// sits up to half a unit off: neighbouring rows then lie from 0.3 to 0.5 mm
// apart for 0.4 mm asked, which shows as streaks. So each point takes the
// grid point near it (within a unit along the row) that keeps the row's
// running offset from its line smallest, and the row lies on its line on
// average. Rows along an axis fall on the grid as they are, and rows closer
// than kFewestUnitsApart are left as they fall: a unit either way is as
// much as their spacing.
constexpr double kFewestUnitsApart = 3;

class RowGrid {
public:
    RowGrid(const Frame& frame, double spacing)
        : frame_(frame), along_(frame.toDesign(1, 0)), across_(frame.toDesign(0, 1)),
          turned_(spacing >= kFewestUnitsApart && std::abs(along_.x) > 1e-9 && std::abs(along_.y) > 1e-9)
    {
    }
    void startRow() { drift_ = 0; }
    Vec at(double x, double y)
    {
        const Vec p = frame_.toDesign(x, y);
        if (!turned_ || !std::isfinite(p.x) || !std::isfinite(p.y) || std::abs(p.x) > 1e9 ||
            std::abs(p.y) > 1e9)
            return p;
        Vec best = p;
        double bestCost = 1e300, bestDrift = 0;
        const double x0 = std::round(p.x), y0 = std::round(p.y);
        for (double dx = -1; dx <= 1; ++dx)
            for (double dy = -1; dy <= 1; ++dy) {
                const Vec step{x0 + dx - p.x, y0 + dy - p.y};
                const double off = dot(step, along_);
                if (std::abs(off) > 1.2)
                    continue;
                const double drift = drift_ + dot(step, across_);
                const double cost = std::abs(drift) + 0.1 * std::abs(off);
                if (cost < bestCost)
                    bestCost = cost, best = {x0 + dx, y0 + dy}, bestDrift = drift;
            }
        drift_ = bestDrift;
        return best;
    }

private:
    const Frame& frame_;
    Vec along_, across_;
    bool turned_;
    double drift_ = 0;
};

// `entry`, when given and the needle has not yet sewn this fill, is where the
// needle comes from: the first section is the one nearest it.
void stitchLayer(const Outline& outline, const Frame& frame, const Rows& rows, const LayerStyle& style,
                 Position& pos, const Vec* entry, NeedleSink& sink)
{
    RowGrid grid(frame, style.spacing);
    std::vector<double> xs;
    FillRoute route(rows);
    if (outline.rings() > 1)
        route.travelOverSewnRows();
    RouteFrom from{pos.valid, pos.valid ? frame.toRows(pos.point) : Vec{}, -1, true};
    if (!pos.valid && entry)
        from = {true, frame.toRows(*entry), -1, true};
    RouteLeg leg;
    while (!sink.exhausted() && route.next(from, leg)) {
        const auto& spans = route.spans(leg.section);
        int dir = leg.fromLow ? 1 : -1;
        for (std::size_t k = 0; k < spans.size() && !sink.exhausted(); ++k) {
            const Span& span =
                rows.spans[static_cast<std::size_t>(spans[leg.down ? k : spans.size() - 1 - k])];
            const std::size_t row = static_cast<std::size_t>(span.row);
            const double y = rows.y[row];
            double lo = span.boundaryA + rows.inset - style.comp / 2;
            double hi = span.boundaryB - rows.inset + style.comp / 2;
            if (hi < lo)
                lo = hi = (lo + hi) / 2;
            rowPoints(lo, hi, static_cast<long>(row), style, xs);
            if (dir < 0)
                std::reverse(xs.begin(), xs.end());
            const int32_t startEdge = dir > 0 ? span.edgeA : span.edgeB;
            const int32_t endEdge = dir > 0 ? span.edgeB : span.edgeA;
            const Vec startBoundary = frame.toDesign(dir > 0 ? span.boundaryA : span.boundaryB, y);
            const Vec endBoundary = frame.toDesign(dir > 0 ? span.boundaryB : span.boundaryA, y);
            grid.startRow();
            const Vec first = grid.at(xs.front(), y);
            if (!pos.valid)
                sink.edgeNeedle(first);
            else if (k == 0 && leg.path.size() >= 2) {
                // The step off the sewn rows cuts the corner between the last
                // of them and the next section's row; where the outline turns
                // in between (a hole's corner), it goes along the sewn row first.
                const Vec along{leg.path[1].x, leg.path[0].y};
                if (from.section >= 0 && outline.cutBy(pos.boundary, frame.toDesign(along),
                                                       frame.toDesign(leg.path[1])) > kCornerCut)
                    leg.path.insert(leg.path.begin() + 1, along);
                travelInside(leg.path, frame, first, sink);
            }
            else if (outline.walkable(pos.edge, startEdge)) // the turn to the next row, or no way inside the area
                travel(outline, pos, startEdge, startBoundary, first, style.travelBend, sink);
            else { // an island in a hole: no way there inside the area
                sink.jump(first);
                sink.edgeNeedle(first);
            }
            for (std::size_t i = 1; i < xs.size(); ++i)
                sink.needle(grid.at(xs[i], y));
            pos = {true, frame.toDesign(xs.back(), y), endEdge, endBoundary, frame.toDesign(Vec{double(dir), 0})};
            dir = -dir;
        }
        from = {true, frame.toRows(pos.point), leg.section, leg.down};
    }
}

// A layer's penetrations held back, so two ways of sewing it can be weighed
// before either reaches the plan.
class HeldLayer final : public NeedleSink {
public:
    explicit HeldLayer(int64_t room) : room_(room) {}
    void needle(Vec p) override { add(p, Kind::Needle); }
    void edgeNeedle(Vec p) override { add(p, Kind::Edge); }
    void jump(Vec p) override { add(p, Kind::Jump); }
    bool exhausted() const override { return full_; }
    int64_t room() const override { return full_ ? 0 : room_ - static_cast<int64_t>(held_.size()); }
    void markOverflow() override { full_ = true; }

    bool empty() const { return held_.empty(); }
    Vec first() const { return held_.front().p; }
    Vec last() const { return held_.back().p; }
    void replay(NeedleSink& sink) const
    {
        for (const Held& h : held_) {
            if (sink.exhausted())
                return;
            if (h.kind == Kind::Jump)
                sink.jump(h.p);
            else if (h.kind == Kind::Edge)
                sink.edgeNeedle(h.p);
            else
                sink.needle(h.p);
        }
        if (full_)
            sink.markOverflow();
    }

private:
    enum class Kind : uint8_t { Needle, Edge, Jump };
    struct Held {
        Vec p;
        Kind kind;
    };
    void add(Vec p, Kind kind)
    {
        if (static_cast<int64_t>(held_.size()) >= room_)
            full_ = true;
        else
            held_.push_back({p, kind});
    }
    int64_t room_;
    bool full_ = false;
    std::vector<Held> held_;
};

bool crossesOutline(const std::vector<Vec>& outline, Vec a, Vec b)
{
    const auto side = [](Vec p, Vec q, Vec r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vec c = outline[i], d = outline[(i + 1) % outline.size()];
        if (side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0)
            return true;
    }
    return false;
}

// The top layer, ending near `shape.exit` when it has one: sewn as the
// route leads from the needle, and again from each corner of the area (the
// outline's points farthest out across and along the rows); the one ending
// nearest the exit is kept, counting what it moves the start away from the
// needle. After an underlay the step to the start costs nothing, the top
// covering it, but it must be straight inside the area.
void stitchTop(const Outline& outline, const Frame& frame, const Rows& rows, const LayerStyle& style,
               const FillSpec& shape, Position& pos, NeedleSink& sink)
{
    const Vec* entry = shape.hasEntry ? &shape.entry : nullptr;
    if (!shape.hasExit || outline.rings() > 1) {
        stitchLayer(outline, frame, rows, style, pos, entry, sink);
        return;
    }
    const std::vector<Vec>& v = outline.vertices();
    const bool placed = pos.valid || entry != nullptr;
    const Vec start = pos.valid ? pos.point : entry ? *entry : Vec{};
    Position bestPos = pos;
    HeldLayer best(sink.room());
    stitchLayer(outline, frame, rows, style, bestPos, entry, best);
    if (best.empty()) {
        best.replay(sink);
        return;
    }
    const auto cost = [&](const HeldLayer& layer) {
        const double moved = placed && !pos.valid ? length(layer.first() - start) : 0;
        return moved + length(layer.last() - shape.exit);
    };
    double bestCost = cost(best) - 1;
    for (const Vec sign : {Vec{1, 1}, Vec{1, -1}, Vec{-1, 1}, Vec{-1, -1}}) {
        Vec corner = v.front();
        double reach = -1e300;
        for (const Vec& p : v) {
            const Vec r = frame.toRows(p);
            if (r.x * sign.x + r.y * sign.y > reach)
                reach = r.x * sign.x + r.y * sign.y, corner = p;
        }
        Position from;
        HeldLayer layer(sink.room());
        stitchLayer(outline, frame, rows, style, from, &corner, layer);
        if (layer.empty() || cost(layer) >= bestCost || (pos.valid && crossesOutline(v, pos.point, layer.first())))
            continue;
        bestCost = cost(layer);
        best = std::move(layer);
        bestPos = from;
    }
    best.replay(sink);
    pos = bestPos;
}

// Underlay rows lie three top rows apart: close enough to hold the fabric
// flat under the top, open enough not to stiffen it; never closer than 1 mm.
double underlaySpacing(double topSpacing)
{
    return std::max(3 * topSpacing, 10.0);
}

// The outline moved in by `inset`, or empty when it would turn inside out.
std::vector<Vec> insetOutline(const std::vector<Vec>& outline, double inset)
{
    std::vector<Vec> inner = offsetOutline(outline, std::vector<double>(outline.size(), -inset));
    auto area = [](const std::vector<Vec>& v) {
        double a = 0;
        for (std::size_t i = 0; i < v.size(); ++i)
            a += v[i].x * v[(i + 1) % v.size()].y - v[(i + 1) % v.size()].x * v[i].y;
        return a;
    };
    const double before = area(outline), after = area(inner);
    if (!(after * before > 0) || std::abs(after) >= std::abs(before))
        return {};
    return inner;
}

} // namespace

void stitchFill(const FillSpec& shape, NeedleSink& sink)
{
    if (shape.outline.size() < 3)
        return;
    // Never so wide that the tatami grid (the stitch less the gap) collapses.
    const double gap = std::clamp(shape.shortest, 6.0, 12.0);
    Position pos;

    if (shape.underLength > 0) {
        const Frame frame(shape.angle + 90);
        LayerStyle style;
        style.spacing = underlaySpacing(shape.spacing);
        style.evenLength = shape.underLength;
        style.gap = gap;
        // The underlay turns on the inset outline, where the top covers its
        // turns; on the outline itself each turn would show as a pip.
        std::vector<Vec> inner = shape.underOutline.size() >= 3 ? shape.underOutline
                                 : shape.underInset > 0     ? insetOutline(shape.outline, shape.underInset)
                                                            : std::vector<Vec>{};
        const bool inset = !inner.empty();
        const std::vector<Vec>& around = inset ? inner : shape.outline;
        Rows rows;
        if (!cutRows(around, frame, style.spacing, inset ? 0 : shape.underInset, sink.room(), rows, shape.ringOf)) {
            sink.markOverflow();
            return;
        }
        stitchLayer(Outline(around, shape.ringOf), frame, rows, style, pos, shape.hasEntry ? &shape.entry : nullptr, sink);
    }
    if (!shape.topLayer || sink.exhausted())
        return;

    const std::vector<Vec>& top = shape.topOutline.size() >= 3 ? shape.topOutline : shape.outline;
    const Frame frame(shape.angle);
    LayerStyle style;
    style.spacing = shape.spacing;
    style.comp = shape.comp;
    style.stitch = shape.stitchLength;
    style.rowShift = shape.rowShift;
    style.travelBend = shape.travelBend;
    style.patternRows = shape.patternRows;
    style.patternRowCount = shape.patternRowCount;
    style.patternPeriod = patternPeriod(shape.patternRows, shape.patternRowCount);
    // A character across spans what a pattern row spans down (the row
    // spacing, times ZOOMX across and ZOOMY down), so a pattern keeps the
    // proportions it is drawn with. A repeat shorter than the closest two
    // penetrations may lie could show nothing of the pattern; keeping it that
    // long also bounds the marks tried per row by the row's stitches.
    style.patternScale = std::max(shape.spacing * shape.zoomX / 10, gap / style.patternPeriod);
    style.rowsPerPatternRow = std::max(1, shape.rowsPerPatternRow);
    style.gap = gap;
    Rows rows;
    if (!cutRows(top, frame, shape.spacing, 0, sink.room(), rows, shape.ringOf)) {
        sink.markOverflow();
        return;
    }
    stitchTop(Outline(top, shape.ringOf), frame, rows, style, shape, pos, sink);
}

namespace {

struct RecordFloor {
    int64_t total = 0;
    int64_t largest = 0; // the most one row adds
};

// Adds the records one layer's rows make at least. A row is stitched from lo
// to hi in steps of at most `longest`. The plan keeps a needle unless it
// lies closer than DELETE to the last kept one, and rounds each to whole
// units, so two kept needles are less than DELETE + longest + sqrt 2 apart,
// and the last kept one lies within DELETE of hi.
bool addLayerFloor(const FillSpec& shape, const std::vector<Vec>& outline, double angle, double spacing,
                   double inset, double widen, double longest, int64_t limit, RecordFloor& floor)
{
    Rows rows;
    if (!cutRows(outline, Frame(angle), spacing, inset, limit, rows, shape.ringOf))
        return false;
    const double rounding = std::sqrt(2.0) + 0.01; // and a margin for the turned frame
    const double shortest = std::max(0.0, shape.shortest);
    const double step = shortest + longest + 0.01 + rounding;
    for (const Span& span : rows.spans) {
        const double width = span.boundaryB - span.boundaryA - 2 * inset + widen;
        const double reach = width - rounding - shortest;
        if (!(reach > 0))
            continue;
        const int64_t records = static_cast<int64_t>(std::min(std::floor(reach / step), 1e12));
        floor.total += records;
        floor.largest = std::max(floor.largest, records);
        if (floor.total - floor.largest > limit)
            break;
    }
    return true;
}

} // namespace

int64_t fillRecordFloor(const FillSpec& shape, int64_t limit)
{
    if (shape.outline.size() < 3)
        return 0;
    RecordFloor floor;
    if (shape.underLength > 0) {
        // The rows the underlay is stitched on: inside the inset outline when it has one.
        const std::vector<Vec> inner = shape.underOutline.size() >= 3 ? shape.underOutline
                                       : shape.underInset > 0 ? insetOutline(shape.outline, shape.underInset)
                                                              : std::vector<Vec>{};
        const bool inset = !inner.empty();
        if (!addLayerFloor(shape, inset ? inner : shape.outline, shape.angle + 90,
                           underlaySpacing(shape.spacing), inset ? 0 : shape.underInset, 0, shape.underLength,
                           limit, floor))
            return limit + 1;
    }
    // Borders only ever push the top layer's outline out, so the outline's
    // own rows are a floor for it.
    if (shape.topLayer && !addLayerFloor(shape, shape.outline, shape.angle, shape.spacing, 0, shape.comp,
                                         shape.stitchLength, limit, floor))
        return limit + 1;
    // The tie-in may leave the needle anywhere before the first row: no row
    // can be sure of its count, so the largest is left out.
    return floor.total - floor.largest;
}

} // namespace kelvara::stitch
