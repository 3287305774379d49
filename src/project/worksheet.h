#pragma once

#include "shell/outcome.h"
#include "stitch/stitchplan.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace kelvara {

struct Workspace;

// Margins of the worksheet page, wide enough for any office printer.
inline constexpr double kWorksheetMarginMm = 12;

// One thread of the colour sequence, in sewing order.
struct WorksheetThread {
    int32_t colour = 0;   // red in bits 0-7
    int64_t stitches = 0; // sewn with this thread
    QString name;         // the nearest thread of a chart; empty: shown by its hex colour
    QString note;         // what a stop before it in the same thread is for; empty: none
};

// What the page shows: the design's plan and the facts taken from it.
struct Worksheet {
    QString designName;
    QDate date;
    // Hands the plan over again for the picture; a design's plan is
    // stitched again rather than kept, so a sheet of millions of stitches
    // holds one object's at a time. The workspace it was prepared from must
    // outlive the sheet and stay as it is.
    PlanReplay plan;
    std::shared_ptr<const StitchPlan> heldPlan; // a plan given whole, which `plan` hands over
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0; // stitch extents, design units
    int64_t stitches = 0;
    int64_t colourChanges = 0;
    int64_t trims = 0;
    int32_t stitchesPerMinute = 800; // the machine's SPEED
    std::vector<WorksheetThread> threads;
};

// Stitches the design and fills the sheet, dated today, naming each
// thread from the chart CHART chooses. Fine, or why the design cannot be
// stitched. `watch` may wrap the design's plan (to follow or stop its passes).
Outcome prepareWorksheet(const Workspace& workspace, const QString& designName, Worksheet& sheet,
                         const std::function<PlanReplay(PlanReplay)>& watch = {});

// The same for a plan already made (a machine file read as it is).
Outcome prepareWorksheet(const Workspace& workspace, const QString& designName, StitchPlan plan,
                         Worksheet& sheet);

// The same for a plan handed over by `plan`, which the sheet keeps to draw
// its picture.
Outcome prepareWorksheet(const Workspace& workspace, const QString& designName, PlanReplay plan,
                         Worksheet& sheet);

// Lays the page out on the painter's device (a printer, a PDF page, an
// image with its resolution set), filling the device's whole paint area.
void paintWorksheet(QPainter& painter, const Worksheet& sheet);

// The worksheet of the design as a one-page A4 PDF at `path`. The file is
// replaced only when the whole page was written. Fine, or why not.
Outcome writeWorksheetPdf(const Workspace& workspace, const QString& designName, const QString& path);

// The prepared sheet as that PDF.
Outcome writeWorksheetPdf(const Worksheet& sheet, const QString& path);

// Minutes the machine needs for `stitches` at `stitchesPerMinute`, rounded
// up: the operator plans with the longer time.
int64_t worksheetMinutes(int64_t stitches, int32_t stitchesPerMinute);

} // namespace kelvara
