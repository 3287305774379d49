#pragma once

#include "stitch/fillrows.h"

#include <cstdint>
#include <vector>

namespace kelvara::stitch {

// Where the needle is when the next section is chosen, in the rows' frame.
struct RouteFrom {
    bool valid = false; // false before the first stitch of the fill
    Vec point;
    int32_t section = -1; // the section just sewn; -1 for a point anywhere in the area
    bool atBottom = true; // which end of that section the needle left it at
};

// The next section to sew: its rows from the top when `down`, else from the
// bottom, the first of them from its low end when `fromLow`. `path` (rows'
// frame) leads from the needle to that row's first penetration inside the
// area through sections not yet sewn; empty when there is no such way.
struct RouteLeg {
    int32_t section = -1;
    bool down = true;
    bool fromLow = true;
    std::vector<Vec> path;
};

// The rows' spans gathered into sections, each one span per row over
// consecutive rows, split wherever spans part or join, so a section is sewn
// back and forth in one go; and the order of the sections.
class FillRoute {
public:
    explicit FillRoute(const Rows& rows);
    // Where no way under unsewn rows reaches the next section, travel over
    // sewn ones rather than along the outline (which cannot go from one
    // ring of a shape to another).
    void travelOverSewnRows() { throughSewnWays_ = true; }
    // The next section, which is then counted as sewn; false when all are.
    bool next(const RouteFrom& from, RouteLeg& leg);
    // A section's spans, top row first.
    const std::vector<int32_t>& spans(int32_t section) const
    {
        return sections_[static_cast<std::size_t>(section)].spans;
    }

private:
    bool throughSewnWays_ = false;
    std::size_t cursor_ = 0; // the first section that may be unsewn, for a fill of very many
    struct Section {
        std::vector<int32_t> spans;
        std::vector<int32_t> links;
    };
    // Where the last row of `upper` meets the first of `lower`; lo..hi is
    // the stretch both rows stitch.
    struct Link {
        int32_t upper, lower;
        double lo, hi, y;
    };
    struct Window {
        double y, lo, hi;
    };

    Vec mid(const Link& l) const { return {(l.lo + l.hi) / 2, l.y}; }
    int32_t other(const Link& l, int32_t s) const { return l.upper == s ? l.lower : l.upper; }
    Vec startOf(int32_t section, bool down, bool fromLow) const;
    int32_t rowOf(int32_t section, bool top) const;
    bool leavesTheRestReachable(int32_t section, bool down) const;
    int32_t reachFrom(int32_t start, int32_t without) const;
    void addRows(int32_t section, int32_t fromRow, int32_t toRow, bool rowWindow,
                 std::vector<Window>& out) const;
    // The section a crossing (link * 2, + 1 going up) enters.
    int32_t entered(int32_t node) const;
    void buildPath(const RouteFrom& from, int32_t freeIn, const std::vector<int32_t>& chain, int32_t target,
                   int32_t startRow, Vec goal, std::vector<Vec>& path) const;

    const Rows& rows_;
    std::vector<Section> sections_;
    std::vector<Link> links_;
    std::vector<char> sewn_;
    int32_t unsewn_ = 0;
};

} // namespace kelvara::stitch
