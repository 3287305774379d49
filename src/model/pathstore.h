#pragma once

#include "model/pathdata.h"

#include <cstdint>

namespace kelvara {

// The home of path geometry, which does not fit a fixed record: a record
// holds a handle, and a handle names one path for ever. Entries are never
// changed or removed while the program runs, so an edit that changes a path
// stores the new path and journals only the handle in the record, and
// undoing the record's bytes brings back the old path exactly. Saving
// writes the path's text, never the handle, so files do not depend on it.

// Stores a path and returns its handle (1 and up); 0 when the store holds
// kMostStoredPaths already.
int32_t storePath(PathData path);
// The path of a handle; null for 0 or a handle never given out.
const PathData* storedPath(int32_t handle);

inline constexpr int32_t kMostStoredPaths = 1 << 24;

} // namespace kelvara
