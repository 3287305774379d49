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
    static constexpr int32_t kRowImageBase = 0x10000; // + row index
    static constexpr int32_t kCurrentObjectTarget = 0x20000;

    // Largest data part of a record: the biggest parameter record.
    static constexpr int32_t kMaxData = 232;

    std::array<unsigned char, kSize> area{};
    int32_t newestRecord = 0;
    int32_t oldestRecord = 0;
    // End of the last record before the area's end while the live records
    // run across it (newestRecord < oldestRecord); -1 otherwise. A record's
    // bytes cannot tell whether its successor wrapped to the start, so the
    // ring remembers where it did.
    int32_t wrapEnd = -1;
};

// One record header as stored in the area.
struct JournalHeader {
    int32_t back = 0;
    int32_t stepStart = 0;
    int32_t listAction = -1;
    int32_t size = 0;
    int32_t target = 0;
};

void resetJournal(UndoJournal& journal);

// Appends one record. With `source` null the data are copied from the memory
// `target` names (a row's parameter record for 0..4095, a row for
// kRowImageBase + row, currentObject for kCurrentObjectTarget) before the
// caller changes it; otherwise `size` bytes are copied from `source`. When the
// ring is full, whole steps are dropped from the oldest end, so Undo never
// replays part of a step.
void journalRecord(Workspace& ws, int32_t target, const void* source, int32_t size, int32_t listAction,
                   bool stepStart);

JournalHeader readJournalHeader(const UndoJournal& journal, int32_t position);
// Position of the record written after the one at `position`.
int32_t nextJournalRecord(const UndoJournal& journal, int32_t position);
// Number of complete steps Undo can still replay.
int countJournalSteps(const UndoJournal& journal);

} // namespace kelvara
