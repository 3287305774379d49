#include "project/saveproject.h"

#include "model/refresh.h"
#include "model/workspace.h"
#include "project/filestamp.h"
#include "project/pictureline.h"
#include "project/projectfiles.h"
#include "project/projectformat.h"
#include "project/openproject.h"
#include "project/unsavedchanges.h"
#include "project/wholefile.h"
#include "shell/platform.h"


#include <vector>

namespace kelvara {

namespace {

void appendObject(std::string& text, const Workspace& ws, int32_t row)
{
    if (appendObjectLine(text, ws.table.rows[row], ws.records, ws.libraries))
        text += "\r\n\r\n";
}

} // namespace

std::string projectFileText(const Workspace& ws)
{
    const ObjectTable& table = ws.table;
    std::string text;
    text.reserve(static_cast<std::size_t>(table.objectCount) * 400);
    std::vector<bool> written(ObjectTable::kRows, false);

    // The chain first; used rows a damaged chain does not reach follow in
    // row order, so none is lost.
    for (int32_t row : DisplayOrder(table)) {
        if (table.rows[row].kind == KindFree)
            break;
        written[row] = true;
        appendObject(text, ws, row);
    }
    for (int32_t r = 0; r < ObjectTable::kRows; ++r) {
        if (!written[r] && table.rows[r].kind != KindFree)
            appendObject(text, ws, r);
    }
    return text;
}

std::string writeProjectFile(const QString& path, const std::string& text)
{
    return writeWholeFile(path, text);
}

namespace {

// The project file Save writes to: the design's own without a question when
// QUICKSAVE allows, else the one the user names; nothing when cancelled.
std::optional<QString> projectFileToWrite(const Workspace& ws, const Platform& platform, SaveAs saveAs)
{
    if (ws.settings.QUICKSAVE != 0 && saveAs == SaveAs::WhenUnnamed && isProjectPath(ws.rememberedFileName))
        return ws.rememberedFileName;
    FileDialogRequest request;
    request.title = message(ws, kSlotSaveDialogTitle);
    request.filters = {{"Kelvara projekt (*.kvp)", "*.kvp"}};
    request.defaultSuffix = "kvp";
    request.startName = ws.rememberedFileName;
    request.confirmOverwrite = true;
    request.rememberFolder = ws.settings.QUICKSAVE != 0;
    const std::optional<QString> chosen = platform.files->saveFile(request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace

void saveProject(Workspace& ws, const Platform& platform, SaveAs saveAs)
{
    if (ws.table.objectCount == 0) {
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotNothingToSave));
        return;
    }

    const std::optional<QString> chosen = projectFileToWrite(ws, platform, saveAs);
    if (!chosen)
        return;
    const QString path = *chosen;
    ws.rememberedFileName = path;
    if (changedOnDisk(ws, path) &&
        !platform.boxes->askYesNo(message(ws, kSlotChangedOnDiskCaption),
                                  message(ws, kSlotChangedOnDiskQuestion) + " (" + path.toStdString() + ")"))
        return;

    showCursorNow(ws, platform, kWaitCursor);
    // The tracing picture goes with the design, named relative to the project.
    const std::string reason = writeProjectFile(path, projectFileText(ws) + pictureLineText(ws.picture, path));
    showCursorNow(ws, platform, kArrowCursor);

    // The title names the file only once it really holds the design.
    if (reason.empty()) {
        platform.title->setTitle(projectWindowTitle(path));
        ws.fileStamp = stampOf(path);
        markDesignSaved(ws);
        if (ws.settings.QUICKSAVE != 0) {
            platform.title->setModified(false);
            platform.files->fileUsed(path);
        }
    } else
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotSaveFailed) + "\n" + reason);
}

} // namespace kelvara
