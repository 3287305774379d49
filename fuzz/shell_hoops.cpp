// Any bytes as hoops.txt: every hoop kept has a name and sides in range,
// every refused line is named, and the lookups of a setting built from the
// input never point outside the list.
#include "shell/hoops.h"
#include "shell/texts.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace kelvara;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HoopList list = readHoops(bytes);
    check(list.hoops.size() <= kMostHoops);
    for (const Hoop& hoop : list.hoops) {
        check(!hoop.name.empty() && hoop.name.size() <= 63);
        check(hoop.width >= kSmallestHoopSide && hoop.width <= kLargestHoopSide);
        check(hoop.height >= kSmallestHoopSide && hoop.height <= kLargestHoopSide);
        check(findHoop(list, hoop.name) != nullptr);
    }
    // Each problem names the line it is on, or refuses the file whole.
    for (const Outcome& problem : list.problems) {
        const std::string& line = problem.args[0];
        check(!problem.ok() && (problem.slot == kSlotHoopFileTooLarge ||
                                (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos)));
    }
    // The first line of the input as a HOOP setting.
    const std::string_view first = bytes.substr(0, std::min(bytes.find('\n'), bytes.size()));
    if (const Hoop* found = findHoop(list, first))
        check(found >= list.hoops.data() && found < list.hoops.data() + list.hoops.size());
    return 0;
}
