#include "model/editing.h"

#include "model/drawingtool.h"
#include "model/kinds/kind.h"
#include "model/newrecord.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <cstdint>
#include <cstdlib>

namespace kelvara {

namespace {

// The geometry the clicks give; every other field comes from newRecord.
void placeRecord(ObjectParams& params, int32_t kind, const ToolState& tools)
{
    if (const KindRow* row = kindRow(kind); row && row->place)
        row->place(params, tools);
}

} // namespace

int32_t createObject(Workspace& ws, const Platform& platform)
{
    return createObject(ws, platform, {});
}

int32_t createObject(Workspace& ws, const Platform& platform, const std::function<void(ObjectParams&)>& fill)
{
    ObjectTable& table = ws.table;
    ToolState& tools = ws.tools;
    const int32_t kind = tools.toolMode;
    const int32_t size = recordSize(kind);
    if (size == 0)
        return -1;

    // findFreeRow and the store are checked too, so a table out of step
    // with its count refuses instead of writing outside it.
    if (table.objectCount >= ObjectTable::kRows || findFreeRow(table) < 0 ||
        ws.records.liveCount() >= RecordStore::kSlots) {
        holdObject(tools);
        markRepaint(ws);
        return -1;
    }

    // The list line, the new row, its anchor and successor, the current object.
    UndoStep step(ws, platform);
    step.willChangeList();
    step.willSaveRowImages(3);
    step.willSaveCurrentObject();
    if (!step.open()) {
        holdObject(tools);
        return -1;
    }

    // Past the largest group number the count starts again at 1 (0 means no
    // group), rather than overflowing into negative numbers.
    if (takeNewGroup(tools))
        table.groupCounter = table.groupCounter < INT32_MAX ? table.groupCounter + 1 : 1;

    const bool wasEmpty = table.objectCount == 0;
    // A current object that is not a used row is treated as none rather
    // than linked to.
    const int32_t cur = table.currentObject;
    const bool currentUsed = cur >= 0 && cur < ObjectTable::kRows && table.rows[cur].kind != KindFree;
    const int32_t current = wasEmpty || !currentUsed ? -1 : cur;
    const int32_t r = findFreeRow(table);
    const int32_t p = displayPosition(table, current);

    step.listDelete(p);
    step.rowImage(r);

    const int32_t handle = ws.records.allocate(size);
    table.rows[r].kind = kind;
    table.rows[r].params = handle;
    table.rows[r].paramsSize = size;

    // Without a current object the new row goes after the last object, whose
    // link changes as well and must be journaled like an anchor's.
    const int32_t anchor = wasEmpty ? -1 : (current >= 0 ? current : lastInDisplayOrder(table));
    if (anchor >= 0) {
        step.rowImage(anchor);
        const int32_t successor = table.rows[anchor].next;
        if (successor >= 0)
            step.rowImage(successor);
    }
    step.currentObject();
    insertAfter(table, r, anchor);

    if (wasEmpty) {
        table.firstObject = r;
        restartListNumbering(ws.numbering);
    } else if (current >= 0) {
        ws.numbering.firstLinePending = 0;
        ws.numbering.listNumber = p;
        if (table.colourChosen == 0)
            table.currentColour = objectColour(table.rows[current], ws.records);
    }
    table.colourChosen = 0;

    table.currentObject = r;
    table.rows[r].group = table.groupCounter;
    ++table.objectCount;

    ObjectParams& params = ws.records[handle];
    params = newRecord(kind, ws.settings, table.currentColour);
    placeRecord(params, kind, tools);
    if (fill)
        fill(params);

    // The new object alone is selected, on the canvas as in the list.
    selectOnly(ws, r);
    ws.selection.drawn = true;
    if (ListBox* list = platform.list) {
        const std::string text = listLine(ws, ws.numbering, r);
        int position = p;
        if (table.rows[r].next == -1)
            position = list->addString(text);
        else
            list->insertString(p, text);
        list->setItemData(position, r);
        list->setSelected(-1, false);
        list->setSelected(position, true);
    }
    markDesignChanged(ws);
    return r;
}

} // namespace kelvara
