#include "model/redostore.h"

#include <cstring>

namespace kelvara {

void clearRedo(RedoStore& store)
{
    store.area.clear();
    store.newestRecord = -1;
}

bool redoEmpty(const RedoStore& store)
{
    return store.newestRecord < 0;
}

int countRedoSteps(const RedoStore& store)
{
    int steps = 0;
    for (int32_t position = store.newestRecord; position >= 0;) {
        const JournalHeader header = readRedoHeader(store, position);
        if (header.stepStart == 1)
            ++steps;
        // Records only ever point at earlier ones.
        if (header.back >= position)
            break;
        position = header.back;
    }
    return steps;
}

void appendRedoRecord(RedoStore& store, int32_t target, const void* data, int32_t size, int32_t listAction,
                      bool stepStart)
{
    if (size < 0 || size > UndoJournal::kMaxData)
        return;
    const auto position = static_cast<int32_t>(store.area.size());
    const JournalHeader header{store.newestRecord, stepStart ? 1 : 0, listAction, size, target};
    store.area.resize(store.area.size() + static_cast<size_t>(UndoJournal::recordLength(size)), 0);
    unsigned char* out = store.area.data() + position;
    std::memcpy(out, &header, sizeof header);
    if (data != nullptr)
        std::memcpy(out + UndoJournal::kHeaderSize, data, static_cast<size_t>(size));
    store.newestRecord = position;
}

JournalHeader readRedoHeader(const RedoStore& store, int32_t position)
{
    JournalHeader header;
    if (position < 0 || size_t(position) + UndoJournal::kHeaderSize > store.area.size())
        return header;
    std::memcpy(&header, store.area.data() + position, sizeof header);
    return header;
}

const unsigned char* redoData(const RedoStore& store, int32_t position)
{
    return store.area.data() + position + UndoJournal::kHeaderSize;
}

void dropNewestRedoRecord(RedoStore& store, int32_t back)
{
    if (store.newestRecord >= 0)
        store.area.resize(static_cast<size_t>(store.newestRecord));
    store.newestRecord = back >= 0 && size_t(back) < store.area.size() ? back : -1;
    if (store.newestRecord < 0)
        store.area.clear();
}

} // namespace kelvara
