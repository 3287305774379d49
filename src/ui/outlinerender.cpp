#include "ui/outlinerender.h"

#include "model/workspace.h"
#include "stitch/objecthandles.h"
#include "ui/outlinestroker.h"
#include "ui/pixellines.h"

#include <QPainter>

#include <cmath>

namespace kelvara {

namespace {

const QColor kHalo(0, 0, 0);
const QColor kHighlight(255, 255, 255);
const QColor kControl(0, 200, 255);
const QColor kNodeHandle(255, 150, 0);

QColor threadColour(int32_t colour)
{
    if (colour == -1)
        return Qt::white;
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

const ObjectParams* recordOf(const Workspace& ws, int32_t row)
{
    if (row < 0 || row >= ObjectTable::kRows)
        return nullptr;
    const ObjectEntry& entry = ws.table.rows[size_t(row)];
    if (entry.kind == KindFree || entry.params < 1 || entry.params > RecordStore::kSlots ||
        !ws.records.isLive(entry.params))
        return nullptr;
    return &ws.records[entry.params];
}

// Lines `thickness` pixels wide, into the pixels when the painter allows.
void drawLines(QPainter& painter, QImage* pixels, const std::vector<QLineF>& lines, const QColor& colour,
               int thickness)
{
    if (lines.empty())
        return;
    if (pixels != nullptr) {
        PixelLines(*pixels).draw(lines, colour.rgb(), thickness);
        return;
    }
    painter.setPen(QPen(colour, thickness == 1 ? 0 : thickness, Qt::SolidLine, Qt::SquareCap));
    painter.drawLines(lines.data(), int(lines.size()));
}

// A handle: a bordered square, white on the object's own points and blue
// on control points, larger and in the node colour while nodes are edited.
void drawHandle(QPainter& painter, QImage* pixels, QPointF at, bool control, bool editing)
{
    const int half = editing ? 5 : 3;
    const QRect box(int(std::lround(at.x())) - half, int(std::lround(at.y())) - half, 2 * half + 1,
                    2 * half + 1);
    const QColor fill = editing ? kNodeHandle : control ? kControl : kHighlight;
    if (pixels != nullptr) {
        PixelLines lines(*pixels);
        lines.fill(box, kHalo.rgb());
        lines.fill(box.adjusted(1, 1, -1, -1), fill.rgb());
        return;
    }
    painter.fillRect(box, kHalo);
    painter.fillRect(box.adjusted(1, 1, -1, -1), fill);
}

// Thin lines from each end of a curved edge to its control point, so the
// user sees which end a control point pulls.
void addControlArms(OutlineStroker& stroker, const ObjectHandles& handles, bool editing)
{
    for (int i = 0; i + 3 < handles.count; i += 4) {
        const ObjectHandle& start = handles.items[size_t(i)];
        const ObjectHandle& end = handles.items[size_t(i + 1)];
        const ObjectHandle& c1 = handles.items[size_t(i + 2)];
        const ObjectHandle& c2 = handles.items[size_t(i + 3)];
        if (!c1.isControl() || (c1.onStraightEdge && !editing))
            continue;
        stroker.addLine(start.x, start.y, c1.x, c1.y);
        stroker.addLine(end.x, end.y, c2.x, c2.y);
    }
}

void drawHighlighted(QPainter& painter, QImage* pixels, OutlineStroker& stroker, int32_t kind,
                     const ObjectParams& params, bool editing)
{
    stroker.clear();
    if (!stroker.addObject(kind, params) && !editing)
        return;
    drawLines(painter, pixels, stroker.lines(), kHalo, 4);
    drawLines(painter, pixels, stroker.lines(), kHighlight, 2);

    const ObjectHandles handles = objectHandles(kind, params);
    stroker.clear();
    addControlArms(stroker, handles, editing);
    drawLines(painter, pixels, stroker.lines(), kControl, 1);

    for (const ObjectHandle& handle : handles) {
        if (handle.onStraightEdge && !editing)
            continue;
        if (!std::isfinite(handle.x) || !std::isfinite(handle.y))
            continue;
        const QPointF at = stroker.map(handle.x, handle.y);
        if (stroker.seen(QRectF(at, at)))
            drawHandle(painter, pixels, at, handle.isControl(), editing);
    }
}

int32_t nodeEditingRow(const Workspace& ws)
{
    const int32_t row = ws.table.currentObject;
    return ws.tools.nodeEditing != 0 && recordOf(ws, row) != nullptr ? row : -1;
}

} // namespace

void drawOutlines(QPainter& painter, const Workspace& ws)
{
    OutlineStroker stroker(ws.view);
    QImage* pixels = PixelLines::imageOf(painter);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Runs of objects in one colour are drawn together.
    int32_t runColour = 0;
    const auto flush = [&] {
        drawLines(painter, pixels, stroker.lines(), threadColour(runColour), 1);
        stroker.clear();
    };
    for (int32_t row : DisplayOrder(ws.table)) {
        const ObjectParams* params = recordOf(ws, row);
        if (params == nullptr)
            continue;
        const int32_t colour = objectColour(ws.table.rows[size_t(row)], ws.records);
        if (colour != runColour && !stroker.lines().empty())
            flush();
        runColour = colour;
        stroker.addObject(ws.table.rows[size_t(row)].kind, *params);
    }
    flush();
    painter.restore();
}

bool selectionShown(const Workspace& ws)
{
    return ws.selection.rows.any() || nodeEditingRow(ws) >= 0;
}

void drawSelection(QPainter& painter, const Workspace& ws)
{
    if (!selectionShown(ws))
        return;
    OutlineStroker stroker(ws.view);
    QImage* pixels = PixelLines::imageOf(painter);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int32_t editingRow = nodeEditingRow(ws);
    for (int32_t row = 0; row < ObjectTable::kRows; ++row) {
        if (row == editingRow || !ws.selection.rows.test(size_t(row)))
            continue;
        if (const ObjectParams* params = recordOf(ws, row))
            drawHighlighted(painter, pixels, stroker, ws.table.rows[size_t(row)].kind, *params, false);
    }
    // Drawn last, so its handles lie over every other.
    if (editingRow >= 0)
        drawHighlighted(painter, pixels, stroker, ws.table.rows[size_t(editingRow)].kind,
                        *recordOf(ws, editingRow), true);
    painter.restore();
}

} // namespace kelvara
