#pragma once

#include <string_view>
#include <vector>

namespace kelvara::svg {

// Artwork geometry in the file's user units, before any transform: each
// sub-path a start and its segments, straight ones with both controls on
// their ends, so every segment is a cubic.
struct Point {
    double x = 0, y = 0;
};
struct Cubic {
    Point c1, c2, to;
};
struct Outline {
    Point start;
    std::vector<Cubic> segments;
    bool closed = false;
};

// Reads SVG path data with every command, relative or absolute (H V S Q T
// and arcs turned into cubics). False for text that is no path data or would
// make more than `mostNodes` nodes; `nodes` counts what was made so far.
bool readPathData(std::string_view text, std::vector<Outline>& out, long& nodes, long mostNodes);

// The numbers of a list such as polygon points or a transform's arguments.
std::vector<double> readNumbers(std::string_view text, std::size_t most);

Cubic straightTo(Point from, Point to);

} // namespace kelvara::svg
