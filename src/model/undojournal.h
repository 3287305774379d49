#pragma once

#include <array>
#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// A 256 KiB ring of records: a 20-byte header (back, stepStart, listAction,
// size, target) followed by the saved bytes, padded to a multiple of 4.
struct UndoJournal {
    static constexpr int32_t kSize = 262144;
    static constexpr int32_t kHeaderSize = 20;

    // Targets that are not a row's record (row indexes 0..4095 are records).
    static constexpr int32_t kRowImageBase = 0x10000;     // + row index
    static constexpr int32_t kCurrentObjectTarget = 0x20000;

    std::array<unsigned char, kSize> area{};
    int32_t newestRecord = 0;
    int32_t oldestRecord = 0;
};

void resetJournal(UndoJournal& journal);

} // namespace kelvara
