#pragma once

#include <string>

namespace kelvara {

struct Workspace;

// What the next click of the active tool does, step by step, for the status
// bar ("Satin column: click where the second edge starts"); after a canvas
// click that did nothing, why it did nothing.
std::string toolHint(const Workspace& ws);

} // namespace kelvara
