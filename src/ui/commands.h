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

private:
    Editor& editor_;
};

} // namespace kelvara
