#pragma once

#include "project/pictureline.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace kelvara {

struct Workspace;
struct Platform;
struct TokenTable;

// Largest project file that is opened (a full design is well under 2 MiB).
inline constexpr int64_t kMaxProjectFileBytes = int64_t{64} << 20;

// Whether the path names a project file: its last four characters,
// upper-cased, are ".KVP".
bool isProjectPath(const QString& path);

// The Open command: asks for a file; a project file replaces the design
// (after the question when objects exist), a machine file opens as a new
// design of its stitches, anything else is loaded as the background picture. The message table is never touched.
void openProject(Workspace& ws, const Platform& platform);

// Opens the file at `path` as Open does once the dialog named it: a project
// replaces the design (after the question when `ask` and objects exist),
// anything else is loaded as the background picture. The start-up opens the
// file named on the command line with it.
void openProjectFile(Workspace& ws, const Platform& platform, const QString& path, bool ask);

// Lines of a project file that made no object though they were not blank.
struct UnreadableLines {
    int32_t count = 0;
    std::string first; // as it stood in the file, comment and runs of blanks removed
};

// How much of a project file did not make it into the design.
struct ProjectLoad {
    int64_t objectsLeftOut = 0; // object lines past the table's last row
    bool cutShort = false;      // the last object line has no line end: the file was cut
    UnreadableLines unreadable; // lines that made no object; a warning, the rest is whole
    std::optional<PictureLine> picture; // the first tracing-picture line
    bool whole() const { return objectsLeftOut == 0 && !cutShort; }
};

// The object lines of `bytes` the table cannot hold, and whether the file
// was cut part-way through its last line; the command line refuses such a
// file before it reads it.
ProjectLoad measureProjectBytes(const std::string& bytes, TokenTable& tokens);

// Replaces the design by the objects of `bytes`, the content of the project
// file at `path`: clears table, journal, tool state and picture, fills rows
// 0.. in line order, links them, refills the list and names the file in the
// title. Asks nothing; openProject has done that. A UTF-8 byte-order mark is
// passed over. Returns what was left out.
ProjectLoad loadProjectBytes(Workspace& ws, const Platform& platform, const QString& path, const std::string& bytes);

// Says in the editor what a project file held that the design does not.
void tellWhatWasLeftOut(const Workspace& ws, const Platform& platform, const ProjectLoad& load);

// The one warning about the left-out lines, naming their count and the
// first; empty when there were none.
std::string unreadableLinesWarning(const Workspace& ws, const UnreadableLines& lines);

} // namespace kelvara
