#pragma once

#include "model/stitchblock.h"

#include <cstdint>
#include <span>

namespace kelvara {

// The home of stitch blocks, as the path store is of paths: a STITCHES
// record holds a handle, a handle names one block for ever, and an edit
// stores the changed block anew, so undoing the record's bytes brings back
// the old block exactly. The hull is worked out once, when stored.
struct StoredBlock {
    StitchBlock block;
    std::vector<HullPoint> hull;
};

// Stores a block and returns its handle (1 and up); 0 when the store is full.
int32_t storeBlock(StitchBlock block);
// The block of a handle; null for 0 or a handle never given out.
const StoredBlock* storedBlock(int32_t handle);

inline constexpr int32_t kMostStoredBlocks = 1 << 24;

} // namespace kelvara
