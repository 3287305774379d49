// The EXP, JEF and PES writers given any plan: records of any kind, colour
// and position a design can reach. Each writes a file or refuses with a
// reason, never a crash, a hang or an empty file.
//
// Input: six bytes per record: a kind byte, a colour byte, then the moves
// in x and y as signed 16-bit numbers.
#include "stitch/expwriter.h"
#include "stitch/jefwriter.h"
#include "stitch/peswriter.h"
#include "stitch/stitchplan.h"
#include "stitch/threadchart.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelvara;
    static const ThreadChart chart = [] {
        ThreadChart c;
        c.brand = "Fuzz";
        c.threads = {{1, 0x000000, "black"}, {5, 0x0000EC, "red"}, {255, 0xFFFFFF, "white"}};
        return c;
    }();
    constexpr int32_t kReach = 100000; // 10 m either way: more than any hoop
    StitchPlan plan;
    int32_t x = 0, y = 0;
    for (std::size_t at = 0; at + 6 <= size; at += 6) {
        // End closes a plan and nowhere else: every plan has it last.
        const auto kind = static_cast<StitchKind>(data[at] % 4);
        const int32_t colour = data[at + 1] * 0x010203;
        x = std::clamp(x + static_cast<int16_t>(data[at + 2] | (data[at + 3] << 8)), -kReach, kReach);
        y = std::clamp(y + static_cast<int16_t>(data[at + 4] | (data[at + 5] << 8)), -kReach, kReach);
        plan.records.push_back({x, y, colour, kind});
    }
    plan.records.push_back({x, y, 0, StitchKind::End});
    // The export refuses a design without a needle stitch before any writer
    // sees it, and an EXP file has no header to be written without one.
    if (std::none_of(plan.records.begin(), plan.records.end(),
                     [](const StitchRecord& r) { return r.kind == StitchKind::Stitch; }))
        return 0;

    if (writeExp(plan).empty())
        __builtin_trap();
    std::vector<uint8_t> bytes;
    if (writeJef(plan, chart, "20261207235959", bytes).ok() && bytes.empty())
        __builtin_trap();
    if (writePes(plan, chart, "fuzz", bytes).ok() && bytes.empty())
        __builtin_trap();
    return 0;
}
