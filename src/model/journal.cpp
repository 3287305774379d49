#include "model/journal.h"

#include "model/workspace.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kelvara {

namespace {

// A deleted line's text travels NUL-padded in a fixed field.
constexpr int32_t kReinsertTextSize = 64;

bool isRow(int32_t row)
{
    return row >= 0 && row < ObjectTable::kRows;
}

// A new step is a new edit: what Undo took back can no longer be redone.
bool starts(Workspace& ws, JournalStep step)
{
    if (step != JournalStep::Starts)
        return false;
    clearRedo(ws.redo);
    return true;
}

} // namespace

void journalRowImage(Workspace& ws, int32_t row, JournalStep step)
{
    std::array<unsigned char, sizeof(ObjectEntry)> image{};
    if (isRow(row))
        std::memcpy(image.data(), &ws.table.rows[row], sizeof(ObjectEntry));
    appendJournalRecord(ws.journal, UndoJournal::kRowImageBase + row, image.data(), sizeof(ObjectEntry),
                        ListAction::kNone, starts(ws, step));
}

void journalRecordBytes(Workspace& ws, int32_t row, JournalStep step)
{
    if (!isRow(row))
        return;
    const ObjectEntry& entry = ws.table.rows[row];
    const int32_t size = entry.paramsSize;
    if (size < 0 || size > UndoJournal::kMaxData)
        return;
    std::array<unsigned char, UndoJournal::kMaxData> bytes{};
    if (ws.records.isLive(entry.params))
        std::memcpy(bytes.data(), ws.records.bytes(entry.params), static_cast<size_t>(size));
    appendJournalRecord(ws.journal, row, bytes.data(), size, ListAction::kNone, starts(ws, step));
}

void journalCurrentObject(Workspace& ws, JournalStep step)
{
    appendJournalRecord(ws.journal, UndoJournal::kCurrentObjectTarget, &ws.table.currentObject,
                        sizeof ws.table.currentObject, ListAction::kNone, starts(ws, step));
}

void journalListDelete(Workspace& ws, int32_t line, JournalStep step)
{
    appendJournalRecord(ws.journal, 0, nullptr, 0, ListAction::deleteLine(line), starts(ws, step));
}

void journalListReinsert(Workspace& ws, int32_t line, std::string_view text, JournalStep step)
{
    std::array<char, kReinsertTextSize> field{};
    std::memcpy(field.data(), text.data(), std::min<size_t>(text.size(), kReinsertTextSize - 1));
    appendJournalRecord(ws.journal, 0, field.data(), kReinsertTextSize, line, starts(ws, step));
}

void journalListRefill(Workspace& ws, JournalStep step)
{
    appendJournalRecord(ws.journal, 0, nullptr, 0, ListAction::kRefill, starts(ws, step));
}

} // namespace kelvara
