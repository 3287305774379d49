#include "model/transformselection.h"
#include "model/kinds/kind.h"

#include "model/editing.h"
#include "model/refresh.h"
#include "model/refusal.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelvara {

namespace {

// A resize of kept stitches beyond this share says that they are not sewn anew.
constexpr double kRestitchScale = 0.2;

bool isUsed(const Workspace& ws, int32_t row)
{
    const ObjectEntry& e = ws.table.rows[row];
    return recordSizeFits(e.kind, e.paramsSize) && ws.records.isLive(e.params);
}

std::vector<int32_t> usedSelection(const Workspace& ws)
{
    std::vector<int32_t> rows = selectedRows(ws);
    std::erase_if(rows, [&](int32_t row) { return !isUsed(ws, row); });
    return rows;
}

// Refused, with the message, when the rows' records would not fit one step.
bool fitsOneStep(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows)
{
    UndoStep step(ws, platform);
    for (int32_t row : rows)
        step.willSaveRecord(row);
    return step.open();
}

bool sameBytes(const ObjectParams& a, const ObjectParams& b, int32_t size)
{
    return std::memcmp(a.bytes, b.bytes, std::size_t(size)) == 0;
}

TransformResult writeRecords(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows,
                             const std::vector<ObjectParams>& records)
{
    return writeObjects(ws, platform, rows, {}, records);
}

// The whole-unit offset that brings `box` inside the design area on each
// axis; false when the box is larger than the area.
bool offsetInside(const GeometryBox& box, int32_t& dx, int32_t& dy)
{
    const auto axis = [](double low, double high, int32_t& d) {
        if (high - low > kDesignArea)
            return false;
        if (low + d < 0)
            d = int32_t(std::ceil(-low));
        else if (high + d > kDesignArea)
            d = int32_t(std::floor(kDesignArea - high));
        return true;
    };
    return axis(box.left, box.right, dx) && axis(box.top, box.bottom, dy);
}

// Moves the transformed `records` by (dx, dy), or further so that they
// stay inside the design area when the configuration asks for it, with a
// note of what happened; false (nothing to write) when they cannot be.
bool keepInside(Workspace& ws, const Platform& platform, const std::vector<int32_t>& kinds,
                std::vector<ObjectParams>& records, const GeometryBox& box, int32_t dx, int32_t dy)
{
    GeometryBox moved = box;
    moved.left += dx, moved.right += dx, moved.top += dy, moved.bottom += dy;
    if (!insideDesignArea(moved)) {
        if (ws.settings.DOCKPANEL == 0 || !offsetInside(box, dx, dy)) {
            showRefusal(ws, platform,
                        Outcome(ws.settings.DOCKPANEL == 0 ? kSlotLeavesArea : kSlotLargerThanArea));
            return false;
        }
        ws.view.note = message(ws, kSlotMovedInside);
    }
    if (dx == 0 && dy == 0)
        return true;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!translateRecord(kinds[i], records[i], dx, dy)) {
            showRefusal(ws, platform, Outcome(kSlotCannotPlace));
            return false;
        }
    return true;
}

} // namespace

TransformResult writeObjects(Workspace& ws, const Platform& platform, const std::vector<int32_t>& rows,
                             const std::vector<int32_t>& kinds, const std::vector<ObjectParams>& records)
{
    const auto newKind = [&](std::size_t i) {
        return kinds.empty() ? ws.table.rows[rows[i]].kind : kinds[i];
    };
    bool kindsChange = false;
    UndoStep step(ws, platform);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        step.willSaveRecord(rows[i]);
        if (newKind(i) != ws.table.rows[rows[i]].kind) {
            step.willSaveRowImages();
            kindsChange = true;
        }
    }
    if (kindsChange)
        step.willChangeList();
    if (!step.open())
        return TransformResult::Refused;
    // Undo replays newest first: the list is rebuilt after the rows are back.
    if (kindsChange)
        step.listRefill();
    bool changed = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ObjectEntry& e = ws.table.rows[rows[i]];
        const int32_t kind = newKind(i);
        if (kind == e.kind && sameBytes(records[i], ws.records[e.params], e.paramsSize))
            continue;
        // The bytes first: Undo gives the row its kind and size back before
        // the record's bytes, at that size, come back.
        step.recordBytes(rows[i]);
        changed = true;
        if (kind != e.kind) {
            step.rowImage(rows[i]);
            e.kind = kind;
            e.paramsSize = kindRow(kind)->size;
            ws.records[e.params] = records[i];
        }
        std::memcpy(ws.records.bytes(e.params), records[i].bytes, std::size_t(e.paramsSize));
    }
    if (!changed)
        return TransformResult::Unchanged;
    if (kindsChange)
        refillObjectList(ws, platform);
    markDesignChanged(ws);
    return TransformResult::Applied;
}

GeometryBox selectionBounds(const Workspace& ws, const std::vector<int32_t>& rows)
{
    GeometryBox box;
    for (int32_t row : rows)
        if (isUsed(ws, row))
            box.add(recordBounds(ws.table.rows[row].kind, ws.records[ws.table.rows[row].params]));
    return box;
}

TransformResult flipSelection(Workspace& ws, const Platform& platform, MirrorAxis axis)
{
    const std::vector<int32_t> rows = usedSelection(ws);
    const GeometryBox box = selectionBounds(ws, rows);
    if (rows.empty() || box.empty())
        return TransformResult::Unchanged;
    if (!fitsOneStep(ws, platform, rows))
        return TransformResult::Refused;
    // The box keeps its place, within the half unit the axis is held to.
    const double sum =
        axis == MirrorAxis::LeftRight ? std::round(box.left + box.right) : std::round(box.top + box.bottom);
    std::vector<ObjectParams> records;
    records.reserve(rows.size());
    for (int32_t row : rows) {
        records.push_back(ws.records[ws.table.rows[row].params]);
        if (!mirrorRecord(ws.table.rows[row].kind, records.back(), axis, sum)) {
            showRefusal(ws, platform, Outcome(kSlotCannotFlip));
            return TransformResult::Refused;
        }
    }
    return writeRecords(ws, platform, rows, records);
}

TransformResult turnAndScaleSelection(Workspace& ws, const Platform& platform, int32_t degrees, double scaleX,
                                      double scaleY)
{
    const std::vector<int32_t> rows = usedSelection(ws);
    const GeometryBox box = selectionBounds(ws, rows);
    if (rows.empty() || box.empty())
        return TransformResult::Unchanged;
    if (!(scaleX > 0 && scaleY > 0 && std::isfinite(scaleX) && std::isfinite(scaleY))) {
        showRefusal(ws, platform, Outcome(kSlotPercentNotPositive));
        return TransformResult::Refused;
    }
    if (!fitsOneStep(ws, platform, rows))
        return TransformResult::Refused;
    const TurnAndScale how{box.centreX(), box.centreY(), degrees, scaleX, scaleY};
    std::vector<ObjectParams> records;
    std::vector<int32_t> kinds;
    records.reserve(rows.size());
    GeometryBox after;
    ws.view.note.clear();
    for (int32_t row : rows) {
        int32_t kind = ws.table.rows[row].kind;
        records.push_back(ws.records[ws.table.rows[row].params]);
        // An upright ellipse turned by less than a quarter becomes a path
        // when its kind has one; a kind without stays upright and says so.
        const KindRow& kindRowOf = *kindRow(kind);
        if (degrees % 90 != 0 && kindRowOf.ellipse != nullptr) {
            ObjectParams converted;
            if (kindRowOf.toPath && kindRowOf.toPath(records.back(), ws.settings, kind, converted))
                records.back() = converted;
            else
                ws.view.note = message(ws, Outcome(kSlotQuarterTurnsOnly, std::string(kindRowOf.word)));
        }
        // Kept stitches are moved, not sewn again: much larger or smaller,
        // their spacing and density change with them.
        if (kindRowOf.mapStored != nullptr &&
            std::max(std::abs(scaleX - 1), std::abs(scaleY - 1)) > kRestitchScale)
            ws.view.note = message(ws, kSlotStitchesTransformed);
        kinds.push_back(kind);
        if (!turnAndScaleRecord(kind, records.back(), how)) {
            showRefusal(ws, platform, Outcome(kSlotCannotTurnOrResize));
            return TransformResult::Refused;
        }
        after.add(recordBounds(kind, records.back()));
    }
    if (!keepInside(ws, platform, kinds, records, after, 0, 0))
        return TransformResult::Refused;
    return writeObjects(ws, platform, rows, kinds, records);
}

TransformResult placeSelection(Workspace& ws, const Platform& platform, const GeometryBox& target)
{
    const std::vector<int32_t> rows = usedSelection(ws);
    const GeometryBox box = selectionBounds(ws, rows);
    if (rows.empty() || box.empty() || target.empty())
        return TransformResult::Unchanged;
    if (!fitsOneStep(ws, platform, rows))
        return TransformResult::Refused;
    // A box without width (a straight line down) keeps it: no scale reaches it.
    const double width = box.width(), height = box.height();
    const double scaleX = width > 0 ? (target.right - target.left) / width : 1;
    const double scaleY = height > 0 ? (target.bottom - target.top) / height : 1;
    if (!(scaleX > 0 && scaleY > 0)) {
        showRefusal(ws, platform, Outcome(kSlotSizeNotPositive));
        return TransformResult::Refused;
    }
    const TurnAndScale how{box.left, box.top, 0, scaleX, scaleY};
    const bool resized = scaleX != 1 || scaleY != 1;
    std::vector<ObjectParams> records;
    std::vector<int32_t> kinds;
    GeometryBox after;
    ws.view.note.clear();
    for (int32_t row : rows) {
        kinds.push_back(ws.table.rows[row].kind);
        records.push_back(ws.records[ws.table.rows[row].params]);
        if (resized && !turnAndScaleRecord(kinds.back(), records.back(), how)) {
            showRefusal(ws, platform, Outcome(kSlotCannotResize));
            return TransformResult::Refused;
        }
        after.add(recordBounds(kinds.back(), records.back()));
    }
    const auto dx = int32_t(std::lround(target.left - after.left));
    const auto dy = int32_t(std::lround(target.top - after.top));
    if (!keepInside(ws, platform, kinds, records, after, dx, dy))
        return TransformResult::Refused;
    return writeObjects(ws, platform, rows, kinds, records);
}

bool holdSelection(Workspace& ws, const Platform& platform, HeldSelection& held)
{
    held = HeldSelection{};
    std::vector<int32_t> rows = usedSelection(ws);
    if (rows.empty())
        return false;
    if (!fitsOneStep(ws, platform, rows))
        return false;
    held.box = selectionBounds(ws, rows);
    held.before.reserve(rows.size());
    for (int32_t row : rows)
        held.before.push_back(ws.records[ws.table.rows[row].params]);
    held.rows = std::move(rows);
    return true;
}

void placeHeldSelection(Workspace& ws, const HeldSelection& held, int32_t& dx, int32_t& dy)
{
    // An axis the objects already overstep is not held back.
    const GeometryBox& box = held.box;
    if (!box.empty() && box.left >= 0 && box.right <= kDesignArea)
        dx = std::clamp(dx, int32_t(std::ceil(-box.left)), int32_t(std::floor(kDesignArea - box.right)));
    if (!box.empty() && box.top >= 0 && box.bottom <= kDesignArea)
        dy = std::clamp(dy, int32_t(std::ceil(-box.top)), int32_t(std::floor(kDesignArea - box.bottom)));
    bool changed = false;
    for (std::size_t i = 0; i < held.rows.size(); ++i) {
        const ObjectEntry& e = ws.table.rows[held.rows[i]];
        if (!isUsed(ws, held.rows[i]))
            continue;
        ObjectParams moved = held.before[i];
        // Back at the start the bytes are exactly those picked up.
        if ((dx != 0 || dy != 0) && !translateRecord(e.kind, moved, dx, dy))
            moved = held.before[i];
        ObjectParams& now = ws.records[e.params];
        if (sameBytes(moved, now, e.paramsSize))
            continue;
        std::memcpy(now.bytes, moved.bytes, std::size_t(e.paramsSize));
        changed = true;
    }
    if (changed)
        markDesignChanged(ws);
}

void commitHeldSelection(Workspace& ws, const Platform& platform, const HeldSelection& held)
{
    std::vector<ObjectParams> moved;
    moved.reserve(held.rows.size());
    for (std::size_t i = 0; i < held.rows.size(); ++i) {
        ObjectParams& now = ws.records[ws.table.rows[held.rows[i]].params];
        moved.push_back(now);
        now = held.before[i];
    }
    writeRecords(ws, platform, held.rows, moved);
}

} // namespace kelvara
