#pragma once

#include <QString>

namespace kelvara {

struct Workspace;
struct Platform;

// Whether the path names a machine file the program reads (.dst .exp .jef .pes).
bool isMachinePath(const QString& path);

// Opens a machine file as a new design named after it: one STITCHES object
// per colour block, in one group, in sewing order, round the view's centre.
// Save then asks for a project name beside it. A file that cannot be read is
// refused with its reason and the design stays as it was; when `ask` and
// objects exist, the user is asked first.
void openMachineDesign(Workspace& ws, const Platform& platform, const QString& path, bool ask);

// The Import command: asks for a machine file, a picture or an artwork
// file and adds it to the design at the centre of the view, as one undo
// step; a picture becomes the tracing picture.
void importFile(Workspace& ws, const Platform& platform);

// Import of the file at `path`, as the command does once the dialog named it.
void importFileAt(Workspace& ws, const Platform& platform, const QString& path);

} // namespace kelvara
