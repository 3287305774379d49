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

namespace kelvara {

namespace {

constexpr int kPdfResolution = 600;

void measure(Worksheet& sheet)
{
    const std::vector<StitchRecord>& records = sheet.plan.records;
    bool first = true;
    int stops = 0;
    WorksheetThread* thread = nullptr;
    for (const StitchRecord& r : records) {
        switch (r.kind) {
        case StitchKind::Stitch:
            if (first) {
                sheet.minX = sheet.maxX = r.x;
                sheet.minY = sheet.maxY = r.y;
                first = false;
            }
            sheet.minX = std::min(sheet.minX, r.x);
            sheet.maxX = std::max(sheet.maxX, r.x);
            sheet.minY = std::min(sheet.minY, r.y);
            sheet.maxY = std::max(sheet.maxY, r.y);
            // The first thread is the one the first stitch is sewn with.
            if (thread == nullptr)
                thread = &sheet.threads.emplace_back(WorksheetThread{r.colour, 0, {}});
            ++thread->stitches;
            ++sheet.stitches;
            break;
        case StitchKind::ColourChange:
            ++sheet.colourChanges;
            if (thread != nullptr) {
                // The same thread again is a stop, for an appliqué's fabric.
                const bool stop = thread->colour == r.colour;
                thread = &sheet.threads.emplace_back(WorksheetThread{r.colour, 0, {}});
                if (stop)
                    thread->note = QString::fromLatin1(stopNote(stops++));
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

std::string prepareWorksheet(const Workspace& ws, const QString& designName, Worksheet& sheet)
{
    sheet = Worksheet{};
    if (ws.table.objectCount == 0)
        return "the design holds no objects";
    StitchPlan plan;
    switch (generatePlan(ws, plan)) {
    case PlanStatus::Empty:
        return "the design produces no stitches";
    case PlanStatus::TooLarge:
        return "the design is too large to stitch";
    case PlanStatus::Ok:
        break;
    }
    return prepareWorksheet(ws, designName, std::move(plan), sheet);
}

std::string prepareWorksheet(const Workspace& ws, const QString& designName, StitchPlan plan,
                             Worksheet& sheet)
{
    sheet = Worksheet{};
    sheet.plan = std::move(plan);
    sheet.designName = designName;
    sheet.date = QDate::currentDate();
    sheet.stitchesPerMinute = ws.settings.SPEED;
    measure(sheet);
    ThreadChart chart;
    if (std::string reason = loadListChart(ws, chart); !reason.empty())
        return reason;
    nameThreads(sheet, chart);
    return {};
}

std::string writeWorksheetPdf(const Workspace& ws, const QString& designName, const QString& path)
{
    Worksheet sheet;
    if (std::string reason = prepareWorksheet(ws, designName, sheet); !reason.empty())
        return reason;
    return writeWorksheetPdf(sheet, path);
}

std::string writeWorksheetPdf(const Worksheet& sheet, const QString& path)
{
    const QString& designName = sheet.designName;
    PendingFile file(path);
    if (std::string reason = file.open(); !reason.empty())
        return "cannot be written: " + reason;
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
            return "the PDF page could not be started";
        paintWorksheet(painter, sheet);
        painter.end();
    }
    std::string reason = file.finish();
    if (reason.empty())
        reason = file.replaceTarget();
    return reason.empty() ? reason : "cannot be written: " + reason;
}

} // namespace kelvara
