#include "model/blockstore.h"

#include <deque>
#include <mutex>

namespace kelvara {

namespace {

// A deque keeps entries in place as it grows, so pointers handed to planning
// threads stay good while the editor adds.
struct Store {
    std::mutex lock;
    std::deque<StoredBlock> blocks;
};

Store& store()
{
    static Store s;
    return s;
}

} // namespace

int32_t storeBlock(StitchBlock block)
{
    StoredBlock entry{std::move(block), {}};
    entry.hull = blockHull(entry.block);
    Store& s = store();
    const std::lock_guard guard(s.lock);
    if (s.blocks.size() >= static_cast<std::size_t>(kMostStoredBlocks))
        return 0;
    s.blocks.push_back(std::move(entry));
    return static_cast<int32_t>(s.blocks.size());
}

const StoredBlock* storedBlock(int32_t handle)
{
    Store& s = store();
    const std::lock_guard guard(s.lock);
    if (handle < 1 || static_cast<std::size_t>(handle) > s.blocks.size())
        return nullptr;
    return &s.blocks[static_cast<std::size_t>(handle) - 1];
}

} // namespace kelvara
