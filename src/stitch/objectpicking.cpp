#include "stitch/objectpicking.h"

#include "model/box.h"
#include "model/kinds/kind.h"
#include "model/pathgeometry.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

constexpr double kPi = 3.14159265358979323846;
constexpr int kEllipseSamples = 96;

// The ellipse, or for a STAR with an arc the slice from the centre.
std::vector<Vec> ellipseOutline(Vec centre, double rx, double ry, double start, double sweep)
{
    std::vector<Vec> points;
    const bool whole = sweep <= 0 || sweep >= 360;
    if (!whole)
        points.push_back(centre);
    const double span = whole ? 360 : sweep;
    const int last = whole ? kEllipseSamples - 1 : kEllipseSamples;
    for (int i = 0; i <= last; ++i) {
        const double a = (start + span * i / kEllipseSamples) * kPi / 180;
        points.push_back({centre.x + rx * std::cos(a), centre.y - ry * std::sin(a)});
    }
    return points;
}

namespace {

using Shape = PickShape;

const ObjectParams* liveParams(const ObjectEntry& entry, const RecordStore& records)
{
    if (!recordSizeFits(entry.kind, entry.paramsSize) || !records.isLive(entry.params))
        return nullptr;
    return &records[entry.params];
}

void addEdgeHull(GeometryBox& box, const BezierEdge& e)
{
    box.add(e.x1, e.y1);
    box.add(e.x2, e.y2);
    if (e.straight == 0) {
        box.add(e.xc1, e.yc1);
        box.add(e.xc2, e.yc2);
    }
}

// A box that surely holds the object (a curve lies inside its control
// polygon), cheap enough to test every object of a design against.
GeometryBox roughBox(int32_t kind, const ObjectParams& p)
{
    GeometryBox box;
    const KindRow& row = *kindRow(kind);
    const KindEdges edges = kindEdges(row, p);
    for (int i = 0; i < edges.count; ++i)
        addEdgeHull(box, *edges.at[i]);
    if (const PathData* path = kindPath(row, p))
        for (const BezierEdge& e : pathEdges(*path))
            addEdgeHull(box, e);
    if (row.widths)
        box = box.grown(widerHalfWidth(row, p));
    if (const KindEllipse e = kindEllipse(row, p); e.x != nullptr) {
        const double rx = std::abs(double(*e.rx)), ry = std::abs(double(*e.ry));
        box.add(*e.x - rx, *e.y - ry);
        box.add(*e.x + rx, *e.y + ry);
    }
    if (row.storedOutline)
        for (const HullPoint& h : row.storedOutline(p))
            box.add(h.x, h.y);
    // A kind with its own picking shape (lettering) may reach past its parts.
    if (row.pickShape)
        for (const Vec& point : row.pickShape(p).points)
            box.add(point.x, point.y);
    return box;
}

bool finiteEdges(int32_t kind, const ObjectParams& p)
{
    const KindEdges edges = kindEdges(*kindRow(kind), p);
    for (int i = 0; i < edges.count; ++i)
        if (!isFinite(*edges.at[i]))
            return false;
    return true;
}

// Edge A, then edge B from the end nearer A's end, so the two edges and the
// rungs joining their ends bound the area without crossing.
std::vector<Vec> twoEdgeOutline(const BezierEdge& a, const BezierEdge& b)
{
    std::vector<Vec> points = flattenEdge(a);
    std::vector<Vec> other = flattenEdge(b);
    const Vec a0{a.x1, a.y1}, a1{a.x2, a.y2}, b0{b.x1, b.y1}, b1{b.x2, b.y2};
    if (length(a0 - b0) + length(a1 - b1) <= length(a0 - b1) + length(a1 - b0))
        std::reverse(other.begin(), other.end());
    points.insert(points.end(), other.begin(), other.end());
    return points;
}

Shape objectShape(int32_t kind, const ObjectParams& p)
{
    const KindRow& row = *kindRow(kind);
    if (row.pickShape)
        return row.pickShape(p);
    Shape shape;
    const KindEdges edges = kindEdges(row, p);
    if (edges.count == 2) {
        shape.points = twoEdgeOutline(*edges.at[0], *edges.at[1]);
        shape.closed = true;
    } else if (edges.count == 1) {
        shape.points = flattenEdge(*edges.at[0]);
        if (row.widths) {
            const KindWidths w = row.widths(const_cast<ObjectParams&>(p));
            shape.halfWidth0 = std::abs(double(*w.start)) / 2;
            shape.halfWidth1 = std::abs(double(*w.end)) / 2;
        }
    } else if (const KindEllipse e = kindEllipse(row, p); e.x != nullptr) {
        shape.points = ellipseOutline({double(*e.x), double(*e.y)}, std::abs(double(*e.rx)),
                                      std::abs(double(*e.ry)), 0, 360);
        shape.closed = true;
    }
    return shape;
}

// Distance from p to the segment a-b, and where along it (0..1) the
// nearest point lies.
double segmentDistance(Vec p, Vec a, Vec b, double& along)
{
    const Vec ab = b - a;
    const double len2 = dot(ab, ab);
    along = len2 > 1e-12 ? std::clamp(dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    return length(p - (a + ab * along));
}

// The pieces of a shape as [begin, end) ranges of its points.
std::vector<std::pair<std::size_t, std::size_t>> pieces(const Shape& shape)
{
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t begin = 0;
    for (std::size_t start : shape.pieceStarts) {
        if (start > begin && start <= shape.points.size())
            out.emplace_back(begin, start);
        begin = std::max(begin, start);
    }
    if (begin < shape.points.size())
        out.emplace_back(begin, shape.points.size());
    return out;
}

// Even-odd over every piece, so a piece inside another is a hole.
bool insidePolygon(const Shape& shape, Vec p)
{
    bool inside = false;
    for (const auto& [begin, end] : pieces(shape))
        for (std::size_t i = begin, j = end - 1; i < end; j = i++) {
            const Vec a = shape.points[i], b = shape.points[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
    return inside;
}

bool nearOutline(const Shape& shape, Vec p, double tolerance)
{
    double along = 0;
    for (const auto& [begin, end] : pieces(shape))
        for (std::size_t i = begin; i < end; ++i) {
            const std::size_t next = i + 1 < end ? i + 1 : begin;
            if (segmentDistance(p, shape.points[i], shape.points[next], along) <= tolerance)
                return true;
        }
    return false;
}

// An open line, whose column (STEIL) widens from one end to the other.
bool nearLine(const Shape& shape, std::size_t begin, std::size_t end, Vec p, double tolerance)
{
    const std::vector<Vec>& points = shape.points;
    double total = 0;
    for (std::size_t i = begin + 1; i < end; ++i)
        total += length(points[i] - points[i - 1]);
    double walked = 0;
    for (std::size_t i = begin + 1; i < end; ++i) {
        double along = 0;
        const double distance = segmentDistance(p, points[i - 1], points[i], along);
        const double piece = length(points[i] - points[i - 1]);
        const double t = total > 0 ? (walked + piece * along) / total : 0;
        if (distance <= tolerance + lerp(shape.halfWidth0, shape.halfWidth1, t))
            return true;
        walked += piece;
    }
    return false;
}

bool shapeHolds(const Shape& shape, Vec p, double tolerance)
{
    const std::vector<Vec>& points = shape.points;
    if (points.empty())
        return false;
    if (points.size() == 1)
        return length(p - points[0]) <= tolerance;
    if (shape.closed)
        return insidePolygon(shape, p) || nearOutline(shape, p, tolerance);
    for (const auto& [begin, end] : pieces(shape))
        if (nearLine(shape, begin, end, p, tolerance))
            return true;
    return false;
}

GeometryBox shapeExtent(const Shape& shape)
{
    GeometryBox box;
    for (const Vec& p : shape.points)
        box.add(p.x, p.y);
    if (!box.empty())
        box = box.grown(std::max(shape.halfWidth0, shape.halfWidth1));
    return box;
}

} // namespace

int32_t objectAt(const ObjectTable& table, const RecordStore& records, Vec at, double tolerance)
{
    int32_t found = -1;
    for (int32_t row : DisplayOrder(table)) {
        const ObjectEntry& entry = table.rows[row];
        const ObjectParams* params = liveParams(entry, records);
        if (params == nullptr || !roughBox(entry.kind, *params).grown(tolerance).contains(at.x, at.y))
            continue;
        if (finiteEdges(entry.kind, *params) && shapeHolds(objectShape(entry.kind, *params), at, tolerance))
            found = row;
    }
    return found;
}

std::vector<int32_t> objectsInBox(const ObjectTable& table, const RecordStore& records, Vec corner1,
                                  Vec corner2)
{
    const GeometryBox area{std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y),
                           std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y)};
    std::vector<int32_t> rows;
    for (int32_t row : DisplayOrder(table)) {
        const ObjectEntry& entry = table.rows[row];
        const ObjectParams* params = liveParams(entry, records);
        if (params == nullptr || !finiteEdges(entry.kind, *params))
            continue;
        const GeometryBox rough = roughBox(entry.kind, *params);
        if (!area.intersects(rough))
            continue;
        // A curve bulges less far than its control points: only a box that
        // cuts the rough one needs the outline itself.
        if (area.contains(rough) || area.contains(shapeExtent(objectShape(entry.kind, *params))))
            rows.push_back(row);
    }
    return rows;
}

Vec shiftAnchor(const ObjectHandles& handles, const ObjectHandle& handle, Vec pressedAt)
{
    HandlePoint anchor = HandlePoint::Centre;
    switch (handle.point) {
    case HandlePoint::Start:
    case HandlePoint::Control2:
        anchor = HandlePoint::End;
        break;
    case HandlePoint::End:
    case HandlePoint::Control1:
        anchor = HandlePoint::Start;
        break;
    case HandlePoint::RadiusX:
    case HandlePoint::RadiusY:
        anchor = HandlePoint::Centre;
        break;
    case HandlePoint::Centre:
        return pressedAt;
    }
    for (const ObjectHandle& other : handles)
        if (other.edge == handle.edge && other.segment == handle.segment && other.point == anchor)
            return {other.x, other.y};
    return pressedAt;
}

} // namespace kelvara::stitch
