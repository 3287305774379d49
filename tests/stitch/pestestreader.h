#pragma once

// An independent Brother PES (version 1) decoder for the tests, written from
// the format's description: the PES header and its design section (one
// CEmbOne and CSewSeg block), then the PEC block with its label, palette
// indices, size, moves (y down) and one-bit thumbnails.

#include "stitch/stitchplan.h"

#include <cstdint>
#include <cstring>
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
    // The design section: the extents, the transform's move, and each
    // segment's points after its first (the needle it starts from);
    // colour = the segment's palette index.
    int32_t extents[4] = {};
    float moveX = 0, moveY = 0;
    std::vector<StitchRecord> designRecords;
};

// Reads the design section after the header's block count; false when it
// does not hold together.
inline bool readPesDesign(const std::vector<uint8_t>& b, std::size_t i, std::size_t end, PesFile& f)
{
    auto has = [&](std::size_t n) { return i + n <= end; };
    auto u16 = [&] {
        const int32_t v = b[i] | b[i + 1] << 8;
        i += 2;
        return v;
    };
    auto s16 = [&] { return static_cast<int32_t>(static_cast<int16_t>(u16())); };
    auto f32 = [&] {
        uint32_t bits = 0;
        for (int k = 0; k < 4; ++k)
            bits |= uint32_t(b[i + k]) << (8 * k);
        i += 4;
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    };
    auto name = [&](const char* expected) {
        if (!has(9) || u16() != 7 || std::string(b.begin() + long(i), b.begin() + long(i) + 7) != expected)
            return false;
        i += 7;
        return true;
    };
    if (!has(4) || u16() != 0xFFFF || u16() != 0 || !name("CEmbOne") || !has(16 + 24 + 2 + 8 + 8 + 2 + 4))
        return false;
    for (int32_t& e : f.extents)
        e = s16();
    i += 8 + 16; // the extents again, the transform's scale and skew
    f.moveX = f32();
    f.moveY = f32();
    i += 2 + 8 + 8;
    const int32_t segments = u16();
    if (u16() != 0xFFFF || u16() != 0 || !name("CSewSeg"))
        return false;
    std::vector<int32_t> blockOfSegment;
    for (int32_t s = 0; s < segments; ++s) {
        if (!has(6))
            return false;
        const int32_t type = u16();
        blockOfSegment.push_back(u16());
        const int32_t count = u16();
        if (!has(std::size_t(count) * 4 + (s + 1 < segments ? 2 : 0)) || count < 1)
            return false;
        for (int32_t k = 0; k < count; ++k) {
            const int32_t x = s16(), y = s16();
            if (k > 0)
                f.designRecords.push_back({x, y, s, type == 0 ? StitchKind::Stitch : StitchKind::Jump});
        }
        if (s + 1 < segments && u16() != 0x8003)
            return false;
    }
    if (!has(2))
        return false;
    const int32_t colours = u16();
    std::vector<std::pair<int32_t, int32_t>> starts;
    for (int32_t c = 0; c < colours; ++c) {
        if (!has(4))
            return false;
        const int32_t at = u16();
        starts.push_back({at, u16()});
    }
    // Each segment's colour: the palette index of the colour block it names.
    for (StitchRecord& r : f.designRecords) {
        const int32_t block = blockOfSegment[std::size_t(r.colour)];
        r.colour = block < colours ? starts[std::size_t(block)].second : -1;
    }
    return has(4) && u16() == 0 && u16() == 0 && i == end;
}

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
    if (pec < 18 || pec > b.size() || (f.blockCount == 1 && !readPesDesign(b, 18, pec, f)))
        return f;
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
