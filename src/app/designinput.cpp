#include "app/designinput.h"

#include "app/designfile.h"
#include "model/workspace.h"
#include "project/machinefile.h"
#include "stitch/colourlist.h"
#include "stitch/machinereader.h"

#include <QFileInfo>

namespace kelvara {

Outcome planRefusal(PlanStatus status)
{
    switch (status) {
    case PlanStatus::Ok:
        return {};
    case PlanStatus::Empty:
        return Outcome(kSlotNoStitches);
    case PlanStatus::TooLarge:
        return Outcome(kSlotTooLargeForMachine);
    }
    return {};
}

Outcome readDesignInput(Workspace& ws, const QString& path, DesignInput& input, std::string& warning,
                        bool partial, bool streamed)
{
    input = DesignInput{};
    warning.clear();
    if (machineFormatOf(path)) {
        const QFileInfo info(path);
        if (!info.exists())
            return Outcome(kSlotFileMissing);
        MachineRead read = readMachineFile(ws, path);
        if (!read.read)
            return Outcome(read.refusal, message(ws, read.where));
        input.objects = static_cast<int32_t>(colourBlocks(read.plan).size());
        input.plan = std::move(read.plan);
        input.replay = replayOf(input.plan);
        input.machineFile = true;
        return {};
    }
    if (Outcome reason = readDesignFile(ws, path, warning, partial); !reason.ok())
        return reason;
    input.objects = ws.table.objectCount;
    if (streamed) {
        input.replay = replayOf(ws);
        return {};
    }
    const PlanStatus status = generatePlan(ws, input.plan);
    input.replay = replayOf(input.plan);
    return planRefusal(status);
}

} // namespace kelvara
