#include "stitch/orderitems.h"

#include "model/selection.h"
#include "model/workspace.h"
#include "stitch/objectplancache.h"

namespace kelvara {

std::vector<OrderItem> orderItems(const Workspace& ws, const ObjectPlanCache& plans, bool selectedOnly)
{
    std::vector<OrderItem> items;
    items.reserve(std::size_t(ws.table.objectCount));
    for (int32_t row : DisplayOrder(ws.table)) {
        const ObjectEntry& entry = ws.table.rows[row];
        OrderItem item;
        item.row = row;
        item.colour = objectColour(entry, ws.records);
        item.movable = !selectedOnly || isSelected(ws, row);
        const ObjectPiece& piece = plans.piece(row);
        // A piece the walk never reached (beyond a refusal) has no records
        // and counts as sewing nothing.
        if (piece.kind != KindFree && !piece.plan.records.empty() && !piece.sewnBox.empty()) {
            const StitchRecord& first = piece.plan.records.front();
            const StitchRecord& last = piece.plan.records.back();
            item.startX = first.x;
            item.startY = first.y;
            item.endX = last.x;
            item.endY = last.y;
            item.box = piece.sewnBox;
        }
        items.push_back(item);
    }
    return items;
}

} // namespace kelvara
