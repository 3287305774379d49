#pragma once

#include "ui/editor.h"

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
    void selectTool(int32_t toolMode);
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
    void group();
    void ungroup();
    // Switches the selection's TRIM flag, once per keystroke.
    void toggleTrim();
    void moveToStart();
    void moveToEnd();
    void join();

private:
    Editor& editor_;
};

} // namespace kelvara
