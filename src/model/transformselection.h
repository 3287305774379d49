#pragma once

#include "model/recordgeometry.h"

#include <cstdint>
#include <vector>

namespace kelvara {

struct Workspace;
struct Platform;

enum class TransformResult { Applied, Unchanged, Refused };

// What the selected objects cover together.
GeometryBox selectionBounds(const Workspace& ws, const std::vector<int32_t>& rows);

// Mirrors the selection about the middle of its box (held to half units),
// left to right or top to bottom, as one undo step.
TransformResult flipSelection(Workspace& ws, const Platform& platform, MirrorAxis axis);

// Scales the selection by `scaleX` across and `scaleY` down, then turns it
// by `degrees` counter-clockwise, both about the middle of its box, as one
// undo step. A result outside the design area (with DOCKPANEL: one larger
// than the area; a smaller one is moved inside), a value a field cannot hold,
// or a step the undo journal cannot hold whole is refused with a message and
// nothing changes.
TransformResult turnAndScaleSelection(Workspace& ws, const Platform& platform, int32_t degrees, double scaleX,
                                      double scaleY);

// Resizes the selection to `target`'s width and height about the top-left
// corner of its box, then moves that corner to `target`'s, as one undo
// step (sizes in design units). With DOCKPANEL a box that would leave the
// design area is moved back inside it, and the status bar says so; a box
// larger than the area is refused with the limit, as it is without.
TransformResult placeSelection(Workspace& ws, const Platform& platform, const GeometryBox& target);

// The rows' new records, with new kinds where `kinds` (empty, or one per
// row) changes one, journaled as one undo step and written; a changed kind
// rebuilds the object list.
TransformResult writeObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows,
                             const std::vector<int32_t>& kinds, const std::vector<ObjectParams>& records);

// The selection as a drag picked it up: its rows and their records then.
struct HeldSelection {
    std::vector<int32_t> rows;
    std::vector<ObjectParams> before;
    GeometryBox box;
};

// Picks up the selected objects for a drag. False (with a message) when
// the step would not fit the undo journal; nothing is held then.
bool holdSelection(Workspace& ws, const Platform& platform, HeldSelection& held);

// The held objects placed (dx, dy) whole units from where they were picked
// up, the offset shortened so they stay within the design area; the offset
// used is returned in dx, dy.
void placeHeldSelection(Workspace& ws, const HeldSelection& held, int32_t& dx, int32_t& dy);

// The drag ends: where the objects moved, one undo step holding where they
// were. Nothing is journaled when they are back where they began.
void commitHeldSelection(Workspace& ws, const Platform& platform, const HeldSelection& held);

} // namespace kelvara
