// Tajima DST, read by the bit table of the format's public description: in
// each 3-byte record every axis is five balanced-ternary digits (weights 1, 3,
// 9, 27, 81) spread over the bytes, the third byte's top bits say jump (0x80)
// or colour change (0xC0), and 0xF3 there ends the design. DST has no trim;
// machines take three jumps that come back to where they began as one.
#include "stitch/dstwriter.h"
#include "stitch/planreading.h"

namespace kelvara {

namespace {

struct DstMove {
    int dx = 0, dy = 0; // y up
    enum Type { Stitch, Jump, Change, End } type = Stitch;
};

int bit(uint8_t b, int n)
{
    return (b >> n) & 1;
}

DstMove decode(std::string_view bytes, std::size_t at)
{
    const auto b0 = static_cast<uint8_t>(bytes[at]), b1 = static_cast<uint8_t>(bytes[at + 1]),
               b2 = static_cast<uint8_t>(bytes[at + 2]);
    DstMove m;
    m.dx = bit(b0, 0) - bit(b0, 1) + 9 * (bit(b0, 2) - bit(b0, 3)) + 3 * (bit(b1, 0) - bit(b1, 1)) +
           27 * (bit(b1, 2) - bit(b1, 3)) + 81 * (bit(b2, 2) - bit(b2, 3));
    m.dy = bit(b0, 7) - bit(b0, 6) + 9 * (bit(b0, 5) - bit(b0, 4)) + 3 * (bit(b1, 7) - bit(b1, 6)) +
           27 * (bit(b1, 5) - bit(b1, 4)) + 81 * (bit(b2, 5) - bit(b2, 4));
    if ((b2 & 0xF3) == 0xF3)
        m.type = DstMove::End;
    else if ((b2 & 0xC0) == 0xC0)
        m.type = DstMove::Change;
    else if (b2 & 0x80)
        m.type = DstMove::Jump;
    return m;
}

} // namespace

MachineRead readDst(std::string_view bytes)
{
    PlanReading reading(bytes.size(), 3, unnamedThreadColour);
    if (bytes.size() < 3 || bytes.substr(0, 3) != "LA:")
        return reading.refuse(kSlotMachineFileNotFormat, Outcome(kSlotDstNoLa));
    if (bytes.size() < static_cast<std::size_t>(kDstHeaderSize))
        return reading.refuse(kSlotMachineFileTruncated, bytes.size());
    const std::string label = labelText(bytes.substr(3, 16));

    const std::size_t records = (bytes.size() - kDstHeaderSize) / 3;
    for (std::size_t i = 0; i < records; ++i) {
        const std::size_t at = kDstHeaderSize + 3 * i;
        const DstMove m = decode(bytes, at);
        if (m.type == DstMove::End)
            return reading.finish(label);
        bool ok = true;
        if (m.type == DstMove::Change) {
            // A change that also moves travels there first.
            ok = (m.dx == 0 && m.dy == 0) || reading.move(m.dx, -m.dy, StitchKind::Jump);
            ok = ok && reading.colourChange();
        } else if (m.type == DstMove::Jump && i + 2 < records && (m.dx != 0 || m.dy != 0)) {
            const DstMove a = decode(bytes, at + 3), b = decode(bytes, at + 6);
            if (a.type == DstMove::Jump && b.type == DstMove::Jump && m.dx + a.dx + b.dx == 0 &&
                m.dy + a.dy + b.dy == 0) {
                ok = reading.trim();
                i += 2;
            } else {
                ok = reading.move(m.dx, -m.dy, StitchKind::Jump);
            }
        } else {
            ok = reading.move(m.dx, -m.dy, m.type == DstMove::Jump ? StitchKind::Jump : StitchKind::Stitch);
        }
        if (!ok)
            return reading.refuse(kSlotMachineFileTooLarge, at);
    }
    // Every DST ends with its end record; without it the file was cut short.
    return reading.refuse(kSlotMachineFileTruncated, bytes.size());
}

} // namespace kelvara
