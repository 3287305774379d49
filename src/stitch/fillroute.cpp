// The order in which a fill's sections are sewn, and the travel between them.
//
// Travel runs inside the area through sections not yet sewn, so the rows
// sewn later cover it, and never over rows already sewn. That holds only if
// the sections still to sew stay connected to one another and to the needle:
// a section is therefore chosen only when sewing it leaves the rest in one
// piece and ends beside it. Among those, the one reached by the shortest
// travel goes first. The travel itself is the shortest path through the
// windows where consecutive rows overlap, pulled taut, kept a little inside
// the stitched rows and stepping off the sewn section straight into the next
// row. When the rest cannot be reached inside the area (an area in pieces),
// the path is left empty and the fill travels along the outline.
#include "stitch/fillroute.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace kelvara::stitch {

namespace {

constexpr double kFar = 1e15;           // cost of a section the needle cannot reach inside the area
constexpr double kTravelMargin = 2;     // how far travel keeps inside the stitched rows
constexpr std::size_t kCandidates = 16; // nearest choices checked for keeping the rest connected
// Beyond this many sections (only a forged or tangled outline has them) the
// ways under unsewn rows are not searched: each choice would search them all
// again, and the fill would take seconds. Sections are then taken nearest
// first and reached along the outline.
constexpr std::size_t kMostSearchedSections = 400;

// Appends the taut path from a through the windows (all on one side of a,
// in order of y) to b, without a itself.
template <typename Window> void pull(Vec a, const Window* w, std::size_t n, Vec b, std::vector<Vec>& out)
{
    std::size_t from = 0;
    for (;;) {
        double lo = -std::numeric_limits<double>::infinity(), hi = -lo;
        std::size_t loAt = n, hiAt = n;
        std::size_t corner = n + 1;
        double cornerSlope = 0;
        for (std::size_t k = from; k <= n; ++k) {
            const double y = k < n ? w[k].y : b.y;
            const double dy = y - a.y;
            if (std::abs(dy) < 1e-9)
                continue;
            double sl = ((k < n ? w[k].lo : b.x) - a.x) / dy, sh = ((k < n ? w[k].hi : b.x) - a.x) / dy;
            if (dy < 0)
                std::swap(sl, sh);
            if (sl > hi) {
                corner = hiAt, cornerSlope = hi;
                break;
            }
            if (sh < lo) {
                corner = loAt, cornerSlope = lo;
                break;
            }
            if (sl > lo)
                lo = sl, loAt = k;
            if (sh < hi)
                hi = sh, hiAt = k;
        }
        if (corner >= n) {
            out.push_back(b);
            return;
        }
        a = {a.x + cornerSlope * (w[corner].y - a.y), w[corner].y};
        out.push_back(a);
        from = corner + 1;
    }
}

} // namespace

FillRoute::FillRoute(const Rows& rows) : rows_(rows)
{
    const std::size_t rowCount = rows.y.size();
    std::vector<int32_t> sectionOf(rows.spans.size(), -1), below(rows.spans.size(), 0),
        above(rows.spans.size(), 0);
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    auto extent = [&](std::size_t i) {
        return std::pair{rows.spans[i].boundaryA + rows.inset, rows.spans[i].boundaryB - rows.inset};
    };
    auto open = [&](std::size_t span) {
        sectionOf[span] = static_cast<int32_t>(sections_.size());
        sections_.emplace_back();
    };
    for (std::size_t r = 0; r < rowCount; ++r) {
        for (std::size_t i = rows.first[r]; i < rows.first[r + 1]; ++i) {
            if (sectionOf[i] < 0)
                open(i);
            sections_[static_cast<std::size_t>(sectionOf[i])].spans.push_back(static_cast<int32_t>(i));
        }
        if (r + 1 >= rowCount)
            break;
        // Spans of this row and the next that overlap; both are in ascending x.
        pairs.clear();
        for (std::size_t i = rows.first[r], j = rows.first[r + 1];
             i < rows.first[r + 1] && j < rows.first[r + 2];) {
            const Span &a = rows.spans[i], &b = rows.spans[j];
            if (a.boundaryA < b.boundaryB && b.boundaryA < a.boundaryB) {
                pairs.push_back({i, j});
                ++below[i];
                ++above[j];
            }
            if (a.boundaryB < b.boundaryB)
                ++i;
            else
                ++j;
        }
        for (const auto& [i, j] : pairs)
            if (below[i] == 1 && above[j] == 1)
                sectionOf[j] = sectionOf[i];
        for (const auto& [i, j] : pairs) {
            if (below[i] == 1 && above[j] == 1)
                continue;
            if (sectionOf[j] < 0)
                open(j);
            const auto [alo, ahi] = extent(i);
            const auto [blo, bhi] = extent(j);
            double lo = std::max(alo, blo), hi = std::min(ahi, bhi);
            if (hi < lo)
                lo = hi = (lo + hi) / 2;
            const int32_t link = static_cast<int32_t>(links_.size());
            links_.push_back({sectionOf[i], sectionOf[j], lo, hi, (rows.y[r] + rows.y[r + 1]) / 2});
            sections_[static_cast<std::size_t>(sectionOf[i])].links.push_back(link);
            sections_[static_cast<std::size_t>(sectionOf[j])].links.push_back(link);
        }
    }
    sewn_.assign(sections_.size(), 0);
    unsewn_ = static_cast<int32_t>(sections_.size());
}

int32_t FillRoute::entered(int32_t node) const
{
    const Link& l = links_[static_cast<std::size_t>(node / 2)];
    return node % 2 == 0 ? l.lower : l.upper;
}

int32_t FillRoute::rowOf(int32_t section, bool top) const
{
    const auto& s = spans(section);
    return rows_.spans[static_cast<std::size_t>(top ? s.front() : s.back())].row;
}

Vec FillRoute::startOf(int32_t section, bool down, bool fromLow) const
{
    const Span& span =
        rows_.spans[static_cast<std::size_t>(down ? spans(section).front() : spans(section).back())];
    return {fromLow ? span.boundaryA + rows_.inset : span.boundaryB - rows_.inset,
            rows_.y[static_cast<std::size_t>(span.row)]};
}

// How many unsewn sections are reached from `start` without passing `without`.
int32_t FillRoute::reachFrom(int32_t start, int32_t without) const
{
    std::vector<char> seen(sections_.size(), 0);
    std::vector<int32_t> stack{start};
    seen[static_cast<std::size_t>(start)] = 1;
    int32_t count = 0;
    while (!stack.empty()) {
        const int32_t s = stack.back();
        stack.pop_back();
        ++count;
        for (int32_t l : sections_[static_cast<std::size_t>(s)].links) {
            const int32_t t = other(links_[static_cast<std::size_t>(l)], s);
            if (t != without && !sewn_[static_cast<std::size_t>(t)] && !seen[static_cast<std::size_t>(t)]) {
                seen[static_cast<std::size_t>(t)] = 1;
                stack.push_back(t);
            }
        }
    }
    return count;
}

// Whether sewing `section` that way leaves the unsewn sections around it in
// one piece and the needle beside them.
bool FillRoute::leavesTheRestReachable(int32_t section, bool down) const
{
    const int32_t piece = reachFrom(section, -1);
    if (piece == 1)
        return true;
    for (int32_t l : sections_[static_cast<std::size_t>(section)].links) {
        const Link& link = links_[static_cast<std::size_t>(l)];
        const int32_t t = other(link, section);
        const bool atEnd = down ? link.upper == section : link.lower == section;
        if (atEnd && !sewn_[static_cast<std::size_t>(t)])
            return reachFrom(t, section) == piece - 1;
    }
    return false;
}

bool FillRoute::next(const RouteFrom& from, RouteLeg& leg)
{
    if (unsewn_ == 0)
        return false;
    // A needle not at the end of a section (the start of a layer) is taken
    // to be in the nearest section.
    int32_t freeIn = -1;
    if (from.valid && from.section < 0) {
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t s = 0; s < sections_.size(); ++s)
            for (int32_t i : sections_[s].spans) {
                const Span& span = rows_.spans[static_cast<std::size_t>(i)];
                const double x = std::clamp(from.point.x, span.boundaryA, span.boundaryB);
                const double d = length(Vec{x, rows_.y[static_cast<std::size_t>(span.row)]} - from.point);
                if (d < best && !sewn_[s])
                    best = d, freeIn = static_cast<int32_t>(s);
            }
    }

    // Shortest ways through unsewn sections, by link crossed and the side
    // entered; `throughSewn` lets the way cross sewn sections too, for a
    // section no way under unsewn rows reaches (a fill with holes: travel
    // over sewn rows stays in the area, where the outline would not).
    const std::size_t nodes = links_.size() * 2;
    std::vector<double> dist;
    std::vector<int32_t> prev;
    const auto search = [&](bool throughSewn) {
        dist.assign(nodes, std::numeric_limits<double>::infinity());
        prev.assign(nodes, -1);
        using Item = std::pair<double, int32_t>;
        std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
        auto reach = [&](int32_t node, double d, int32_t before) {
            if ((throughSewn || !sewn_[static_cast<std::size_t>(entered(node))]) &&
                d < dist[static_cast<std::size_t>(node)]) {
                dist[static_cast<std::size_t>(node)] = d;
                prev[static_cast<std::size_t>(node)] = before;
                queue.push({d, node});
            }
        };
        if (from.valid) {
            const int32_t at = from.section >= 0 ? from.section : freeIn;
            if (at < 0)
                return;
            for (int32_t l : sections_[static_cast<std::size_t>(at)].links) {
                const Link& link = links_[static_cast<std::size_t>(l)];
                if (from.section >= 0 && (from.atBottom ? link.upper : link.lower) != at)
                    continue; // a sewn section is left only at its end
                reach(l * 2 + (link.upper == at ? 0 : 1), length(mid(link) - from.point), -1);
            }
        }
        while (!queue.empty()) {
            const auto [d, node] = queue.top();
            queue.pop();
            if (d > dist[static_cast<std::size_t>(node)])
                continue;
            const int32_t in = entered(node);
            const Link& crossed = links_[static_cast<std::size_t>(node / 2)];
            for (int32_t l : sections_[static_cast<std::size_t>(in)].links)
                if (l != node / 2) {
                    const Link& link = links_[static_cast<std::size_t>(l)];
                    reach(l * 2 + (link.upper == in ? 0 : 1), d + length(mid(link) - mid(crossed)), node);
                }
        }
    };
    const bool searched = sections_.size() <= kMostSearchedSections;
    if (searched)
        search(false);
    else {
        dist.assign(nodes, std::numeric_limits<double>::infinity());
        prev.assign(nodes, -1);
    }

    struct Candidate {
        double cost;
        int32_t section, node;
        bool down, fromLow;
    };
    std::vector<Candidate> candidates;
    if (!searched) {
        // Row order, each section from its top at its low end: weighing every
        // section at every choice would be quadratic in their number.
        while (sewn_[cursor_])
            ++cursor_;
        candidates.push_back({kFar, static_cast<int32_t>(cursor_), -1, true, true});
    }
    for (int32_t s = 0; searched && s < static_cast<int32_t>(sections_.size()); ++s) {
        if (sewn_[static_cast<std::size_t>(s)])
            continue;
        for (int way = 0; way < 4; ++way) {
            const bool down = way < 2, fromLow = way % 2 == 0;
            const Vec start = startOf(s, down, fromLow);
            Candidate c{kFar + (from.valid ? length(start - from.point) : 0), s, -1, down, fromLow};
            if (!from.valid) // the first section: the top row, from the top down and its low end
                c.cost = rowOf(s, down) + (down ? 0 : 0.5) + (fromLow ? 0 : 0.25);
            else if (s == freeIn)
                c.cost = length(start - from.point);
            for (int32_t l : sections_[static_cast<std::size_t>(s)].links) {
                const int32_t node = l * 2 + (links_[static_cast<std::size_t>(l)].upper == s ? 1 : 0);
                const double d = dist[static_cast<std::size_t>(node)] +
                                 length(start - mid(links_[static_cast<std::size_t>(l)]));
                if (d < c.cost)
                    c.cost = d, c.node = node;
            }
            candidates.push_back(c);
        }
    }
    // Only the nearest few are looked at: sorting them alone keeps a fill of
    // many sections from taking seconds.
    const auto nearest = candidates.begin() + static_cast<std::ptrdiff_t>(std::min(candidates.size(), kCandidates));
    std::partial_sort(candidates.begin(), nearest, candidates.end(),
                      [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
    Candidate chosen = candidates.front();
    for (std::size_t i = 0; searched && i < std::min(candidates.size(), kCandidates); ++i)
        if (leavesTheRestReachable(candidates[i].section, candidates[i].down)) {
            chosen = candidates[i];
            break;
        }

    leg.section = chosen.section;
    leg.down = chosen.down;
    leg.fromLow = chosen.fromLow;
    leg.path.clear();
    if (from.valid && chosen.cost >= kFar && throughSewnWays_ && searched) {
        search(true);
        for (int32_t l : sections_[static_cast<std::size_t>(chosen.section)].links) {
            const int32_t node = l * 2 + (links_[static_cast<std::size_t>(l)].upper == chosen.section ? 1 : 0);
            const double d = dist[static_cast<std::size_t>(node)] +
                             length(startOf(chosen.section, chosen.down, chosen.fromLow) -
                                    mid(links_[static_cast<std::size_t>(l)]));
            if (d < chosen.cost)
                chosen.cost = d, chosen.node = node;
        }
    }
    if (from.valid && chosen.cost < kFar) {
        std::vector<int32_t> chain; // nodes from the needle to the section
        for (int32_t node = chosen.node; node >= 0; node = prev[static_cast<std::size_t>(node)])
            chain.push_back(node);
        std::reverse(chain.begin(), chain.end());
        buildPath(from, freeIn, chain, chosen.section, rowOf(chosen.section, chosen.down),
                  startOf(chosen.section, chosen.down, chosen.fromLow), leg.path);
    }
    sewn_[static_cast<std::size_t>(chosen.section)] = 1;
    --unsewn_;
    return true;
}

// Windows crossing a section's rows from one row to another: where each pair
// of neighbouring rows overlap, or the row itself when both are the same.
void FillRoute::addRows(int32_t section, int32_t fromRow, int32_t toRow, bool rowWindow,
                        std::vector<Window>& out) const
{
    const auto& s = spans(section);
    const int32_t top = rowOf(section, true);
    auto extent = [&](int32_t row) {
        const Span& span = rows_.spans[static_cast<std::size_t>(s[static_cast<std::size_t>(row - top)])];
        return std::pair{span.boundaryA + rows_.inset, span.boundaryB - rows_.inset};
    };
    if (fromRow == toRow) {
        if (rowWindow) {
            const auto [lo, hi] = extent(fromRow);
            out.push_back({rows_.y[static_cast<std::size_t>(fromRow)], lo, hi});
        }
        return;
    }
    const int32_t step = toRow > fromRow ? 1 : -1;
    for (int32_t r = fromRow; r != toRow; r += step) {
        const auto [alo, ahi] = extent(r);
        const auto [blo, bhi] = extent(r + step);
        double lo = std::max(alo, blo), hi = std::min(ahi, bhi);
        if (hi < lo)
            lo = hi = (lo + hi) / 2;
        out.push_back(
            {(rows_.y[static_cast<std::size_t>(r)] + rows_.y[static_cast<std::size_t>(r + step)]) / 2, lo,
             hi});
    }
}

void FillRoute::buildPath(const RouteFrom& from, int32_t freeIn, const std::vector<int32_t>& chain,
                          int32_t target, int32_t startRow, Vec goal, std::vector<Vec>& path) const
{
    std::vector<Window> windows;
    int32_t in = freeIn, row = 0;
    std::size_t k = 0;
    auto entryRow = [&](int32_t node) {
        return node % 2 == 0 ? rowOf(entered(node), true) : rowOf(entered(node), false);
    };
    if (from.section >= 0) {
        // Step off the sewn rows straight into the next one, then travel.
        const Link& l = links_[static_cast<std::size_t>(chain.front() / 2)];
        in = entered(chain.front());
        row = entryRow(chain.front());
        const double x = std::clamp(from.point.x, l.lo, l.hi);
        windows.push_back({rows_.y[static_cast<std::size_t>(row)], x, x});
        k = 1;
    } else {
        // The row of the section nearest the needle.
        const int32_t top = rowOf(in, true), bottom = rowOf(in, false);
        row = top;
        for (int32_t r = top; r <= bottom; ++r)
            if (std::abs(rows_.y[static_cast<std::size_t>(r)] - from.point.y) <
                std::abs(rows_.y[static_cast<std::size_t>(row)] - from.point.y))
                row = r;
    }
    for (const std::size_t firstLink = k; k < chain.size(); ++k) {
        const Link& l = links_[static_cast<std::size_t>(chain[k] / 2)];
        const int32_t exitRow = l.upper == in ? rowOf(in, false) : rowOf(in, true);
        addRows(in, row, exitRow, k != firstLink, windows);
        windows.push_back({l.y, l.lo, l.hi});
        in = other(l, in);
        row = entryRow(chain[k]);
    }
    addRows(target, row, startRow, false, windows);
    // Keep clear of the outline, and mark where the way turns back.
    for (Window& w : windows) {
        const double m = std::min(kTravelMargin, (w.hi - w.lo) / 4);
        w.lo += m;
        w.hi -= m;
    }
    path.assign(1, from.point);
    Vec a = from.point;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Vec before =
            i == 0 ? from.point : Vec{(windows[i - 1].lo + windows[i - 1].hi) / 2, windows[i - 1].y};
        const Vec after = i + 1 == windows.size()
                              ? goal
                              : Vec{(windows[i + 1].lo + windows[i + 1].hi) / 2, windows[i + 1].y};
        const bool turns = (windows[i].y - before.y) * (after.y - windows[i].y) <= 0;
        if (!turns && windows[i].lo < windows[i].hi)
            continue;
        const Vec via{std::clamp((before.x + after.x) / 2, windows[i].lo, windows[i].hi), windows[i].y};
        pull(a, windows.data() + runStart, i - runStart, via, path);
        a = via;
        runStart = i + 1;
    }
    pull(a, windows.data() + runStart, windows.size() - runStart, goal, path);
}

} // namespace kelvara::stitch
