#include "model/pathstore.h"

#include <deque>
#include <mutex>

namespace kelvara {

namespace {

// A deque keeps earlier entries in place as it grows, so a pointer handed
// out stays good while planning threads read and the editor adds.
struct Store {
    std::mutex lock;
    std::deque<PathData> paths;
};

Store& store()
{
    static Store s;
    return s;
}

} // namespace

int32_t storePath(PathData path)
{
    Store& s = store();
    const std::lock_guard guard(s.lock);
    if (s.paths.size() >= static_cast<std::size_t>(kMostStoredPaths))
        return 0;
    s.paths.push_back(std::move(path));
    return static_cast<int32_t>(s.paths.size());
}

const PathData* storedPath(int32_t handle)
{
    Store& s = store();
    const std::lock_guard guard(s.lock);
    if (handle < 1 || static_cast<std::size_t>(handle) > s.paths.size())
        return nullptr;
    return &s.paths[static_cast<std::size_t>(handle) - 1];
}

} // namespace kelvara
