#include "project/exportcommand.h"

#include "model/refresh.h"
#include "model/workspace.h"
#include "project/machinefile.h"
#include "shell/platform.h"
#include "shell/texts.h"
#include "stitch/designinfo.h"
#include "stitch/hoopfit.h"
#include "stitch/stitchplan.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>

namespace kelvara {

Outcome hoopMisfit(const Hoop& hoop, const StitchPlan& plan)
{
    const DesignInfo info = measureDesign(plan, 0, 1);
    char size[64];
    std::snprintf(size, sizeof size, "%.1f x %.1f mm", info.widthMm, info.heightMm);
    return Outcome(kSlotHoopMisfit, size, hoopTitle(hoop));
}

namespace {

// A design that does not fit the chosen hoop is written only when the user
// says so: a machine would refuse the file, or sew into the hoop's frame.
bool exportIntoHoop(Workspace& ws, const Platform& platform, const StitchPlan& plan)
{
    const Hoop* hoop = chosenHoop(ws);
    const std::vector<StitchRecord>* runs[] = {&plan.records};
    if (hoop == nullptr || fitsHoop(*hoop, runs))
        return true;
    if (platform.boxes == nullptr)
        return false;
    showCursorNow(ws, platform, kArrowCursor);
    return platform.boxes->askYesNo(message(ws, kSlotExportDialogTitle),
                                    message(ws, kSlotHoopNotFit) + "\n\n" +
                                        message(ws, hoopMisfit(*hoop, plan)));
}

// What the status bar says an export wrote: the file, its format, the
// stitches and the colour list beside it.
std::string exportedNote(const Workspace& ws, const QString& path, const StitchPlan& plan)
{
    const QFileInfo file(path);
    const QString list = QFileInfo(colourListPath(path, ws.settings.COLOURLISTS != 0)).fileName();
    return message(ws, Outcome(kSlotExported, file.fileName().toStdString(),
                               file.suffix().toUpper().toStdString(), std::to_string(plan.stitchCount()),
                               list.toStdString()));
}

} // namespace

void exportStitches(Workspace& ws, const Platform& platform)
{
    auto showError = [&](int slot, const std::string& reason = {}) {
        if (platform.boxes)
            platform.boxes->showError(message(ws, kSlotErrorCaption),
                                      reason.empty() ? message(ws, slot)
                                      : message(ws, slot) + (reason[0] == '\n' ? "" : " ") + reason);
    };
    if (ws.table.objectCount == 0) {
        showError(kSlotNothingToExport);
        return;
    }
    if (!platform.files)
        return;

    FileDialogRequest request;
    request.title = message(ws, kSlotExportDialogTitle);
    // DST first as it always was; the chosen name's extension picks the format.
    request.filters = {{"Tajima Stitch format (*.dst)", "*.dst"},
                       {"Melco Expanded format (*.exp)", "*.exp"},
                       {"Janome Embroidery format (*.jef)", "*.jef"},
                       {"Brother Embroidery format (*.pes)", "*.pes"}};
    request.defaultSuffix = "dst";
    request.confirmOverwrite = true;
    // The machine file goes beside the design, as a user looks for it; the
    // file name stays empty, as every export starts.
    if (ws.settings.QUICKSAVE != 0 && !ws.rememberedFileName.isEmpty())
        request.startFolder = QFileInfo(ws.rememberedFileName).absolutePath();
    const std::optional<QString> path = platform.files->saveFile(request);
    if (!path || path->isEmpty())
        return;

    const std::optional<MachineFormat> format = machineFormatOf(*path);
    if (!format) {
        showError(kSlotExportRefused, message(ws, kSlotExportNoFormat));
        return;
    }

    showCursorNow(ws, platform, kWaitCursor);
    StitchPlan plan;
    const PlanStatus status = generatePlan(ws, plan);
    int failureSlot = 0;
    std::string reason;
    if (status == PlanStatus::Empty) {
        failureSlot = kSlotExportNoStitches;
    } else if (status == PlanStatus::TooLarge) {
        failureSlot = kSlotExportTooLarge;
    } else if (!exportIntoHoop(ws, platform, plan)) {
        showCursorNow(ws, platform, kArrowCursor);
        return;
    } else {
        const MachineFileResult result = exportMachineFiles(ws, plan, *format, *path, ws.settings.COLOURLISTS != 0);
        if (result.outcome == MachineFileResult::WriteFailed) {
            failureSlot = kSlotExportWriteFailed;
            reason = "\n" + message(ws, result.reason);
        } else if (result.outcome == MachineFileResult::Refused) {
            failureSlot = kSlotExportRefused;
            reason = message(ws, result.reason);
        }
    }
    showCursorNow(ws, platform, kArrowCursor);
    if (failureSlot != 0)
        showError(failureSlot, reason);
    else
        ws.statusNote = {exportedNote(ws, *path, plan), ws.refresh.designRevision};
}

} // namespace kelvara
