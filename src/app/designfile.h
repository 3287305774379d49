#pragma once

#include "shell/outcome.h"

#include <QString>

#include <string>

namespace kelvara {

struct Workspace;

// Replaces the design of `ws` (whose libraries and configuration are read)
// by the project file at `path`, without a window. Fine when the design is
// there, otherwise why not, as one short clause ("does not exist").
// `warning` names lines that could not be read and were left out. A file
// only part of which can be held (more objects than the table's rows, cut
// part-way through an object) is refused unless `partial` allows it.
Outcome readDesignFile(Workspace& ws, const QString& path, std::string& warning, bool partial = false);

} // namespace kelvara
