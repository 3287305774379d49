#include "app/commandline.h"
#include "app/designinput.h"
#include "app/outputfiles.h"

#include "model/workspace.h"
#include "project/worksheet.h"
#include "stitch/designinfo.h"
#include "stitch/stitchplan.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>

#include <cstdio>
#include <cstring>
#include <memory>

namespace kelvara {

namespace {

void printLine(std::FILE* stream, const std::string& text)
{
    std::fputs((text + "\n").c_str(), stream);
    std::fflush(stream);
}

std::string shown(const QString& path)
{
    return QDir::toNativeSeparators(path).toLocal8Bit().toStdString();
}

// A file name as a JSON string's content (UTF-8).
std::string jsonEscaped(const QString& text)
{
    std::string out;
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

bool namesOption(int argc, char* argv[], const char* option)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i] != nullptr && std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

// A failure names one file and why.
struct Failure {
    QString file;
    std::string reason;
};

// The output for the design: the one named, or FOLDER/NAME.FORMAT.
QString outputFor(const CommandLine& line, const QString& design)
{
    if (line.outputDir.isEmpty())
        return line.output;
    return QDir(line.outputDir)
        .filePath(QFileInfo(design).completeBaseName() + QLatin1Char('.') + line.format);
}

std::string machineWorksheet(const Workspace& ws, const QString& design, StitchPlan plan,
                             const QString& output)
{
    Worksheet sheet;
    if (std::string reason = prepareWorksheet(ws, QFileInfo(design).fileName(), std::move(plan), sheet);
        !reason.empty())
        return reason;
    return writeWorksheetPdf(sheet, output);
}

// Reads (and, for a project, stitches) one design; what it does with the plan is the action's.
std::optional<Failure> runDesign(Workspace& ws, const CommandLine& line, const QString& design,
                                 const QString& output, std::string& json)
{
    DesignInput input;
    if (std::string reason = readDesignInput(ws, design, input); !reason.empty())
        return Failure{design, reason};
    const StitchPlan& plan = input.plan;
    std::string reason;
    switch (line.action) {
    case CliAction::Info:
        json = designInfoJson(measureDesign(plan, input.objects, ws.settings.SPEED));
        return std::nullopt;
    case CliAction::Export:
        reason = writeMachineFile(ws, plan, output);
        break;
    case CliAction::Render:
        reason = writeRenderFile(plan, line.scale, output);
        break;
    case CliAction::Worksheet:
        reason = input.machineFile ? machineWorksheet(ws, design, std::move(input.plan), output)
                                   : writeWorksheetPdf(ws, QFileInfo(design).fileName(), output);
        break;
    case CliAction::None:
    case CliAction::Help:
        break;
    }
    if (!reason.empty())
        return Failure{output, reason};
    return std::nullopt;
}

} // namespace

int runCommandLine(int argc, char* argv[])
{
    // Only the worksheet's text needs fonts, and so a GUI application (on
    // the platform that needs no display); the rest starts faster without.
    // Qt's own notes (a missing runtime folder and the like) are not the
    // one line per failure scripts read; the command line's lines are its own.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    });
    std::unique_ptr<QCoreApplication> app;
    if (namesOption(argc, argv, "--worksheet")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const CommandLine line = parseCommandLine(QCoreApplication::arguments().mid(1));
    if (!line.usageError.empty()) {
        printLine(stderr, "kelvara: " + line.usageError + " (kelvara --help shows how)");
        return kExitUsage;
    }
    if (line.action == CliAction::Help) {
        std::fputs(commandLineHelp().c_str(), stdout);
        return kExitDone;
    }

    // The same program folder, libraries and configuration as the editor.
    auto ws = std::make_unique<Workspace>();
    ws->programFolder =
        (QCoreApplication::applicationDirPath() + QLatin1Char('/')).toLocal8Bit().toStdString();
    loadLibraries(ws->libraries, ws->lines, ws->tokens, ws->programFolder);
    readConfiguration(ws->settings, ws->lines, ws->tokens, ws->programFolder);
    loadMessages(ws->lines, ws->programFolder); // the reasons machine files are refused

    if (!line.outputDir.isEmpty() && !QDir().mkpath(line.outputDir)) {
        printLine(stderr, "kelvara: " + shown(line.outputDir) + ": the folder cannot be made");
        return kExitFailed;
    }

    const bool batch = line.designs.size() > 1 || !line.outputDir.isEmpty();
    const std::size_t total = line.designs.size();
    QSet<QString> outputs;
    bool failed = false;
    for (std::size_t i = 0; i < total; ++i) {
        const QString& design = line.designs[i];
        const QString output = line.action == CliAction::Info ? QString() : outputFor(line, design);
        if (batch)
            printLine(stderr, "kelvara: [" + std::to_string(i + 1) + "/" + std::to_string(total) + "] " +
                                  shown(design) + (output.isEmpty() ? "" : " -> " + shown(output)));
        std::optional<Failure> failure;
        const QString target = QFileInfo(output).absoluteFilePath();
        if (!output.isEmpty() && outputs.contains(target))
            failure = Failure{design, "its output " + shown(output) + " was written for an earlier design"};
        std::string json;
        if (!failure)
            failure = runDesign(*ws, line, design, output, json);
        if (failure) {
            printLine(stderr, "kelvara: " + shown(failure->file) + ": " + failure->reason);
            failed = true;
            continue;
        }
        if (!output.isEmpty())
            outputs.insert(target);
        if (!json.empty()) {
            if (total > 1)
                json.insert(1, "\"file\": \"" + jsonEscaped(design) + "\", ");
            printLine(stdout, json);
        }
    }
    return failed ? kExitFailed : kExitDone;
}

} // namespace kelvara
