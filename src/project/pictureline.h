#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara {

struct BackgroundPicture;

// The project line that keeps the tracing picture with the design:
// "PICTURE LEFT=x TOP=y SCALE=100 DIM=d HIDE=h FILE=name", the name relative to the
// project's folder and percent-encoded (UTF-8), so blanks and semicolons
// survive the line reader. Object readers skip the line (its word is no
// kind), so older versions read such a project as before.
struct PictureLine {
    QString file; // as written: relative to the project's folder, or absolute
    int32_t left = 0;
    int32_t top = 0;
    int32_t scalePercent = 100;
    int32_t dimPercent = 0;
    bool hidden = false;
};

// The line for the loaded picture of a project saved at `projectPath`, with
// its CR LF; "" when no picture is loaded.
std::string pictureLineText(const BackgroundPicture& picture, const QString& projectPath);

// The line read back; nothing when `line` (as the line reader left it) is no
// picture line or names no file.
std::optional<PictureLine> readPictureLine(std::string_view line);

// The picture file a line names, for the project at `projectPath`.
QString picturePathFor(const PictureLine& line, const QString& projectPath);

} // namespace kelvara
