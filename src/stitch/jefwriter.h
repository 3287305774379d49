#pragma once

#include "shell/hoops.h"
#include "shell/outcome.h"

#include "stitch/stitchplan.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct ThreadChart;

inline constexpr int32_t kJefMaxStep = 127;
inline constexpr int kJefHeaderSize = 0x74; // before the two thread tables

// Janome hoops, smallest first: the header names the first that holds the
// design. Sizes in design units (0.1 mm), width by height.
struct JefHoop {
    int32_t code;
    int32_t width;
    int32_t height;
};
inline constexpr std::array<JefHoop, 5> kJefHoops{{
    {1, 500, 500},   // C, free arm
    {0, 1100, 1100}, // A, standard
    {3, 1260, 1100}, // F, spring loaded
    {2, 1400, 2000}, // B, large
    {4, 2000, 2000}, // D, giga
}};

// The chosen hoop names the file's hoop when it is a Janome hoop size that
// holds the design; otherwise the smallest one that does.
// A Janome JEF file for the plan, little-endian: the header (offset of the
// stitches, the date as YYYYMMDDHHMMSS from `date`, the thread count, the
// stitch data's length in byte pairs, the hoop code, the design's extents from
// its centre and its margins in the 110, 50, 140 x 200 and 200 mm hoops), one
// Janome thread code per colour block (the nearest in `chart`) and one thread
// type each, then the moves from the centre: two signed bytes (y upward),
// 0x80 0x01 0 0 a colour change, 0x80 0x02 dx dy a jump, 0x80 0x02 0 0 a
// trim, 0x80 0x10 the end. Fine, or why the design cannot be a JEF (larger
// than the largest hoop); `out` is left empty then.
Outcome writeJef(const StitchPlan& plan, const ThreadChart& chart, std::string_view date,
                 std::vector<uint8_t>& out, const Hoop* chosen = nullptr);

} // namespace kelvara
