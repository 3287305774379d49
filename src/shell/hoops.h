#pragma once

#include "shell/outcome.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// The outline of a hoop's sewing field.
enum class HoopShape { Rectangle, Rounded, Oval };

// A hoop a machine takes: its name and sewing field in design units (0.1 mm).
struct Hoop {
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
    HoopShape shape = HoopShape::Rectangle;
};

// The hoops of hoops.txt in the file's order, and every line that was not
// taken, each naming its line number and why.
struct HoopList {
    std::vector<Hoop> hoops;
    std::vector<Outcome> problems;
};

inline constexpr const char* kHoopFileName = "hoops.txt";
// More hoops than any machine maker lists; lines past it are refused.
inline constexpr std::size_t kMostHoops = 200;
// Sewing fields from 10 mm to 2 m a side.
inline constexpr int32_t kSmallestHoopSide = 100;
inline constexpr int32_t kLargestHoopSide = 20000;

// Reads hoop lines "WIDTH HEIGHT SHAPE NAME" (mm; shape rect, rounded or
// oval; the name is the rest of the line). Comments after ';' and empty
// lines are skipped.
HoopList readHoops(std::string_view bytes);

// Reads programFolder + hoops.txt; a missing file lists no hoops and no
// problems, a file larger than any hoop list is refused whole.
HoopList loadHoops(const std::string& programFolder);

// The hoop the HOOP setting names: its name in any case, or "WxH" in mm
// (the first listed hoop of that size). Null for an empty setting or no match.
const Hoop* findHoop(const HoopList& list, std::string_view setting);

// "130 x 180 mm".
std::string hoopSizeText(const Hoop& hoop);

} // namespace kelvara
