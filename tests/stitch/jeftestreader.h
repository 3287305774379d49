#pragma once

// An independent Janome JEF decoder for the tests, written from the format's
// description: a little-endian header, two thread tables, then two signed
// bytes per stitch (y up) with 0x80 opening a command.

#include "stitch/stitchplan.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::testing {

struct JefFile {
    bool valid = false;
    int32_t stitchOffset = 0;
    std::string date;
    int32_t threadCount = 0;
    int32_t pairs = 0; // the stitch data's length in byte pairs
    int32_t hoop = -1;
    int32_t extents[4] = {}; // left, top, right, bottom from the centre
    int32_t margins[4][4] = {};
    std::vector<int32_t> threadCodes;
    std::vector<int32_t> threadTypes;
    std::vector<StitchRecord> records; // from the start given, y downward; colour = thread code
};

inline int32_t jefWord(const std::vector<uint8_t>& b, std::size_t at)
{
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

inline JefFile readJef(const std::vector<uint8_t>& b, int32_t startX, int32_t startY)
{
    JefFile f;
    if (b.size() < 0x74)
        return f;
    f.stitchOffset = jefWord(b, 0);
    f.date.assign(b.begin() + 8, b.begin() + 22);
    f.threadCount = jefWord(b, 24);
    f.pairs = jefWord(b, 28);
    f.hoop = jefWord(b, 32);
    for (int i = 0; i < 4; ++i)
        f.extents[i] = jefWord(b, 36 + 4 * static_cast<std::size_t>(i));
    for (int h = 0; h < 4; ++h)
        for (int i = 0; i < 4; ++i)
            f.margins[h][i] =
                jefWord(b, 52 + 16 * static_cast<std::size_t>(h) + 4 * static_cast<std::size_t>(i));
    if (f.threadCount < 0 || f.stitchOffset != 0x74 + 8 * f.threadCount ||
        static_cast<std::size_t>(f.stitchOffset) > b.size())
        return f;
    for (int i = 0; i < f.threadCount; ++i) {
        f.threadCodes.push_back(jefWord(b, 0x74 + 4 * static_cast<std::size_t>(i)));
        f.threadTypes.push_back(jefWord(b, 0x74 + 4 * static_cast<std::size_t>(f.threadCount + i)));
    }
    int32_t x = startX, y = startY;
    std::size_t i = static_cast<std::size_t>(f.stitchOffset);
    std::size_t block = 0;
    while (i + 1 < b.size()) {
        if (b[i] != 0x80) {
            x += static_cast<int8_t>(b[i]);
            y -= static_cast<int8_t>(b[i + 1]);
            f.records.push_back({x, y, 0, StitchKind::Stitch});
            i += 2;
            continue;
        }
        if (b[i + 1] == 0x10) {
            f.records.push_back({x, y, 0, StitchKind::End});
            i += 2;
            break;
        }
        if (i + 3 >= b.size())
            return f;
        const int dx = static_cast<int8_t>(b[i + 2]), dy = static_cast<int8_t>(b[i + 3]);
        if (b[i + 1] == 0x01) {
            ++block;
            const int32_t code = block < f.threadCodes.size() ? f.threadCodes[block] : -1;
            f.records.push_back({x, y, code, StitchKind::ColourChange});
        } else if (b[i + 1] == 0x02) {
            x += dx;
            y -= dy;
            f.records.push_back({x, y, 0, dx == 0 && dy == 0 ? StitchKind::Trim : StitchKind::Jump});
        } else {
            return f;
        }
        i += 4;
    }
    f.valid = i == b.size() && !f.records.empty() && f.records.back().kind == StitchKind::End &&
              static_cast<std::size_t>(f.pairs) * 2 == b.size() - static_cast<std::size_t>(f.stitchOffset);
    return f;
}

} // namespace kelvara::testing
