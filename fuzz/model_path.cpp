// Any bytes as path data: a path read is within its limits and writes to a
// text that reads back as the same path; a refusal leaves no path.
#include "model/pathdata.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace kelvara;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool inRange(PathPoint p)
{
    return p.x >= -kPathCoordinateLimit && p.x <= kPathCoordinateLimit && p.y >= -kPathCoordinateLimit &&
           p.y <= kPathCoordinateLimit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const PathReadResult r = readPath(bytes);
    if (!r.ok()) {
        check(r.path.subpaths.empty() && r.offset <= size);
        return 0;
    }
    check(!r.path.subpaths.empty() && r.path.nodeCount() <= kMostPathNodes);
    for (const SubPath& sub : r.path.subpaths) {
        check(inRange(sub.start));
        for (const PathSegment& seg : sub.segments)
            check(inRange(seg.to) && inRange(seg.c1) && inRange(seg.c2));
    }
    const std::string text = writePath(r.path);
    const PathReadResult again = readPath(text);
    check(again.ok() && again.path == r.path && writePath(again.path) == text);
    return 0;
}
