#pragma once

#include "model/records.h"

#include <cstdint>

namespace kelvara {

struct Settings;

// The record every new object of `kind` starts from, whether drawn or read
// from a project line: stitch values from `settings`, library references
// none, no trim, `colour`, unscaled, one pass, first side A for start and
// stop, angles 0. The geometry (edges, centre, radii) is left zero for the
// caller to set. An unknown kind gives all zeros.
ObjectParams newRecord(int32_t kind, const Settings& settings, int32_t colour);

} // namespace kelvara
