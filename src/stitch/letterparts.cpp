// A glyph's centre lines as satin columns in one path, and its wide or
// hard parts as shapes.
#include "stitch/letterparts.h"

#include "stitch/fillborders.h"
#include "stitch/lettercentres.h"

#include "shell/settings.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kelvara::stitch {

namespace {

// Strokes wider than this are filled, with a satin edge of kEdgeWidth.
constexpr double kWidestColumn = 70;
constexpr double kEdgeWidth = 15;
// A column never narrower than this, so the thinnest strokes of small text
// still sew.
constexpr double kNarrowestColumn = 10;
// The most a narrow stroke's column reaches past each of its sides, so a
// hairline beside a counter does not cover it.
constexpr double kMostWidened = 2.5;

double sewnWidth(double w)
{
    return std::max(w, std::min(kNarrowestColumn, w + 2 * kMostWidened));
}

// A column's width may stray this far from a straight taper before it is
// cut into two columns (and never less than kWidthTolerance units).
constexpr double kWidthShare = 0.15;
constexpr double kWidthTolerance = 3;

// The fields every record shares with the lettering.
template <typename P> void copyShared(const LettersParams& p, P& out)
{
    out.SDENS = p.SDENS;
    out.SCOMP = p.SCOMP;
    out.TDENS = p.TDENS;
    out.TCOMP = p.TCOMP;
    out.PATTERN = p.PATTERN;
    out.MOTIVE = p.MOTIVE;
    out.TIEIN = p.TIEIN;
    out.TIEOUT = p.TIEOUT;
    out.TRIM = 0;
    out.colour = p.colour;
    out.REPEAT = p.REPEAT;
}

LetterPart column(const LettersParams& p, const Settings& s, std::vector<Vec> line, double w0, double w1)
{
    LetterPart part;
    part.kind = KindStroke;
    StrokeParams& k = part.params.stroke;
    copyShared(p, k);
    k.PATTERN = -1;
    k.MOTIVE = -1;
    k.LEN = s.STITCH;
    k.STYLE = 1;
    k.SWIDTH = int32_t(std::lround(sewnWidth(w0)));
    k.TWIDTH = int32_t(std::lround(sewnWidth(w1)));
    k.TDENS = p.SDENS;
    // A column held to the narrowest width already reaches past its stroke.
    k.SCOMP = w0 < kNarrowestColumn ? 0 : p.SCOMP;
    k.TCOMP = w1 < kNarrowestColumn ? 0 : p.SCOMP;
    k.UNDER = p.UNDER;
    part.path = pathOf({std::move(line)}, false);
    return part;
}

LetterPart shape(const LettersParams& p, std::vector<std::vector<Vec>> rings, int32_t border, double edge)
{
    LetterPart part;
    part.kind = KindShape;
    ShapeParams& k = part.params.shape;
    copyShared(p, k);
    k.ZOOMX = p.ZOOMX;
    k.ZOOMY = p.ZOOMY;
    k.PUSHCOMP = p.PUSHCOMP;
    k.STITCHES = p.STITCHES;
    k.UNDER = p.UNDER;
    k.CIKCAK = p.CIKCAK;
    k.OFSUND = p.OFSUND;
    k.OFSCIK = p.OFSCIK;
    k.ANGLE = (p.ANGLE + p.TURN) % 360;
    k.BORDER = border;
    k.BWIDTH = int32_t(std::lround(edge));
    part.path = pathOf(rings, true);
    return part;
}

double signedArea(const std::vector<Vec>& v)
{
    double a = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        a += v[i].x * v[(i + 1) % v.size()].y - v[(i + 1) % v.size()].x * v[i].y;
    return a / 2;
}

// The rings moved in by half the satin edge, so the edge lies on the glyph;
// the rings as they are where one would turn inside out.
std::vector<std::vector<Vec>> insetRings(const std::vector<std::vector<Vec>>& rings)
{
    std::vector<std::vector<Vec>> out;
    for (const auto& closed : rings) {
        int around = 0;
        for (const auto& other : rings)
            around += &other != &closed && insideRing(closed.front(), other);
        // A ring that repeats its first point at its end has no direction there.
        std::vector<Vec> ring = closed;
        while (ring.size() > 3 && length(ring.back() - ring.front()) < 1e-9)
            ring.pop_back();
        // Which way is in depends on the way round the font draws the ring.
        const bool hole = around % 2 == 1;
        const double before = signedArea(ring);
        std::vector<Vec> moved;
        for (const double by : {kEdgeWidth / 2, -kEdgeWidth / 2}) {
            moved = offsetOutline(ring, std::vector<double>(ring.size(), by));
            const double after = signedArea(moved);
            if (after * before > 0 && (std::abs(after) > std::abs(before)) == hole)
                break;
            moved.clear();
        }
        if (moved.empty())
            return rings;
        out.push_back(std::move(moved));
    }
    return out;
}

double lineLength(const std::vector<Vec>& line, std::size_t from, std::size_t to)
{
    double s = 0;
    for (std::size_t i = from + 1; i <= to; ++i)
        s += length(line[i] - line[i - 1]);
    return s;
}

// The columns of one centre line, cut where its width strays from a
// straight taper, in the order of the line.
void columnsAlong(const LettersParams& p, const Settings& s, const std::vector<Vec>& line,
                  const std::vector<double>& width, std::size_t from, std::size_t to, std::vector<GlyphStep>& out)
{
    const double total = lineLength(line, from, to);
    double worst = 0, walked = 0;
    std::size_t cut = from;
    for (std::size_t i = from + 1; i < to; ++i) {
        walked += length(line[i] - line[i - 1]);
        const double straight = lerp(width[from], width[to], total > 0 ? walked / total : 0);
        const double miss = std::abs(sewnWidth(width[i]) - sewnWidth(straight));
        if (miss > worst) {
            worst = miss;
            cut = i;
        }
    }
    if (cut != from && worst > std::max(kWidthTolerance, kWidthShare * width[cut])) {
        columnsAlong(p, s, line, width, from, cut, out);
        columnsAlong(p, s, line, width, cut, to, out);
        return;
    }
    out.push_back({{}, column(p, s, std::vector<Vec>(line.begin() + std::ptrdiff_t(from), line.begin() + std::ptrdiff_t(to) + 1), width[from], width[to])});
}

// The walk over one connected part's centre lines.
class Walk {
public:
    Walk(const LettersParams& p, const Settings& s, const GlyphCentres& c, std::vector<GlyphStep>& out)
        : p_(p), s_(s), c_(c), used_(c.edges.size(), false), reserved_(c.edges.size(), false),
          seen_(c.nodes.size(), false), out_(out)
    {
    }

    void run(int start, int exit)
    {
        const std::vector<int> path = pathBetween(start, exit);
        for (int e : path)
            reserved_[std::size_t(e)] = true;
        int node = start;
        returning(node);
        for (int e : path) {
            used_[std::size_t(e)] = true;
            const int next = other(e, node);
            sew(e, c_.edges[std::size_t(e)].from != node);
            node = next;
            returning(node);
        }
    }

private:
    int other(int e, int node) const
    {
        const CentreEdge& edge = c_.edges[std::size_t(e)];
        return edge.from == node ? edge.to : edge.from;
    }

    // Every line at `node` not yet sewn: out under it, on from its far end,
    // and its column sewn back to `node`.
    void returning(int node)
    {
        seen_[std::size_t(node)] = true;
        for (int e = 0; e < int(c_.edges.size()); ++e) {
            const CentreEdge& edge = c_.edges[std::size_t(e)];
            if (used_[std::size_t(e)] || reserved_[std::size_t(e)] || (edge.from != node && edge.to != node))
                continue;
            used_[std::size_t(e)] = true;
            const int far = other(e, node);
            GlyphStep step;
            const bool backwards = edge.from != node;
            step.travel = edge.line;
            if (backwards)
                std::reverse(step.travel.begin(), step.travel.end());
            out_.push_back(std::move(step));
            if (!seen_[std::size_t(far)])
                returning(far);
            sew(e, !backwards);
        }
    }

    // The columns of edge `e`, from its `to` end when `backwards`.
    void sew(int e, bool backwards)
    {
        const CentreEdge& edge = c_.edges[std::size_t(e)];
        std::vector<Vec> line = edge.line;
        std::vector<double> width = edge.width;
        if (backwards) {
            std::reverse(line.begin(), line.end());
            std::reverse(width.begin(), width.end());
        }
        if (line.size() >= 2)
            columnsAlong(p_, s_, line, width, 0, line.size() - 1, out_);
    }

    std::vector<int> pathBetween(int start, int exit) const
    {
        std::vector<int> via(c_.nodes.size(), -1), queue{start};
        std::vector<bool> reached(c_.nodes.size(), false);
        reached[std::size_t(start)] = true;
        for (std::size_t k = 0; k < queue.size(); ++k)
            for (int e = 0; e < int(c_.edges.size()); ++e) {
                const CentreEdge& edge = c_.edges[std::size_t(e)];
                if (edge.from != queue[k] && edge.to != queue[k])
                    continue;
                const int n = other(e, queue[k]);
                if (!reached[std::size_t(n)]) {
                    reached[std::size_t(n)] = true;
                    via[std::size_t(n)] = e;
                    queue.push_back(n);
                }
            }
        std::vector<int> path;
        for (int n = exit; n != start && via[std::size_t(n)] >= 0; n = other(via[std::size_t(n)], n))
            path.push_back(via[std::size_t(n)]);
        std::reverse(path.begin(), path.end());
        return path;
    }

    const LettersParams& p_;
    const Settings& s_;
    const GlyphCentres& c_;
    std::vector<bool> used_, reserved_, seen_;
    std::vector<GlyphStep>& out_;
};

int find(std::vector<int>& parent, int n)
{
    while (parent[std::size_t(n)] != n)
        n = parent[std::size_t(n)] = parent[std::size_t(parent[std::size_t(n)])];
    return n;
}

double medianWidth(const CentreEdge& e)
{
    std::vector<double> w = e.width;
    if (w.empty())
        return 0;
    std::nth_element(w.begin(), w.begin() + std::ptrdiff_t(w.size() / 2), w.end());
    return w[w.size() / 2];
}

} // namespace

bool insideRing(Vec v, const std::vector<Vec>& ring)
{
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Vec a = ring[i], b = ring[j];
        if ((a.y > v.y) != (b.y > v.y) && v.x < (b.x - a.x) * (v.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

PathData pathOf(const std::vector<std::vector<Vec>>& rings, bool closed)
{
    PathData path;
    const auto whole = [](Vec v) { return PathPoint{int32_t(std::lround(v.x)), int32_t(std::lround(v.y))}; };
    for (const auto& ring : rings) {
        SubPath sub;
        sub.start = whole(ring.front());
        sub.closed = closed;
        for (std::size_t i = 1; i < ring.size(); ++i) {
            const PathPoint to = whole(ring[i]);
            const PathPoint last = sub.segments.empty() ? sub.start : sub.segments.back().to;
            if (!(to == last))
                sub.segments.push_back({false, {}, {}, to});
        }
        if (closed && !sub.segments.empty() && sub.segments.back().to == sub.start)
            sub.segments.pop_back();
        if (!sub.segments.empty())
            path.subpaths.push_back(std::move(sub));
    }
    return path;
}

std::vector<LetterPart> rowParts(const LettersParams& p, const Settings&, const std::vector<std::vector<Vec>>& rings)
{
    std::vector<LetterPart> out;
    for (const auto& ring : rings) {
        int around = 0;
        for (const auto& other : rings)
            around += &other != &ring && insideRing(ring.front(), other);
        if (around % 2 != 0)
            continue;
        std::vector<std::vector<Vec>> piece{ring};
        for (const auto& hole : rings)
            if (&hole != &ring && insideRing(hole.front(), ring)) {
                int holeAround = 0;
                for (const auto& other : rings)
                    holeAround += &other != &hole && insideRing(hole.front(), other);
                if (holeAround == around + 1)
                    piece.push_back(hole);
            }
        LetterPart part = shape(p, std::move(piece), 0, 0);
        part.rows = true;
        out.push_back(std::move(part));
    }
    return out;
}

std::vector<std::vector<GlyphStep>> centreLineSteps(const LettersParams& p, const Settings& s,
                                                    const std::vector<std::vector<Vec>>& rings,
                                                    const GlyphCentres& centres, Vec entry, Vec towards)
{
    std::vector<std::vector<GlyphStep>> out;
    bool wide = false;
    for (const CentreEdge& e : centres.edges)
        wide = wide || medianWidth(e) > kWidestColumn;
    if (wide) {
        out.push_back({{{}, shape(p, insetRings(rings), 2, kEdgeWidth)}});
        return out;
    }
    std::vector<int> parent(centres.nodes.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (const CentreEdge& e : centres.edges)
        parent[std::size_t(find(parent, e.from))] = find(parent, e.to);
    std::vector<bool> done(centres.nodes.size(), false);
    Vec at = entry;
    for (;;) {
        // The next part starts at the node nearest the needle.
        int start = -1;
        double best = 1e300;
        for (int n = 0; n < int(centres.nodes.size()); ++n)
            if (!done[std::size_t(find(parent, n))] && length(centres.nodes[std::size_t(n)] - at) < best) {
                best = length(centres.nodes[std::size_t(n)] - at);
                start = n;
            }
        if (start < 0)
            break;
        const int part = find(parent, start);
        done[std::size_t(part)] = true;
        bool anyEdge = false;
        int exit = start;
        best = 1e300;
        for (const CentreEdge& e : centres.edges)
            anyEdge = anyEdge || find(parent, e.from) == part;
        for (int n = 0; n < int(centres.nodes.size()); ++n)
            if (find(parent, n) == part && length(centres.nodes[std::size_t(n)] - towards) < best) {
                best = length(centres.nodes[std::size_t(n)] - towards);
                exit = n;
            }
        if (!anyEdge)
            continue;
        std::vector<GlyphStep> steps;
        Walk(p, s, centres, steps).run(start, exit);
        at = centres.nodes[std::size_t(exit)];
        out.push_back(std::move(steps));
    }
    return out;
}

} // namespace kelvara::stitch
