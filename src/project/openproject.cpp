#include "project/openproject.h"

#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/pictureline.h"
#include "project/pictureloader.h"
#include "project/projectfiles.h"
#include "project/projectformat.h"
#include "shell/platform.h"

namespace kelvara {

namespace {

void openPicture(Workspace& ws, const Platform& platform, const QString& path)
{
    if (!loadBackgroundPicture(ws.picture, path, ws.view.scrollX, ws.view.scrollY)) {
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotPictureFailed));
        return;
    }
    markCanvasChanged(ws);
}

// The picture the project's picture line names, placed where it was; a
// missing or unreadable picture is said once and the design stays open.
void openProjectPicture(Workspace& ws, const Platform& platform, const QString& projectPath,
                        const std::string& bytes)
{
    std::optional<PictureLine> line;
    forEachTextLine(bytes.data(), bytes.size(), 0, [&](std::string&& text) {
        line = readPictureLine(text);
        return !line;
    });
    if (!line)
        return;
    const QString path = picturePathFor(*line, projectPath);
    if (!loadBackgroundPicture(ws.picture, path, line->left, line->top)) {
        platform.boxes->showError(message(ws, kSlotErrorCaption),
                                  message(ws, kSlotPictureMissing) + " " + path.toStdString());
        return;
    }
    ws.picture.dimPercent = line->dimPercent;
    ws.picture.hidden = line->hidden;
    markCanvasChanged(ws);
}

void discardDesign(Workspace& ws)
{
    clearTable(ws.table, ws.records);
    resetJournal(ws.journal);
    clearRedo(ws.redo);
    resetTools(ws.tools);
    ws.cursorNumber = kArrowCursor;
    releaseBackgroundPicture(ws.picture);
}

} // namespace

bool isProjectPath(const QString& path)
{
    // Only ASCII letters fold, as everywhere else in the program's names.
    return path.size() >= 4 && upperCase(path.right(4).toStdString()) == ".KVP";
}

void loadProjectBytes(Workspace& ws, const Platform& platform, const QString& path, const std::string& bytes)
{
    discardDesign(ws);
    ws.rememberedFileName = path;

    ObjectTable& table = ws.table;
    ListBox& list = *platform.list;
    bool prepared = false;
    // Lines are read whole and without a count limit; the table's 4096 rows
    // are the only bound.
    forEachTextLine(bytes.data(), bytes.size(), 0, [&](std::string&& line) {
        if (!prepared) {
            prepared = true;
            showCursorNow(ws, platform, kWaitCursor);
            platform.title->setTitle(projectWindowTitle(path));
            list.setRedraw(false);
            clearObjectList(list);
            restartListNumbering(ws.numbering);
        }
        parseLine(ws.tokens, line);
        const int32_t row = table.objectCount;
        if (!parseObjectLine(ws.tokens, table.rows[row], ws.records, ws.settings, ws.libraries))
            return true;
        ObjectEntry& entry = table.rows[row];
        if (entry.group > table.groupCounter)
            table.groupCounter = entry.group;
        const int position = list.addString(buildListLine(ws.numbering, table, ws.records, row));
        list.setItemData(position, row);
        entry.prev = row - 1;
        entry.next = -1;
        if (row > 0)
            table.rows[row - 1].next = row;
        table.objectCount += 1;
        return table.objectCount < ObjectTable::kRows;
    });

    if (prepared)
        list.setRedraw(true);
    else
        list.resetContent();

    showCursorNow(ws, platform, kArrowCursor);
    markDesignChanged(ws);
}

void openProject(Workspace& ws, const Platform& platform)
{
    FileDialogRequest request;
    request.title = message(ws, kSlotOpenDialogTitle);
    request.filters = {{"Kelvara projekt (*.kvp)", "*.kvp"},
                       {"Pictures to trace (*.png *.jpg *.jpeg *.bmp)", "*.png *.jpg *.jpeg *.bmp"}};
    request.mustExist = true;
    const std::optional<QString> chosen = platform.files->openFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    openProjectFile(ws, platform, *chosen, true);
}

void openProjectFile(Workspace& ws, const Platform& platform, const QString& path, bool ask)
{
    if (!isProjectPath(path)) {
        openPicture(ws, platform, path);
        return;
    }

    // The file is read before anything is asked or discarded, so a file that
    // cannot be read leaves the design as it was.
    const std::optional<std::string> bytes = readFileBytes(path, kMaxProjectFileBytes);
    if (!bytes) {
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotProjectUnreadable));
        return;
    }
    if (ask && ws.table.objectCount != 0 &&
        !platform.boxes->askYesNo(message(ws, kSlotOpenProjectCaption), message(ws, kSlotDiscardQuestion)))
        return;
    loadProjectBytes(ws, platform, path, *bytes);
    openProjectPicture(ws, platform, path, *bytes);
}

} // namespace kelvara
