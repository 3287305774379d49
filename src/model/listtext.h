#pragma once

#include <cstdint>
#include <string>

namespace kelvara {

struct ObjectTable;
class RecordStore;
struct Workspace;

// Numbering carried from one list line to the next.
struct ListNumbering {
    int32_t listNumber = 0;
    int32_t firstLinePending = 1;
    int32_t lastLineColour = 0;
};

void restartListNumbering(ListNumbering& numbering);

// The one-line description of row `row`: glyph, trim mark, colour-change
// mark, group (right-aligned in 4) and running number. "???" for a free row.
std::string buildListLine(ListNumbering& numbering, const ObjectTable& table,
                          const RecordStore& records, int32_t row);

// The same line in words: running number from 1, the kind's name, its
// group and the top-left corner of its box in mm, then "trim" when it
// trims. At most 63 characters, as the undo journal keeps a line.
std::string buildListWords(ListNumbering& numbering, const ObjectTable& table,
                           const RecordStore& records, int32_t row);

// The line the configuration asks for (LISTWORDS).
std::string listLine(const Workspace& ws, ListNumbering& numbering, int32_t row);

} // namespace kelvara
