#include "model/refusal.h"

#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

void showRefusal(const Workspace& ws, const Platform& platform, const Outcome& why)
{
    if (platform.boxes != nullptr && !why.ok())
        platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, why));
}

} // namespace kelvara
