#pragma once

#include <functional>

class QMenuBar;

namespace kelvara {

struct ButtonTable;
struct Settings;
class Commands;

// Runs a command as a menu entry does: as one input of its own.
using RunCommand = std::function<void(const std::function<void(Commands&)>&)>;

// Fills `bar` with the File, Edit, View, Object, Tools and Help menus: one
// action per toolbar row, named by its tooltip and showing its key, which
// runs the row through `clickRow` as its button does; then the commands that
// have a key and no button (those `settings` offer), and with QUICKSAVE the
// recent files, run through `runCommand`. Rows of pictures the menus do not
// place go to Tools. The keys stay with the window: the menus only show them.
void buildMenuBar(QMenuBar* bar, const ButtonTable& buttons, const Settings& settings,
                  const std::function<void(int)>& clickRow, const RunCommand& runCommand);

} // namespace kelvara
