#pragma once

#include "shell/outcome.h"

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

// SVG artwork as project object lines: each filled path, rect, circle,
// ellipse, polygon, polyline or line a SHAPE of its fill colour, each stroked
// one a STROKE (a satin column when the stroke is at least 1.5 mm wide, else
// a running line), each group with drawn elements a group. Transforms apply;
// the file's width, height and viewBox give its true size (mm, cm, in, pt,
// px at 96 a inch), and the artwork is centred on (centreX, centreY).
struct SvgImport {
    std::string lines;  // one object line each, in drawing order
    Outcome reason;     // why nothing came in; fine when lines hold objects
};

inline constexpr int64_t kMaxSvgBytes = 16 * 1024 * 1024;
// Elements read at most, and nodes a path may make: forged files stay cheap.
inline constexpr int64_t kMostSvgElements = 100000;
inline constexpr int64_t kMostSvgNodes = 1 << 20;

SvgImport importSvg(std::string_view bytes, int32_t centreX, int32_t centreY);
SvgImport importSvgFile(const QString& path, int32_t centreX, int32_t centreY);

} // namespace kelvara
