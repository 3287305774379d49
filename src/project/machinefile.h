#pragma once

#include "shell/outcome.h"

#include <QString>

#include <optional>
#include <string>

namespace kelvara {

struct Workspace;
struct StitchPlan;
struct ThreadChart;
struct MachineRead;

enum class MachineFormat { Dst, Exp, Jef, Pes };

// The format a file name asks for by its extension, in any case.
std::optional<MachineFormat> machineFormatOf(const QString& path);

// The colour list written beside a machine file: NAME.txt in its folder, or
// with `perFormat` NAME-EXT.txt (the extension in lower case), so the lists
// of two formats of one design do not replace each other.
QString colourListPath(const QString& machinePath, bool perFormat = false);

// Writes the plan as a machine file of `format` at `path` and its colour list
// beside it, each replaced only when it was written whole. JEF and PES take
// their thread codes from the Janome and Brother charts in the program
// folder; the colour list names the threads of the chart CHART chooses.
// Fine, or why not; nothing is written for a refused design.
Outcome writeMachineFiles(const Workspace& ws, const StitchPlan& plan, MachineFormat format,
                          const QString& path);

// The chart CHART names for the colour lists of DST and EXP files (JEF and
// PES lists name their own maker's threads) and for worksheets, loaded from the
// program folder; left empty when CHART is 0. Fine, or why it failed.
Outcome loadListChart(const Workspace& ws, ThreadChart& chart);

// The same, telling a refused design (or chart) from a file that could not
// be written, for callers that word the two differently.
struct MachineFileResult {
    enum Result { Written, Refused, WriteFailed } outcome = Written;
    Outcome reason; // fine when written
};
// The colour list is NAME.txt, or NAME-EXT.txt with `listPerFormat` (the
// editor's COLOURLISTS; scripts always find NAME.txt).
MachineFileResult exportMachineFiles(const Workspace& ws, const StitchPlan& plan, MachineFormat format,
                                     const QString& path, bool listPerFormat = false);

// Reads the machine file at `path` in the format its extension names, JEF
// and PES thread codes through the charts in the program folder (a chart
// that cannot be read leaves every thread unnamed). One result per file:
// the plan, or the refusal.
MachineRead readMachineFile(const Workspace& ws, const QString& path);

} // namespace kelvara
