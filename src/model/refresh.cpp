#include "model/refresh.h"

#include "model/editing.h"
#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

void markDesignChanged(Workspace& ws)
{
    ++ws.refresh.designRevision;
    markCanvasChanged(ws);
    // The stitches may now reach farther, or less far, past the design area.
    ws.refresh.scrollBars = true;
}

void markCanvasChanged(Workspace& ws)
{
    ws.refresh.render = true;
    ws.refresh.repaint = true;
}

void markViewChanged(Workspace& ws)
{
    ws.refresh.render = true;
    ws.refresh.scrollBars = true;
}

void markRepaint(Workspace& ws)
{
    ws.refresh.repaint = true;
}

void markCursor(Workspace& ws, int number)
{
    ws.cursorNumber = number;
    ws.refresh.cursor = number;
}

void showCursorNow(Workspace& ws, const Platform& platform, int number)
{
    ws.cursorNumber = number;
    ws.refresh.cursor = -1;
    if (platform.cursor != nullptr)
        platform.cursor->setCursor(number);
}

void refresh(Workspace& ws, const Platform& platform)
{
    PendingRefresh& pending = ws.refresh;
    // Lines in words show positions and numbers that any edit may change,
    // not only the lines the edit made.
    if (ws.settings.LISTWORDS != 0 && pending.listRevision != pending.designRevision)
        updateListLines(ws, platform);
    pending.listRevision = pending.designRevision;
    if (pending.cursor >= 0 && platform.cursor != nullptr)
        platform.cursor->setCursor(pending.cursor);
    if (platform.canvas != nullptr) {
        if (pending.render)
            platform.canvas->renderCanvas();
        if (pending.scrollBars)
            platform.canvas->updateScrollBars();
        if (pending.repaint)
            platform.canvas->invalidateCanvas();
    }
    pending.cursor = -1;
    pending.render = false;
    pending.scrollBars = false;
    pending.repaint = false;
}

} // namespace kelvara
