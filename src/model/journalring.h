#pragma once

#include "model/records.h"

#include <array>
#include <cstdint>

namespace kelvara {

// A 4 MiB ring of records: a 20-byte header (back, stepStart, listAction,
// size, target) followed by the saved bytes, padded to a multiple of 4.
// Edits fill it through the named calls in model/journal.h; Undo empties it
// from the newest end (model/journalreplay.cpp).
struct UndoJournal {
    // Room for a step that deletes, recolours or pastes every one of the
    // 4096 objects at the largest record (488 bytes a deleted object).
    static constexpr int32_t kSize = 4 * 1024 * 1024;
    static constexpr int32_t kHeaderSize = 20;

    // Targets that are not a row's record (row indexes 0..4095 are records).
    static constexpr int32_t kRowImageBase = 0x10000; // + row index
    static constexpr int32_t kCurrentObjectTarget = 0x20000;

    // Largest data part of a record: the biggest parameter record.
    static constexpr int32_t kMaxData = kMaxRecordSize;

    // Bytes the ring takes for one record of `size` bytes. A step must fit
    // whole: the ring drops the oldest records of a step that outgrows it,
    // and a step without its first records cannot be undone.
    static constexpr int64_t recordLength(int32_t size) { return kHeaderSize + ((size + 3) & ~3); }

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

// The listAction word: what Undo does to the object list with a record.
// -1 restores the record's data only; 0 without data rebuilds every line;
// n >= 0 with data (a NUL-padded text) puts that text back as line n;
// -(n + 2) deletes line n.
namespace ListAction {
inline constexpr int32_t kNone = -1;
inline constexpr int32_t kRefill = 0;
constexpr int32_t deleteLine(int32_t line)
{
    return -(line + 2);
}
} // namespace ListAction

enum class ListActionKind { None, ReinsertLine, Refill, DeleteLine };

constexpr ListActionKind listActionKind(const JournalHeader& header)
{
    if (header.listAction >= 0)
        return header.size > 0 ? ListActionKind::ReinsertLine : ListActionKind::Refill;
    return header.listAction == ListAction::kNone ? ListActionKind::None : ListActionKind::DeleteLine;
}

// The line a DeleteLine action names (wide: the word may be any value).
constexpr int64_t deletedLine(const JournalHeader& header)
{
    return -(static_cast<int64_t>(header.listAction) + 2);
}

void resetJournal(UndoJournal& journal);

// Appends one record of `size` bytes from `data` (zeros when null). When the
// ring is full, whole steps are dropped from the oldest end, so Undo never
// replays part of a step. A size outside 0..kMaxData appends nothing.
void appendJournalRecord(UndoJournal& journal, int32_t target, const void* data, int32_t size,
                         int32_t listAction, bool stepStart);

JournalHeader readJournalHeader(const UndoJournal& journal, int32_t position);
// The data part of the record at `position` (kHeaderSize past it).
const unsigned char* journalData(const UndoJournal& journal, int32_t position);
// Position of the record written after the one at `position`.
int32_t nextJournalRecord(const UndoJournal& journal, int32_t position);
// Number of complete steps Undo can still replay.
int countJournalSteps(const UndoJournal& journal);
bool journalEmpty(const UndoJournal& journal);
// Gives up the newest record once replayed; `back` is its header's back.
void dropNewestJournalRecord(UndoJournal& journal, int32_t back);

} // namespace kelvara
