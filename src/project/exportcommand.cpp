#include "project/exportcommand.h"

#include "model/workspace.h"
#include "shell/platform.h"
#include "stitch/dstwriter.h"
#include "stitch/stitchplan.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QString>

namespace kelvara {

namespace {

bool saveBytes(const QString& path, const std::vector<uint8_t>& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void setCursor(Workspace& ws, const Platform& platform, int number)
{
    ws.cursorNumber = number;
    if (platform.cursor)
        platform.cursor->setCursor(number);
}

} // namespace

void exportStitches(Workspace& ws, const Platform& platform)
{
    auto showError = [&](int slot) {
        if (platform.boxes)
            platform.boxes->showError(message(ws, kErrorCaptionSlot), message(ws, slot));
    };
    if (ws.table.objectCount == 0) {
        showError(kExportEmptyDesignSlot);
        return;
    }
    if (!platform.files)
        return;

    FileDialogRequest request;
    request.title = message(ws, kExportDialogTitleSlot);
    request.filters = {{"Tajima Stitch format (*.dst)", "*.dst"}};
    request.defaultSuffix = "dst";
    request.confirmOverwrite = true;
    const std::optional<QString> path = platform.files->saveFile(request);
    if (!path || path->isEmpty())
        return;

    setCursor(ws, platform, 7);
    StitchPlan plan;
    const PlanStatus status = generatePlan(ws, plan);
    int failureSlot = 0;
    if (status == PlanStatus::Empty) {
        failureSlot = kExportNoStitchesSlot;
    } else if (status == PlanStatus::TooLarge) {
        failureSlot = kExportTooLargeSlot;
    } else {
        const std::string label = QFileInfo(*path).completeBaseName().toStdString();
        const std::vector<uint8_t> bytes = writeDst(plan, label);
        plan = {};
        if (!saveBytes(*path, bytes))
            failureSlot = kExportWriteFailedSlot;
    }
    setCursor(ws, platform, 0);
    if (failureSlot != 0)
        showError(failureSlot);
}

} // namespace kelvara
