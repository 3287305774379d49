// Stitch plans from arbitrary parameter records: any bytes a project could
// put into a record must give a plan or a refusal, never a crash or a hang,
// and every plan must encode as DST.
#include "model/workspace.h"
#include "stitch/dstwriter.h"
#include "stitch/stitchplan.h"

#include <cstdint>
#include <cstring>
#include <memory>

constexpr int64_t kFuzzRecords = 20000;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelvara;
    static std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    clearTable(ws->table, ws->records);
    ws->settings = Settings{};
    if (size < 4)
        return 0;
    // A few settings the generators read, from the first bytes.
    ws->settings.DELETE = 1 + data[0] % 10;
    ws->settings.TIEIN = data[1] & 1;
    ws->settings.TIEOUT = (data[1] >> 1) & 1;
    ws->settings.TIELEN = 5 + data[2] % 95;
    ws->settings.REPEAT = 1 + 2 * (data[3] % 5);
    ws->libraries.tieOffs.count = 1;
    ws->libraries.tieOffs.points[0][0] = {7, -3};
    ws->libraries.patterns.count = 1;
    ws->libraries.patterns.rows[0][0] = {2, {10, 40}};
    ws->libraries.motifs.count = 1;
    ws->libraries.motifs.points[0][1] = {20, -20};
    ws->libraries.motifs.points[0][2] = {40, 0};
    data += 4;
    size -= 4;

    // Then objects: a kind byte and the record's bytes.
    int32_t last = -1;
    while (size > 1 && ws->table.objectCount < 8) {
        const int32_t kind = 1 + data[0] % 6;
        const std::size_t bytes = static_cast<std::size_t>(recordSize(kind));
        ++data;
        --size;
        const int32_t row = findFreeRow(ws->table);
        const int32_t handle = ws->records.allocate(static_cast<int32_t>(bytes));
        std::memcpy(ws->records.bytes(handle), data, std::min(bytes, size));
        ws->table.rows[static_cast<std::size_t>(row)] =
            ObjectEntry{kind, handle, static_cast<int32_t>(bytes), 0, 1, -1, -1};
        insertAfter(ws->table, row, last);
        ++ws->table.objectCount;
        last = row;
        data += std::min(bytes, size);
        size -= std::min(bytes, size);
    }
    // A design of millions of stitches is planned in time proportional to
    // them, which is no hang: the fuzzer looks at plans of a bounded size, and
    // at the refusal of the larger ones.
    StitchPlan plan;
    if (generatePlan(*ws, plan, kFuzzRecords) == PlanStatus::Ok) {
        const std::vector<uint8_t> file = writeDst(plan, "fuzz");
        if (file.size() < static_cast<std::size_t>(kDstHeaderSize) + 3)
            __builtin_trap();
    }
    return 0;
}
