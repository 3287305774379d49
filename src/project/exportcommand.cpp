#include "project/exportcommand.h"

#include "model/refresh.h"
#include "model/workspace.h"
#include "project/machinefile.h"
#include "shell/platform.h"
#include "shell/texts.h"
#include "stitch/stitchplan.h"

#include <QString>

namespace kelvara {

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
    const std::optional<QString> path = platform.files->saveFile(request);
    if (!path || path->isEmpty())
        return;

    const std::optional<MachineFormat> format = machineFormatOf(*path);
    if (!format) {
        showError(kSlotExportRefused, "The file name ends in none of .dst, .exp, .jef and .pes.");
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
    } else {
        const MachineFileResult result = exportMachineFiles(ws, plan, *format, *path);
        if (result.outcome == MachineFileResult::WriteFailed) {
            failureSlot = kSlotExportWriteFailed;
            reason = "\n" + result.reason;
        } else if (result.outcome == MachineFileResult::Refused) {
            failureSlot = kSlotExportRefused;
            reason = result.reason;
        }
    }
    showCursorNow(ws, platform, kArrowCursor);
    if (failureSlot != 0)
        showError(failureSlot, reason);
}

} // namespace kelvara
