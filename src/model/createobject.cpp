#include "model/editing.h"

#include "model/drawingtool.h"
#include "model/journal.h"
#include "model/newrecord.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <cstdint>
#include <cstdlib>

namespace kelvara {

namespace {

BezierEdge edgeOf(const PreviewSegment& s)
{
    return BezierEdge{s.straight,    double(s.startX), double(s.startY), double(s.endX), double(s.endY),
                      double(s.c1X), double(s.c1Y),    double(s.c2X),    double(s.c2Y)};
}

// The segment run backwards: the far end becomes the start.
BezierEdge reversedEdgeOf(const PreviewSegment& s)
{
    return BezierEdge{s.straight,    double(s.endX), double(s.endY), double(s.startX), double(s.startY),
                      double(s.c2X), double(s.c2Y),  double(s.c1X),  double(s.c1Y)};
}

// The geometry the clicks give; every other field comes from newRecord.
void placeRecord(ObjectParams& params, int32_t kind, const ToolState& tools)
{
    const auto& seg = tools.preview.segments;
    switch (kind) {
    case KindRun:
        params.run.line = edgeOf(seg[0]);
        break;
    case KindSaten:
        params.saten.edgeA = edgeOf(seg[0]);
        params.saten.edgeB = reversedEdgeOf(seg[2]);
        break;
    case KindSteil:
        params.steil.line = edgeOf(seg[0]);
        break;
    case KindRect: {
        RectParams& p = params.rect;
        p.edgeA = edgeOf(seg[0]);
        // Edge B ends at the third click and starts where edge A's start
        // lands when moved by the second segment, so the four corners form a
        // parallelogram and the two sides never cross.
        p.edgeB = edgeOf(seg[1]);
        p.edgeB.x1 = p.edgeA.x1 + p.edgeB.x2 - p.edgeA.x2;
        p.edgeB.y1 = p.edgeA.y1 + p.edgeB.y2 - p.edgeA.y2;
        break;
    }
    case KindStar: {
        const SegmentEllipse e = ellipseOf(seg[0]);
        params.star.X = e.x;
        params.star.Y = e.y;
        params.star.RX = e.rx;
        params.star.RY = e.ry;
        break;
    }
    case KindCircle: {
        const SegmentEllipse e = ellipseOf(seg[0]);
        params.circle.X = e.x;
        params.circle.Y = e.y;
        params.circle.RX = e.rx;
        params.circle.RY = e.ry;
        break;
    }
    default:
        break;
    }
}

} // namespace

int32_t createObject(Workspace& ws, const Platform& platform)
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

    journalListDelete(ws, p, JournalStep::Starts);
    journalRowImage(ws, r, JournalStep::Continues);

    const int32_t handle = ws.records.allocate(size);
    table.rows[r].kind = kind;
    table.rows[r].params = handle;
    table.rows[r].paramsSize = size;

    // Without a current object the new row goes after the last object, whose
    // link changes as well and must be journaled like an anchor's.
    const int32_t anchor = wasEmpty ? -1 : (current >= 0 ? current : lastInDisplayOrder(table));
    if (anchor >= 0) {
        journalRowImage(ws, anchor, JournalStep::Continues);
        const int32_t successor = table.rows[anchor].next;
        if (successor >= 0)
            journalRowImage(ws, successor, JournalStep::Continues);
    }
    journalCurrentObject(ws, JournalStep::Continues);
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

    // The new object alone is selected, on the canvas as in the list.
    selectOnly(ws, r);
    if (ListBox* list = platform.list) {
        const std::string text = buildListLine(ws.numbering, table, ws.records, r);
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
