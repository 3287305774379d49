#include "model/workspace.h"
#include "project/recoveryfile.h"
#include "ui/editor.h"
#include "ui/windowprocedure.h"

namespace kelvara {

namespace {

// Long enough that a burst of edits is written once, short enough that
// little is lost.
constexpr int kRecoveryDelayMs = 3000;

} // namespace

void WindowProcedure::scheduleRecovery()
{
    MessageTimer* timer = editor_.platform.timer;
    if (editor_.recovery == nullptr || timer == nullptr || timer->active())
        return;
    if (editor_.ws.refresh.designRevision != editor_.recoveryRevision)
        timer->start(kRecoveryDelayMs);
}

void WindowProcedure::writeRecovery()
{
    Workspace& ws = editor_.ws;
    if (editor_.recovery == nullptr || ws.refresh.designRevision == editor_.recoveryRevision)
        return;
    // A drag is written once it is finished, not half-way.
    if (ws.tools.pointer.pressed() || ws.input.mouseButtons != 0) {
        if (editor_.platform.timer != nullptr)
            editor_.platform.timer->start(kRecoveryDelayMs);
        return;
    }
    // A failed write is tried again after the next message.
    if (editor_.recovery->write(ws))
        editor_.recoveryRevision = ws.refresh.designRevision;
}

} // namespace kelvara
