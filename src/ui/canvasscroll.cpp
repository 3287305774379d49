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

int32_t scrollOffset(int32_t offset, int32_t extent, const ZoomRatio& zoom, uint32_t request,
                     uint32_t thumbPosition, int32_t before, int32_t beyond)
{
    const int64_t page = zoom.page(extent);
    const int64_t first = firstScrollOffset(zoom, before);
    const int64_t range = scrollRange(zoom) - zoom.pixels(-int64_t(beyond));
    const auto result = [](int64_t value) { return int32_t(value); };
    switch (request) {
    case ScrollLineUp:
        return offset - first > 10 ? offset - 10 : offset;
    case ScrollLineDown:
        return page + offset + 10 <= range ? offset + 10 : offset;
    case ScrollPageUp:
        return extent / 2 > offset - first ? result(first) : offset - extent / 2;
    case ScrollPageDown:
        return zoom.page(2 * int64_t(extent)) + offset > range ? result(std::max(first, range - page))
                                                               : result(offset + page);
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        // The bar's own positions, negative ones included, as they were sent.
        return result(std::max<int64_t>(first, static_cast<int32_t>(thumbPosition)));
    case ScrollTop:
        return result(first);
    case ScrollBottom:
        return result(std::max(first, range - page));
    default:
        return offset;
    }
}

bool arrowKeyScroll(ViewState& view, uint32_t key, int32_t shiftDown)
{
    const ZoomRatio zoom = view.ratio();
    const int64_t step = zoom.page(100 * (8 * shiftDown + 1));
    const bool horizontal = key == VkLeft || key == VkRight;
    int32_t& offset = horizontal ? view.scrollX : view.scrollY;
    const int32_t extent = horizontal ? view.canvasWidth : view.canvasHeight;
    const int64_t first = firstScrollOffset(zoom, horizontal ? view.reach.left : view.reach.top);
    const int32_t beyond = horizontal ? view.reach.right : view.reach.bottom;
    const int32_t before = offset;
    if (key == VkLeft || key == VkUp) {
        if (offset - first >= step)
            offset = int32_t(offset - step);
        else if (offset > first)
            offset = int32_t(first);
    } else if (key == VkRight || key == VkDown) {
        const int64_t limit = scrollRange(zoom) - zoom.pixels(-int64_t(beyond)) - zoom.page(extent);
        if (offset + step <= limit)
            offset = int32_t(offset + step);
        else if (limit > offset)
            offset = int32_t(limit);
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
    case VkPlus:
        zoomBy(ws, platform, 1);
        return true;
    case VkMinus:
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
