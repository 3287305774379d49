#pragma once

#include "stitch/stitchplan.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kelvara {

inline constexpr int kDstHeaderSize = 512;

enum class DstRecordType { Stitch, Jump, ColourChange, End };

// One 3-byte record: a move of dx, dy (DST axes, y up, each within
// -kMaxStep..kMaxStep) in balanced ternary, with the type's flags.
std::array<uint8_t, 3> encodeDstRecord(int dx, int dy, DstRecordType type);

// A whole Tajima DST file for the plan: the 512-byte header (`label` is the
// design name, cut to 16 characters) and the records. The machine starts at
// the centre of the plan's extents and jumps from there to its first
// position; design y is flipped to DST's upward y.
std::vector<uint8_t> writeDst(const StitchPlan& plan, std::string_view label);

} // namespace kelvara
