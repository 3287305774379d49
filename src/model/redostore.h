#pragma once

#include "model/journalring.h"

#include <cstdint>
#include <vector>

namespace kelvara {

// The steps Undo took back, as records of the undo journal's own kinds and
// layout (header, then the data padded to 4 bytes), stacked: Redo replays
// the newest step first, each step from its newest record, as Undo does.
// Nothing is dropped from the old end: a step that finds no room empties
// the store, since the steps under it could only be reached through it.
struct RedoStore {
    // The inverse of a step can be a few times the step (a freed row keeps
    // its record), and every step once fitted into the undo journal.
    static constexpr int64_t kCapacity = 8 * int64_t(UndoJournal::kSize);

    std::vector<unsigned char> area;
    int32_t newestRecord = -1; // -1 while empty
};

void clearRedo(RedoStore& store);
bool redoEmpty(const RedoStore& store);
int countRedoSteps(const RedoStore& store);

// Appends one record; `data` may be null for a record without data.
void appendRedoRecord(RedoStore& store, int32_t target, const void* data, int32_t size, int32_t listAction,
                      bool stepStart);
JournalHeader readRedoHeader(const RedoStore& store, int32_t position);
const unsigned char* redoData(const RedoStore& store, int32_t position);
// Gives up the newest record once replayed; `back` is its header's back.
void dropNewestRedoRecord(RedoStore& store, int32_t back);

} // namespace kelvara
