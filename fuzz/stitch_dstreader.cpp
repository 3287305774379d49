// The DST reader on any bytes: a plan or a refusal, never a crash, a hang
// or an allocation beyond the file's length; every plan read writes as DST.
#include "stitch/dstwriter.h"
#include "stitch/machinereader.h"
#include "stitch/threadchart.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// A few threads, so codes both known and unknown come up.
const kelvara::ThreadChart& chart()
{
    static const kelvara::ThreadChart c{
        "Test", {{1, 0x000000, "Black"}, {2, 0xF0F0F0, "White"}, {5, 0x0000EC, "Red"}}};
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelvara;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MachineRead got = readDst(bytes);
    if (got.read) {
        if (got.plan.records.empty() || got.plan.records.back().kind != StitchKind::End)
            std::abort();
        (void)writeDst(got.plan, got.label);
    }
    (void)chart();
    return 0;
}
