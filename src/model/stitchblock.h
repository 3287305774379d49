#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// A block of stitches of one thread kept exactly as a machine file had
// them: needle stitches, moves with the needle up and cuts, in sewing order,
// at whole design units. Its text (the MOVES key) is every move as the step
// from the one before (the first from 0,0), each number with its sign:
// "+12-3" a stitch, "J+300+0" a move with the needle up, "T" a cut where the
// needle is. Small steps take four or five characters a stitch.

enum class BlockMoveKind : uint8_t { Stitch, Jump, Trim };

struct BlockMove {
    int32_t x = 0, y = 0; // a cut's position is where the needle is
    BlockMoveKind kind = BlockMoveKind::Stitch;
    friend bool operator==(const BlockMove&, const BlockMove&) = default;
};

// Far beyond what DST describes, so a block of any design fits, and its
// moves never overflow when mapped.
inline constexpr int32_t kBlockCoordinateLimit = 1 << 24;
// The most moves one block holds: the records a DST can count.
inline constexpr std::size_t kMostBlockMoves = 9999999;

struct StitchBlock {
    std::vector<BlockMove> moves;
    friend bool operator==(const StitchBlock&, const StitchBlock&) = default;
};

// Reads the text of a block; false (the block empty) for anything but
// signed whole numbers in pairs, J and T, a position beyond the limit, no
// stitch at all or more than kMostBlockMoves moves.
bool readBlock(std::string_view text, StitchBlock& block);
// The text of the block with every move placed (x, y) further on.
void appendBlock(std::string& out, const StitchBlock& block, int64_t x = 0, int64_t y = 0);

// Where the stitches and moves lie: their convex hull, in order round it
// (one or two points for a block that is a point or a line).
struct HullPoint {
    double x = 0, y = 0;
};
std::vector<HullPoint> blockHull(const StitchBlock& block);

} // namespace kelvara
