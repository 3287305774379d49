#include "model/journalfit.h"

#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

bool stepFitsJournal(const Workspace& ws, const Platform& platform, int64_t bytes)
{
    if (bytes <= UndoJournal::kSize)
        return true;
    if (platform.boxes != nullptr)
        platform.boxes->showError(message(ws, kSlotErrorCaption),
                                  "Too many objects for one step that can be undone. "
                                  "Select fewer objects and try again.");
    return false;
}

} // namespace kelvara
