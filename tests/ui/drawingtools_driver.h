#pragma once

// Drives the drawing tools the way the window procedure does: a pointer move
// records the position first, then button messages go to toolEvent, and only
// afterwards the buttons and the position of that message are recorded.

#include "model/workspace.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"
#include "ui/drawingtools.h"
#include "ui/messages.h"

#include <memory>
#include <vector>

namespace kelvara::testing {

struct ToolDriver {
    std::unique_ptr<Workspace> owned = makeWorkspace();
    Workspace& ws = *owned;
    FakePlatform fakes;
    Platform platform = fakes.platform();

    // Pointer tracking over the canvas.
    void moveTo(int32_t x, int32_t y)
    {
        ws.view.mouseX = x;
        ws.view.mouseY = y;
    }

    void send(uint32_t code, int32_t x, int32_t y, int32_t delta = 0)
    {
        toolEvent(ws, platform, x, y, code, delta, ws.input.ctrlDown, ws.input.shiftDown);
        switch (code) {
        case MsgLButtonDown:
            ws.input.mouseButtons |= 1;
            break;
        case MsgLButtonUp:
            ws.input.mouseButtons &= ~1;
            break;
        case MsgRButtonDown:
            ws.input.mouseButtons |= 2;
            break;
        case MsgRButtonUp:
            ws.input.mouseButtons &= ~2;
            break;
        default:
            break;
        }
        ws.view.mouseX = x;
        ws.view.mouseY = y;
    }

    // A left click at canvas client pixel (x, y).
    void click(int32_t x, int32_t y)
    {
        moveTo(x, y);
        send(MsgLButtonDown, x, y);
        send(MsgLButtonUp, x, y);
    }

    // A left click on design point (x, y) under the current zoom and scroll.
    void clickDesign(int32_t x, int32_t y)
    {
        click(x * ws.view.zoom - ws.view.scrollX, y * ws.view.zoom - ws.view.scrollY);
    }

    void clickAll(const std::vector<std::pair<int32_t, int32_t>>& points)
    {
        for (const auto& [x, y] : points)
            clickDesign(x, y);
    }

    // The right button pressed at the first design point and held while the
    // pointer visits the others; the main loop repeats the right-button event
    // after every message while the button is held.
    void bend(const std::vector<std::pair<int32_t, int32_t>>& path)
    {
        auto pixel = [this](int32_t v, int32_t scroll) { return v * ws.view.zoom - scroll; };
        auto [x0, y0] = path.front();
        moveTo(pixel(x0, ws.view.scrollX), pixel(y0, ws.view.scrollY));
        send(MsgRButtonDown, ws.view.mouseX, ws.view.mouseY);
        for (const auto& [x, y] : path) {
            moveTo(pixel(x, ws.view.scrollX), pixel(y, ws.view.scrollY));
            if ((ws.input.mouseButtons & 2) && ws.tools.toolMode > 0)
                toolEvent(ws, platform, 0, 0, MsgRButtonDown, 0, 0, 0);
        }
        send(MsgRButtonUp, ws.view.mouseX, ws.view.mouseY);
    }

    void wheel(int32_t delta) { send(MsgMouseWheel, 0, 0, delta); }

    // The window procedure's Escape: the tool and the current object end.
    void escape()
    {
        ws.cursorNumber = 0;
        ws.tools.toolMode = 0;
        ws.table.currentObject = -1;
        ws.tools.preview.clear();
        ws.tools.rubberBand.active = 0;
    }

    void tool(int32_t t) { selectTool(ws, platform, t); }

    const ObjectParams& params(int32_t row) const { return ws.records[ws.table.rows[row].params]; }

    // Rows in display order, walking from firstObject.
    std::vector<int32_t> displayOrder() const
    {
        std::vector<int32_t> order;
        int32_t r = ws.table.objectCount > 0 ? ws.table.firstObject : -1;
        for (int32_t i = 0; i < ws.table.objectCount && r >= 0; ++i) {
            order.push_back(r);
            r = ws.table.rows[r].next;
        }
        return order;
    }
};

} // namespace kelvara::testing
