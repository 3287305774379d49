#pragma once

#include <cstdint>

namespace kelvara {

struct Editor;

// The toolbar's command handlers. Each takes no arguments and returns
// nothing, as the button rows hold them.
class Commands {
public:
    explicit Commands(Editor& editor) : editor_(editor) {}

    void newDesign();
    void openProject();
    void saveProject();
    void exportStitches();
    void deleteCurrent();
    void undo();
    void chooseColour();
    void toggleCrossHair();
    void toggleGrid();
    void toggleStitchView();
    void selectTool(int32_t toolMode);

private:
    Editor& editor_;
};

} // namespace kelvara
