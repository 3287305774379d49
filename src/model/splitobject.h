#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// Cuts the RUN, STEIL or SATEN of `row` at curve parameter t into two
// objects of its group (see splitRecord): the row keeps the first piece and
// a new row after it in the stitching order takes the second. Both are
// selected, the second is current. One undo step. Returns the new row, or
// -1 when nothing was cut (another kind, t at an end, a full table).
int32_t splitObjectAt(Workspace& ws, const Platform& platform, int32_t row, double t);

} // namespace kelvara
