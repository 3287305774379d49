#pragma once

#include <cstdint>

namespace kelvara {

struct Editor;

// Whether the button showing `picture` stands for a mode that is on now:
// the active tool, the stitch view, the grid or the cross-hair. False for
// every button that only runs a command.
bool modeIsOn(const Editor& editor, int32_t picture);

// With SHOWMODES the mode buttons show pressed while their mode is on;
// without it they stay plain buttons. Called after every message.
void showModes(const Editor& editor);

} // namespace kelvara
