#pragma once

#include "model/records.h"
#include "model/transformselection.h"

#include <vector>

namespace kelvara {

struct Workspace;
struct Platform;

// An object that takes the place of another, or follows it.
struct ReplacingObject {
    int32_t kind = 0;
    ObjectParams params{};
};

// Each of `rows` becomes the objects given for it: the first in its row,
// the others after it in display order, in the same group; all of them
// selected. One undo step; refused whole, with a message, when the table or
// the journal has no room.
TransformResult replaceObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows,
                               const std::vector<std::vector<ReplacingObject>>& objects);

} // namespace kelvara
