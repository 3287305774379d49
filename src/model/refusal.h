#pragma once

#include "shell/outcome.h"

namespace kelvara {

struct Workspace;
struct Platform;

// Tells the user why an edit or command was refused: an error box under the
// error caption. Nothing is shown without message boxes (the command line,
// tests that drive the logic alone) or for an outcome that went well.
void showRefusal(const Workspace& ws, const Platform& platform, const Outcome& why);

} // namespace kelvara
