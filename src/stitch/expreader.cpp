// Melco EXP, from the format's public description: no header, a stitch is
// two signed bytes (x, then y upward), and 0x80 in the x byte opens a
// command of four bytes: 0x80, the command, two bytes. 0x01 changes the
// colour (its two bytes, when not zero, are a stitch after the change), 0x02
// and 0x04 jump by the two bytes, 0x80 trims where the needle is. Other
// commands are stops when even and colour changes when odd, as machines
// take them.
#include "stitch/planreading.h"

namespace kelvara {

namespace {

// One record at `at`: a stitch, or a command with its two bytes.
struct ExpRecord {
    bool command = false;
    uint8_t code = 0;
    int dx = 0, dy = 0;
    std::size_t size = 2;
};

int8_t signedByte(char c)
{
    return static_cast<int8_t>(static_cast<uint8_t>(c));
}

// False when the record is cut short by the end of the file.
bool recordAt(std::string_view bytes, std::size_t at, ExpRecord& r)
{
    if (at + 1 >= bytes.size())
        return false;
    r.command = static_cast<uint8_t>(bytes[at]) == 0x80;
    r.size = r.command ? 4 : 2;
    if (at + r.size > bytes.size())
        return false;
    r.code = r.command ? static_cast<uint8_t>(bytes[at + 1]) : 0;
    r.dx = signedByte(bytes[at + r.size - 2]);
    r.dy = signedByte(bytes[at + r.size - 1]);
    return true;
}

bool isJump(const ExpRecord& r)
{
    return r.command && (r.code == 0x02 || r.code == 0x04);
}

} // namespace

MachineRead readExp(std::string_view bytes)
{
    PlanReading reading(bytes.size(), 2, unnamedThreadColour);
    std::size_t i = 0;
    while (i < bytes.size()) {
        ExpRecord r;
        if (!recordAt(bytes, i, r))
            return reading.refuse(kSlotMachineFileTruncated, i);
        bool ok = true;
        std::size_t next = i + r.size;
        if (!r.command) {
            ok = reading.move(r.dx, -r.dy, StitchKind::Stitch);
        } else if (isJump(r)) {
            ExpRecord a, b;
            if ((r.dx != 0 || r.dy != 0) && recordAt(bytes, next, a) && isJump(a) &&
                recordAt(bytes, next + a.size, b) && isJump(b) && r.dx + a.dx + b.dx == 0 &&
                r.dy + a.dy + b.dy == 0) {
                ok = reading.trim();
                next += a.size + b.size;
            } else {
                ok = reading.move(r.dx, -r.dy, StitchKind::Jump);
            }
        } else if (r.code == 0x80) {
            ok = reading.trim();
        } else {
            ok = reading.colourChange(r.code % 2 == 0);
            if (ok && r.code == 0x01 && (r.dx != 0 || r.dy != 0))
                ok = reading.move(r.dx, -r.dy, StitchKind::Stitch);
        }
        if (!ok)
            return reading.refuse(kSlotMachineFileTooLarge, i);
        i = next;
    }
    return reading.finish("");
}

} // namespace kelvara
