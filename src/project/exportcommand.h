#pragma once

namespace kelvara {

struct Workspace;
struct Platform;

// Message slots of the export command's boxes.
inline constexpr int kExportDialogTitleSlot = 5;
inline constexpr int kErrorCaptionSlot = 11;
inline constexpr int kExportEmptyDesignSlot = 15;
inline constexpr int kExportWriteFailedSlot = 17;
inline constexpr int kExportNoStitchesSlot = 18;
inline constexpr int kExportTooLargeSlot = 19;

// Export (Ctrl+E): asks for a .dst file, generates the stitches of the design
// and writes them as Tajima DST. The file is replaced only when the whole
// new file was written; every failure is shown in an error box.
void exportStitches(Workspace& workspace, const Platform& platform);

} // namespace kelvara
