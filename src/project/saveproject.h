#pragma once

#include <QString>

#include <string>

namespace kelvara {

struct Workspace;
struct Platform;

// The project file text of the design: every object in display order, each
// line followed by an empty line, all ending in CR LF. Used rows the display
// order misses (a damaged chain) follow in row order, so none is lost.
std::string projectFileText(const Workspace& ws);

// Writes the whole text to `path` through a temporary file beside it that
// replaces the target only once every byte is on disk. "" or the system's
// reason, with the old file untouched.
std::string writeProjectFile(const QString& path, const std::string& text);

// Whether Save asks for the file name even when the design has one.
enum class SaveAs { WhenUnnamed, Always };

// The Save command: refuses an empty design, asks for the file name (starting
// with the remembered one), remembers it and writes the project. With
// QUICKSAVE a design that has a project file is written to it without a
// question unless `saveAs` is Always. A failure shows the error box and
// leaves any old file as it was.
void saveProject(Workspace& ws, const Platform& platform, SaveAs saveAs = SaveAs::WhenUnnamed);

} // namespace kelvara
