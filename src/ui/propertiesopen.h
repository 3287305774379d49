#pragma once

#include <cstdint>

namespace kelvara {

struct Editor;

// A double click on an object (on the canvas or its list line) opens the
// properties panel for it: a row that is part of the selection keeps the
// whole selection, any other row becomes the selection alone.
void openPropertiesOf(Editor& editor, int32_t row);

} // namespace kelvara
