#include "model/stitchblock.h"

#include "stitch/convexhull.h"

#include <algorithm>
#include <charconv>

namespace kelvara {

namespace {

// A signed whole number of at most nine digits at `at`; false otherwise.
bool readSigned(std::string_view text, std::size_t& at, int64_t& value)
{
    if (at >= text.size() || (text[at] != '+' && text[at] != '-'))
        return false;
    const bool negative = text[at] == '-';
    std::size_t end = at + 1;
    while (end < text.size() && end - at <= 10 && text[end] >= '0' && text[end] <= '9')
        ++end;
    const std::size_t digits = end - at - 1;
    if (digits == 0 || digits > 9)
        return false;
    int64_t n = 0;
    std::from_chars(text.data() + at + 1, text.data() + end, n);
    value = negative ? -n : n;
    at = end;
    return true;
}

void appendSigned(std::string& out, int64_t v)
{
    out += v < 0 ? '-' : '+';
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v < 0 ? -v : v).ptr;
    out.append(digits, end);
}

} // namespace

bool readBlock(std::string_view text, StitchBlock& block)
{
    block.moves.clear();
    // Every move takes at least one character, which bounds the reservation.
    block.moves.reserve(std::min(text.size() / 4 + 1, kMostBlockMoves));
    int64_t x = 0, y = 0;
    bool stitched = false;
    std::size_t at = 0;
    while (at < text.size()) {
        if (block.moves.size() == kMostBlockMoves)
            return block.moves.clear(), false;
        BlockMoveKind kind = BlockMoveKind::Stitch;
        if (text[at] == 'T') {
            ++at;
            block.moves.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y), BlockMoveKind::Trim});
            continue;
        }
        if (text[at] == 'J') {
            kind = BlockMoveKind::Jump;
            ++at;
        }
        int64_t dx = 0, dy = 0;
        if (!readSigned(text, at, dx) || !readSigned(text, at, dy))
            return block.moves.clear(), false;
        x += dx;
        y += dy;
        if (x < -kBlockCoordinateLimit || x > kBlockCoordinateLimit || y < -kBlockCoordinateLimit ||
            y > kBlockCoordinateLimit)
            return block.moves.clear(), false;
        stitched = stitched || kind == BlockMoveKind::Stitch;
        block.moves.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y), kind});
    }
    if (!stitched)
        block.moves.clear();
    return stitched;
}

void appendBlock(std::string& out, const StitchBlock& block, int64_t placeX, int64_t placeY)
{
    int64_t x = -placeX, y = -placeY;
    for (const BlockMove& m : block.moves) {
        if (m.kind == BlockMoveKind::Trim) {
            out += 'T';
            continue;
        }
        if (m.kind == BlockMoveKind::Jump)
            out += 'J';
        appendSigned(out, m.x - x);
        appendSigned(out, m.y - y);
        x = m.x;
        y = m.y;
    }
}

std::vector<HullPoint> blockHull(const StitchBlock& block)
{
    std::vector<HullPoint> points;
    points.reserve(block.moves.size());
    for (const BlockMove& m : block.moves)
        if (m.kind != BlockMoveKind::Trim)
            points.push_back({double(m.x), double(m.y)});
    return convexHull(std::move(points));
}

} // namespace kelvara
