#pragma once

#include "stitch/stitchplan.h"

#include <cstdint>
#include <vector>

namespace kelvara {

inline constexpr int32_t kExpMaxStep = 127;

// A Melco EXP file for the plan: no header, only moves of two signed bytes
// (x, then y upward) from the centre of the design. 0x80 opens a command:
// 0x80 0x04 dx dy a jump, 0x80 0x01 0 0 a colour change, 0x80 0x80 7 0 a
// trim; the file ends with its last move.
std::vector<uint8_t> writeExp(const StitchPlan& plan);

} // namespace kelvara
