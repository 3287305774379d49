#include "ui/startsession.h"

#include "model/refresh.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "project/recoveryfile.h"
#include "shell/libraries.h"
#include "shell/platform.h"
#include "ui/mainwindow.h"

namespace kelvara {

void startSession(MainWindow& window, RecoveryFile* recovery, const QStringList& arguments)
{
    Editor& editor = window.editor();
    Workspace& ws = editor.ws;
    editor.recovery = recovery != nullptr && recovery->claimed() ? recovery : nullptr;
    editor.recoveryRevision = ws.refresh.designRevision;
    if (const std::string clashes = libraryClashes(ws.libraries, ws.lines);
        !clashes.empty() && editor.platform.boxes)
        editor.platform.boxes->showError(message(ws, kSlotErrorCaption),
                                         message(ws, kSlotLibraryClash) + ' ' + clashes);

    if (recovery != nullptr && !recovery->claimed() && editor.platform.boxes != nullptr)
        editor.platform.boxes->showError(message(ws, kSlotErrorCaption), message(ws, kSlotRecoveryNoSlot));
    const bool recovered = editor.recovery != nullptr && offerRecovery(ws, editor.platform, *recovery);
    if (!recovered && arguments.size() > 1)
        window.openDesign(arguments.at(1));
    if (recovered)
        takeSelectionFromList(ws, editor.platform);
    refresh(ws, editor.platform);
    // No message has come yet to bring the status bar up to the design.
    window.showState();
    window.procedure().scheduleRecovery();
}

} // namespace kelvara
