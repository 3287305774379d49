#include "project/projectformat.h"

#include "project/projectkeys.h"

#include "model/kinds/kind.h"
#include "model/newrecord.h"

#include "shell/libraries.h"
#include "shell/settings.h"
#include "shell/tokenizer.h"
#include "model/blockstore.h"
#include "model/pathstore.h"
#include "model/textstore.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <deque>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvara {

namespace {

using projectkeys::Field;
using projectkeys::Form;

std::span<const Field> fieldsOf(int32_t kind)
{
    const KindRow* row = kindRow(kind);
    return row ? row->keys : std::span<const Field>{};
}

// Field indexes of one kind sorted by key, so a token's key is found by a
// binary search instead of a walk over up to 43 keys.
struct KeyIndex {
    std::array<uint8_t, 64> order{};
    std::size_t count = 0;
};

KeyIndex buildKeyIndex(std::span<const Field> fields)
{
    KeyIndex index;
    index.count = fields.size();
    for (std::size_t i = 0; i < fields.size(); ++i)
        index.order[i] = static_cast<uint8_t>(i);
    std::sort(index.order.begin(), index.order.begin() + index.count,
              [&](uint8_t a, uint8_t b) { return fields[a].key < fields[b].key; });
    return index;
}

// Built the first time a kind's line is read. Reading runs on one thread.
const KeyIndex& keyIndexOf(int32_t kind)
{
    static std::deque<std::pair<const KindRow*, KeyIndex>> indexes; // references stay put
    const KindRow* row = kindRow(kind);
    for (const auto& [of, index] : indexes)
        if (of == row)
            return index;
    indexes.emplace_back(row, buildKeyIndex(fieldsOf(kind)));
    return indexes.back().second;
}

// `expected` is where the key stands when the line is in the written order,
// which saves the search for files this program wrote.
int findField(int32_t kind, std::string_view key, std::size_t expected)
{
    const auto fields = fieldsOf(kind);
    if (expected < fields.size() && fields[expected].key == key)
        return static_cast<int>(expected);
    const KeyIndex& index = keyIndexOf(kind);
    const auto* begin = index.order.data();
    const auto* end = begin + index.count;
    const auto* it =
        std::lower_bound(begin, end, key, [&](uint8_t i, std::string_view k) { return fields[i].key < k; });
    if (it != end && fields[*it].key == key)
        return *it;
    return -1;
}

int32_t getInt(const unsigned char* record, uint16_t offset)
{
    int32_t v;
    std::memcpy(&v, record + offset, sizeof v);
    return v;
}

double getDouble(const unsigned char* record, uint16_t offset)
{
    double v;
    std::memcpy(&v, record + offset, sizeof v);
    return v;
}

void setInt(unsigned char* record, uint16_t offset, int32_t v)
{
    std::memcpy(record + offset, &v, sizeof v);
}
void setDouble(unsigned char* record, uint16_t offset, double v)
{
    std::memcpy(record + offset, &v, sizeof v);
}

void appendInt(std::string& out, int64_t v)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, result.ptr);
}

template <typename Library> void appendName(std::string& out, const Library& library, int32_t index)
{
    // Indexes outside the loaded entries and empty names cannot be written
    // as a reference that reads back, so they become NIL.
    if (index >= 0 && index < library.count && index < Library::kEntries && !library.names[index].empty())
        out += library.names[index];
    else
        out += "NIL";
}

void appendValue(std::string& out, const Field& field, const ObjectEntry& entry, const unsigned char* record,
                 const Libraries& libraries)
{
    switch (field.form) {
    case Form::Group:
        appendInt(out, entry.group);
        return;
    case Form::Integer:
    case Form::Flag:
    case Form::Repeat:
    case Form::RunRepeat:
    case Form::RunLength:
    case Form::Tail:
    case Form::TailFlag:
        appendInt(out, getInt(record, field.offset));
        return;
    case Form::Coord:
        appendInt(out, roundHalfEven(getDouble(record, field.offset)));
        return;
    case Form::Scale:
        appendInt(out, roundHalfEven(256.0 * getDouble(record, field.offset)));
        return;
    case Form::Angle:
        appendInt(out, getInt(record, field.offset) % 360);
        return;
    case Form::Side:
        out += getInt(record, field.offset) == 1 ? '1' : '0';
        return;
    case Form::Red:
        appendInt(out, static_cast<uint32_t>(getInt(record, field.offset)) & 0xFF);
        return;
    case Form::Green:
        appendInt(out, (static_cast<uint32_t>(getInt(record, field.offset)) >> 8) & 0xFF);
        return;
    case Form::Blue:
        appendInt(out, (static_cast<uint32_t>(getInt(record, field.offset)) >> 16) & 0xFF);
        return;
    case Form::Motif:
        appendName(out, libraries.motifs, getInt(record, field.offset));
        return;
    case Form::Pattern:
        appendName(out, libraries.patterns, getInt(record, field.offset));
        return;
    case Form::TieOff:
        appendName(out, libraries.tieOffs, getInt(record, field.offset));
        return;
    case Form::Jump:
        out += getInt(record, field.offset) == 0 ? '1' : '0';
        return;
    case Form::Path:
        if (const PathData* path = storedPath(getInt(record, field.offset)))
            appendPath(out, *path);
        return;
    case Form::Text:
        out += escapeKeyText(storedText(getInt(record, field.offset)));
        return;
    case Form::Moves:
        if (const StoredBlock* block = storedBlock(getInt(record, field.offset)))
            appendBlock(out, block->block, getInt(record, field.offset + 4), getInt(record, field.offset + 8));
        return;
    }
}

// Every field of a kind at the value it keeps when its key is absent: a new
// object's record, except that it is white and has a small fixed shape
// where a drawn one takes the clicks.
ObjectParams lineDefaults(int32_t kind, const Settings& s)
{
    constexpr int32_t kWhite = 0xFFFFFF;
    ObjectParams p = newRecord(kind, s, kWhite);
    if (const KindRow* row = kindRow(kind); row && row->sampleShape)
        row->sampleShape(p);
    return p;
}

int32_t clampColourPart(int32_t v)
{
    return std::clamp(v, 0, 255);
}

int32_t readReference(const Token& token, Form form, const Libraries& libraries)
{
    // Token texts are upper case already; a number leaves the text empty and
    // so looks for an entry with an empty name.
    if (token.text == "NIL")
        return -1;
    switch (form) {
    case Form::Motif:
        return findLibraryEntry(libraries.motifs, token.text);
    case Form::Pattern:
        return findLibraryEntry(libraries.patterns, token.text);
    default:
        return findLibraryEntry(libraries.tieOffs, token.text);
    }
}

} // namespace

int32_t roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    // Within this range floor and the difference are exact.
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<int32_t>(whole);
}

bool appendObjectLine(std::string& out, const ObjectEntry& entry, const RecordStore& records,
                      const Libraries& libraries)
{
    const auto fields = fieldsOf(entry.kind);
    if (fields.empty() || !records.isLive(entry.params))
        return false;
    const unsigned char* record = records.bytes(entry.params);
    out += kindRow(entry.kind)->word;
    for (const Field& field : fields) {
        if ((field.form == Form::Tail || field.form == Form::TailFlag) && getInt(record, field.offset) == 0)
            continue;
        out += ' ';
        out += field.key;
        out += '=';
        appendValue(out, field, entry, record, libraries);
    }
    return true;
}

std::string formatObjectLine(const ObjectEntry& entry, const RecordStore& records, const Libraries& libraries)
{
    std::string line;
    line.reserve(400);
    appendObjectLine(line, entry, records, libraries);
    return line;
}

int32_t objectLineKind(const TokenTable& tokens)
{
    if (tokens.tokenCount < 1)
        return KindFree;
    const KindRow* row = kindByWord(tokens.rows[0].key);
    return row ? row->kind : KindFree;
}

std::string_view rawKeyValue(std::string_view line, std::string_view key)
{
    // Keys fold to upper case as the tokenizer folds them; values do not.
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ')
            ++at;
        const std::size_t end = std::min(line.find(' ', at), line.size());
        const std::string_view word = line.substr(at, end - at);
        if (word.size() > key.size() && word[key.size()] == '=' &&
            upperCase(word.substr(0, key.size())) == key)
            return word.substr(key.size() + 1);
        at = end;
    }
    return {};
}

bool parseObjectLine(const TokenTable& tokens, ObjectEntry& row, RecordStore& records,
                     const Settings& settings, const Libraries& libraries, std::string_view rawLine)
{
    const int32_t kind = objectLineKind(tokens);
    if (kind == KindFree)
        return false;

    ObjectParams params = lineDefaults(kind, settings);
    unsigned char* record = params.bytes;
    int32_t group = 0;
    int32_t red = 255, green = 255, blue = 255;
    int colourOffset = -1;

    const auto fields = fieldsOf(kind);
    std::bitset<64> taken;
    const int32_t count = std::min<int32_t>(tokens.tokenCount, TokenTable::kRows);
    std::size_t expected = 0;
    for (int32_t t = 1; t < count; ++t) {
        const Token& token = tokens.rows[t];
        const int f = findField(kind, token.key, expected);
        if (f < 0 || taken[f])
            continue;
        expected = static_cast<std::size_t>(f) + 1;
        taken[f] = true;
        const Field& field = fields[f];
        // Only references are names; a word where a number belongs makes
        // the line unreadable rather than a zero that moves the object.
        const bool reference =
            field.form == Form::Motif || field.form == Form::Pattern || field.form == Form::TieOff;
        const bool long_ = field.form == Form::Path || field.form == Form::Moves || field.form == Form::Text;
        if (!reference && !long_ && !token.text.empty())
            return false;
        const int32_t n = token.number;
        switch (field.form) {
        case Form::Group:
            group = n;
            break;
        case Form::Integer:
        case Form::Repeat:
        case Form::RunRepeat:
        case Form::RunLength:
        case Form::Tail:
            setInt(record, field.offset, n);
            break;
        case Form::Flag:
        case Form::TailFlag:
            setInt(record, field.offset, n == 1 ? 1 : 0);
            break;
        case Form::Coord:
            setDouble(record, field.offset, static_cast<double>(n));
            break;
        case Form::Scale:
            setDouble(record, field.offset, static_cast<double>(n) / 256.0);
            break;
        case Form::Angle:
            // The sign is kept, as written: -45 is another direction than 45.
            setInt(record, field.offset, n % 360);
            break;
        case Form::Side:
            setInt(record, field.offset, n == 1 ? 1 : 2);
            break;
        case Form::Red:
            red = clampColourPart(n);
            colourOffset = field.offset;
            break;
        case Form::Green:
            green = clampColourPart(n);
            colourOffset = field.offset;
            break;
        case Form::Blue:
            blue = clampColourPart(n);
            colourOffset = field.offset;
            break;
        case Form::Motif:
        case Form::Pattern:
        case Form::TieOff:
            setInt(record, field.offset, readReference(token, field.form, libraries));
            break;
        case Form::Jump:
            setInt(record, field.offset, n == 0 ? 1 : 0);
            break;
        case Form::Path: {
            // The token holds only the value's start: the whole text is the
            // caller's, taken from the line before it was split.
            PathReadResult path = readPath(rawKeyValue(rawLine, field.key));
            if (!path.ok())
                return false;
            const int32_t handle = storePath(std::move(path.path));
            if (handle == 0)
                return false;
            setInt(record, field.offset, handle);
            break;
        }
        case Form::Text: {
            std::string text;
            if (!unescapeKeyText(rawKeyValue(rawLine, field.key), text))
                return false;
            const int32_t handle = storeText(text);
            if (handle == 0 && !text.empty())
                return false;
            setInt(record, field.offset, handle);
            break;
        }
        case Form::Moves: {
            StitchBlock block;
            if (!readBlock(rawKeyValue(rawLine, field.key), block))
                return false;
            const int32_t handle = storeBlock(std::move(block));
            if (handle == 0)
                return false;
            setInt(record, field.offset, handle);
            setInt(record, field.offset + 4, 0);
            setInt(record, field.offset + 8, 0);
            break;
        }
        }
    }

    for (const Field& field : fields) {
        switch (field.form) {
        case Form::Scale:
            if (getDouble(record, field.offset) < 0.0)
                setDouble(record, field.offset, 1.0);
            break;
        case Form::Side:
            setInt(record, field.offset, std::clamp(getInt(record, field.offset), 1, 2));
            break;
        case Form::Repeat: {
            const int32_t repeat = std::clamp(getInt(record, field.offset), 1, 9);
            setInt(record, field.offset, repeat % 2 == 0 ? 1 : repeat);
            break;
        }
        case Form::RunRepeat:
            if (const int32_t passes = getInt(record, field.offset); passes != 0)
                setInt(record, field.offset, std::clamp(passes, 1, 9));
            break;
        case Form::RunLength: {
            int32_t length = getInt(record, field.offset);
            if (length < settings.DELETE)
                length = settings.DELETE;
            else if (length > settings.MAX)
                length = settings.MAX;
            setInt(record, field.offset, length);
            break;
        }
        default:
            break;
        }
    }
    if (colourOffset >= 0)
        setInt(record, static_cast<uint16_t>(colourOffset), red + 256 * green + 65536 * blue);
    if (const KindRow* kindRowOf = kindRow(kind); kindRowOf->accepts && !kindRowOf->accepts(params))
        return false;

    const int32_t size = recordSize(kind);
    const int32_t handle = records.allocate(size);
    if (handle == 0)
        return false;
    std::memcpy(records.bytes(handle), params.bytes, static_cast<std::size_t>(size));

    row.kind = kind;
    row.params = handle;
    row.paramsSize = size;
    row.reserved = 0;
    row.group = group;
    return true;
}

} // namespace kelvara
