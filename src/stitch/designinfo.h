#pragma once

#include "shell/texts.h"
#include "stitch/hoopfit.h"
#include "stitch/stitchplan.h"

#include <cstdint>
#include <string>

namespace kelvara {

// What an operator asks of a design before sewing it, measured on its plan.
struct DesignInfo {
    int32_t objects = 0;
    int64_t stitches = 0;
    int64_t colourChanges = 0;
    int64_t trims = 0;
    int64_t jumps = 0; // travels: a run of jump records counts once
    double widthMm = 0;
    double heightMm = 0;
    double threadMetres = 0; // top thread along the stitches
    double minutes = 0;      // stitches at the machine's speed
    // The hoop HOOP names ("" for none) and whether the design fits it; the
    // smallest listed hoop that holds the design ("" for none). Hoops are
    // told only when hoops are listed.
    bool hoopsListed = false;
    std::string chosenHoop;
    bool fitsChosenHoop = true;
    std::string smallestHoop;
};

// The design information of a plan handed over a stretch at a time (as a
// streamed plan is), holding none of it: counts, thread, and the stitches'
// hull for the hoops.
class DesignMeasure {
public:
    void add(std::span<const StitchRecord> records);
    // What was handed over, for a design of `objects` objects sewn at
    // `stitchesPerMinute`; with a hoop list, the hoop facts too.
    DesignInfo finish(int32_t objects, int32_t stitchesPerMinute, const HoopList* hoops = nullptr,
                      const Hoop* chosen = nullptr);

private:
    DesignInfo info_;
    StitchHull hull_;
    double units_ = 0;
    bool started_ = false;
    bool lastWasJump_ = false;
    int32_t x_ = 0, y_ = 0;
};

// Measures `plan` of a design of `objects` objects, sewn at `stitchesPerMinute`;
// with a hoop list, the hoop facts too.
DesignInfo measureDesign(const StitchPlan& plan, int32_t objects, int32_t stitchesPerMinute,
                         const HoopList* hoops = nullptr, const Hoop* chosen = nullptr);

// One JSON object on one line, keys in a fixed order: objects, stitches,
// colour_changes, trims, jumps, width_mm, height_mm, thread_m, minutes, hoop
// (the smallest listed hoop's name, or null).
std::string designInfoJson(const DesignInfo& info);

// The lines the design information box shows, one value per line, in the
// words of the message table.
std::string designInfoText(const LineTable& messages, const DesignInfo& info);

// The short form for the status bar: "1234 stitches, 80.0 x 65.5 mm".
std::string designSummary(const DesignInfo& info);

} // namespace kelvara
