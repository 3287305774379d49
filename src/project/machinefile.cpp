#include "project/machinefile.h"

#include "model/workspace.h"
#include "project/filebytes.h"
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
#include <QSaveFile>

#include <memory>

namespace kelvara {

namespace {

bool writeWhole(QSaveFile& file, const char* data, qint64 size)
{
    return file.open(QIODevice::WriteOnly) && file.write(data, size) == size;
}

std::string chartReason(const Workspace& ws, const char* file, const char* brand, ThreadChart& chart)
{
    return loadThreadChart(ws.programFolder + file, brand, chart);
}

} // namespace

std::string loadListChart(const Workspace& ws, ThreadChart& chart)
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

QString colourListPath(const QString& machinePath)
{
    const QFileInfo info(machinePath);
    return QDir(info.path()).filePath(info.completeBaseName() + ".txt");
}

std::string writeMachineFiles(const Workspace& ws, const StitchPlan& plan, MachineFormat format,
                              const QString& path)
{
    return exportMachineFiles(ws, plan, format, path).reason;
}

MachineFileResult exportMachineFiles(const Workspace& ws, const StitchPlan& plan, MachineFormat format,
                                     const QString& path)
{
    const auto refused = [](std::string why) { return MachineFileResult{MachineFileResult::Refused, why}; };
    const auto failed = [](std::string why) {
        return MachineFileResult{MachineFileResult::WriteFailed, why};
    };
    const std::string label = QFileInfo(path).completeBaseName().toStdString();
    std::vector<uint8_t> bytes;
    std::string reason;
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
        if (reason.empty()) {
            const QString date = QDateTime::currentDateTime().toString("yyyyMMddHHmmss");
            reason = writeJef(plan, machineChart, date.toStdString(), bytes);
        }
        break;
    case MachineFormat::Pes:
        reason = chartReason(ws, kBrotherChartFile, "Brother", machineChart);
        if (reason.empty())
            reason = writePes(plan, machineChart, label, bytes);
        break;
    }
    if (!reason.empty())
        return refused(reason);

    ThreadChart listChart;
    reason = loadListChart(ws, listChart);
    if (!reason.empty())
        return refused(reason);
    const std::string list =
        colourListText(colourBlocks(plan), listChart.threads.empty() ? nullptr : &listChart);

    // Both files are complete before either replaces what was there.
    const QString listPath = colourListPath(path);
    QSaveFile machine(path), colours(listPath);
    if (!writeWhole(machine, reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())))
        return failed("the stitch file " + path.toStdString() + " could not be written");
    if (!writeWhole(colours, list.data(), static_cast<qint64>(list.size())))
        return failed("the colour list " + listPath.toStdString() + " could not be written");
    if (!machine.commit())
        return failed("the stitch file " + path.toStdString() + " could not be written");
    if (!colours.commit())
        return failed("the colour list " + listPath.toStdString() + " could not be written");
    return {};
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

std::string machineReadMessage(const LineTable& messages, const MachineRead& read)
{
    std::string text = messages.slot(read.refusal);
    if (!read.where.empty())
        text += (text.empty() ? "" : " ") + read.where;
    return text;
}

} // namespace kelvara
