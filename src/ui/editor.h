#pragma once

#include "project/clipboard.h"
#include "shell/platform.h"
#include "stitch/stitchout.h"
#include "ui/buttontable.h"
#include "ui/keystroke.h"
#include "ui/plankeeper.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kelvara {

struct Workspace;
class RecoveryFile;

// Where the properties panel opens: at no field in particular, or at the
// field a toolbar button names.
enum class PanelField { Any, Density, Pattern, Width, Underlay, Ties, Motif };

// What the window-level parts share: the tables, the platform seams the
// logic calls, the toolbar rows and the switch of the stitch view.
struct Editor {
    explicit Editor(Workspace& workspace) : ws(workspace) {}
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    Workspace& ws;
    Platform platform;
    ButtonTable buttons;
    // Shows the stitches of every object under the grid. It is a view, not
    // part of the design: it starts from the STITCHVIEW setting.
    bool stitchView = false;
    // The stitch view draws thread rather than flat lines; from THREADVIEW.
    bool threadView = false;
    // Every key command passes it, so a command on a plain letter runs once
    // for its character and its release together.
    KeystrokeGuard keystroke;
    // The stitch-out simulator while it runs (A starts and leaves it): its
    // own copy of the plan, played over the canvas; edits wait until it ends.
    std::unique_ptr<StitchOut> stitchOut;
    // How far the next paste of the clipboard's text steps on.
    PasteState paste;
    // The design's stitches object by object, for the stitch view and the
    // status bar's count.
    PlanKeeper plans;
    // Whether the design fits the chosen hoop, measured once per design
    // revision and hoop setting rather than once per paint.
    struct HoopCheck {
        bool measured = false;
        bool fits = true;
        uint64_t revision = 0;
        std::string setting;
    } hoopCheck;
    // The properties panel, where the window has one: opened at a field, and
    // its changed fields applied to the selection.
    std::function<void(PanelField)> openProperties;
    std::function<void()> applyProperties;
    // Print: the worksheet through the print dialog of the window.
    std::function<void()> printWorksheet;
    // Closes the main window, asking about unsaved changes first.
    std::function<void()> closeWindow;
    // Where the design is kept against a crash, when this run keeps it, and
    // the design revision written there last.
    RecoveryFile* recovery = nullptr;
    uint64_t recoveryRevision = 0;
};

} // namespace kelvara
