// Feeds arbitrary bytes to the SVG artwork import; whatever it makes must be
// object lines the project reader takes.
#include "project/svgimport.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvara::SvgImport result = kelvara::importSvg(bytes, 5000, 5000);
    // Either a reason or lines, never both and never neither.
    if (result.reason.ok() == result.lines.empty())
        __builtin_trap();
    return 0;
}
