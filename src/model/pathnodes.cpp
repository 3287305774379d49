#include "model/pathnodes.h"

#include <cmath>

namespace kelvara {

namespace {

bool isCorner(const PathNode& n)
{
    return n.in == n.at && n.out == n.at;
}

struct Point {
    double x, y;
};

Point lerp(Point a, Point b, double t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

Point of(PathPoint p)
{
    return {double(p.x), double(p.y)};
}

PathPoint rounded(Point p)
{
    return {static_cast<int32_t>(std::lround(p.x)), static_cast<int32_t>(std::lround(p.y))};
}

double distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

Point cubicAt(Point p0, Point p1, Point p2, Point p3, double t)
{
    const Point a = lerp(p0, p1, t), b = lerp(p1, p2, t), c = lerp(p2, p3, t);
    return lerp(lerp(a, b, t), lerp(b, c, t), t);
}

} // namespace

std::vector<PathNode> nodesOf(const SubPath& sub)
{
    std::vector<PathNode> nodes;
    nodes.reserve(sub.segments.size() + 1);
    nodes.push_back({sub.start, sub.start, sub.start});
    for (const PathSegment& seg : sub.segments) {
        if (seg.cubic)
            nodes.back().out = seg.c1;
        nodes.push_back({seg.to, seg.cubic ? seg.c2 : seg.to, seg.to});
    }
    // A closed sub-path that comes back onto its start: the last node is
    // the first, its incoming tangent the first node's.
    if (sub.closed && nodes.size() > 1 && nodes.back().at == sub.start) {
        nodes.front().in = nodes.back().in;
        nodes.pop_back();
    }
    return nodes;
}

SubPath subPathOf(const std::vector<PathNode>& nodes, bool closed)
{
    SubPath sub;
    sub.closed = closed;
    if (nodes.empty())
        return sub;
    sub.start = nodes.front().at;
    const auto segment = [](const PathNode& from, const PathNode& to) {
        PathSegment seg;
        seg.to = to.at;
        seg.cubic = !(from.out == from.at && to.in == to.at);
        if (seg.cubic) {
            seg.c1 = from.out;
            seg.c2 = to.in;
        }
        return seg;
    };
    for (std::size_t i = 1; i < nodes.size(); ++i)
        sub.segments.push_back(segment(nodes[i - 1], nodes[i]));
    if (closed) {
        // A straight way back is the Z itself; a curved one is a segment.
        const PathSegment back = segment(nodes.back(), nodes.front());
        if (back.cubic)
            sub.segments.push_back(back);
    }
    return sub;
}

bool locateNode(const PathData& path, int32_t segment, int point, std::size_t& sub, std::size_t& node)
{
    if (segment < 0 || point < 0 || point > 1)
        return false;
    std::size_t left = static_cast<std::size_t>(segment);
    for (std::size_t s = 0; s < path.subpaths.size(); ++s) {
        const std::size_t count = nodesOf(path.subpaths[s]).size();
        const bool closed = path.subpaths[s].closed;
        // A closed sub-path has one segment per node, an open one one fewer.
        const std::size_t segments = closed ? count : count - 1;
        if (left >= segments) {
            left -= segments;
            continue;
        }
        sub = s;
        node = (left + static_cast<std::size_t>(point)) % count;
        return true;
    }
    return false;
}

bool deleteNode(PathData& path, std::size_t sub, std::size_t node)
{
    if (sub >= path.subpaths.size())
        return false;
    SubPath& s = path.subpaths[sub];
    std::vector<PathNode> nodes = nodesOf(s);
    if (node >= nodes.size() || nodes.size() <= (s.closed ? 3u : 2u))
        return false;
    nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(node));
    s = subPathOf(nodes, s.closed);
    return true;
}

bool switchNode(PathData& path, std::size_t sub, std::size_t node)
{
    if (sub >= path.subpaths.size())
        return false;
    SubPath& s = path.subpaths[sub];
    std::vector<PathNode> nodes = nodesOf(s);
    if (node >= nodes.size() || nodes.size() < 2)
        return false;
    PathNode& n = nodes[node];
    if (!isCorner(n)) {
        n.in = n.out = n.at;
    } else {
        const std::size_t count = nodes.size();
        const bool first = node == 0, last = node + 1 == count;
        const PathNode& prev = first ? (s.closed ? nodes[count - 1] : n) : nodes[node - 1];
        const PathNode& next = last ? (s.closed ? nodes[0] : n) : nodes[node + 1];
        // The tangent runs along the neighbours' line, a third of the way
        // to each, as a curve drawn through them would.
        const Point dir{double(next.at.x - prev.at.x), double(next.at.y - prev.at.y)};
        const double length = std::hypot(dir.x, dir.y);
        if (length == 0)
            return false;
        const double before = distance(of(prev.at), of(n.at)) / 3, after = distance(of(next.at), of(n.at)) / 3;
        n.in = rounded({n.at.x - dir.x / length * before, n.at.y - dir.y / length * before});
        n.out = rounded({n.at.x + dir.x / length * after, n.at.y + dir.y / length * after});
    }
    s = subPathOf(nodes, s.closed);
    return true;
}

bool insertNodeAt(PathData& path, double x, double y, double tolerance)
{
    constexpr int kSamples = 64;
    const Point p{x, y};
    double best = tolerance;
    std::size_t bestSub = 0, bestNode = 0;
    double bestT = -1;
    for (std::size_t s = 0; s < path.subpaths.size(); ++s) {
        const std::vector<PathNode> nodes = nodesOf(path.subpaths[s]);
        const std::size_t segments = path.subpaths[s].closed ? nodes.size() : nodes.size() - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const PathNode& a = nodes[i];
            const PathNode& b = nodes[(i + 1) % nodes.size()];
            for (int k = 1; k < kSamples; ++k) {
                const double t = double(k) / kSamples;
                const double d = distance(p, cubicAt(of(a.at), of(a.out), of(b.in), of(b.at), t));
                if (d <= best) {
                    best = d;
                    bestSub = s, bestNode = i, bestT = t;
                }
            }
        }
    }
    if (bestT < 0 || path.nodeCount() >= kMostPathNodes)
        return false;
    SubPath& s = path.subpaths[bestSub];
    std::vector<PathNode> nodes = nodesOf(s);
    PathNode& a = nodes[bestNode];
    PathNode& b = nodes[(bestNode + 1) % nodes.size()];
    // De Casteljau's split keeps the curve's shape on both sides.
    const Point p0 = of(a.at), p1 = of(a.out), p2 = of(b.in), p3 = of(b.at);
    const Point q1 = lerp(p0, p1, bestT), mid = lerp(p1, p2, bestT), r2 = lerp(p2, p3, bestT);
    const Point q2 = lerp(q1, mid, bestT), r1 = lerp(mid, r2, bestT);
    const Point at = lerp(q2, r1, bestT);
    const bool straight = a.out == a.at && b.in == b.at;
    PathNode added{rounded(at), rounded(at), rounded(at)};
    if (!straight) {
        a.out = rounded(q1);
        b.in = rounded(r2);
        added.in = rounded(q2);
        added.out = rounded(r1);
    }
    nodes.insert(nodes.begin() + static_cast<std::ptrdiff_t>(bestNode + 1), added);
    s = subPathOf(nodes, s.closed);
    return true;
}

} // namespace kelvara
