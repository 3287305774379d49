#pragma once

#include "shell/outcome.h"
#include "stitch/stitchplan.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

struct ThreadChart;

// A machine file read into the plan the writers take: positions in design
// units from where the machine starts (0, 0), y downward, each record in the
// thread of its colour block, ending with one End record. The travel from the
// start to the first stitch is not kept (every writer makes its own) and
// neither are threads changed before anything was sewn; a stop is a colour
// change to the same thread. Moves are kept as the file has them, so a move
// may be longer than kMaxStep; the writers split it.
struct MachineRead {
    bool read = false;
    MessageSlot refusal = kSlotMachineFileNotFormat; // when not read
    Outcome where;                                   // where the refusal was found, for the message
    StitchPlan plan;
    std::string label; // the design name the file carries, printable ASCII; "" when it has none
};

inline constexpr int64_t kMaxMachineFileBytes = 64 * 1024 * 1024;
// Needles farther from the start than this on either axis (10 m) are refused,
// which keeps every position well inside 32 bits and every design within
// what DST can describe.
inline constexpr int64_t kMaxMachineReach = kMaxExtent;

// Tajima DST: the 512-byte header's label, then 3-byte records to the end
// record. The header's counts and extents are not trusted; three jumps that
// come back to where they began are one trim.
MachineRead readDst(std::string_view bytes);

// Melco EXP: two signed bytes a stitch (y up); 0x80 opens a command of four
// bytes: 0x01 colour change, 0x02 and 0x04 jump, 0x80 trim. Three jumps that
// come back to where they began are a trim too, as older files write it.
MachineRead readExp(std::string_view bytes);

// Janome JEF: the header's offset and thread table (codes looked up in
// `janome`), then the moves to 0x80 0x10.
MachineRead readJef(std::string_view bytes, const ThreadChart& janome);

// Brother PES: the PEC block its header points to (label, palette indices
// looked up in `brother`, the moves to 0xFF). The design section between the
// header and the PEC block is passed over: the PEC block is what machines
// sew and carries every stitch, trim and thread change.
MachineRead readPes(std::string_view bytes, const ThreadChart& brother);

// The colour given to a colour block whose thread the file does not name (DST
// and EXP have none, a JEF or PES code may be missing from the chart): a
// short cycle of colours far apart, so neighbouring blocks differ.
int32_t unnamedThreadColour(int64_t block);

// The colour of the chart's thread with `code`, or the unnamed colour of the
// block when the chart does not know it.
int32_t chartThreadColour(const ThreadChart& chart, int64_t code, int64_t block);

} // namespace kelvara
