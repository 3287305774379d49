#include "model/editorstate.h"
#include "ui/canvasview.h"
#include "ui/messages.h"

namespace kelvara {

int32_t scrollOffset(int32_t offset, int32_t extent, int32_t zoom, uint32_t request, uint32_t thumbPosition)
{
    const int32_t page = extent / zoom;
    switch (request) {
    case ScrollLineUp:
        return offset > 10 ? offset - 10 : offset;
    case ScrollLineDown:
        return page + offset + 10 <= kScrollRange ? offset + 10 : offset;
    case ScrollPageUp:
        return extent / 2 > offset ? 0 : offset - extent / 2;
    case ScrollPageDown:
        return (2 * extent) / zoom + offset > kScrollRange ? kScrollRange - page : offset + page;
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        return static_cast<int32_t>(thumbPosition & 0xFFFFu);
    case ScrollTop:
        return 0;
    case ScrollBottom:
        return kScrollRange - page;
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
    const int32_t before = offset;
    if (key == VkLeft || key == VkUp) {
        if (offset >= step)
            offset -= step;
        else if (offset > 0)
            offset = 0;
    } else if (key == VkRight || key == VkDown) {
        const int32_t limit = kScrollRange - extent / view.zoom;
        if (offset + step <= limit)
            offset += step;
        else if (limit > offset)
            offset = limit;
    }
    return offset != before;
}

} // namespace kelvara
