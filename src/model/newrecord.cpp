#include "model/newrecord.h"

#include "model/kinds/kind.h"

#include <cstring>

namespace kelvara {

ObjectParams newRecord(int32_t kind, const Settings& s, int32_t colour)
{
    // Every byte is set, so records built here compare and save alike.
    ObjectParams params;
    std::memset(&params, 0, sizeof params);
    if (const KindRow* row = kindRow(kind); row && row->defaults)
        row->defaults(params, s, colour);
    return params;
}

} // namespace kelvara
