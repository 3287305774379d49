#include "app/designinput.h"

#include "app/designfile.h"
#include "model/workspace.h"
#include "project/machinefile.h"
#include "stitch/colourlist.h"
#include "stitch/machinereader.h"

#include <QFileInfo>

namespace kelvara {

std::string planRefusal(PlanStatus status)
{
    switch (status) {
    case PlanStatus::Ok:
        return {};
    case PlanStatus::Empty:
        return "produces no stitches";
    case PlanStatus::TooLarge:
        return "is too large for a machine file (at most 9999.9 mm and 9,999,999 records)";
    }
    return {};
}

std::string readDesignInput(Workspace& ws, const QString& path, DesignInput& input, std::string& warning,
                            bool partial, bool streamed)
{
    input = DesignInput{};
    warning.clear();
    if (machineFormatOf(path)) {
        const QFileInfo info(path);
        if (!info.exists())
            return "does not exist";
        MachineRead read = readMachineFile(ws, path);
        if (!read.read)
            return machineReadMessage(ws.lines, read);
        input.objects = static_cast<int32_t>(colourBlocks(read.plan).size());
        input.plan = std::move(read.plan);
        input.replay = replayOf(input.plan);
        input.machineFile = true;
        return {};
    }
    if (std::string reason = readDesignFile(ws, path, warning, partial); !reason.empty())
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
