#pragma once

#include "shell/outcome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara {

struct LineTable;

// One thread of a maker's chart: the number its machines know it by (the
// palette index a JEF or PES file stores), its colour and its name.
struct Thread {
    int32_t code = 0;
    int32_t colour = 0; // red in bits 0-7, as the plan's colours
    std::string name;
};

struct ThreadChart {
    std::string brand; // "Janome", "Brother"
    std::vector<Thread> threads;
};

// Chart files in the program folder, one thread a line: "code $RRGGBB name".
inline constexpr const char* kJanomeChartFile = "threads/janome.txt";
inline constexpr const char* kBrotherChartFile = "threads/brother.txt";
inline constexpr int32_t kMaxThreadCode = 255; // both formats store one byte's worth

// Reads the chart's lines (as the line reader left them). Fine, or why the
// chart is refused; a refused chart is left empty.
Outcome readThreadChart(const LineTable& lines, ThreadChart& chart);

// Reads a chart file through a line table of its own; the file may hold any
// bytes. Fine, or why the chart is refused (the caller names the file).
Outcome loadThreadChart(const std::string& path, const std::string& brand, ThreadChart& chart);

// Index of the chart's thread nearest to `colour` by a weighted RGB distance
// (red and blue weighed by how red the pair is, as the eye does); the first
// of equals. -1 for an empty chart.
int nearestThread(const ThreadChart& chart, int32_t colour);

} // namespace kelvara
