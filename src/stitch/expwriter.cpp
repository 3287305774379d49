#include "stitch/expwriter.h"

#include "stitch/machinemoves.h"

namespace kelvara {

std::vector<uint8_t> writeExp(const StitchPlan& plan)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(plan.records.size() * 2 + 16);
    auto jump = [&](int dx, int dy) {
        bytes.insert(bytes.end(), {0x80, 0x04, static_cast<uint8_t>(dx), static_cast<uint8_t>(-dy)});
    };
    forEachMachineMove(plan, kExpMaxStep, [&](const MachineMove& m) {
        switch (m.kind) {
        case StitchKind::Stitch:
            bytes.push_back(static_cast<uint8_t>(m.dx));
            bytes.push_back(static_cast<uint8_t>(-m.dy));
            break;
        case StitchKind::Jump:
            jump(m.dx, m.dy);
            break;
        case StitchKind::Trim:
            // EXP has a cut command of its own; jump triples are a DST habit
            // that EXP readers take for plain jumps.
            bytes.insert(bytes.end(), {0x80, 0x80, 0x07, 0x00});
            break;
        case StitchKind::ColourChange:
            bytes.insert(bytes.end(), {0x80, 0x01, 0x00, 0x00});
            break;
        case StitchKind::End:
            break;
        }
    });
    return bytes;
}

} // namespace kelvara
