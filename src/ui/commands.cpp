#include "ui/commands.h"

#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/workspace.h"
#include "project/exportcommand.h"
#include "project/openproject.h"
#include "project/saveproject.h"
#include "ui/drawingtools.h"
#include "ui/editor.h"

namespace kelvara {

namespace {

constexpr const char* kWindowTitle = "Kelvara Stitches";
constexpr int kListItems = 4096;
constexpr int kListBytes = 262144;

} // namespace

void Commands::newDesign()
{
    Workspace& ws = editor_.ws;
    const Platform& platform = editor_.platform;
    if (ws.table.objectCount > 0 && !platform.boxes->askYesNo(message(ws, 0), message(ws, 1)))
        return;
    clearTable(ws.table, ws.records);
    if (ws.picture.loaded())
        releaseBackgroundPicture(ws.picture);
    platform.canvas->renderCanvas();
    platform.canvas->invalidateCanvas();
    ws.rememberedFileName.clear();
    platform.title->setTitle(QString::fromLatin1(kWindowTitle));
    resetTools(ws.tools);
    platform.list->resetContent();
    platform.list->initStorage(kListItems, kListBytes);
    resetJournal(ws.journal);
    // The arrow shows at the next mouse movement over the canvas.
    ws.cursorNumber = 0;
    ws.table.currentObject = -1;
}

void Commands::openProject()
{
    kelvara::openProject(editor_.ws, editor_.platform);
}

void Commands::saveProject()
{
    kelvara::saveProject(editor_.ws, editor_.platform);
}

void Commands::exportStitches()
{
    kelvara::exportStitches(editor_.ws, editor_.platform);
}

void Commands::deleteCurrent()
{
    kelvara::deleteCurrent(editor_.ws, editor_.platform);
}

void Commands::undo()
{
    undoStep(editor_.ws, editor_.platform);
}

void Commands::chooseColour()
{
    // The choice is not used: the colour of new objects follows the design.
    editor_.platform.colours->chooseColour(0);
}

void Commands::toggleCrossHair()
{
    Settings& settings = editor_.ws.settings;
    settings.CROSS = settings.CROSS == 0 ? 1 : 0;
    editor_.platform.canvas->invalidateCanvas();
}

void Commands::toggleGrid()
{
    Workspace& ws = editor_.ws;
    if (ws.input.shiftDown != 0)
        return;
    ws.settings.MRIZ = ws.settings.MRIZ == 0 ? 1 : 0;
    editor_.platform.canvas->renderCanvas();
    editor_.platform.canvas->invalidateCanvas();
}

void Commands::toggleStitchView()
{
    // Its hotkey P runs on the character and again on the key release.
    if (editor_.stitchViewSerial == editor_.inputSerial)
        return;
    editor_.stitchViewSerial = editor_.inputSerial;
    editor_.stitchView = !editor_.stitchView;
    editor_.platform.canvas->renderCanvas();
    editor_.platform.canvas->invalidateCanvas();
}

void Commands::selectTool(int32_t toolMode)
{
    kelvara::selectTool(editor_.ws, editor_.platform, toolMode);
}

} // namespace kelvara
