#pragma once

#include "model/objecttable.h"

#include <bitset>
#include <cstdint>
#include <vector>

namespace kelvara {

struct Workspace;
struct Platform;

// The objects the user has picked, on the canvas or in the list: one
// selection for both. It is a view of the design, not part of it, so it is
// never journaled; a row that is freed simply stops counting as selected.
struct Selection {
    std::bitset<ObjectTable::kRows> rows;
    // The selection is the object a drawing tool just made, not one the
    // user picked; any pick clears it.
    bool drawn = false;
};

// True for a used row that is selected.
bool isSelected(const Workspace& ws, int32_t row);
// The selected used rows in display order.
std::vector<int32_t> selectedRows(const Workspace& ws);
int32_t selectedCount(const Workspace& ws);

// Each change marks the canvas for redrawing (the highlight follows); none
// touches the list: showSelectionInList brings it into step afterwards.
void clearSelection(Workspace& ws);
// `row` alone is selected and becomes the current object; -1 clears.
void selectOnly(Workspace& ws, int32_t row);
// Adds or removes one row; an added row becomes the current object.
void setSelected(Workspace& ws, int32_t row, bool selected);
void toggleSelected(Workspace& ws, int32_t row);

// The list shows the selection: its lines select exactly the selected rows.
void showSelectionInList(const Workspace& ws, const Platform& platform);
// The selection becomes what the list's selected lines show.
void takeSelectionFromList(Workspace& ws, const Platform& platform);

} // namespace kelvara
