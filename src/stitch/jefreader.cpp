// Janome JEF, from the format's public description: a little-endian header
// of 0x74 bytes (the stitches' offset first, the thread count at 24), a table
// of one thread code per colour block and one of thread types, then the moves
// from the centre: two signed bytes (y up), 0x80 opening a command of four
// bytes: 0x01 colour change, 0x02 a jump by the two bytes (a trim when both
// are 0), and 0x80 0x10 the end. A file with more in its header (JEF+) still
// has its stitches where the offset says.
#include "stitch/jefwriter.h"
#include "stitch/planreading.h"
#include "stitch/threadchart.h"

#include <vector>

namespace kelvara {

MachineRead readJef(std::string_view bytes, const ThreadChart& janome)
{
    PlanReading header(0, 1, unnamedThreadColour);
    if (bytes.size() < static_cast<std::size_t>(kJefHeaderSize))
        return header.refuse(kSlotMachineFileTruncated, bytes.size());
    const uint32_t offset = readU32(bytes, 0);
    const uint32_t threads = readU32(bytes, 24);
    if (offset < static_cast<uint32_t>(kJefHeaderSize))
        return header.refuse(kSlotMachineFileNotFormat, Outcome(kSlotJefInsideHeader));
    // Both tables must fit before the stitches; stitches beyond the end mean
    // the file was cut (or its offset is forged: the message covers both).
    const uint64_t tables = kJefHeaderSize + 8 * static_cast<uint64_t>(threads);
    if (tables > offset)
        return header.refuse(kSlotMachineFileForged, Outcome(kSlotJefThreadCount, std::to_string(threads)));
    if (offset > bytes.size())
        return header.refuse(kSlotMachineFileTruncated,
                             Outcome(kSlotJefStitchesBeyond, std::to_string(offset)));

    std::vector<int32_t> codes(threads);
    for (uint32_t t = 0; t < threads; ++t)
        codes[t] = static_cast<int32_t>(readU32(bytes, kJefHeaderSize + 4 * static_cast<std::size_t>(t)));
    PlanReading reading(bytes.size() - offset, 2, [&](int64_t block) {
        return block < static_cast<int64_t>(codes.size())
                   ? chartThreadColour(janome, codes[static_cast<std::size_t>(block)], block)
                   : unnamedThreadColour(block);
    });
    std::size_t i = offset;
    while (i + 1 < bytes.size()) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        bool ok = true;
        if (first != 0x80) {
            ok = reading.move(static_cast<int8_t>(first), -static_cast<int8_t>(second), StitchKind::Stitch);
            if (!ok)
                return reading.refuse(kSlotMachineFileTooLarge, i);
            i += 2;
            continue;
        }
        if (second == 0x10)
            return reading.finish("");
        if (i + 3 >= bytes.size())
            break;
        const int dx = static_cast<int8_t>(static_cast<uint8_t>(bytes[i + 2]));
        const int dy = static_cast<int8_t>(static_cast<uint8_t>(bytes[i + 3]));
        if (second == 0x01)
            ok = reading.colourChange();
        else if (second == 0x02 && dx == 0 && dy == 0)
            ok = reading.trim();
        else if (second == 0x02)
            ok = reading.move(dx, -dy, StitchKind::Jump);
        else
            return reading.refuse(kSlotMachineFileNotFormat,
                                  Outcome(kSlotJefCommand, std::to_string(second), std::to_string(i)));
        if (!ok)
            return reading.refuse(kSlotMachineFileTooLarge, i);
        i += 4;
    }
    return reading.refuse(kSlotMachineFileTruncated, bytes.size());
}

} // namespace kelvara
