#pragma once

// An independent Melco EXP decoder for the tests, written from the format's
// description: two signed bytes per stitch (y up), 0x80 opening a command
// (0x80 0x80 a trim).

#include "stitch/readback.h"
#include "stitch/stitchplan.h"

#include <cstdint>
#include <vector>

namespace kelvara::testing {

struct ExpFile {
    bool valid = false;
    std::vector<StitchRecord> records; // positions from the start given, y downward
};

inline ExpFile readExp(const std::vector<uint8_t>& bytes, int32_t startX, int32_t startY)
{
    ExpFile f;
    std::vector<StitchRecord> raw;
    int32_t x = startX, y = startY;
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        if (bytes[i] != 0x80) {
            x += static_cast<int8_t>(bytes[i]);
            y -= static_cast<int8_t>(bytes[i + 1]);
            raw.push_back({x, y, 0, StitchKind::Stitch});
            i += 2;
            continue;
        }
        if (i + 3 >= bytes.size())
            return f;
        if (bytes[i + 1] == 0x01) {
            raw.push_back({x, y, 0, StitchKind::ColourChange});
        } else if (bytes[i + 1] == 0x80) {
            raw.push_back({x, y, 0, StitchKind::Trim});
        } else if (bytes[i + 1] == 0x04) {
            x += static_cast<int8_t>(bytes[i + 2]);
            y -= static_cast<int8_t>(bytes[i + 3]);
            raw.push_back({x, y, 0, StitchKind::Jump});
        } else {
            return f;
        }
        i += 4;
    }
    if (i != bytes.size())
        return f;
    raw.push_back({x, y, 0, StitchKind::End});
    f.records = raw;
    f.valid = true;
    return f;
}

} // namespace kelvara::testing
