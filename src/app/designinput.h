#pragma once

#include "shell/outcome.h"
#include "stitch/stitchplan.h"

#include <QString>

#include <cstdint>
#include <string>

namespace kelvara {

struct Workspace;

// What a command-line action works on: a project's plan (stitched from its
// objects) or a machine file's (its stitches as read, so a conversion keeps
// every needle, trim and thread change).
struct DesignInput {
    StitchPlan plan;     // empty when the plan is streamed
    PlanReplay replay;   // hands the plan over as often as asked: this `plan`, or the workspace's
    int32_t objects = 0; // a machine file counts its colour blocks
    bool machineFile = false;
};

// Reads the design at `path` by its extension: .dst, .exp, .jef and .pes as
// machine files, anything else as a project. Fine when `input` holds the plan,
// otherwise why not, as one short clause. `warning` names project lines that
// could not be read; `partial` lets a project only part of which fits be used.
// `streamed`: a project's plan is not made here but stitched again on each
// pass of `input.replay`, which finds whether it can be stitched at all (for
// what draws it object by object); the workspace must stay as it is while
// the replay is used.
Outcome readDesignInput(Workspace& ws, const QString& path, DesignInput& input, std::string& warning,
                        bool partial, bool streamed = false);

// Why a design whose plan came out `status` is refused, as one short clause;
// fine for Ok.
Outcome planRefusal(PlanStatus status);

} // namespace kelvara
