#include "model/editing.h"

#include "model/refusal.h"
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
    showRefusal(ws, platform, Outcome(kSlotRedoTooLarge));
    return false;
}

} // namespace kelvara
