#pragma once

#include "shell/outcome.h"
#include "stitch/stitchplan.h"

#include <QString>

#include <string>

namespace kelvara {

struct StitchLook;
struct Workspace;

// Machine formats the command line writes, as the extensions naming them.
QString knownMachineFormats();

// Writes the machine file for `plan` at `path`, its format named by the
// extension (any case). Fine when written, otherwise the reason; a file that
// could not be made whole is never left behind and an old one stays as it was.
Outcome writeMachineFile(const Workspace& ws, const StitchPlan& plan, const QString& path);

// The stitch render as a PNG at `path`: `pixelsPerMm` pixels per millimetre,
// or with the longer side at most 1600 pixels when 0, drawn in `look`.
// The plan is gone over twice and never held. Written whole or not at all.
Outcome writeRenderFile(const PlanReplay& plan, int pixelsPerMm, const QString& path, const StitchLook& look);

} // namespace kelvara
