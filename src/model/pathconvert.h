#pragma once

#include "model/pathdata.h"
#include "model/transformselection.h"

namespace kelvara {

struct Workspace;
struct Platform;

// Turns each selected object whose kind has a path form (a line into a
// STROKE, an area into a SHAPE) into it, with the same outline and stitch
// values, as one undo step. Unchanged, with a note, when none can.
TransformResult convertSelectionToPath(Workspace& ws, const Platform& platform);

} // namespace kelvara

namespace kelvara {

// Adds the closed path `hole` to the SHAPE in `row` as one more sub-path
// (a hole by the even-odd rule), as one undo step. False when the row holds
// no SHAPE or the path is not closed.
bool addHoleToShape(Workspace& ws, const Platform& platform, int32_t row, const PathData& hole);

} // namespace kelvara
