#include "model/undojournal.h"

#include "model/editing.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <algorithm>
#include <cstring>

namespace kelvara {

namespace {

constexpr int32_t kRows = ObjectTable::kRows;

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

void journalRecord(Workspace& ws, int32_t target, const void* source, int32_t size, int32_t listAction,
                   bool stepStart)
{
    UndoJournal& journal = ws.journal;
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

    JournalHeader header{previous, stepStart ? 1 : 0, listAction, size, target};
    unsigned char* out = journal.area.data() + position;
    std::memcpy(out, &header, sizeof header);
    unsigned char* data = out + UndoJournal::kHeaderSize;
    std::memset(data, 0, static_cast<size_t>(length - UndoJournal::kHeaderSize));

    if (source != nullptr) {
        std::memcpy(data, source, static_cast<size_t>(size));
    } else if (target >= 0 && target < kRows) {
        const int32_t handle = ws.table.rows[target].params;
        if (ws.records.isLive(handle))
            std::memcpy(data, ws.records.bytes(handle), static_cast<size_t>(size));
    } else if (target >= UndoJournal::kRowImageBase && target < UndoJournal::kRowImageBase + kRows) {
        const ObjectEntry& row = ws.table.rows[target - UndoJournal::kRowImageBase];
        std::memcpy(data, &row, std::min<size_t>(static_cast<size_t>(size), sizeof row));
    } else if (target == UndoJournal::kCurrentObjectTarget) {
        std::memcpy(data, &ws.table.currentObject,
                    std::min<size_t>(static_cast<size_t>(size), sizeof ws.table.currentObject));
    }
    journal.newestRecord = position;
}

namespace {

// What one replayed step has to remember between its records.
struct ReplayState {
    // List position of a line re-inserted in this step, still waiting for
    // the row its object is revived in.
    int reinsertedLine = -1;
};

void restoreRowImage(Workspace& ws, const Platform& platform, int32_t row, const unsigned char* data,
                     ReplayState& state)
{
    ObjectTable& table = ws.table;
    ObjectEntry image;
    std::memcpy(&image, data, sizeof image);
    ObjectEntry& entry = table.rows[row];

    const bool wasUsed = entry.kind != KindFree;
    const bool becomesUsed = image.kind != KindFree;
    if (entry.params == 0 && image.params != 0) {
        image.params = ws.records.allocate(image.paramsSize);
    } else if (entry.params != 0 && image.params == 0) {
        ws.records.release(entry.params);
    } else {
        // A row that keeps its record keeps its handle: the image may hold
        // the handle of a record since released and handed out again.
        image.params = entry.params;
    }
    entry = image;
    entry.reserved = 0;

    if (wasUsed && !becomesUsed) {
        if (table.firstObject == row)
            table.firstObject = entry.next;
        --table.objectCount;
        if (table.objectCount <= 0) {
            table.objectCount = 0;
            table.firstObject = 0;
        }
    } else if (wasUsed && becomesUsed) {
        // Only links change. A reorder may have moved the head away; the
        // row that was first before the step gets its prev of -1 back.
        if (entry.prev == -1)
            table.firstObject = row;
    } else if (!wasUsed && becomesUsed) {
        table.currentObject = row;
        if (entry.prev == -1)
            table.firstObject = row;
        ++table.objectCount;
        if (state.reinsertedLine >= 0 && platform.list != nullptr) {
            platform.list->setItemData(state.reinsertedLine, row);
            state.reinsertedLine = -1;
        }
    }
}

void replayRecord(Workspace& ws, const Platform& platform, const JournalHeader& header,
                  const unsigned char* data, ReplayState& state)
{
    ListBox* list = platform.list;
    if (header.listAction == -1) {
        const int32_t target = header.target;
        if (target >= 0 && target < kRows) {
            const int32_t handle = ws.table.rows[target].params;
            if (ws.records.isLive(handle))
                std::memcpy(ws.records.bytes(handle), data,
                            static_cast<size_t>(std::min(header.size, kMaxRecordSize)));
        } else if (target >= UndoJournal::kRowImageBase && target < UndoJournal::kRowImageBase + kRows &&
                   header.size == static_cast<int32_t>(sizeof(ObjectEntry))) {
            restoreRowImage(ws, platform, target - UndoJournal::kRowImageBase, data, state);
        } else if (target == UndoJournal::kCurrentObjectTarget && header.size == 4) {
            std::memcpy(&ws.table.currentObject, data, 4);
        }
    } else if (header.listAction >= 0 && header.size > 0) {
        if (list == nullptr)
            return;
        const char* text = reinterpret_cast<const char*>(data);
        const size_t length = strnlen(text, static_cast<size_t>(header.size));
        const int position = std::min(header.listAction, list->count());
        list->insertString(position, std::string(text, length));
        list->setItemData(position, -1);
        list->setSelected(position, true);
        state.reinsertedLine = position;
    } else if (header.listAction >= 0) {
        refillObjectList(ws, platform);
    } else if (header.listAction <= -2) {
        const int64_t position = -(static_cast<int64_t>(header.listAction) + 2);
        if (list != nullptr && position < list->count())
            list->deleteString(static_cast<int>(position));
    }
}

} // namespace

void undoStep(Workspace& ws, const Platform& platform)
{
    UndoJournal& journal = ws.journal;
    if (journal.newestRecord == journal.oldestRecord)
        return;

    ReplayState state;
    for (int guard = 0; guard < UndoJournal::kSize / UndoJournal::kHeaderSize; ++guard) {
        const JournalHeader header = readJournalHeader(journal, journal.newestRecord);
        if (header.size < 0 || header.size > UndoJournal::kMaxData)
            break;
        replayRecord(ws, platform, header,
                     journal.area.data() + journal.newestRecord + UndoJournal::kHeaderSize, state);
        journal.newestRecord = header.back;
        if (journal.newestRecord >= journal.oldestRecord)
            journal.wrapEnd = -1;
        if (header.stepStart == 1 || journal.newestRecord == journal.oldestRecord)
            break;
    }

    markDesignChanged(ws);
}

} // namespace kelvara
