// The centre lines of a glyph's strokes, from the glyph drawn into pixels
// and thinned to lines one pixel wide (Zhang and Suen). Thinning leaves a
// short spur into many corners; a spur no longer than the stroke is wide at
// its junction lies within the stroke and is pruned. Thinning also stops
// half a stroke short of a stroke's end, so each free end is carried on
// along its direction to the outline.
#include "stitch/lettercentres.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <set>

namespace kelvara::stitch {

namespace {

// A raster larger than this is drawn with coarser pixels: a glyph needs no
// more to find its strokes, and a huge one must not cost more.
constexpr double kMostPixels = 400.0 * 400.0;
// A spur shorter than this many times the half width at its junction is a
// corner of the thinning, not a stroke.
constexpr double kSpurRatio = 1.3;
// Centre lines keep within this of the thinned pixels' line.
constexpr double kSimplest = 0.6;

double squaredSegmentDistance(Vec p, Vec a, Vec b)
{
    const Vec ab = b - a;
    const double len2 = dot(ab, ab);
    const double t = len2 > 0 ? std::clamp(dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    const Vec d = p - (a + ab * t);
    return dot(d, d);
}

double segmentDistance(Vec p, Vec a, Vec b)
{
    return std::sqrt(squaredSegmentDistance(p, a, b));
}

// How far a ray from `from` along unit `dir` goes before it meets the
// outline; `limit` when it meets none sooner.
double rayDistance(const std::vector<std::vector<Vec>>& rings, Vec from, Vec dir, double limit)
{
    double best = limit;
    for (const auto& ring : rings)
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Vec a = ring[j], e = ring[i] - ring[j];
            const double den = dir.x * e.y - dir.y * e.x;
            if (std::abs(den) < 1e-12)
                continue;
            const Vec w = a - from;
            const double t = (w.x * e.y - w.y * e.x) / den;
            const double u = (w.x * dir.y - w.y * dir.x) / den;
            if (t > 0 && t < best && u >= 0 && u <= 1)
                best = t;
        }
    return best;
}

double lineLength(const std::vector<Vec>& line)
{
    double s = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
        s += length(line[i] - line[i - 1]);
    return s;
}

// Neighbours in the order N, NE, E, SE, S, SW, W, NW.
constexpr std::array<int, 8> kDx{0, 1, 1, 1, 0, -1, -1, -1};
constexpr std::array<int, 8> kDy{-1, -1, 0, 1, 1, 1, 0, -1};

struct Thinned {
    int w = 0, h = 0;
    std::vector<uint8_t> on;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && on[std::size_t(y * w + x)] != 0; }
    std::array<bool, 8> around(int x, int y) const
    {
        std::array<bool, 8> n{};
        for (int k = 0; k < 8; ++k)
            n[std::size_t(k)] = at(x + kDx[std::size_t(k)], y + kDy[std::size_t(k)]);
        return n;
    }
    int count(int x, int y) const
    {
        const auto n = around(x, y);
        return int(std::count(n.begin(), n.end(), true));
    }
};

void thin(Thinned& t)
{
    std::vector<int> doomed;
    for (bool changed = true; changed;) {
        changed = false;
        for (int pass = 0; pass < 2; ++pass) {
            doomed.clear();
            for (int y = 0; y < t.h; ++y)
                for (int x = 0; x < t.w; ++x) {
                    if (!t.at(x, y))
                        continue;
                    const auto n = t.around(x, y);
                    const int b = int(std::count(n.begin(), n.end(), true));
                    if (b < 2 || b > 6)
                        continue;
                    int a = 0;
                    for (int k = 0; k < 8; ++k)
                        a += !n[std::size_t(k)] && n[std::size_t((k + 1) % 8)];
                    if (a != 1)
                        continue;
                    const bool N = n[0], E = n[2], S = n[4], W = n[6];
                    if (pass == 0 ? (N && E && S) || (E && S && W) : (N && E && W) || (N && S && W))
                        continue;
                    doomed.push_back(y * t.w + x);
                }
            for (int i : doomed)
                t.on[std::size_t(i)] = 0;
            changed = changed || !doomed.empty();
        }
    }
    // A staircase pixel whose two neighbours touch each other is left out,
    // so every pixel along a line has exactly two neighbours.
    for (int y = 0; y < t.h; ++y)
        for (int x = 0; x < t.w; ++x) {
            if (!t.at(x, y))
                continue;
            const auto n = t.around(x, y);
            for (int k = 0; k < 8; k += 2) {
                const auto is = [&](int d) { return n[std::size_t((k + d) % 8)]; };
                // Two sides a quarter apart set; the opposite sides and the
                // corner between them clear.
                if (is(0) && is(2) && !is(4) && !is(6) && !is(5)) {
                    t.on[std::size_t(y * t.w + x)] = 0;
                    break;
                }
            }
        }
}

struct Graph {
    std::vector<Vec> nodes;
    std::vector<CentreEdge> edges;
    std::vector<bool> gone;
};

// Traces the thinned pixels into edges between clusters of junction pixels
// and ends; a ring without either gets a node of its own.
Graph trace(const Thinned& t, const GlyphRaster& r)
{
    const int w = t.w;
    const auto centre = [&](int i) { return Vec{r.left + (i % w + 0.5) * r.pixel, r.top + (i / w + 0.5) * r.pixel}; };
    std::vector<int> cluster(t.on.size(), -1);
    std::vector<uint8_t> walked(t.on.size(), 0);
    Graph g;
    std::vector<std::vector<int>> members;
    const auto isNode = [&](int i) { return cluster[std::size_t(i)] >= 0; };
    // Junction pixels that touch form one node; each end is a node.
    for (int i = 0; i < int(t.on.size()); ++i) {
        if (!t.on[std::size_t(i)] || cluster[std::size_t(i)] >= 0)
            continue;
        const int c = t.count(i % w, i / w);
        if (c == 2 || c == 0)
            continue;
        const int id = int(members.size());
        members.push_back({i});
        cluster[std::size_t(i)] = id;
        for (std::size_t k = 0; k < members.back().size() && c >= 3; ++k) {
            const int p = members.back()[k];
            for (int d = 0; d < 8; ++d) {
                const int x = p % w + kDx[std::size_t(d)], y = p / w + kDy[std::size_t(d)];
                if (t.at(x, y) && cluster[std::size_t(y * w + x)] < 0 && t.count(x, y) >= 3) {
                    cluster[std::size_t(y * w + x)] = id;
                    members.back().push_back(y * w + x);
                }
            }
        }
    }
    const auto addNode = [&](const std::vector<int>& pixels) {
        Vec sum{};
        for (int p : pixels)
            sum = sum + centre(p);
        g.nodes.push_back(sum * (1.0 / double(pixels.size())));
    };
    for (const auto& m : members)
        addNode(m);
    std::set<std::pair<int, int>> direct;
    const auto walkFrom = [&](int start, int first) {
        const int from = cluster[std::size_t(start)];
        std::vector<Vec> line{g.nodes[std::size_t(from)]};
        int prev = start, cur = first;
        while (!isNode(cur)) {
            walked[std::size_t(cur)] = 1;
            line.push_back(centre(cur));
            int next = -1;
            for (int d = 0; d < 8 && next < 0; ++d) {
                const int x = cur % w + kDx[std::size_t(d)], y = cur / w + kDy[std::size_t(d)];
                const int q = y * w + x;
                if (t.at(x, y) && q != prev && isNode(q) && (cluster[std::size_t(q)] != from || line.size() > 2))
                    next = q;
            }
            for (int d = 0; d < 8 && next < 0; ++d) {
                const int x = cur % w + kDx[std::size_t(d)], y = cur / w + kDy[std::size_t(d)];
                if (t.at(x, y) && !walked[std::size_t(y * w + x)] && !isNode(y * w + x))
                    next = y * w + x;
            }
            if (next < 0) {
                // A dead end thinning left without an end pixel.
                cluster[std::size_t(cur)] = int(g.nodes.size());
                g.nodes.push_back(centre(cur));
                line.pop_back();
                break;
            }
            prev = cur;
            cur = next;
        }
        const int to = cluster[std::size_t(cur)];
        line.push_back(g.nodes[std::size_t(to)]);
        g.edges.push_back({from, to, std::move(line), {}});
    };
    const auto walkAll = [&](int p) {
        for (int d = 0; d < 8; ++d) {
            const int x = p % w + kDx[std::size_t(d)], y = p / w + kDy[std::size_t(d)];
            const int q = y * w + x;
            if (!t.at(x, y) || cluster[std::size_t(q)] == cluster[std::size_t(p)])
                continue;
            if (isNode(q)) {
                const auto key = std::minmax(cluster[std::size_t(p)], cluster[std::size_t(q)]);
                if (direct.insert(key).second)
                    g.edges.push_back({cluster[std::size_t(p)], cluster[std::size_t(q)],
                                       {g.nodes[std::size_t(cluster[std::size_t(p)])], g.nodes[std::size_t(cluster[std::size_t(q)])]},
                                       {}});
            } else if (!walked[std::size_t(q)]) {
                walkFrom(p, q);
            }
        }
    };
    for (std::size_t m = 0; m < members.size(); ++m)
        for (int p : members[m])
            walkAll(p);
    for (int i = 0; i < int(t.on.size()); ++i)
        if (t.on[std::size_t(i)] && !walked[std::size_t(i)] && !isNode(i) && t.count(i % w, i / w) == 2) {
            cluster[std::size_t(i)] = int(g.nodes.size());
            addNode({i});
            walkAll(i);
        }
    g.gone.assign(g.edges.size(), false);
    return g;
}

// Pixel steps smoothed by a short running mean, the ends kept.
void smooth(std::vector<Vec>& line)
{
    if (line.size() < 5)
        return;
    const std::vector<Vec> was = line;
    for (std::size_t i = 2; i + 2 < was.size(); ++i)
        line[i] = (was[i - 2] + was[i - 1] + was[i] + was[i + 1] + was[i + 2]) * 0.2;
}

// The fewest points that keep within `tolerance` of the line (Douglas and
// Peucker): a path of whole units along pixel steps would turn its satin's
// rungs to and fro.
void simplify(std::vector<Vec>& line, double tolerance)
{
    if (line.size() < 3)
        return;
    std::vector<bool> keep(line.size(), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, line.size() - 1}};
    while (!spans.empty()) {
        const auto [a, b] = spans.back();
        spans.pop_back();
        double worst = 0;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i)
            if (const double d = segmentDistance(line[i], line[a], line[b]); d > worst) {
                worst = d;
                at = i;
            }
        if (worst > tolerance) {
            keep[at] = true;
            spans.push_back({a, at});
            spans.push_back({at, b});
        }
    }
    std::vector<Vec> out;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (keep[i])
            out.push_back(line[i]);
    line = std::move(out);
}

std::vector<int> degrees(const Graph& g)
{
    std::vector<int> deg(g.nodes.size(), 0);
    for (std::size_t e = 0; e < g.edges.size(); ++e)
        if (!g.gone[e]) {
            ++deg[std::size_t(g.edges[e].from)];
            ++deg[std::size_t(g.edges[e].to)];
        }
    return deg;
}

bool pruneSpurs(Graph& g, const std::vector<std::vector<Vec>>& rings, double pixel)
{
    const std::vector<int> deg = degrees(g);
    bool any = false;
    for (std::size_t e = 0; e < g.edges.size(); ++e) {
        CentreEdge& edge = g.edges[e];
        if (g.gone[e] || edge.from == edge.to)
            continue;
        const int df = deg[std::size_t(edge.from)], dt = deg[std::size_t(edge.to)];
        if (!((df == 1 && dt >= 3) || (dt == 1 && df >= 3)))
            continue;
        const Vec junction = g.nodes[std::size_t(df == 1 ? edge.to : edge.from)];
        const double half = outlineDistance(rings, junction);
        if (lineLength(edge.line) < std::max(kSpurRatio * half, 2.5 * pixel)) {
            g.gone[e] = true;
            any = true;
        }
    }
    return any;
}

// Two edges meeting at a node of nothing else become one.
void mergeThrough(Graph& g)
{
    for (bool merged = true; merged;) {
        merged = false;
        const std::vector<int> deg = degrees(g);
        for (int n = 0; n < int(g.nodes.size()) && !merged; ++n) {
            if (deg[std::size_t(n)] != 2)
                continue;
            std::vector<std::size_t> at;
            for (std::size_t e = 0; e < g.edges.size(); ++e)
                if (!g.gone[e] && (g.edges[e].from == n || g.edges[e].to == n))
                    at.push_back(e);
            if (at.size() != 2)
                continue;
            CentreEdge a = g.edges[at[0]], b = g.edges[at[1]];
            if (a.to != n) {
                std::reverse(a.line.begin(), a.line.end());
                std::swap(a.from, a.to);
            }
            if (b.from != n) {
                std::reverse(b.line.begin(), b.line.end());
                std::swap(b.from, b.to);
            }
            a.line.insert(a.line.end(), b.line.begin() + 1, b.line.end());
            a.to = b.to;
            g.edges[at[0]] = std::move(a);
            g.gone[at[1]] = true;
            merged = true;
        }
    }
}

// A free end carried on along its direction to just inside the outline.
void reachEnd(std::vector<Vec>& line, bool atBack, const std::vector<std::vector<Vec>>& rings)
{
    if (line.size() < 2)
        return;
    if (!atBack)
        std::reverse(line.begin(), line.end());
    const Vec end = line.back();
    const double half = std::max(outlineDistance(rings, end), 0.5);
    // The direction over about a half width back, steadier than the last pixel.
    std::size_t k = line.size() - 1;
    while (k > 0 && length(end - line[k]) < half)
        --k;
    const Vec dir = unit(end - line[k], {0, 0});
    if (length(dir) > 0) {
        const double to = rayDistance(rings, end, dir, 4 * half);
        if (to < 4 * half && to > 1)
            line.push_back(end + dir * (to - 0.5));
    }
    if (!atBack)
        std::reverse(line.begin(), line.end());
}

} // namespace

double outlineDistance(const std::vector<std::vector<Vec>>& rings, Vec v)
{
    double best = 1e300;
    for (const auto& ring : rings)
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
            best = std::min(best, squaredSegmentDistance(v, ring[j], ring[i]));
    return std::sqrt(best);
}

GlyphRaster rasterGlyph(const std::vector<std::vector<Vec>>& rings, double pixel)
{
    GlyphRaster r;
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const auto& ring : rings)
        for (const Vec& v : ring) {
            left = std::min(left, v.x);
            right = std::max(right, v.x);
            top = std::min(top, v.y);
            bottom = std::max(bottom, v.y);
        }
    if (!(right > left && bottom > top))
        return r;
    pixel = std::max(pixel, std::sqrt((right - left) * (bottom - top) / kMostPixels));
    r.pixel = pixel;
    r.left = left - 2 * pixel;
    r.top = top - 2 * pixel;
    r.width = int(std::ceil((right - left) / pixel)) + 4;
    r.height = int(std::ceil((bottom - top) / pixel)) + 4;
    r.inside.assign(std::size_t(r.width) * std::size_t(r.height), 0);
    std::vector<double> xs;
    for (int y = 0; y < r.height; ++y) {
        const double yc = r.top + (y + 0.5) * pixel;
        xs.clear();
        for (const auto& ring : rings)
            for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                const Vec a = ring[j], b = ring[i];
                if ((a.y > yc) != (b.y > yc))
                    xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            const int x0 = std::max(0, int(std::ceil((xs[k] - r.left) / pixel - 0.5)));
            const int x1 = std::min(r.width - 1, int(std::floor((xs[k + 1] - r.left) / pixel - 0.5)));
            for (int x = x0; x <= x1; ++x)
                r.inside[std::size_t(y) * std::size_t(r.width) + std::size_t(x)] = 1;
        }
    }
    return r;
}

GlyphCentres centreLines(const std::vector<std::vector<Vec>>& rings, const GlyphRaster& raster)
{
    GlyphCentres out;
    if (raster.width == 0)
        return out;
    Thinned t{raster.width, raster.height, raster.inside};
    thin(t);
    Graph g = trace(t, raster);
    for (CentreEdge& e : g.edges) {
        smooth(e.line);
        simplify(e.line, std::max(kSimplest, 0.4 * raster.pixel));
    }
    for (int round = 0; round < 4 && pruneSpurs(g, rings, raster.pixel); ++round)
        mergeThrough(g);
    mergeThrough(g);
    const std::vector<int> deg = degrees(g);
    std::vector<int> renumber(g.nodes.size(), -1), junctionOf;
    for (std::size_t e = 0; e < g.edges.size(); ++e) {
        if (g.gone[e])
            continue;
        CentreEdge edge = std::move(g.edges[e]);
        if (edge.from != edge.to) {
            if (deg[std::size_t(edge.to)] == 1)
                reachEnd(edge.line, true, rings);
            if (deg[std::size_t(edge.from)] == 1)
                reachEnd(edge.line, false, rings);
        }
        const auto number = [&](int n, Vec at) {
            if (renumber[std::size_t(n)] < 0) {
                renumber[std::size_t(n)] = int(out.nodes.size());
                out.nodes.push_back(at);
                junctionOf.push_back(n);
            }
            return renumber[std::size_t(n)];
        };
        edge.from = number(edge.from, edge.line.front());
        edge.to = number(edge.to, edge.line.back());
        edge.width.reserve(edge.line.size());
        for (std::size_t i = 0; i < edge.line.size(); ++i) {
            double half = outlineDistance(rings, edge.line[i]);
            // A carried-on end sits at the outline: its width is the one
            // across the stroke there, never more than before it.
            if ((i == 0 || i + 1 == edge.line.size()) && edge.line.size() >= 2 && half < raster.pixel) {
                const Vec along = unit(edge.line[i == 0 ? 1 : i] - edge.line[i == 0 ? 0 : i - 1]);
                const double before = outlineDistance(rings, edge.line[i == 0 ? 1 : i - 1]);
                half = std::min({before, rayDistance(rings, edge.line[i], perp(along), before),
                                 rayDistance(rings, edge.line[i], perp(along) * -1, before)});
            }
            edge.width.push_back(2 * half);
        }
        // Within a junction the glyph is wider than either stroke: there the
        // column keeps the width of its own stroke.
        for (const bool atFrom : {true, false}) {
            const int node = atFrom ? edge.from : edge.to;
            const Vec centre = atFrom ? edge.line.front() : edge.line.back();
            if (node < 0 || deg[std::size_t(junctionOf[std::size_t(node)])] < 3)
                continue;
            const double reach = outlineDistance(rings, centre);
            const std::size_t n = edge.line.size();
            std::size_t k = 0;
            while (k < n && length(edge.line[atFrom ? k : n - 1 - k] - centre) < reach)
                ++k;
            if (k >= n)
                continue;
            const double own = edge.width[atFrom ? k : n - 1 - k];
            for (std::size_t i = 0; i < k; ++i)
                edge.width[atFrom ? i : n - 1 - i] = std::min(edge.width[atFrom ? i : n - 1 - i], own);
        }
        out.edges.push_back(std::move(edge));
    }
    return out;
}

} // namespace kelvara::stitch
