#pragma once

#include "shell/platform.h"

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// What the canvas and the cursor still owe the user after an edit. Edits
// only mark; the window procedure shows everything once when the message is
// done, so an operation never has to know which redraws its callers did.
struct PendingRefresh {
    // Counts every change of the objects (rows, links, records). The canvas
    // keeps its stitch plan while the revision it was made for is current.
    uint64_t designRevision = 0;
    // The revision the list lines were last brought up to (LISTWORDS).
    uint64_t listRevision = 0;
    bool render = false;     // the lower layer is drawn again
    bool repaint = false;    // the canvas window is painted again
    bool scrollBars = false; // zoom or canvas extent changed
    int32_t cursor = -1;     // cursor number to show; -1 for none
};

// The objects changed: new revision, lower layer and window redrawn.
void markDesignChanged(Workspace& ws);
// The picture, grid or view changed, the objects did not.
void markCanvasChanged(Workspace& ws);
// Zoom or the canvas extent changed: lower layer and scroll bars follow.
void markViewChanged(Workspace& ws);
// Only the upper layer moved (rubber band, cross-hair, preview).
void markRepaint(Workspace& ws);
// The cursor the canvas shows from now on.
void markCursor(Workspace& ws, int number);

// Shows the cursor at once, for a long operation (reading, writing,
// generating stitches) that holds the message until it is done.
void showCursorNow(Workspace& ws, const Platform& platform, int number);

// Carries out and clears everything marked: list lines numbered in words,
// cursor, lower layer, scroll bars, paint, in that order. Seams the platform does not have are skipped.
void refresh(Workspace& ws, const Platform& platform);

} // namespace kelvara
