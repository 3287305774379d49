#pragma once

#include "shell/settings.h"

#include <cstdint>
#include <span>

namespace kelvara {

class Commands;

enum class MenuId { File, Edit, View, Object, Tools, Help };

// A command that has a key and no toolbar button: the menus show it with its
// key and the help lists it, both from this one table. The keys themselves
// are the window's; `onlyWith` names the switch without which the key does
// nothing, so neither the menus nor the help offer it then.
struct KeyOnlyCommand {
    MenuId menu;
    const char* text;
    const char* keys;
    void (*run)(Commands&);
    int32_t Settings::*onlyWith = nullptr;
};

std::span<const KeyOnlyCommand> keyOnlyCommands();

// Whether `settings` offer `command`.
inline bool offered(const KeyOnlyCommand& command, const Settings& settings)
{
    return command.onlyWith == nullptr || settings.*command.onlyWith != 0;
}

} // namespace kelvara
