#pragma once

#include "ui/buttonpicture.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QToolButton;

namespace kelvara {

// One toolbar button with its command and hotkey. The row number is the
// button's identifier in MsgCommand.
struct ButtonEntry {
    std::function<void()> handler; // empty for a button without a command
    QToolButton* buttonWindow = nullptr;
    QImage image; // the 30 x 30 picture
    int32_t needsCtrl = 0;
    int32_t keyCode = 0; // virtual-key code; also compared with typed characters
    std::string tipText;
    int32_t picture = -1; // the picture of buttons.bmp it shows
};

struct ButtonTable {
    static constexpr int kRows = 64;

    std::array<ButtonEntry, kRows> rows;
    int32_t buttonCount = 0;
    int32_t nextButtonX = 4;
    int32_t nextButtonY = 1;
};

inline constexpr int kButtonSize = 32;

} // namespace kelvara
