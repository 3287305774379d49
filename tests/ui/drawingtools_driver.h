#pragma once

// Drives the drawing tools through the real window procedure, with fake
// platform seams and no windows: every message goes to dispatch and is
// followed by the message loop's right-button repeat, as MainWindow::send
// does.

#include "model/workspace.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"
#include "ui/commands.h"
#include "ui/drawingtools.h"
#include "ui/editor.h"
#include "ui/messages.h"
#include "ui/windowprocedure.h"

#include <memory>
#include <vector>

namespace kelvara::testing {

// The windows the procedure would move, size and focus: none here.
class NoWindows : public WindowHost {
public:
    void clientSize(int& width, int& height) const override { width = height = 0; }
    void createChildWindows(int, int) override {}
    QWidget* toolbarStrip() override { return nullptr; }
    void createObjectList() override {}
    void moveWindow(WindowId, int, int) override {}
    void resizeWindow(WindowId, int, int) override {}
    void giveFocus(WindowId) override {}
    void invalidate(WindowId) override {}
    void repaintNow(WindowId) override {}
    void createCanvasImage(int, int) override {}
    void releaseCanvasImage() override {}
    void setScrollPosition(bool, int) override {}
    void destroyMainWindow() override {}
    void postQuit(int) override {}
};

struct ToolDriver {
    std::unique_ptr<Workspace> owned = makeWorkspace();
    Workspace& ws = *owned;
    FakePlatform fakes;
    Editor editor{ws};
    Platform& platform = editor.platform;
    NoWindows windows;
    Commands commands{editor};
    WindowProcedure procedure{editor, windows, commands};

    ToolDriver() { platform = fakes.platform(); }
    ToolDriver(const ToolDriver&) = delete;
    ToolDriver& operator=(const ToolDriver&) = delete;

    void dispatch(WindowId window, uint32_t message, uint64_t wParam, int64_t lParam)
    {
        procedure.dispatch(window, message, wParam, lParam);
        procedure.repeatRightButton();
    }

    void send(uint32_t message, int32_t x, int32_t y)
    {
        dispatch(WindowId::Canvas, message, 0, makeParam(uint32_t(x), uint32_t(y)));
    }

    // The pointer moves over the canvas to client pixel (x, y).
    void moveTo(int32_t x, int32_t y) { send(MsgMouseMove, x, y); }

    // A left click at canvas client pixel (x, y).
    void click(int32_t x, int32_t y)
    {
        moveTo(x, y);
        send(MsgLButtonDown, x, y);
        send(MsgLButtonUp, x, y);
    }

    int32_t pixelX(int32_t x) const { return x * ws.view.zoom - ws.view.scrollX; }
    int32_t pixelY(int32_t y) const { return y * ws.view.zoom - ws.view.scrollY; }

    // A left click on design point (x, y) under the current zoom and scroll.
    void clickDesign(int32_t x, int32_t y) { click(pixelX(x), pixelY(y)); }

    void clickAll(const std::vector<std::pair<int32_t, int32_t>>& points)
    {
        for (const auto& [x, y] : points)
            clickDesign(x, y);
    }

    // The right button pressed at the first design point and held while the
    // pointer visits the others.
    void bend(const std::vector<std::pair<int32_t, int32_t>>& path)
    {
        const auto [x0, y0] = path.front();
        moveTo(pixelX(x0), pixelY(y0));
        send(MsgRButtonDown, pixelX(x0), pixelY(y0));
        for (const auto& [x, y] : path)
            moveTo(pixelX(x), pixelY(y));
        send(MsgRButtonUp, ws.view.mouseX, ws.view.mouseY);
    }

    // The wheel turned by `delta` (negative zooms in) over the canvas.
    void wheel(int32_t delta)
    {
        dispatch(WindowId::Canvas, MsgMouseWheel, uint64_t(makeParam(0, uint16_t(int16_t(delta)))), 0);
    }

    void pressKey(uint32_t key)
    {
        dispatch(WindowId::Canvas, MsgKeyDown, key, 0);
        dispatch(WindowId::Canvas, MsgKeyUp, key, 0);
    }
    void escape() { pressKey(VkEscape); }
    void holdCtrl() { dispatch(WindowId::Canvas, MsgKeyDown, VkControl, 0); }
    void releaseCtrl() { dispatch(WindowId::Canvas, MsgKeyUp, VkControl, 0); }
    void holdShift() { dispatch(WindowId::Canvas, MsgKeyDown, VkShift, 0); }
    void releaseShift() { dispatch(WindowId::Canvas, MsgKeyUp, VkShift, 0); }

    // The toolbar button of tool t.
    void tool(int32_t t) { commands.selectTool(t); }

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
