#include "model/journalring.h"

#include <cstring>

namespace kelvara {

namespace {

int32_t paddedLength(int32_t size)
{
    return UndoJournal::kHeaderSize + ((size + 3) & ~3);
}

// Length of the stored record at `position`, header included.
int32_t recordLengthAt(const UndoJournal& journal, int32_t position)
{
    int32_t size = readJournalHeader(journal, position).size;
    if (size < 0 || size > UndoJournal::kMaxData)
        size = 0;
    return paddedLength(size);
}

void writeWord(UndoJournal& journal, int32_t position, int32_t value)
{
    std::memcpy(journal.area.data() + position, &value, sizeof value);
}

// The boundary moves to the next record, which becomes the new boundary.
void dropOldest(UndoJournal& journal)
{
    const int32_t next = nextJournalRecord(journal, journal.oldestRecord);
    if (next == 0 && journal.wrapEnd >= 0)
        journal.wrapEnd = -1;
    journal.oldestRecord = next;
    writeWord(journal, next, 0);
}

bool overlaps(int32_t start, int32_t length, int32_t otherStart, int32_t otherLength)
{
    return start < otherStart + otherLength && otherStart < start + length;
}

} // namespace

void resetJournal(UndoJournal& journal)
{
    journal.newestRecord = 0;
    journal.oldestRecord = 0;
    journal.wrapEnd = -1;
}

JournalHeader readJournalHeader(const UndoJournal& journal, int32_t position)
{
    JournalHeader header;
    if (position < 0 || position > UndoJournal::kSize - UndoJournal::kHeaderSize)
        return header;
    std::memcpy(&header, journal.area.data() + position, sizeof header);
    return header;
}

const unsigned char* journalData(const UndoJournal& journal, int32_t position)
{
    return journal.area.data() + position + UndoJournal::kHeaderSize;
}

int32_t nextJournalRecord(const UndoJournal& journal, int32_t position)
{
    const int32_t next = position + recordLengthAt(journal, position);
    if (next == journal.wrapEnd || next + UndoJournal::kHeaderSize > UndoJournal::kSize)
        return 0;
    return next;
}

int countJournalSteps(const UndoJournal& journal)
{
    int steps = 0;
    int32_t position = journal.oldestRecord;
    // Every record is at least a header long, which bounds the walk.
    for (int guard = 0; position != journal.newestRecord && guard < UndoJournal::kSize / 20; ++guard) {
        position = nextJournalRecord(journal, position);
        if (readJournalHeader(journal, position).stepStart == 1)
            ++steps;
    }
    return steps;
}

bool journalEmpty(const UndoJournal& journal)
{
    return journal.newestRecord == journal.oldestRecord;
}

void dropNewestJournalRecord(UndoJournal& journal, int32_t back)
{
    journal.newestRecord = back;
    if (journal.newestRecord >= journal.oldestRecord)
        journal.wrapEnd = -1;
}

void appendJournalRecord(UndoJournal& journal, int32_t target, const void* data, int32_t size,
                         int32_t listAction, bool stepStart)
{
    if (size < 0 || size > UndoJournal::kMaxData)
        return;
    const int32_t length = paddedLength(size);
    const int32_t previous = journal.newestRecord;
    const int32_t follow = previous + recordLengthAt(journal, previous);

    int32_t position = follow;
    if (follow + length > UndoJournal::kSize) {
        // The tail from `follow` to the end is given up: records still
        // lying there (the ring already runs across the end) go first.
        while (journal.oldestRecord != previous && journal.oldestRecord >= follow)
            dropOldest(journal);
        journal.wrapEnd = follow;
        position = 0;
    }
    while (journal.oldestRecord != previous &&
           overlaps(position, length, journal.oldestRecord, recordLengthAt(journal, journal.oldestRecord)))
        dropOldest(journal);
    // A step whose first records are gone cannot be undone correctly, so
    // the rest of it goes too: the record after the boundary always starts
    // a step.
    while (journal.oldestRecord != previous &&
           readJournalHeader(journal, nextJournalRecord(journal, journal.oldestRecord)).stepStart != 1)
        dropOldest(journal);

    const JournalHeader header{previous, stepStart ? 1 : 0, listAction, size, target};
    unsigned char* out = journal.area.data() + position;
    std::memcpy(out, &header, sizeof header);
    unsigned char* stored = out + UndoJournal::kHeaderSize;
    std::memset(stored, 0, static_cast<size_t>(length - UndoJournal::kHeaderSize));
    if (data != nullptr)
        std::memcpy(stored, data, static_cast<size_t>(size));
    journal.newestRecord = position;
}

} // namespace kelvara
