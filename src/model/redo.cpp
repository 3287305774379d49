#include "model/editing.h"

#include "model/stepreplay.h"
#include "model/stepstore.h"
#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

void undoStep(Workspace& ws, const Platform& platform)
{
    JournalSteps undo(ws.journal);
    RedoSteps redo(ws.redo);
    replayNewestStep(ws, platform, undo, redo, NoRoom::Forget);
}

bool redoStep(Workspace& ws, const Platform& platform)
{
    if (redoEmpty(ws.redo))
        return false;
    JournalSteps undo(ws.journal);
    RedoSteps redo(ws.redo);
    if (replayNewestStep(ws, platform, redo, undo, NoRoom::Refuse))
        return true;
    if (platform.boxes != nullptr)
        platform.boxes->showError(message(ws, kSlotErrorCaption),
                                  "This step is too large to be undone again, so it cannot be redone.");
    return false;
}

} // namespace kelvara
