#include "ui/commands.h"

#include "model/arrange.h"
#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/letteringedit.h"
#include "model/kinds/kind.h"
#include "model/pathconvert.h"
#include "model/recolour.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/transformselection.h"
#include "model/workspace.h"
#include "project/clipboard.h"
#include "project/exportcommand.h"
#include "project/importfile.h"
#include "project/openproject.h"
#include "project/saveproject.h"
#include "project/unsavedchanges.h"
#include "stitch/designinfo.h"
#include "stitch/hoopfit.h"
#include "stitch/orderitems.h"
#include "stitch/stitchplan.h"
#include "ui/canvasview.h"
#include "ui/drawingtools.h"
#include "ui/editor.h"
#include "ui/helpbox.h"
#include "ui/messages.h"
#include "ui/pentool.h"
#include "ui/recentfiles.h"
#include "ui/selecttool.h"

#include <QFileInfo>

#include <cstdio>
#include <numeric>

namespace kelvara {

namespace {

void showOrderReport(const Workspace& ws, const Platform& platform, const OrderCosts& before,
                     const OrderCosts& after)
{
    if (platform.boxes == nullptr)
        return;
    const auto mm = [](double units) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", units / 10);
        return std::string(text);
    };
    const std::string jumps =
        message(ws, Outcome(kSlotOrderJumps, mm(before.jumpUnits), mm(after.jumpUnits)));
    const std::string colours = message(ws, Outcome(kSlotOrderColours, std::to_string(before.colourChanges),
                                                    std::to_string(after.colourChanges)));
    platform.boxes->showInformation(message(ws, kSlotOrderCaption), jumps + "\n" + colours);
}

} // namespace

void Commands::newDesign()
{
    Workspace& ws = editor_.ws;
    const Platform& platform = editor_.platform;
    if (!settleUnsavedChanges(ws, platform, kSlotNewDesignCaption, kSlotDiscardQuestion))
        return;
    clearTable(ws.table, ws.records);
    if (ws.picture.loaded())
        releaseBackgroundPicture(ws.picture);
    markDesignChanged(ws);
    ws.rememberedFileName.clear();
    ws.fileStamp = {};
    platform.title->setTitle(QString::fromLatin1(kProgramTitle));
    resetTools(ws.tools);
    clearObjectList(*platform.list);
    resetJournal(ws.journal);
    clearRedo(ws.redo);
    // The arrow shows at the next mouse movement over the canvas.
    ws.cursorNumber = kArrowCursor;
    ws.table.currentObject = -1;
    clearSelection(ws);
    markDesignSaved(ws);
}

void Commands::openProject()
{
    kelvara::openProject(editor_.ws, editor_.platform);
    takeSelectionFromList(editor_.ws, editor_.platform);
}

void Commands::importFile()
{
    kelvara::importFile(editor_.ws, editor_.platform);
    takeSelectionFromList(editor_.ws, editor_.platform);
}

void Commands::saveProject()
{
    // Ctrl+Shift+S is Save As once saving to the design's file asks nothing.
    const bool saveAs = editor_.ws.settings.QUICKSAVE != 0 && editor_.ws.input.shiftDown != 0;
    kelvara::saveProject(editor_.ws, editor_.platform, saveAs ? SaveAs::Always : SaveAs::WhenUnnamed);
}

void Commands::saveProjectAs()
{
    kelvara::saveProject(editor_.ws, editor_.platform, SaveAs::Always);
}

void Commands::exportStitches()
{
    kelvara::exportStitches(editor_.ws, editor_.platform);
}

void Commands::printWorksheet()
{
    if (editor_.printWorksheet)
        editor_.printWorksheet();
}

void Commands::deleteCurrent()
{
    kelvara::deleteCurrent(editor_.ws, editor_.platform);
}

void Commands::undo()
{
    undoStep(editor_.ws, editor_.platform);
    // Objects brought back keep their selection; a rebuilt list shows it.
    showSelectionInList(editor_.ws, editor_.platform);
}

void Commands::redo()
{
    redoStep(editor_.ws, editor_.platform);
    showSelectionInList(editor_.ws, editor_.platform);
}

void Commands::chooseColour()
{
    Workspace& ws = editor_.ws;
    const std::optional<int32_t> answer = editor_.platform.colours->chooseColour(colourToOffer(ws));
    if (!answer)
        return;
    // Right after drawing nothing was picked: the colour is for what comes next.
    if (ws.settings.PICKCOLOUR != 0 && ws.selection.drawn) {
        setNextColour(ws, *answer & 0xFFFFFF);
        ws.statusNote = {message(ws, kSlotNextColour), ws.refresh.designRevision};
        return;
    }
    recolourSelection(ws, editor_.platform, *answer & 0xFFFFFF);
}

void Commands::toggleCrossHair()
{
    Settings& settings = editor_.ws.settings;
    settings.CROSS = settings.CROSS == 0 ? 1 : 0;
    markRepaint(editor_.ws);
}

void Commands::toggleGrid()
{
    Workspace& ws = editor_.ws;
    if (ws.input.shiftDown != 0)
        return;
    ws.settings.MRIZ = ws.settings.MRIZ == 0 ? 1 : 0;
    markCanvasChanged(ws);
}

void Commands::toggleStitchView()
{
    editor_.stitchView = !editor_.stitchView;
    markCanvasChanged(editor_.ws);
}

void Commands::toggleThreadView()
{
    editor_.threadView = !editor_.threadView;
    markCanvasChanged(editor_.ws);
}

void Commands::chooseHoop()
{
    Workspace& ws = editor_.ws;
    if (editor_.platform.boxes == nullptr)
        return;
    // "No hoop" first, then the hoops as hoops.txt lists them.
    std::vector<std::string> items{message(ws, kSlotNoHoop)};
    int current = 0;
    const Hoop* chosen = chosenHoop(ws);
    for (const Hoop& hoop : ws.hoops.hoops) {
        if (&hoop == chosen)
            current = int(items.size());
        items.push_back(hoopTitle(hoop));
    }
    const std::optional<int> answer =
        editor_.platform.boxes->chooseItem(message(ws, kSlotHoopChooser), items, current);
    if (!answer || *answer < 0 || *answer >= int(items.size()))
        return;
    setHoopSetting(ws.settings, *answer == 0 ? std::string() : ws.hoops.hoops[std::size_t(*answer - 1)].name);
    markCanvasChanged(ws);
}

void Commands::toggleStitchOut()
{
    Workspace& ws = editor_.ws;
    if (editor_.stitchOut) {
        editor_.stitchOut.reset();
        markCanvasChanged(ws);
        return;
    }
    StitchPlan plan;
    if (generatePlan(ws, plan) != PlanStatus::Ok) {
        if (editor_.platform.boxes != nullptr)
            editor_.platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotExportNoStitches));
        return;
    }
    editor_.stitchOut = std::make_unique<StitchOut>(std::move(plan));
    editor_.stitchOut->setPlaying(true);
    markCanvasChanged(ws);
}

namespace {

// The speeds Up and Down step through, stitches a second.
constexpr int kSpeeds[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};

int nextSpeed(int speed, bool faster)
{
    if (faster) {
        for (int s : kSpeeds)
            if (s > speed)
                return s;
        return speed;
    }
    int slower = speed;
    for (int s : kSpeeds)
        if (s < speed)
            slower = s;
    return slower;
}

} // namespace

bool Commands::stitchOutKey(uint32_t key, bool shift)
{
    StitchOut* out = editor_.stitchOut.get();
    if (out == nullptr)
        return false;
    switch (key) {
    case VkSpace:
        out->setPlaying(!out->playing());
        break;
    case VkRight:
        shift ? out->nextStop() : out->step(1);
        break;
    case VkLeft:
        shift ? out->previousStop() : out->step(-1);
        break;
    case VkHome:
        out->seek(0);
        break;
    case VkEnd:
        out->seek(out->total());
        break;
    case VkUp:
    case VkDown:
        out->setSpeed(nextSpeed(out->speed(), key == VkUp));
        break;
    case VkEscape:
        editor_.stitchOut.reset();
        break;
    case 'A':
        toggleStitchOut();
        break;
    default:
        return false;
    }
    markCanvasChanged(editor_.ws);
    return true;
}

void Commands::selectTool(int32_t toolMode)
{
    kelvara::selectTool(editor_.ws, editor_.platform, toolMode);
}

void Commands::selectPen(int32_t kind)
{
    kelvara::selectPen(editor_.ws, editor_.platform, kind);
}

void Commands::convertToPath()
{
    convertSelectionToPath(editor_.ws, editor_.platform);
    markRepaint(editor_.ws);
}

void Commands::addHole()
{
    startHole(editor_.ws, editor_.platform);
}

void Commands::editObject(PanelField field)
{
    // Lettering is edited in its own dialog.
    Workspace& ws = editor_.ws;
    const int32_t row = ws.table.currentObject;
    if (field == PanelField::Any && isLettering(ws, row) && isSelected(ws, row)) {
        editLettering(ws, editor_.platform, row);
        return;
    }
    if (editor_.openProperties)
        editor_.openProperties(field);
}

void Commands::applyParameters()
{
    if (editor_.applyProperties)
        editor_.applyProperties();
}

void Commands::showDesignInformation()
{
    Workspace& ws = editor_.ws;
    const Platform& platform = editor_.platform;
    if (platform.boxes == nullptr)
        return;
    StitchPlan plan;
    const PlanStatus status = generatePlan(ws, plan);
    std::string text;
    if (status == PlanStatus::TooLarge) {
        text = message(ws, kSlotExportTooLarge);
    } else {
        const DesignInfo info =
            measureDesign(plan, ws.table.objectCount, ws.settings.SPEED, &ws.hoops, chosenHoop(ws));
        text = designInfoText(ws.lines, info);
    }
    platform.boxes->showInformation(message(ws, kSlotInfoCaption), text);
}

void Commands::optimiseOrder()
{
    Workspace& ws = editor_.ws;
    const Platform& platform = editor_.platform;
    const std::vector<OrderItem> items = orderItems(ws, editor_.plans.current(ws), selectedCount(ws) > 0);
    const std::vector<int32_t> order = optimisedOrder(items);
    std::vector<int32_t> present(items.size()), arranged;
    std::iota(present.begin(), present.end(), 0);
    for (int32_t index : order)
        arranged.push_back(items[std::size_t(index)].row);
    const OrderCosts before = measureOrder(items, present);
    const OrderCosts after = measureOrder(items, order);
    // An order that cannot be bettered is reported as it stands.
    const bool changed = arrangeObjects(ws, platform, arranged);
    if (changed)
        showSelectionInList(ws, platform);
    showOrderReport(ws, platform, before, changed ? after : before);
}

void Commands::editNodes()
{
    startNodeEditing(editor_.ws, editor_.platform);
}

void Commands::flip()
{
    Workspace& ws = editor_.ws;
    flipSelection(ws, editor_.platform,
                  ws.input.shiftDown != 0 ? MirrorAxis::TopBottom : MirrorAxis::LeftRight);
}

void Commands::insertPoint()
{
    Workspace& ws = editor_.ws;
    bool anyLine = false;
    for (int32_t row : selectedRows(ws)) {
        const KindRow* kind = kindRow(ws.table.rows[row].kind);
        anyLine = anyLine || (kind != nullptr && (kind->splitAt != nullptr || kind->path != nullptr));
    }
    if (!anyLine)
        return;
    // The select tool keeps the selection and the current object.
    if (ws.tools.toolMode != -1)
        beginTool(ws.tools, -1);
    ws.tools.insertingPoint = 1;
    markCursor(ws, kCrossCursor);
    markRepaint(ws);
}

void Commands::copy()
{
    copySelection(editor_.ws, editor_.platform, editor_.paste);
}

void Commands::cut()
{
    cutSelection(editor_.ws, editor_.platform, editor_.paste);
}

void Commands::paste()
{
    pasteObjects(editor_.ws, editor_.platform, editor_.paste);
}

void Commands::group()
{
    groupSelection(editor_.ws, editor_.platform);
}

void Commands::ungroup()
{
    ungroupSelection(editor_.ws, editor_.platform);
}

void Commands::toggleTrim()
{
    toggleTrimOfSelection(editor_.ws, editor_.platform);
}

void Commands::moveToStart()
{
    moveSelectionToStart(editor_.ws, editor_.platform);
}

void Commands::moveToEnd()
{
    moveSelectionToEnd(editor_.ws, editor_.platform);
}

void Commands::join()
{
    joinSelection(editor_.ws, editor_.platform);
}

void Commands::showHelp()
{
    // With a menu bar About has an entry of its own, and the keys alone
    // fill a screen.
    const std::string about = editor_.ws.settings.MENUBAR != 0 ? std::string() : "\n\n" + aboutText();
    editor_.platform.boxes->showInformation("Keys", hotkeyText(editor_.buttons, editor_.ws.settings) + about);
}

void Commands::viewKey(uint32_t key)
{
    viewHotkey(editor_.ws, editor_.platform, key);
}

void Commands::openRecentFile(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        dropRecentFile(path);
        editor_.platform.boxes->showError(message(editor_.ws, kSlotErrorCaption),
                                          path.toStdString() +
                                              " no longer exists: it is taken off the list of recent files.");
        return;
    }
    openProjectFile(editor_.ws, editor_.platform, path, true);
    takeSelectionFromList(editor_.ws, editor_.platform);
}

void Commands::showAbout()
{
    editor_.platform.boxes->showInformation(message(editor_.ws, Outcome(kSlotAboutCaption, kProgramTitle)),
                                            aboutText());
}

void Commands::quit()
{
    if (editor_.closeWindow)
        editor_.closeWindow();
}

} // namespace kelvara
