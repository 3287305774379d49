#include "project/unsavedchanges.h"
#include "project/openproject.h"

#include "model/drawingtool.h"
#include "model/editing.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/filestamp.h"
#include "project/importfile.h"
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
                        const std::optional<PictureLine>& line)
{
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
    ws.fileStamp = {};
    clearTable(ws.table, ws.records);
    resetJournal(ws.journal);
    clearRedo(ws.redo);
    resetTools(ws.tools);
    ws.cursorNumber = kArrowCursor;
    releaseBackgroundPicture(ws.picture);
}

// Editors that save UTF-8 with a signature put these three bytes first.
std::string_view withoutByteOrderMark(const std::string& bytes)
{
    std::string_view text(bytes);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

// Our writer ends every object line with a line end; an object line that
// runs to the end of the file was cut, and its missing fields would be
// read as defaults.
bool endsPartWayThroughAnObject(std::string_view text, TokenTable& tokens)
{
    if (text.empty() || text.back() == '\n' || text.back() == '\r')
        return false;
    const std::size_t start = text.find_last_of("\r\n");
    std::string line = cleanTextLine(text.substr(start == std::string_view::npos ? 0 : start + 1));
    if (line.empty())
        return false;
    parseLine(tokens, line);
    return objectLineKind(tokens) != KindFree;
}

} // namespace

ProjectLoad measureProjectBytes(const std::string& bytes, TokenTable& tokens)
{
    const std::string_view text = withoutByteOrderMark(bytes);
    ProjectLoad load;
    int64_t objects = 0;
    forEachTextLine(text.data(), text.size(), 0, [&](std::string&& line) {
        parseLine(tokens, line);
        if (objectLineKind(tokens) != KindFree)
            ++objects;
        return true;
    });
    load.objectsLeftOut = std::max<int64_t>(0, objects - ObjectTable::kRows);
    load.cutShort = endsPartWayThroughAnObject(text, tokens);
    return load;
}

bool isProjectPath(const QString& path)
{
    // Only ASCII letters fold, as everywhere else in the program's names.
    return path.size() >= 4 && upperCase(path.right(4).toStdString()) == ".KVP";
}

ProjectLoad loadProjectBytes(Workspace& ws, const Platform& platform, const QString& path, const std::string& bytes)
{
    const std::string_view text = withoutByteOrderMark(bytes);
    ProjectLoad load;
    discardDesign(ws);
    ws.rememberedFileName = path;

    ObjectTable& table = ws.table;
    ListBox& list = *platform.list;
    bool prepared = false;
    // Lines are read whole and without a count limit; the table's 4096 rows
    // are the only bound, and the object lines past them are counted.
    forEachTextLine(text.data(), text.size(), 0, [&](std::string&& line) {
        // The tracing picture's line belongs to the design, not to an object.
        const auto pictureLine = [&] {
            std::optional<PictureLine> picture = readPictureLine(line);
            const bool found = picture.has_value();
            if (found && !load.picture)
                load.picture = std::move(picture);
            return found;
        };
        if (table.objectCount >= ObjectTable::kRows) {
            if (pictureLine())
                return true;
            parseLine(ws.tokens, line);
            if (objectLineKind(ws.tokens) != KindFree)
                ++load.objectsLeftOut;
            return true;
        }
        if (!prepared) {
            prepared = true;
            showCursorNow(ws, platform, kWaitCursor);
            platform.title->setTitle(projectWindowTitle(path));
            list.setRedraw(false);
            clearObjectList(list);
            restartListNumbering(ws.numbering);
        }
        if (pictureLine())
            return true;
        // The line is consumed by the parse, and long values (paths) are read
        // from it whole: one copy, which also names the first refused line.
        const std::string rawLine = line;
        parseLine(ws.tokens, line);
        const int32_t row = table.objectCount;
        if (!parseObjectLine(ws.tokens, table.rows[row], ws.records, ws.settings, ws.libraries, rawLine)) {
            if (load.unreadable.count++ == 0)
                load.unreadable.first = rawLine;
            return true;
        }
        ObjectEntry& entry = table.rows[row];
        if (entry.group > table.groupCounter)
            table.groupCounter = entry.group;
        const int position = list.addString(listLine(ws, ws.numbering, row));
        list.setItemData(position, row);
        entry.prev = row - 1;
        entry.next = -1;
        if (row > 0)
            table.rows[row - 1].next = row;
        table.objectCount += 1;
        return true;
    });
    load.cutShort = endsPartWayThroughAnObject(text, ws.tokens);

    if (prepared)
        list.setRedraw(true);
    else
        list.resetContent();

    showCursorNow(ws, platform, kArrowCursor);
    markDesignChanged(ws);
    return load;
}

std::string unreadableLinesWarning(const Workspace& ws, const UnreadableLines& lines)
{
    if (lines.count == 0)
        return {};
    constexpr std::size_t kShown = 60;
    const std::string first =
        lines.first.size() > kShown ? lines.first.substr(0, kShown) + "..." : lines.first;
    return message(ws, kSlotUnreadableLines) + ' ' +
           message(ws, Outcome(kSlotUnreadableCount, std::to_string(lines.count), first));
}

void openProject(Workspace& ws, const Platform& platform)
{
    FileDialogRequest request;
    request.title = message(ws, kSlotOpenDialogTitle);
    request.filters = {{"Kelvara projekt (*.kvp)", "*.kvp"},
                       {"Machine files (*.dst *.exp *.jef *.pes)", "*.dst *.exp *.jef *.pes"},
                       {"Pictures to trace (*.png *.jpg *.jpeg *.bmp)", "*.png *.jpg *.jpeg *.bmp"}};
    request.mustExist = true;
    request.rememberFolder = ws.settings.QUICKSAVE != 0;
    const std::optional<QString> chosen = platform.files->openFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    openProjectFile(ws, platform, *chosen, true);
}

void openProjectFile(Workspace& ws, const Platform& platform, const QString& path, bool ask)
{
    if (isMachinePath(path)) {
        openMachineDesign(ws, platform, path, ask);
        return;
    }
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
    if (ask && !settleUnsavedChanges(ws, platform, kSlotOpenProjectCaption, kSlotDiscardQuestion))
        return;
    const Workspace::FileStamp stamp = stampOf(path);
    const ProjectLoad load = loadProjectBytes(ws, platform, path, *bytes);
    ws.fileStamp = stamp;
    openProjectPicture(ws, platform, path, load.picture);
    markDesignSaved(ws);
    if (ws.settings.QUICKSAVE != 0 && platform.files != nullptr)
        platform.files->fileUsed(path);
    tellWhatWasLeftOut(ws, platform, load);
    const std::string warning = unreadableLinesWarning(ws, load.unreadable);
    if (!warning.empty())
        platform.boxes->showError(message(ws, kSlotErrorCaption), warning);
}

void tellWhatWasLeftOut(const Workspace& ws, const Platform& platform, const ProjectLoad& load)
{
    if (load.whole() || platform.boxes == nullptr)
        return;
    std::string text;
    if (load.objectsLeftOut > 0)
        text = message(ws, kSlotObjectsLeftOut) + ' ' + std::to_string(load.objectsLeftOut);
    if (load.cutShort)
        text += (text.empty() ? "" : "\n") + message(ws, kSlotProjectCutShort);
    platform.boxes->showInformation(message(ws, kSlotOpenProjectCaption), text);
}

} // namespace kelvara
