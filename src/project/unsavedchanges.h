#pragma once

namespace kelvara {

struct Workspace;
struct Platform;

// Whether the design holds changes its project file does not (QUICKSAVE on;
// without it every design with objects counts as changed, as it always did).
bool hasUnsavedChanges(const Workspace& ws);

// The design as it stands is what its file holds.
void markDesignSaved(Workspace& ws);

// Before the design is replaced or the editor closes. With QUICKSAVE the
// user is asked Save / Discard / Cancel only when there are unsaved changes;
// without it the old Yes/No question comes whenever objects exist. True when
// the caller may go on (saved, discarded, or nothing to lose).
bool settleUnsavedChanges(Workspace& ws, const Platform& platform, int captionSlot, int questionSlot);

} // namespace kelvara
