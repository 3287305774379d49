#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// The geometry of a stroke or a shape: one or more sub-paths of straight and
// cubic segments, in whole design units. Its text is SVG path data limited
// to absolute M, L, C and Z, numbers separated by commas, no blanks.

// The largest coordinate a path holds, so sums and products of a few of
// them never leave the range of the arithmetic done on them.
inline constexpr int32_t kPathCoordinateLimit = 1 << 28;
// The most nodes one path holds: far beyond any design, yet bounded so a
// forged line cannot make the program plan for ever.
inline constexpr std::size_t kMostPathNodes = 1 << 20;

struct PathPoint {
    int32_t x = 0, y = 0;
    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

// A segment from the previous node to `to`; a cubic one bends by c1 and c2.
struct PathSegment {
    bool cubic = false;
    PathPoint c1, c2, to;
    friend bool operator==(const PathSegment&, const PathSegment&) = default;
};

struct SubPath {
    PathPoint start;
    std::vector<PathSegment> segments;
    bool closed = false;
    friend bool operator==(const SubPath&, const SubPath&) = default;
};

struct PathData {
    std::vector<SubPath> subpaths;
    friend bool operator==(const PathData&, const PathData&) = default;
    // Nodes: each sub-path's start plus one per segment.
    std::size_t nodeCount() const;
};

enum class PathFault {
    None,
    Empty,          // no sub-path at all
    NoMoveFirst,    // a drawing command before the first M
    UnknownCommand, // a character that is no command, number or comma
    MissingNumber,  // a command without its coordinates, or a dangling comma
    NotWholeNumber, // a fraction or an exponent
    OutOfRange,     // beyond kPathCoordinateLimit
    TooManyNodes,   // beyond kMostPathNodes
};

struct PathReadResult {
    PathData path;
    PathFault fault = PathFault::None;
    std::size_t offset = 0; // where in the text the fault was found
    bool ok() const { return fault == PathFault::None; }
};

// Reads path data. After a command, further coordinate sets repeat it (after
// M, as L), as SVG allows; a command after Z starts a new sub-path at the
// closed one's start. On a fault the path is empty.
PathReadResult readPath(std::string_view text);

// The text of a path: one command letter per segment, so reading it back
// gives the same path and writing that gives the same text.
std::string writePath(const PathData& path);
void appendPath(std::string& out, const PathData& path);

} // namespace kelvara
