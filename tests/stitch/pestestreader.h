#pragma once

// An independent Brother PES (version 1) decoder for the tests, written from
// the format's description: the PES header, then the PEC block with its
// label, palette indices, size, moves (y down) and one-bit thumbnails.

#include "stitch/stitchplan.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::testing {

struct PesFile {
    bool valid = false;
    int32_t pecOffset = 0;
    int32_t hoop = -1;
    int32_t blockCount = -1; // design blocks of the PES part
    std::string label;       // the 16 characters after "LA:"
    std::vector<int32_t> palette;
    int32_t width = 0, height = 0;
    int32_t thumbnailOffset = 0;
    std::vector<std::vector<uint8_t>> thumbnails; // 228 bytes each
    std::vector<StitchRecord> records;            // from the start given; colour = palette index
};

inline PesFile readPes(const std::vector<uint8_t>& b, int32_t startX, int32_t startY)
{
    PesFile f;
    auto u16 = [&](std::size_t at) { return static_cast<int32_t>(b[at] | b[at + 1] << 8); };
    if (b.size() < 22 || std::string(b.begin(), b.begin() + 8) != "#PES0001")
        return f;
    f.pecOffset = u16(8) | u16(10) << 16;
    f.hoop = u16(12);
    f.blockCount = u16(16);
    const auto pec = static_cast<std::size_t>(f.pecOffset);
    if (pec + 512 + 16 > b.size() ||
        std::string(b.begin() + static_cast<long>(pec), b.begin() + static_cast<long>(pec) + 3) != "LA:")
        return f;
    f.label.assign(b.begin() + static_cast<long>(pec) + 3, b.begin() + static_cast<long>(pec) + 19);
    const int colours = b[pec + 48] == 0xFF ? 0 : b[pec + 48] + 1;
    for (int i = 0; i < colours; ++i)
        f.palette.push_back(b[pec + 49 + static_cast<std::size_t>(i)]);
    const std::size_t second = pec + 512;
    f.thumbnailOffset = static_cast<int32_t>(b[second + 2] | b[second + 3] << 8 | b[second + 4] << 16);
    f.width = u16(second + 8);
    f.height = u16(second + 10);

    auto axis = [&](std::size_t& i, int& value, int& flags) {
        const uint8_t first = b[i];
        if (first & 0x80) {
            flags = first & 0x70;
            int v = (first & 0x0F) << 8 | b[i + 1];
            if (v & 0x800)
                v -= 0x1000;
            value = v;
            i += 2;
        } else {
            flags = 0;
            value = first > 0x3F ? first - 0x80 : first;
            i += 1;
        }
    };
    int32_t x = startX, y = startY;
    std::size_t i = second + 16;
    std::size_t block = 0;
    while (i < b.size()) {
        if (b[i] == 0xFF) {
            f.records.push_back({x, y, 0, StitchKind::End});
            ++i;
            break;
        }
        if (b[i] == 0xFE && i + 2 < b.size() && b[i + 1] == 0xB0) {
            if (b[i + 2] != (block % 2 == 0 ? 2 : 1))
                return f;
            ++block;
            f.records.push_back(
                {x, y, block < f.palette.size() ? f.palette[block] : -1, StitchKind::ColourChange});
            i += 3;
            continue;
        }
        if (i + 2 >= b.size())
            return f;
        int dx = 0, dy = 0, fx = 0, fy = 0;
        axis(i, dx, fx);
        axis(i, dy, fy);
        x += dx;
        y += dy;
        const int flags = fx | fy;
        StitchKind kind = StitchKind::Stitch;
        if (flags & 0x20)
            kind = StitchKind::Trim;
        else if (flags & 0x10)
            kind = StitchKind::Jump;
        f.records.push_back({x, y, 0, kind});
    }
    const std::size_t thumbs = second + static_cast<std::size_t>(f.thumbnailOffset);
    if (thumbs != i || (b.size() - thumbs) % 228 != 0)
        return f;
    for (std::size_t t = thumbs; t < b.size(); t += 228)
        f.thumbnails.emplace_back(b.begin() + static_cast<long>(t), b.begin() + static_cast<long>(t) + 228);
    f.valid = true;
    return f;
}

} // namespace kelvara::testing
