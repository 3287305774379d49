#include "model/arrange.h"

#include "model/editing.h"
#include "model/journal.h"
#include "model/journalfit.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"

#include <vector>

namespace kelvara {

namespace {

int32_t* trimField(ObjectParams& p, int32_t kind)
{
    switch (kind) {
    case KindRun:
        return &p.run.TRIM;
    case KindSaten:
        return &p.saten.TRIM;
    case KindSteil:
        return &p.steil.TRIM;
    case KindRect:
        return &p.rect.TRIM;
    case KindStar:
        return &p.star.TRIM;
    case KindCircle:
        return &p.circle.TRIM;
    default:
        return nullptr;
    }
}

} // namespace

int32_t toggleTrimOfSelection(Workspace& ws, const Platform& platform)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    bool anyWithout = false;
    for (int32_t row : rows)
        anyWithout = anyWithout || objectTrim(ws.table.rows[static_cast<std::size_t>(row)], ws.records) == 0;
    const int32_t trim = anyWithout ? 1 : 0;

    int64_t bytes = UndoJournal::recordLength(0);
    for (int32_t row : rows)
        bytes += UndoJournal::recordLength(ws.table.rows[static_cast<std::size_t>(row)].paramsSize);
    if (!stepFitsJournal(ws, platform, bytes))
        return 0;

    int32_t count = 0;
    for (int32_t row : rows) {
        const ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
        if (!ws.records.isLive(entry.params))
            continue;
        int32_t* field = trimField(ws.records[entry.params], entry.kind);
        if (field == nullptr || *field == trim)
            continue;
        // Undo replays newest first: the list is rebuilt after the records are back.
        if (count == 0)
            journalListRefill(ws, JournalStep::Starts);
        journalRecordBytes(ws, row, JournalStep::Continues);
        *field = trim;
        ++count;
    }
    if (count > 0) {
        refillObjectList(ws, platform);
        showSelectionInList(ws, platform);
        markDesignChanged(ws);
    }
    return count;
}

} // namespace kelvara
