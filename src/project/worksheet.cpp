// The worksheet's facts from the design's plan, and the page as a PDF file.
#include "project/worksheet.h"

#include "model/workspace.h"
#include "project/machinefile.h"
#include "project/wholefile.h"
#include "shell/texts.h"
#include "stitch/colourlist.h"
#include "stitch/threadchart.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <span>

namespace kelvara {

namespace {

constexpr int kPdfResolution = 600;

void nameThreads(Worksheet& sheet, const ThreadChart& chart);

// The facts of the sheet, gathered a stretch of the plan at a time.
class SheetMeasure {
public:
    explicit SheetMeasure(Worksheet& sheet) : sheet_(sheet) {}

    void add(std::span<const StitchRecord> records)
    {
        Worksheet& sheet = sheet_;
        for (const StitchRecord& r : records) {
            switch (r.kind) {
            case StitchKind::Stitch:
                if (sheet.threads.empty()) {
                    sheet.minX = sheet.maxX = r.x;
                    sheet.minY = sheet.maxY = r.y;
                    // The first thread is the one the first stitch is sewn with.
                    sheet.threads.push_back(WorksheetThread{r.colour, 0, {}, {}});
                }
                sheet.minX = std::min(sheet.minX, r.x);
                sheet.maxX = std::max(sheet.maxX, r.x);
                sheet.minY = std::min(sheet.minY, r.y);
                sheet.maxY = std::max(sheet.maxY, r.y);
                ++sheet.threads.back().stitches;
                ++sheet.stitches;
                break;
            case StitchKind::ColourChange:
                ++sheet.colourChanges;
                if (!sheet.threads.empty()) {
                    // The same thread again is a stop, for an appliqué's fabric.
                    const bool stop = sheet.threads.back().colour == r.colour;
                    WorksheetThread& thread = sheet.threads.emplace_back(WorksheetThread{r.colour, 0, {}, {}});
                    if (stop)
                        thread.note = QString::fromLatin1(stopNote(stops_++));
                }
                break;
            case StitchKind::Trim:
                ++sheet.trims;
                break;
            case StitchKind::Jump:
            case StitchKind::End:
                break;
            }
        }
    }

private:
    Worksheet& sheet_;
    int stops_ = 0;
};

Outcome refusal(PlanStatus status)
{
    switch (status) {
    case PlanStatus::Empty:
        return Outcome(kSlotSheetNoStitches);
    case PlanStatus::TooLarge:
        return Outcome(kSlotSheetTooLarge);
    case PlanStatus::Ok:
        break;
    }
    return {};
}

// Fills the sheet from a first pass over the plan.
Outcome prepareFrom(const Workspace& ws, const QString& designName, PlanReplay plan, Worksheet& sheet)
{
    sheet.plan = std::move(plan);
    sheet.designName = designName;
    sheet.date = QDate::currentDate();
    sheet.stitchesPerMinute = ws.settings.SPEED;
    SheetMeasure measure(sheet);
    if (Outcome reason =
            refusal(sheet.plan([&](std::span<const StitchRecord> records) { measure.add(records); }));
        !reason.ok())
        return reason;
    ThreadChart chart;
    if (Outcome reason = loadListChart(ws, chart); !reason.ok())
        return reason;
    nameThreads(sheet, chart);
    return {};
}

void nameThreads(Worksheet& sheet, const ThreadChart& chart)
{
    for (WorksheetThread& thread : sheet.threads) {
        const int index = nearestThread(chart, thread.colour);
        if (index >= 0) {
            const Thread& t = chart.threads[std::size_t(index)];
            thread.name = QString::fromStdString(chart.brand + " " + std::to_string(t.code) + " " + t.name);
        }
    }
}

} // namespace

int64_t worksheetMinutes(int64_t stitches, int32_t stitchesPerMinute)
{
    const int64_t rate = std::max<int64_t>(stitchesPerMinute, 1);
    return (std::max<int64_t>(stitches, 0) + rate - 1) / rate;
}

Outcome prepareWorksheet(const Workspace& ws, const QString& designName, Worksheet& sheet,
                         const std::function<PlanReplay(PlanReplay)>& watch)
{
    sheet = Worksheet{};
    if (ws.table.objectCount == 0)
        return Outcome(kSlotSheetNoObjects);
    return prepareFrom(ws, designName, watch ? watch(replayOf(ws)) : replayOf(ws), sheet);
}

Outcome prepareWorksheet(const Workspace& ws, const QString& designName, StitchPlan plan, Worksheet& sheet)
{
    sheet = Worksheet{};
    auto held = std::make_shared<const StitchPlan>(std::move(plan));
    sheet.heldPlan = held;
    return prepareFrom(ws, designName, replayOf(*held), sheet);
}

Outcome prepareWorksheet(const Workspace& ws, const QString& designName, PlanReplay plan, Worksheet& sheet)
{
    sheet = Worksheet{};
    return prepareFrom(ws, designName, std::move(plan), sheet);
}

Outcome writeWorksheetPdf(const Workspace& ws, const QString& designName, const QString& path)
{
    Worksheet sheet;
    if (Outcome reason = prepareWorksheet(ws, designName, sheet); !reason.ok())
        return reason;
    return writeWorksheetPdf(sheet, path);
}

Outcome writeWorksheetPdf(const Worksheet& sheet, const QString& path)
{
    const QString& designName = sheet.designName;
    PendingFile file(path);
    if (std::string reason = file.open(); !reason.empty())
        return Outcome(kSlotCannotBeWritten, reason);
    {
        QPdfWriter pdf(&file.device());
        pdf.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(kWorksheetMarginMm, kWorksheetMarginMm, kWorksheetMarginMm, kWorksheetMarginMm),
            QPageLayout::Millimeter));
        pdf.setResolution(kPdfResolution);
        pdf.setTitle(designName);
        pdf.setCreator(QString::fromLatin1(kProgramTitle));
        QPainter painter;
        if (!painter.begin(&pdf))
            return Outcome(kSlotSheetNoPage);
        paintWorksheet(painter, sheet);
        painter.end();
    }
    std::string reason = file.finish();
    if (reason.empty())
        reason = file.replaceTarget();
    return reason.empty() ? Outcome() : Outcome(kSlotCannotBeWritten, reason);
}

} // namespace kelvara
