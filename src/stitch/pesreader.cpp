// Brother PES, from the public descriptions of PES and PEC: "#PES" and four
// version characters, then the PEC block's offset (32 bits, little-endian).
// The PEC block opens with "LA:" and the 16-character label; byte 48 counts
// the palette indices less one (0xFF: none) and the indices follow; 512 bytes
// in comes the stitch part: 16 bytes of thumbnail offset and size, then the
// moves. Each axis of a move is one byte of 7 bits (-64..63), or, with the top
// bit set, two bytes of 12 bits whose flags say jump (0x10) or trim (0x20);
// 0xFE 0xB0 and one byte change the thread, 0xFF ends the list.
#include "stitch/peswriter.h"
#include "stitch/planreading.h"
#include "stitch/threadchart.h"

#include <vector>

namespace kelvara {

namespace {

constexpr std::size_t kPesMagicSize = 8;
constexpr std::size_t kPecPaletteCount = 48;
constexpr std::size_t kPecStitchHead = 16; // thumbnail offset, size, two fixed words

struct Axis {
    int value = 0;
    uint8_t flags = 0;
};

// One axis at `i`; false when the file ends inside it.
bool readAxis(std::string_view b, std::size_t& i, Axis& axis)
{
    if (i >= b.size())
        return false;
    const auto first = static_cast<uint8_t>(b[i]);
    if (!(first & 0x80)) {
        axis = {first > 0x3F ? first - 0x80 : first, 0};
        ++i;
        return true;
    }
    if (i + 1 >= b.size())
        return false;
    int v = (first & 0x0F) << 8 | static_cast<uint8_t>(b[i + 1]);
    if (v & 0x800)
        v -= 0x1000;
    axis = {v, static_cast<uint8_t>(first & 0x70)};
    i += 2;
    return true;
}

} // namespace

MachineRead readPes(std::string_view b, const ThreadChart& brother)
{
    PlanReading header(0, 1, unnamedThreadColour);
    if (b.size() < 4 || b.substr(0, 4) != "#PES")
        return header.refuse(kSlotMachineFileNotFormat, Outcome(kSlotPesNoMagic));
    if (b.size() < kPesMagicSize + 4)
        return header.refuse(kSlotMachineFileTruncated, b.size());
    const uint32_t pec = readU32(b, kPesMagicSize);
    if (pec < kPesMagicSize + 4)
        return header.refuse(kSlotMachineFileForged, Outcome(kSlotPesOffset, std::to_string(pec)));
    if (pec > b.size())
        return header.refuse(kSlotMachineFileTruncated, Outcome(kSlotPesBlockBeyond, std::to_string(pec)));
    const std::size_t stitches = static_cast<std::size_t>(pec) + kPecListOffset + kPecStitchHead;
    if (stitches > b.size())
        return header.refuse(kSlotMachineFileTruncated, b.size());
    if (b.substr(pec, 3) != "LA:")
        return header.refuse(kSlotMachineFileNotFormat, Outcome(kSlotPesNoLa));
    const std::string label = labelText(b.substr(pec + 3, 16));

    const auto countByte = static_cast<uint8_t>(b[pec + kPecPaletteCount]);
    const std::size_t colours = countByte == 0xFF ? 0 : std::size_t{countByte} + 1;
    std::vector<int32_t> palette(colours);
    for (std::size_t c = 0; c < colours; ++c)
        palette[c] = static_cast<uint8_t>(b[pec + kPecPaletteCount + 1 + c]);
    PlanReading reading(b.size() - stitches, 2, [&](int64_t block) {
        return block < static_cast<int64_t>(palette.size())
                   ? chartThreadColour(brother, palette[static_cast<std::size_t>(block)], block)
                   : unnamedThreadColour(block);
    });

    std::size_t i = stitches;
    while (i < b.size()) {
        const std::size_t at = i;
        const auto first = static_cast<uint8_t>(b[i]);
        if (first == 0xFF)
            return reading.finish(label);
        if (first == 0xFE && i + 1 < b.size() && static_cast<uint8_t>(b[i + 1]) == 0xB0) {
            if (i + 2 >= b.size())
                break;
            if (!reading.colourChange())
                return reading.refuse(kSlotMachineFileTooLarge, at);
            i += 3;
            continue;
        }
        Axis x, y;
        if (!readAxis(b, i, x) || !readAxis(b, i, y))
            break;
        const uint8_t flags = x.flags | y.flags;
        bool ok = true;
        if (flags & 0x20) {
            // The thread is cut where the needle is, then the frame travels.
            ok = reading.trim() &&
                 ((x.value == 0 && y.value == 0) || reading.move(x.value, y.value, StitchKind::Jump));
        } else {
            ok = reading.move(x.value, y.value, flags & 0x10 ? StitchKind::Jump : StitchKind::Stitch);
        }
        if (!ok)
            return reading.refuse(kSlotMachineFileTooLarge, at);
    }
    return reading.refuse(kSlotMachineFileTruncated, b.size());
}

} // namespace kelvara
