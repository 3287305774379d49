#include "model/listtext.h"

#include "model/kinds/kind.h"
#include "model/objecttable.h"
#include "model/recordgeometry.h"
#include "model/workspace.h"

#include <algorithm>
#include <cstdio>
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

std::string buildListWords(ListNumbering& numbering, const ObjectTable& table, const RecordStore& records,
                           int32_t row)
{
    if (row < 0 || row >= ObjectTable::kRows)
        return "???";
    const ObjectEntry& entry = table.rows[row];
    const KindRow* kind = kindRow(entry.kind);
    if (kind == nullptr || !records.isLive(entry.params))
        return "???";
    numbering.firstLinePending = 0;
    numbering.lastLineColour = objectColour(entry, records);

    // Blanks pad the name and group so the columns line up in the list's
    // fixed font; the longest name is "Running line" and "Satin column".
    char buffer[96];
    int length = std::snprintf(buffer, sizeof buffer, "%-4d%-12.*s", numbering.listNumber + 1,
                               int(kind->name.size()), kind->name.data());
    if (entry.group != 0)
        length += std::snprintf(buffer + length, sizeof buffer - std::size_t(length), " g%-4d", entry.group);
    else
        length += std::snprintf(buffer + length, sizeof buffer - std::size_t(length), "      ");
    const GeometryBox box = recordBounds(entry.kind, records[entry.params]);
    if (!box.empty())
        length += std::snprintf(buffer + length, sizeof buffer - std::size_t(length), " %6.1f,%6.1f mm",
                                box.left / 10, box.top / 10);
    std::string text(buffer, std::size_t(std::clamp(length, 0, int(sizeof buffer) - 1)));
    if (objectTrim(entry, records) == 1)
        text += "  trim";
    ++numbering.listNumber;
    text.resize(std::min<std::size_t>(text.size(), 63));
    return text;
}

std::string listLine(const Workspace& ws, ListNumbering& numbering, int32_t row)
{
    return ws.settings.LISTWORDS != 0 ? buildListWords(numbering, ws.table, ws.records, row)
                                      : buildListLine(numbering, ws.table, ws.records, row);
}

} // namespace kelvara
