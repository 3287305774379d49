#include "project/machinefile.h"

#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/wholefile.h"
#include "shell/outcome.h"
#include "stitch/colourlist.h"
#include "stitch/dstwriter.h"
#include "stitch/expwriter.h"
#include "stitch/jefwriter.h"
#include "stitch/machinereader.h"
#include "stitch/peswriter.h"
#include "stitch/stitchplan.h"
#include "stitch/threadchart.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace kelvara {

namespace {

// A refused chart is named with its brand and file.
Outcome chartReason(const Workspace& ws, const char* file, const char* brand, ThreadChart& chart)
{
    const std::string path = ws.programFolder + file;
    const Outcome why = loadThreadChart(path, brand, chart);
    return why.ok() ? why : Outcome(kSlotChartRefused, brand, path, message(ws, why));
}

// Machines show the label as plain ASCII: letters lose their marks and
// anything else becomes '_', one per character, never a piece of one.
std::string machineLabel(const QString& baseName)
{
    constexpr std::size_t kLabelLength = 16;
    std::string label;
    for (const char32_t c : baseName.normalized(QString::NormalizationForm_D).toUcs4()) {
        if (label.size() == kLabelLength)
            break;
        if (QChar::isMark(c))
            continue;
        label += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '_';
    }
    return label;
}

} // namespace

Outcome loadListChart(const Workspace& ws, ThreadChart& chart)
{
    if (ws.settings.CHART == kChartJanome)
        return chartReason(ws, kJanomeChartFile, "Janome", chart);
    if (ws.settings.CHART == kChartBrother)
        return chartReason(ws, kBrotherChartFile, "Brother", chart);
    return {};
}

std::optional<MachineFormat> machineFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "dst")
        return MachineFormat::Dst;
    if (suffix == "exp")
        return MachineFormat::Exp;
    if (suffix == "jef")
        return MachineFormat::Jef;
    if (suffix == "pes")
        return MachineFormat::Pes;
    return std::nullopt;
}

QString colourListPath(const QString& machinePath, bool perFormat)
{
    const QFileInfo info(machinePath);
    const QString format = perFormat ? QLatin1Char('-') + info.suffix().toLower() : QString();
    return QDir(info.path()).filePath(info.completeBaseName() + format + ".txt");
}

Outcome writeMachineFiles(const Workspace& ws, const StitchPlan& plan, MachineFormat format,
                          const QString& path)
{
    return exportMachineFiles(ws, plan, format, path).reason;
}

MachineFileResult exportMachineFiles(const Workspace& ws, const StitchPlan& plan, MachineFormat format,
                                     const QString& path, bool listPerFormat)
{
    const auto refused = [](Outcome why) {
        return MachineFileResult{MachineFileResult::Refused, std::move(why)};
    };
    const auto failed = [](Outcome why) {
        return MachineFileResult{MachineFileResult::WriteFailed, std::move(why)};
    };
    const std::string label = machineLabel(QFileInfo(path).completeBaseName());
    std::vector<uint8_t> bytes;
    Outcome reason;
    ThreadChart machineChart;
    switch (format) {
    case MachineFormat::Dst:
        bytes = writeDst(plan, label);
        break;
    case MachineFormat::Exp:
        bytes = writeExp(plan);
        break;
    case MachineFormat::Jef:
        reason = chartReason(ws, kJanomeChartFile, "Janome", machineChart);
        if (reason.ok()) {
            const QString date = QDateTime::currentDateTime().toString("yyyyMMddHHmmss");
            reason = writeJef(plan, machineChart, date.toStdString(), bytes, chosenHoop(ws));
        }
        break;
    case MachineFormat::Pes:
        reason = chartReason(ws, kBrotherChartFile, "Brother", machineChart);
        if (reason.ok())
            reason = writePes(plan, machineChart, label, bytes, chosenHoop(ws));
        break;
    }
    if (!reason.ok())
        return refused(reason);

    // The list beside a JEF or PES names the threads the file's codes name;
    // DST and EXP carry no threads, so their list follows the configuration.
    ThreadChart listChart;
    if (format == MachineFormat::Jef || format == MachineFormat::Pes)
        listChart = std::move(machineChart);
    else
        reason = loadListChart(ws, listChart);
    if (!reason.ok())
        return refused(reason);
    const std::string list =
        colourListText(colourBlocks(plan), listChart.threads.empty() ? nullptr : &listChart);

    // Both files are on disk before either replaces what was there.
    const QString listPath = colourListPath(path, listPerFormat);
    QString failedPath;
    const std::string why = writeWholeFiles(
        {{path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())}, {listPath, list}},
        &failedPath);
    if (why.empty())
        return {};
    if (failedPath == listPath)
        return failed(Outcome(kSlotListCannotBeWritten, QFileInfo(listPath).fileName().toStdString(), why));
    return failed(Outcome(kSlotCannotBeWritten, why));
}

MachineRead readMachineFile(const Workspace& ws, const QString& path)
{
    const std::optional<MachineFormat> format = machineFormatOf(path);
    std::optional<std::string> bytes;
    if (format)
        bytes = readFileBytes(path, kMaxMachineFileBytes);
    if (!bytes) {
        MachineRead refused;
        refused.refusal = format ? kSlotMachineFileUnreadable : kSlotMachineFileNotFormat;
        return refused;
    }
    ThreadChart chart;
    switch (*format) {
    case MachineFormat::Dst:
        return readDst(*bytes);
    case MachineFormat::Exp:
        return readExp(*bytes);
    case MachineFormat::Jef:
        chartReason(ws, kJanomeChartFile, "Janome", chart);
        return readJef(*bytes, chart);
    case MachineFormat::Pes:
        chartReason(ws, kBrotherChartFile, "Brother", chart);
        return readPes(*bytes, chart);
    }
    return {};
}

} // namespace kelvara
