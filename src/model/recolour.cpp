#include "model/recolour.h"

#include "model/fieldedit.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <vector>

namespace kelvara {

namespace {

constexpr int32_t kWhite = 0xFFFFFF;

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

void setNextColour(Workspace& ws, int32_t colour)
{
    ws.table.currentColour = colour;
    ws.table.colourChosen = 1;
}

int32_t recolourSelection(Workspace& ws, const Platform& platform, int32_t colour)
{
    setNextColour(ws, colour);
    const FieldValue value{FieldMeaning::Colour, double(colour)};
    return applyFieldValuesTo(ws, platform, selectedRows(ws), {&value, 1}).changed;
}

} // namespace kelvara
