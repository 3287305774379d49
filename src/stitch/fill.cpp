// Fill areas (RECT and CIRCLE).
//
// The outline is cut by parallel rows `spacing` apart at the fill angle, each
// row giving spans between crossings of the outline (even-odd). Spans are
// gathered into sections: a section runs down the rows taking one span per
// row that overlaps the previous one, so every section can be stitched back
// and forth without leaving the area. Inside a row penetrations are at most
// kFillStitch apart: on a grid shifted from row to row (tatami), or at the
// pattern's mark positions repeated along the row; marks too close to their
// neighbours are skipped and wide gaps are split evenly. Every move from the
// end of one row to the start of the next, within a section or between
// sections, travels along the outline with running stitches, so no stitch
// crosses outside the area. The first penetration of a row, on the outline,
// is kept even when the turn to it is shorter than DELETE: dropping it would
// leave every other row short of the edge and the edge ragged. An underlay, when asked for, comes first: rows
// at the fill angle plus 90 degrees, wider apart, inset from the outline.
#include "stitch/fill.h"

#include "shell/libraries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace kelvara::stitch {

namespace {

class Outline {
public:
    explicit Outline(const std::vector<Vec>& points) : v_(points)
    {
        cumulative_.reserve(v_.size() + 1);
        cumulative_.push_back(0);
        for (std::size_t i = 0; i < v_.size(); ++i)
            cumulative_.push_back(cumulative_.back() + length(v_[(i + 1) % v_.size()] - v_[i]));
    }
    std::size_t size() const { return v_.size(); }
    const std::vector<Vec>& vertices() const { return v_; }

    // Appends the outline's corners from pa (on edge ea) to pb (on edge eb),
    // the shorter way round, then pb itself.
    void walk(int ea, Vec pa, int eb, Vec pb, std::vector<Vec>& out) const
    {
        const long n = static_cast<long>(v_.size());
        const double perimeter = cumulative_.back();
        const double posA =
            cumulative_[static_cast<std::size_t>(ea)] + length(pa - v_[static_cast<std::size_t>(ea)]);
        const double posB =
            cumulative_[static_cast<std::size_t>(eb)] + length(pb - v_[static_cast<std::size_t>(eb)]);
        const double forward = std::fmod(posB - posA + 2 * perimeter, perimeter);
        if (forward <= perimeter - forward) {
            long k = (eb - ea + n) % n;
            if (k == 0 && posB < posA)
                k = n;
            for (long j = 1; j <= k; ++j)
                out.push_back(v_[static_cast<std::size_t>((ea + j) % n)]);
        } else {
            long k = (ea - eb + n) % n;
            if (k == 0 && posB > posA)
                k = n;
            for (long j = 1; j <= k; ++j)
                out.push_back(v_[static_cast<std::size_t>(((ea - j + 1) % n + n) % n)]);
        }
        out.push_back(pb);
    }

private:
    std::vector<Vec> v_;
    std::vector<double> cumulative_;
};

// One span of a row, in the rotated frame where rows are horizontal: where
// the row crosses the outline, and on which edges.
struct Span {
    double boundaryA, boundaryB;
    int32_t edgeA, edgeB;
    int32_t row;
    bool used;
};

struct Rows {
    double inset = 0; // stitching starts and stops this far inside the crossings
    std::vector<double> y;
    std::vector<std::size_t> first; // first span of each row; one extra entry at the end
    std::vector<Span> spans;
};

// A frame turned so that rows at `angle` degrees become horizontal. Angles
// turn counter-clockwise as seen on screen, where y points down, as the
// star's do: 0 runs along +x, 90 straight up.
struct Frame {
    double c, s;
    explicit Frame(double angleDegrees)
    {
        const double a = -std::fmod(angleDegrees, 360.0) * 3.14159265358979323846 / 180.0;
        c = std::cos(a);
        s = std::sin(a);
    }
    Vec toRows(Vec p) const { return rotate(p, c, -s); }
    Vec toDesign(double x, double y) const { return rotate({x, y}, c, s); }
};

// Cuts the outline into rows; false when the rows would not fit the sink.
bool cutRows(const std::vector<Vec>& outline, const Frame& frame, double spacing, double inset, int64_t room,
             Rows& rows)
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
        if (a.y != b.y)
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
            rows.spans.push_back({xa, xb, crossings[i].second, crossings[i + 1].second, row, false});
        }
        if (static_cast<int64_t>(rows.spans.size()) * 2 > room)
            return false;
    }
    rows.first.push_back(rows.spans.size());
    return true;
}

struct LayerStyle {
    double spacing = 3.5;
    double comp = 0;
    double evenLength = 0; // > 0: plain rows split evenly (underlay)
    const PatternRow* patternRows = nullptr;
    int patternRowCount = 0;
    double patternPeriod = 10; // the repeat across, in mark units (10 per character)
    double patternScale = 1;   // design units per mark unit
    int rowsPerPatternRow = 1;
    double gap = 6; // closest two penetrations of a row may be
};

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
    } else {
        const double grid = kFillStitch - gap;
        const double offset = static_cast<double>((row * 2) % 5) / 5.0 * grid;
        for (double j = std::ceil((lo + gap - offset) / grid); offset + j * grid < hi - gap; ++j)
            keep(offset + j * grid);
    }
    xs.push_back(hi);
    // Split what is still too long, evenly.
    std::vector<double> out;
    out.reserve(xs.size() * 2);
    out.push_back(xs.front());
    for (std::size_t i = 1; i < xs.size(); ++i) {
        const double a = xs[i - 1], b = xs[i];
        const double n = std::ceil((b - a) / kFillStitch - 1e-9);
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
};

void travel(const Outline& outline, const Position& from, int32_t edge, Vec boundary, Vec target,
            NeedleSink& sink)
{
    std::vector<Vec> points{from.point, from.boundary};
    outline.walk(from.edge, from.boundary, edge, boundary, points);
    points.push_back(target);
    const ArcPath path(std::move(points));
    const double n = std::max(1.0, std::ceil(path.length() / kTravelStitch - 1e-9));
    for (double k = 1; k < n && !sink.exhausted(); ++k)
        sink.needle(path.pointAt(path.length() * (k / n)));
    sink.edgeNeedle(target);
}

void stitchLayer(const Outline& outline, const Frame& frame, Rows& rows, const LayerStyle& style,
                 Position& pos, NeedleSink& sink)
{
    std::vector<double> xs;
    std::size_t scanRow = 0;
    const std::size_t rowCount = rows.y.size();
    while (!sink.exhausted()) {
        // The first span not yet stitched starts the next section.
        Span* span = nullptr;
        for (; scanRow < rowCount && !span; ++scanRow)
            for (std::size_t i = rows.first[scanRow]; i < rows.first[scanRow + 1] && !span; ++i)
                if (!rows.spans[i].used)
                    span = &rows.spans[i];
        if (!span)
            return;
        --scanRow; // the row may hold more unstitched spans

        int dir = 1;
        if (pos.valid) {
            const double y = rows.y[static_cast<std::size_t>(span->row)];
            const double toA = length(frame.toDesign(span->boundaryA + rows.inset, y) - pos.point);
            const double toB = length(frame.toDesign(span->boundaryB - rows.inset, y) - pos.point);
            dir = toA <= toB ? 1 : -1;
        }
        while (span && !sink.exhausted()) {
            span->used = true;
            const std::size_t row = static_cast<std::size_t>(span->row);
            const double y = rows.y[row];
            double lo = span->boundaryA + rows.inset - style.comp / 2;
            double hi = span->boundaryB - rows.inset + style.comp / 2;
            if (hi < lo)
                lo = hi = (lo + hi) / 2;
            rowPoints(lo, hi, static_cast<long>(row), style, xs);
            if (dir < 0)
                std::reverse(xs.begin(), xs.end());
            const int32_t startEdge = dir > 0 ? span->edgeA : span->edgeB;
            const int32_t endEdge = dir > 0 ? span->edgeB : span->edgeA;
            const Vec startBoundary = frame.toDesign(dir > 0 ? span->boundaryA : span->boundaryB, y);
            const Vec endBoundary = frame.toDesign(dir > 0 ? span->boundaryB : span->boundaryA, y);
            const Vec first = frame.toDesign(xs.front(), y);
            if (pos.valid)
                travel(outline, pos, startEdge, startBoundary, first, sink);
            else
                sink.edgeNeedle(first);
            for (std::size_t i = 1; i < xs.size(); ++i)
                sink.needle(frame.toDesign(xs[i], y));
            pos = {true, frame.toDesign(xs.back(), y), endEdge, endBoundary};
            dir = -dir;

            // Continue into the next row with an unstitched span overlapping this one.
            const double a = span->boundaryA, b = span->boundaryB;
            span = nullptr;
            if (row + 1 < rowCount)
                for (std::size_t i = rows.first[row + 1]; i < rows.first[row + 2] && !span; ++i)
                    if (!rows.spans[i].used && rows.spans[i].boundaryA < b && rows.spans[i].boundaryB > a)
                        span = &rows.spans[i];
        }
    }
}

} // namespace

void stitchFill(const FillSpec& shape, NeedleSink& sink)
{
    if (shape.outline.size() < 3)
        return;
    const Outline outline(shape.outline);
    // Never so wide that the tatami grid (kFillStitch - gap) collapses.
    const double gap = std::clamp(shape.shortest, 6.0, 12.0);
    Position pos;

    if (shape.underLength > 0) {
        const Frame frame(shape.angle + 90);
        LayerStyle style;
        style.spacing = std::max(6 * shape.spacing, 20.0);
        style.evenLength = shape.underLength;
        style.gap = gap;
        Rows rows;
        if (!cutRows(shape.outline, frame, style.spacing, shape.underInset, sink.room(), rows)) {
            sink.markOverflow();
            return;
        }
        stitchLayer(outline, frame, rows, style, pos, sink);
    }
    if (!shape.topLayer || sink.exhausted())
        return;

    const Frame frame(shape.angle);
    LayerStyle style;
    style.spacing = shape.spacing;
    style.comp = shape.comp;
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
    if (!cutRows(shape.outline, frame, shape.spacing, 0, sink.room(), rows)) {
        sink.markOverflow();
        return;
    }
    stitchLayer(outline, frame, rows, style, pos, sink);
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
bool addLayerFloor(const FillSpec& shape, double angle, double spacing, double inset, double widen,
                   double longest, int64_t limit, RecordFloor& floor)
{
    Rows rows;
    if (!cutRows(shape.outline, Frame(angle), spacing, inset, limit, rows))
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
    if (shape.underLength > 0 && !addLayerFloor(shape, shape.angle + 90, std::max(6 * shape.spacing, 20.0),
                                                shape.underInset, 0, shape.underLength, limit, floor))
        return limit + 1;
    if (shape.topLayer &&
        !addLayerFloor(shape, shape.angle, shape.spacing, 0, shape.comp, kFillStitch, limit, floor))
        return limit + 1;
    // The tie-in may leave the needle anywhere before the first row: no row
    // can be sure of its count, so the largest is left out.
    return floor.total - floor.largest;
}

} // namespace kelvara::stitch
