#pragma once

#include <string>

namespace kelvara {

struct ButtonTable;

// The Help box's keys: one line per command that has a key, as its button
// tooltip names it, then the keys without a button.
std::string hotkeyText(const ButtonTable& buttons);

// The About box: the program, its version and its licence.
std::string aboutText();

} // namespace kelvara
