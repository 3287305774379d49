#pragma once

#include "model/objecttable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

struct Libraries;
struct Settings;
struct TokenTable;

// The object line of a used row: kind word, then key=value pairs in the
// kind's fixed order, one blank apart. Lines are written whole, whatever
// their length. Rows of no known kind give the empty text.
std::string formatObjectLine(const ObjectEntry& entry, const RecordStore& records,
                             const Libraries& libraries);

// The same line appended to `out` (no line end); false, and nothing
// appended, for a row of no known kind or without a record.
bool appendObjectLine(std::string& out, const ObjectEntry& entry, const RecordStore& records,
                      const Libraries& libraries);

// The kind whose word the line's first token is; KindFree for a line that
// is no object line.
int32_t objectLineKind(const TokenTable& tokens);

// Makes an object from the tokens of one line when the first token's key is
// a kind word: allocates the record, fills every field with its default,
// takes the first occurrence of each of the kind's keys and applies the
// conversions and clamps. Sets kind, params, paramsSize, reserved and group;
// the display links are the caller's. False (row untouched) when the line is
// no object line, a number field holds a word, or no record can be had.
// `rawLine` is the line before it was split, which holds the whole PATH or
// MOVES value the tokens keep only the start of; a path or a block of moves
// that cannot be read refuses the line.
bool parseObjectLine(const TokenTable& tokens, ObjectEntry& row, RecordStore& records,
                     const Settings& settings, const Libraries& libraries, std::string_view rawLine = {});

// The value of the first `key=` word of a raw line (key in upper case,
// matched ignoring case), whatever its length; empty when there is none.
std::string_view rawKeyValue(std::string_view line, std::string_view key);

// Nearest integer, exact halves to the even neighbour, whatever the
// floating-point environment; NaN gives 0 and values beyond the int32 range
// give its nearest end.
int32_t roundHalfEven(double value);

} // namespace kelvara
