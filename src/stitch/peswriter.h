#pragma once

#include "shell/hoops.h"
#include "shell/outcome.h"

#include "stitch/stitchplan.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct ThreadChart;

inline constexpr int kPesHeaderSize = 22;  // "#PES0001", the PEC offset, the version 1 fields, no blocks
inline constexpr int kPecListOffset = 512; // the PEC stitch part after the PEC start
inline constexpr int kPecThumbWidth = 48;  // pixels, one bit each
inline constexpr int kPecThumbHeight = 38;
inline constexpr int32_t kPesMaxWidth = 1300; // 130 x 180 mm, the larger hoop version 1 names
inline constexpr int32_t kPesMaxHeight = 1800;
// One byte counts the blocks less one, and 0xFF there means none.
inline constexpr int kPecMaxBlocks = 255;
inline constexpr int32_t kPecMaxStep = 2047; // a 12-bit move

// A Brother PES file, version 1, for the plan: the PES header (hoop 100 x
// 100 or 130 x 180 mm) and design section (see pesdesign.h), then the PEC
// block the machine sews from: the label, one Brother palette index per
// colour block (the nearest in `chart`), the design's size, the moves (y
// downward) from the design's centre, and 48 x 38 one-bit thumbnails
// of the whole design and of each colour block. A move of -64..63 on both
// axes is a byte per axis; longer ones, jumps (0x10) and trims (0x20, no
// movement) take 12 bits in two bytes per axis with the top bit set; 0xFE
// 0xB0 and 2 or 1 in turn change the colour; 0xFF ends the list. Fine, or
// why the design cannot be a PES; `out` is left empty then.
// The header names the 100 x 100 or 130 x 180 hoop: the chosen one when it
// is one of those and holds the design, otherwise the smaller that does.
Outcome writePes(const StitchPlan& plan, const ThreadChart& chart, std::string_view label,
                 std::vector<uint8_t>& out, const Hoop* chosen = nullptr);

} // namespace kelvara
