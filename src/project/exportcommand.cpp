#include "project/exportcommand.h"

#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "shell/texts.h"
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

} // namespace

void exportStitches(Workspace& ws, const Platform& platform)
{
    auto showError = [&](int slot) {
        if (platform.boxes)
            platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, slot));
    };
    if (ws.table.objectCount == 0) {
        showError(kSlotNothingToExport);
        return;
    }
    if (!platform.files)
        return;

    FileDialogRequest request;
    request.title = message(ws, kSlotExportDialogTitle);
    request.filters = {{"Tajima Stitch format (*.dst)", "*.dst"}};
    request.defaultSuffix = "dst";
    request.confirmOverwrite = true;
    const std::optional<QString> path = platform.files->saveFile(request);
    if (!path || path->isEmpty())
        return;

    showCursorNow(ws, platform, kWaitCursor);
    StitchPlan plan;
    const PlanStatus status = generatePlan(ws, plan);
    int failureSlot = 0;
    if (status == PlanStatus::Empty) {
        failureSlot = kSlotExportNoStitches;
    } else if (status == PlanStatus::TooLarge) {
        failureSlot = kSlotExportTooLarge;
    } else {
        const std::string label = QFileInfo(*path).completeBaseName().toStdString();
        const std::vector<uint8_t> bytes = writeDst(plan, label);
        plan = {};
        if (!saveBytes(*path, bytes))
            failureSlot = kSlotExportWriteFailed;
    }
    showCursorNow(ws, platform, kArrowCursor);
    if (failureSlot != 0)
        showError(failureSlot);
}

} // namespace kelvara
