#include "model/listtext.h"

#include "model/kinds/kind.h"
#include "model/objecttable.h"

#include <string>

namespace kelvara {

void restartListNumbering(ListNumbering& numbering)
{
    numbering.firstLinePending = 1;
    numbering.listNumber = 0;
}

std::string buildListLine(ListNumbering& numbering, const ObjectTable& table, const RecordStore& records,
                          int32_t row)
{
    if (row < 0 || row >= ObjectTable::kRows)
        return "???";
    const ObjectEntry& entry = table.rows[row];
    const KindRow* kind = kindRow(entry.kind);
    if (kind == nullptr)
        return "???";
    const char* glyph = kind->glyph;

    const int32_t trim = objectTrim(entry, records);
    const int32_t colour = objectColour(entry, records);
    if (numbering.firstLinePending == 1) {
        numbering.lastLineColour = ~colour;
        numbering.firstLinePending = 0;
    }

    std::string text = glyph;
    text += ' ';
    text += trim == 1 ? 'T' : ' ';
    text += ' ';
    text += colour != numbering.lastLineColour ? '>' : ' ';
    text += ' ';
    const std::string group = std::to_string(entry.group);
    if (group.size() < 4)
        text.append(4 - group.size(), ' ');
    text += group;
    text += ' ';
    text += std::to_string(numbering.listNumber);

    ++numbering.listNumber;
    numbering.lastLineColour = colour;
    return text;
}

} // namespace kelvara
