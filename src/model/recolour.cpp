#include "model/recolour.h"

#include "model/journal.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <vector>

namespace kelvara {

namespace {

constexpr int32_t kWhite = 0xFFFFFF;

int32_t* colourField(ObjectParams& p, int32_t kind)
{
    switch (kind) {
    case KindRun:
        return &p.run.colour;
    case KindSaten:
        return &p.saten.colour;
    case KindSteil:
        return &p.steil.colour;
    case KindRect:
        return &p.rect.colour;
    case KindStar:
        return &p.star.colour;
    case KindCircle:
        return &p.circle.colour;
    default:
        return nullptr;
    }
}

// A line's text shows its colour against the line before (the colour-change
// mark), so a recoloured line and the line after it are written again.
void rewriteLines(Workspace& ws, const Platform& platform, const std::vector<bool>& changed)
{
    ListBox* list = platform.list;
    if (list == nullptr)
        return;
    ListNumbering numbering;
    restartListNumbering(numbering);
    bool previousChanged = false;
    int position = 0;
    for (int32_t row : DisplayOrder(ws.table)) {
        const std::string text = buildListLine(numbering, ws.table, ws.records, row);
        const bool rowChanged = changed[static_cast<std::size_t>(row)];
        if ((rowChanged || previousChanged) && position < list->count() && list->text(position) != text) {
            list->deleteString(position);
            list->insertString(position, text);
            list->setItemData(position, row);
            list->setSelected(position, isSelected(ws, row));
        }
        previousChanged = rowChanged;
        ++position;
    }
}

} // namespace

int32_t colourToOffer(const Workspace& ws)
{
    const ObjectTable& table = ws.table;
    const int32_t current = table.currentObject;
    int32_t colour = table.currentColour;
    if (current >= 0 && current < ObjectTable::kRows && table.rows[current].kind != KindFree)
        colour = objectColour(table.rows[current], ws.records);
    return colour == -1 ? kWhite : colour & kWhite;
}

int32_t recolourSelection(Workspace& ws, const Platform& platform, int32_t colour)
{
    ws.table.currentColour = colour;
    ws.table.colourChosen = 1;

    std::vector<bool> changed(ObjectTable::kRows, false);
    int32_t count = 0;
    for (int32_t row : selectedRows(ws)) {
        const ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
        if (!ws.records.isLive(entry.params))
            continue;
        int32_t* field = colourField(ws.records[entry.params], entry.kind);
        if (field == nullptr || *field == colour)
            continue;
        // Undo replays newest first: the lines are rebuilt after the records are back.
        if (count == 0)
            journalListRefill(ws, JournalStep::Starts);
        journalRecordBytes(ws, row, JournalStep::Continues);
        *field = colour;
        changed[static_cast<std::size_t>(row)] = true;
        ++count;
    }
    if (count > 0) {
        rewriteLines(ws, platform, changed);
        markDesignChanged(ws);
    }
    return count;
}

} // namespace kelvara
