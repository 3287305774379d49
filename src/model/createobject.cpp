#include "model/editing.h"

#include "model/undojournal.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <cstdlib>

namespace kelvara {

namespace {

constexpr int32_t kNone = -1;

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

// Centre and radii from the segment's two ends; RY is not halved.
struct Ellipse {
    int32_t x, y, rx, ry;
};

Ellipse ellipseOf(const PreviewSegment& s)
{
    const int64_t dx = int64_t(s.endX) - s.startX;
    const int64_t dy = int64_t(s.endY) - s.startY;
    return Ellipse{static_cast<int32_t>(s.startX + dx / 2), static_cast<int32_t>(s.startY + dy / 2),
                   static_cast<int32_t>(std::llabs(dx) / 2), static_cast<int32_t>(std::llabs(dy))};
}

// The fields most kinds share, set the same way everywhere.
template <typename P> void fillCommon(P& p, int32_t colour)
{
    p.PATTERN = kNone;
    p.MOTIVE = kNone;
    p.TIEIN = kNone;
    p.TIEOUT = kNone;
    p.TRIM = 0;
    p.colour = colour;
    p.REPEAT = 1;
    p.ZOOMX = 1.0;
    p.ZOOMY = 1.0;
}

template <typename P> void fillColumn(P& p, const Settings& s)
{
    p.SDENS = s.DENSITY;
    p.TDENS = s.DENSITY;
    p.SCOMP = s.PULLCOMP;
    p.TCOMP = s.PULLCOMP;
    p.PUSHCOMP = s.PUSHCOMP;
}

int32_t underValue(const Settings& s)
{
    return s.UNDER != 0 ? s.LENGTH : -1;
}

template <typename P> void fillUnderlay(P& p, const Settings& s)
{
    p.UNDER = underValue(s);
    p.CIKCAK = s.CIKUND != 0 ? s.CIKCAK : -1;
    p.OFSUND = s.EDGE;
    p.OFSCIK = s.MARGIN;
}

void fillRecord(ObjectParams& params, int32_t kind, const ToolState& tools, const Settings& s, int32_t colour)
{
    const auto& seg = tools.preview.segments;
    switch (kind) {
    case KindRun: {
        RunParams& p = params.run;
        p.LEN = s.STITCH;
        p.MOTIVE = kNone;
        p.TIEIN = kNone;
        p.TIEOUT = kNone;
        p.TRIM = 0;
        p.JUMP = 1;
        p.line = edgeOf(seg[0]);
        p.colour = colour;
        break;
    }
    case KindSaten: {
        SatenParams& p = params.saten;
        fillColumn(p, s);
        fillCommon(p, colour);
        p.edgeA = edgeOf(seg[0]);
        p.edgeB = reversedEdgeOf(seg[2]);
        p.STITCHES = 1;
        p.STARTA = 1;
        p.STOPA = 1;
        fillUnderlay(p, s);
        break;
    }
    case KindSteil: {
        SteilParams& p = params.steil;
        fillColumn(p, s);
        p.SWIDTH = s.STEIL;
        p.TWIDTH = s.STEIL;
        fillCommon(p, colour);
        p.line = edgeOf(seg[0]);
        p.STITCHES = 1;
        fillUnderlay(p, s);
        break;
    }
    case KindRect: {
        RectParams& p = params.rect;
        fillColumn(p, s);
        fillCommon(p, colour);
        p.edgeA = edgeOf(seg[0]);
        // Edge B ends at the third click and starts where edge A's start
        // lands when moved by the second segment: the area's far side.
        p.edgeB = edgeOf(seg[1]);
        p.edgeB.x1 = p.edgeA.x1 + p.edgeA.x2 - p.edgeB.x2;
        p.edgeB.y1 = p.edgeA.y1 + p.edgeA.y2 - p.edgeB.y2;
        p.STARTA = 1;
        p.STOPA = 1;
        p.ANGLE = 0;
        p.STITCHES = 1;
        fillUnderlay(p, s);
        break;
    }
    case KindStar: {
        StarParams& p = params.star;
        p.DENS = s.DENSITY;
        p.COMP = s.PULLCOMP;
        fillCommon(p, colour);
        const Ellipse e = ellipseOf(seg[0]);
        p.X = e.x;
        p.Y = e.y;
        p.RX = e.rx;
        p.RY = e.ry;
        p.STARTANGLE = 0;
        p.STOPANGLE = 0;
        p.UNDER = underValue(s);
        p.OFSUND = s.EDGE;
        break;
    }
    case KindCircle: {
        CircleParams& p = params.circle;
        fillColumn(p, s);
        fillCommon(p, colour);
        const Ellipse e = ellipseOf(seg[0]);
        p.X = e.x;
        p.Y = e.y;
        p.RX = e.rx;
        p.RY = e.ry;
        p.ANGLE = 0;
        p.STITCHES = 1;
        fillUnderlay(p, s);
        break;
    }
    default:
        break;
    }
}

int32_t lastInDisplayOrder(const ObjectTable& table)
{
    int32_t row = table.firstObject;
    for (int32_t n = 1; n < table.objectCount && table.rows[row].next >= 0; ++n)
        row = table.rows[row].next;
    return row;
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
        tools.rubberBand.active = 0;
        tools.preview.segments[0].used = 0;
        if (platform.canvas != nullptr)
            platform.canvas->invalidateCanvas();
        return -1;
    }

    if (tools.newGroupPending != 0) {
        ++table.groupCounter;
        tools.newGroupPending = 0;
    }

    const bool wasEmpty = table.objectCount == 0;
    // A current object that is not a used row is treated as none rather
    // than linked to.
    const int32_t cur = table.currentObject;
    const bool currentUsed = cur >= 0 && cur < ObjectTable::kRows && table.rows[cur].kind != KindFree;
    const int32_t current = wasEmpty || !currentUsed ? -1 : cur;
    const int32_t r = findFreeRow(table);
    const int32_t p = displayPosition(table, current);

    journalRecord(ws, 0, nullptr, 0, -(p + 2), true);
    journalRecord(ws, UndoJournal::kRowImageBase + r, nullptr, sizeof(ObjectEntry), -1, false);

    const int32_t handle = ws.records.allocate(size);
    table.rows[r].kind = kind;
    table.rows[r].params = handle;
    table.rows[r].paramsSize = size;

    // Without a current object the new row goes after the last object, whose
    // link changes as well and must be journaled like an anchor's.
    const int32_t anchor = wasEmpty ? -1 : (current >= 0 ? current : lastInDisplayOrder(table));
    if (anchor >= 0) {
        journalRecord(ws, UndoJournal::kRowImageBase + anchor, nullptr, sizeof(ObjectEntry), -1, false);
        const int32_t successor = table.rows[anchor].next;
        if (successor >= 0)
            journalRecord(ws, UndoJournal::kRowImageBase + successor, nullptr, sizeof(ObjectEntry), -1,
                          false);
    }
    journalRecord(ws, UndoJournal::kCurrentObjectTarget, nullptr, sizeof table.currentObject, -1, false);
    insertAfter(table, r, anchor);

    if (wasEmpty) {
        table.firstObject = r;
        restartListNumbering(ws.numbering);
    } else if (current >= 0) {
        ws.numbering.firstLinePending = 0;
        ws.numbering.listNumber = p;
        table.currentColour = objectColour(table.rows[current], ws.records);
    }

    table.currentObject = r;
    table.rows[r].group = table.groupCounter;
    ++table.objectCount;

    fillRecord(ws.records[handle], kind, tools, ws.settings, table.currentColour);

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
    return r;
}

} // namespace kelvara
