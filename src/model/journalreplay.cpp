#include "model/editing.h"

#include "model/journalring.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kelvara {

namespace {

constexpr int32_t kRows = ObjectTable::kRows;

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

void restoreData(Workspace& ws, const Platform& platform, const JournalHeader& header,
                 const unsigned char* data, ReplayState& state)
{
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
}

void reinsertLine(ListBox& list, const JournalHeader& header, const unsigned char* data, ReplayState& state)
{
    const char* text = reinterpret_cast<const char*>(data);
    const size_t length = strnlen(text, static_cast<size_t>(header.size));
    const int position = std::min(header.listAction, list.count());
    list.insertString(position, std::string(text, length));
    list.setItemData(position, -1);
    list.setSelected(position, true);
    state.reinsertedLine = position;
}

void replayRecord(Workspace& ws, const Platform& platform, const JournalHeader& header,
                  const unsigned char* data, ReplayState& state)
{
    ListBox* list = platform.list;
    switch (listActionKind(header)) {
    case ListActionKind::None:
        restoreData(ws, platform, header, data, state);
        break;
    case ListActionKind::ReinsertLine:
        if (list != nullptr)
            reinsertLine(*list, header, data, state);
        break;
    case ListActionKind::Refill:
        refillObjectList(ws, platform);
        break;
    case ListActionKind::DeleteLine:
        if (list != nullptr && deletedLine(header) < list->count())
            list->deleteString(static_cast<int>(deletedLine(header)));
        break;
    }
}

} // namespace

void undoStep(Workspace& ws, const Platform& platform)
{
    UndoJournal& journal = ws.journal;
    if (journalEmpty(journal))
        return;

    ReplayState state;
    for (int guard = 0; guard < UndoJournal::kSize / UndoJournal::kHeaderSize; ++guard) {
        const JournalHeader header = readJournalHeader(journal, journal.newestRecord);
        if (header.size < 0 || header.size > UndoJournal::kMaxData)
            break;
        replayRecord(ws, platform, header, journalData(journal, journal.newestRecord), state);
        dropNewestJournalRecord(journal, header.back);
        if (header.stepStart == 1 || journalEmpty(journal))
            break;
    }

    markDesignChanged(ws);
}

} // namespace kelvara
