#include "model/editorstate.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "ui/canvasview.h"
#include "ui/drawingtools.h"
#include "ui/messages.h"

#include <algorithm>
#include <climits>

namespace kelvara {

int32_t scrollOffset(int32_t offset, int32_t extent, int32_t zoom, uint32_t request, uint32_t thumbPosition,
                     int32_t before, int32_t beyond)
{
    const int32_t page = extent / zoom;
    const int32_t first = -before * zoom;
    const int32_t range = scrollRange(zoom) + beyond * zoom;
    switch (request) {
    case ScrollLineUp:
        return offset - first > 10 ? offset - 10 : offset;
    case ScrollLineDown:
        return page + offset + 10 <= range ? offset + 10 : offset;
    case ScrollPageUp:
        return extent / 2 > offset - first ? first : offset - extent / 2;
    case ScrollPageDown:
        return (2 * extent) / zoom + offset > range ? range - page : offset + page;
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        // The bar's own positions, negative ones included, as they were sent.
        return std::max(first, static_cast<int32_t>(thumbPosition));
    case ScrollTop:
        return first;
    case ScrollBottom:
        return range - page;
    default:
        return offset;
    }
}

bool arrowKeyScroll(ViewState& view, uint32_t key, int32_t shiftDown)
{
    const int32_t step = (100 * (8 * shiftDown + 1)) / view.zoom;
    const bool horizontal = key == VkLeft || key == VkRight;
    int32_t& offset = horizontal ? view.scrollX : view.scrollY;
    const int32_t extent = horizontal ? view.canvasWidth : view.canvasHeight;
    const int32_t first = -(horizontal ? view.reach.left : view.reach.top) * view.zoom;
    const int32_t beyond = horizontal ? view.reach.right : view.reach.bottom;
    const int32_t before = offset;
    if (key == VkLeft || key == VkUp) {
        if (offset - first >= step)
            offset -= step;
        else if (offset > first)
            offset = first;
    } else if (key == VkRight || key == VkDown) {
        const int32_t limit = scrollRange(view.zoom) + beyond * view.zoom - extent / view.zoom;
        if (offset + step <= limit)
            offset += step;
        else if (limit > offset)
            offset = limit;
    }
    return offset != before;
}

StitchReach stitchReach(const PlanBox& extent)
{
    if (extent.empty())
        return {};
    return {std::max(0, -extent.left), std::max(0, -extent.top), std::max(0, extent.right - kScrollRange),
            std::max(0, extent.bottom - kScrollRange)};
}

bool viewHotkey(Workspace& ws, const Platform& platform, uint32_t key)
{
    // The codes of the "=/+" and "-/_" keys, on the main keyboard and the
    // keypad alike.
    constexpr uint32_t kPlusKey = 187;
    constexpr uint32_t kMinusKey = 189;
    switch (key) {
    case '0':
        if (platform.canvas)
            platform.canvas->zoomToFit();
        return true;
    case '9':
        if (ws.settings.ZOOMSTEPS == 0)
            return false;
        if (platform.canvas)
            platform.canvas->zoomToSelection();
        return true;
    case kPlusKey:
        zoomBy(ws, platform, 1);
        return true;
    case kMinusKey:
        zoomBy(ws, platform, -1);
        return true;
    case 'B':
        // The tracing picture: dimmed, more dimmed, hidden, shown again.
        if (ws.picture.loaded()) {
            stepPictureDimming(ws.picture);
            markCanvasChanged(ws);
        }
        return true;
    default:
        return false;
    }
}

} // namespace kelvara
