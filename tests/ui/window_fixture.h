#pragma once

// A real main window, created offscreen in a temporary program folder, with
// scripted boxes and dialogs in place of the modal ones. The application
// comes from qt_application.cpp.

#include "model/workspace.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"
#include "ui/canvaswidget.h"
#include "ui/mainwindow.h"
#include "ui/messages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kelvara::testing {

// The shipped toolbar picture, so that creation gets past it.
inline std::string shippedButtons()
{
    return readWholeFile(std::string(KELVARA_SOURCE_DATA) + "/buttons.bmp");
}

// Message file whose slot n reads "message n".
inline std::string numberedMessages()
{
    std::string text = "; messages for the window tests\n";
    for (int slot = 0; slot < 20; ++slot)
        text += "message " + std::to_string(slot) + "\n";
    return text;
}

struct WindowFixture : ::testing::Test {
    TempFolder folder;
    std::unique_ptr<Workspace> owned = makeWorkspace();
    Workspace& ws = *owned;
    FakeMessageBoxes boxes;
    FakeFileDialogs files;
    FakeColourDialog colours;
    FakeLetteringDialog lettering;
    std::unique_ptr<MainWindow> window;
    int createResult = -1;

    // Writes the program folder's files; an empty text leaves a file out.
    void writeProgramFolder(const std::string& buttons, const std::string& config = "",
                            const std::string& messages = numberedMessages(), const std::string& info = "")
    {
        if (!buttons.empty())
            folder.write("buttons.bmp", buttons);
        if (!config.empty())
            folder.write("kelvara.cfg", config);
        if (!messages.empty())
            folder.write("hlaseni.txt", messages);
        if (!info.empty())
            folder.write("stehyinfo.txt", info);
        ws.programFolder = folder.file("");
    }

    void createWindow()
    {
        window = std::make_unique<MainWindow>(ws);
        Platform& platform = window->editor().platform;
        platform.boxes = &boxes;
        platform.files = &files;
        platform.colours = &colours;
        platform.lettering = &lettering;
        createResult = window->create();
    }

    // The usual start: shipped picture, messages, no configuration.
    void start(const std::string& config = "")
    {
        writeProgramFolder(shippedButtons(), config);
        createWindow();
        ASSERT_EQ(createResult, 0);
    }

    int64_t send(WindowId id, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0)
    {
        return window->send(id, message, wParam, lParam);
    }

    void resizeClient(int width, int height)
    {
        send(WindowId::Main, MsgSize, 0, makeParam(uint32_t(width), uint32_t(height)));
    }

    // A key pressed and released on `id`, producing a character when given.
    void press(uint32_t key, WindowId id = WindowId::Canvas, int character = -1)
    {
        send(id, MsgKeyDown, key);
        if (character >= 0)
            send(id, MsgChar, uint32_t(character));
        send(id, MsgKeyUp, key);
    }
    void type(char character, WindowId id = WindowId::Canvas) { send(id, MsgChar, uint8_t(character)); }
    void holdCtrl() { send(WindowId::Canvas, MsgKeyDown, VkControl); }
    void releaseCtrl() { send(WindowId::Canvas, MsgKeyUp, VkControl); }

    void moveMouse(int x, int y)
    {
        send(WindowId::Canvas, MsgMouseMove, 0, makeParam(uint32_t(x), uint32_t(y)));
    }
    void mouse(uint32_t message, int x, int y, uint32_t flags = 0)
    {
        send(WindowId::Canvas, message, flags, makeParam(uint32_t(x), uint32_t(y)));
    }
    void click(int x, int y)
    {
        moveMouse(x, y);
        mouse(MsgLButtonDown, x, y);
        mouse(MsgLButtonUp, x, y);
    }

    CanvasWidget& canvas() { return *window->canvasWindow(); }
    const QImage& canvasImage() { return canvas().image(); }

    // Replaces every command of the toolbar by a recorder of its row.
    void recordCommands()
    {
        calls.clear();
        for (int row = 0; row < ButtonTable::kRows; ++row) {
            ButtonEntry& entry = window->editor().buttons.rows[std::size_t(row)];
            if (entry.handler)
                entry.handler = [this, row] { calls.push_back(row); };
        }
    }
    std::vector<int> calls;
};

} // namespace kelvara::testing
