#include "project/unsavedchanges.h"

#include "model/workspace.h"
#include "project/saveproject.h"
#include "shell/platform.h"

namespace kelvara {

bool hasUnsavedChanges(const Workspace& ws)
{
    if (ws.settings.QUICKSAVE == 0)
        return ws.table.objectCount > 0;
    return ws.refresh.designRevision != ws.savedRevision;
}

void markDesignSaved(Workspace& ws)
{
    ws.savedRevision = ws.refresh.designRevision;
}

bool settleUnsavedChanges(Workspace& ws, const Platform& platform, int captionSlot, int questionSlot)
{
    if (!hasUnsavedChanges(ws))
        return true;
    if (ws.settings.QUICKSAVE == 0)
        return platform.boxes->askYesNo(message(ws, captionSlot), message(ws, questionSlot));
    switch (platform.boxes->askSaveChanges(message(ws, captionSlot), message(ws, kSlotUnsavedChanges))) {
    case MessageBoxes::SaveAnswer::Discard:
        return true;
    case MessageBoxes::SaveAnswer::Save:
        // A save the user cancelled or that failed keeps the design.
        saveProject(ws, platform, SaveAs::WhenUnnamed);
        return !hasUnsavedChanges(ws);
    case MessageBoxes::SaveAnswer::Cancel:
        break;
    }
    return false;
}

} // namespace kelvara
