#pragma once

#include "model/workspace.h"

namespace kelvara {

// The file's modification time and size now; size -1 when it is not there.
Workspace::FileStamp stampOf(const QString& path);

// Whether the file at `path` is the one stamped and was changed since.
bool changedOnDisk(const Workspace& ws, const QString& path);

} // namespace kelvara
