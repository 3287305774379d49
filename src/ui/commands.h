#pragma once

#include "ui/editor.h"

#include <QString>

#include <cstdint>

namespace kelvara {

// The toolbar's command handlers. Each takes no arguments and returns
// nothing, as the button rows hold them.
class Commands {
public:
    explicit Commands(Editor& editor) : editor_(editor) {}

    void newDesign();
    void openProject();
    void saveProject();
    // Save under a name the user gives, always asking.
    void saveProjectAs();
    void exportStitches();
    // The worksheet on a printer or into a PDF file.
    void printWorksheet();
    void deleteCurrent();
    void undo();
    // The step Undo took back last, again.
    void redo();
    void chooseColour();
    void toggleCrossHair();
    void toggleGrid();
    void toggleStitchView();
    // L: the stitch view's stitches as thread or as flat lines.
    void toggleThreadView();
    // B (or a click on the status bar): the hoop the design is sewn in.
    void chooseHoop();
    // A: starts the stitch-out simulator from the first stitch, or leaves it.
    void toggleStitchOut();
    // A key while the simulator runs: Space plays and pauses, Left and Right
    // step a stitch (with Shift, to the previous or next colour change or
    // trim), Home and End go to the start and the end, Up and Down change
    // the speed, Escape and A leave. True when the key was one of these.
    bool stitchOutKey(uint32_t key, bool shift);
    void selectTool(int32_t toolMode);
    // The pen of a STROKE or a SHAPE.
    void selectPen(int32_t kind);
    // The selected lines and areas as paths, one undo step.
    void convertToPath();
    // The pen, whose next closed path becomes a hole of the current SHAPE.
    void addHole();
    // The properties panel of the selection, opened at `field`.
    void editObject(PanelField field = PanelField::Any);
    // The panel's changed fields applied to every selected object.
    void applyParameters();
    // The size, counts, thread and sewing time of the design in a box.
    void showDesignInformation();
    // The selection's (or, with nothing selected, the design's) stitching
    // order made shorter, with fewer thread changes; says what it gained.
    void optimiseOrder();
    // Handles on every point of the current object, to be dragged.
    void editNodes();
    // Mirrors the selection left to right, with Shift top to bottom.
    void flip();
    // The select tool in a mode where a click on a selected RUN, STEIL or
    // SATEN cuts it in two there.
    void insertPoint();
    // The selection on the clipboard; Cut deletes it too; Paste brings
    // the clipboard's objects in after the current object.
    void copy();
    void cut();
    void paste();
    // A machine file, a picture or artwork added at the centre of the view.
    void importFile();
    void group();
    void ungroup();
    // Switches the selection's TRIM flag, once per keystroke.
    void toggleTrim();
    void moveToStart();
    void moveToEnd();
    void join();
    // F1: the keys of every command, and what the program is.
    void showHelp();
    // A view key (Ctrl+0, Ctrl+9, Ctrl++, Ctrl+-, Ctrl+B) as if pressed.
    void viewKey(uint32_t key);
    // Opens a file of the recent-files list; one that no longer exists is
    // taken off the list, with a message.
    void openRecentFile(const QString& path);
    void showAbout();
    // Ctrl+Q: closes the editor as its window's close button does.
    void quit();

private:
    Editor& editor_;
};

} // namespace kelvara
