#pragma once

#include <cstdint>
#include <string_view>

namespace kelvara {

struct Workspace;

// Whether a record opens a new undo step or belongs to the one open.
enum class JournalStep { Starts, Continues };

// What an edit saves, before it changes anything, so Undo can put it back.
// Records of one step are replayed newest first.

// Row `row` as it stands (28 bytes); Undo restores it, reviving or freeing
// its record and keeping the table's count and first row right.
void journalRowImage(Workspace& ws, int32_t row, JournalStep step);
// The parameter record of row `row` (paramsSize bytes).
void journalRecordBytes(Workspace& ws, int32_t row, JournalStep step);
// The table's currentObject.
void journalCurrentObject(Workspace& ws, JournalStep step);
// On Undo, delete list line `line` (the line a creation added).
void journalListDelete(Workspace& ws, int32_t line, JournalStep step);
// On Undo, put `text` back as list line `line` (a deletion's line); the text
// is kept to 63 bytes in a NUL-padded 64-byte field.
void journalListReinsert(Workspace& ws, int32_t line, std::string_view text, JournalStep step);
// On Undo, rebuild every list line from the display order.
void journalListRefill(Workspace& ws, JournalStep step);

} // namespace kelvara
