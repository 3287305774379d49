#include "project/saveproject.h"

#include "model/refresh.h"
#include "model/workspace.h"
#include "project/projectfiles.h"
#include "project/projectformat.h"
#include "shell/platform.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>

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

    // The chain is walked at most objectCount steps and never twice through
    // a row, so a damaged link cannot loop.
    int32_t row = table.objectCount > 0 ? table.firstObject : -1;
    for (int32_t steps = 0; steps < table.objectCount && row >= 0 && row < ObjectTable::kRows; ++steps) {
        if (written[row] || table.rows[row].kind == KindFree)
            break;
        written[row] = true;
        appendObject(text, ws, row);
        row = table.rows[row].next;
    }
    for (int32_t r = 0; r < ObjectTable::kRows; ++r) {
        if (!written[r] && table.rows[r].kind != KindFree)
            appendObject(text, ws, r);
    }
    return text;
}

bool writeProjectFile(const std::string& path, const std::string& text)
{
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void saveProject(Workspace& ws, const Platform& platform)
{
    if (ws.table.objectCount == 0) {
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotNothingToSave));
        return;
    }

    FileDialogRequest request;
    request.title = message(ws, kSlotSaveDialogTitle);
    request.filters = {{"Kelvara projekt (*.kvp)", "*.kvp"}};
    request.defaultSuffix = "kvp";
    request.startName = ws.rememberedFileName;
    request.confirmOverwrite = true;
    const std::optional<std::string> chosen = platform.files->saveFile(request);
    if (!chosen || chosen->empty())
        return;
    const std::string path = *chosen;
    ws.rememberedFileName = path;

    showCursorNow(ws, platform, kWaitCursor);
    const bool written = writeProjectFile(path, projectFileText(ws));
    showCursorNow(ws, platform, kArrowCursor);

    // The title names the file only once it really holds the design.
    if (written)
        platform.title->setTitle(projectWindowTitle(path));
    else
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotSaveFailed));
}

} // namespace kelvara
