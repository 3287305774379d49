#pragma once

namespace kelvara {

struct Workspace;
struct Platform;

// Export (Ctrl+E): asks for a stitch file (DST, EXP, JEF or PES by its
// extension), generates the stitches of the design and writes them with the
// colour list beside them. Files are replaced only when the whole new file
// was written; every failure is shown in an error box.
void exportStitches(Workspace& workspace, const Platform& platform);

} // namespace kelvara
