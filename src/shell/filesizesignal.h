#pragma once

namespace kelvara {

// Makes a write past the process's file-size limit (ulimit -f) fail with an
// error instead of killing the program with SIGXFSZ, so a save that does not
// fit shows the error box and the design survives. Called once at start.
void ignoreFileSizeSignal();

} // namespace kelvara
