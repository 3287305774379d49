#pragma once

#include <functional>

class QMenuBar;

namespace kelvara {

struct ButtonTable;
class Commands;

// Fills `bar` with the File, Edit, View, Object, Tools and Help menus: one
// action per toolbar row, named by its tooltip and showing its key, which
// runs the row through `clickRow` as its button does; then the commands that
// have a key and no button, run through `runCommand`. Rows of pictures the menus do not place go to
// Tools. The keys stay with the window: the menus only show them.
void buildMenuBar(QMenuBar* bar, const ButtonTable& buttons,
                  const std::function<void(int)>& clickRow,
                  const std::function<void(void (*)(Commands&))>& runCommand);

} // namespace kelvara
