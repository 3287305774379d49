#pragma once

namespace kelvara {

struct Workspace;
struct Platform;

// Export (Ctrl+E): asks for a .dst file, generates the stitches of the design
// and writes them as Tajima DST. The file is replaced only when the whole
// new file was written; every failure is shown in an error box.
void exportStitches(Workspace& workspace, const Platform& platform);

} // namespace kelvara
