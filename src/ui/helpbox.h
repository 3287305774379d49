#pragma once

#include <string>

namespace kelvara {

struct ButtonTable;
struct Settings;

// The Help box's keys: one line per command that has a key, as its button
// tooltip names it, then the menus' keys without a button (those `settings`
// offer), then the keys no menu holds.
std::string hotkeyText(const ButtonTable& buttons, const Settings& settings);

// The About box: the program, its version and its licence.
std::string aboutText();

} // namespace kelvara
