#include "model/editing.h"

#include "model/refresh.h"
#include "model/undojournal.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kelvara {

namespace {

constexpr int kReinsertTextSize = 64;

void journalRow(Workspace& ws, int32_t row)
{
    journalRecord(ws, UndoJournal::kRowImageBase + row, nullptr, sizeof(ObjectEntry), -1, false);
}

} // namespace

void deleteCurrent(Workspace& ws, const Platform& platform)
{
    if (ws.input.shiftDown != 0) {
        if (ws.picture.loaded()) {
            releaseBackgroundPicture(ws.picture);
            markCanvasChanged(ws);
        }
        return;
    }

    ObjectTable& table = ws.table;
    const int32_t r = table.currentObject;
    if (r < 0 || r >= ObjectTable::kRows || table.rows[r].kind == KindFree)
        return;
    ObjectEntry& entry = table.rows[r];

    journalRecord(ws, r, nullptr, entry.paramsSize, -1, true);
    journalRow(ws, r);

    entry.kind = KindFree;
    ws.records.release(entry.params);
    entry.params = 0;
    entry.paramsSize = 0;

    int32_t q = 0;
    for (int32_t row = table.firstObject; q < table.objectCount && row != r && row >= 0; ++q)
        row = table.rows[row].next;
    std::string text = platform.list != nullptr ? platform.list->text(q) : std::string();

    const int32_t prev = entry.prev;
    const int32_t next = entry.next;
    if (prev != -1) {
        journalRow(ws, prev);
        table.rows[prev].next = next;
    }
    if (table.firstObject == r)
        table.firstObject = next;
    if (next != -1) {
        table.currentObject = next;
        journalRow(ws, next);
        table.rows[next].prev = prev;
    } else if (prev != -1) {
        table.currentObject = prev;
    }
    entry.prev = -1;
    entry.next = -1;

    // The line's text travels NUL-padded in a fixed field.
    std::array<char, kReinsertTextSize> saved{};
    std::memcpy(saved.data(), text.data(), std::min<size_t>(text.size(), kReinsertTextSize - 1));
    journalRecord(ws, 0, saved.data(), kReinsertTextSize, q, false);
    if (platform.list != nullptr && q < platform.list->count())
        platform.list->deleteString(q);

    --table.objectCount;
    if (table.objectCount == 0) {
        table.firstObject = 0;
        table.currentObject = -1;
    }
    markDesignChanged(ws);
}

} // namespace kelvara
