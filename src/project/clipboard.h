#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvara {

struct Workspace;
struct Platform;

// One paste lands 2 mm right of and 2 mm below where the objects were copied.
inline constexpr int32_t kPasteStep = 20; // design units

// How far the clipboard's text has come: each paste of the same text lands
// one step further on, so copies do not pile up on one another.
struct PasteState {
    bool known = false;
    std::size_t textHash = 0;
    int32_t steps = 0; // the step the next paste takes
};

// The selected objects in stitching order as project-file lines.
std::string selectionObjectLines(const Workspace& ws);

// Puts the selection on the clipboard; returns how many objects went.
int32_t copySelection(Workspace& ws, const Platform& platform, PasteState& paste);

// Copy and delete as one undo step. The first paste of what was cut lands
// where it was taken from: nothing is left there to step aside for.
int32_t cutSelection(Workspace& ws, const Platform& platform, PasteState& paste);

// Inserts the clipboard's objects after the current object (at the end when
// there is none), moved on by the paste step, as one undo step; they become
// the selection and each copied group gets a new group number. Lines that
// are not objects are passed over; text without one object line, and
// objects that do not fit the table or the journal whole, are refused with
// a message and change nothing. Returns how many objects came in.
int32_t pasteObjects(Workspace& ws, const Platform& platform, PasteState& paste);

} // namespace kelvara
