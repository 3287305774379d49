#include "app/commandline.h"
#include "app/designinput.h"
#include "app/outputfiles.h"

#include "model/workspace.h"
#include "project/openproject.h"
#include "project/worksheet.h"
#include "project/exportcommand.h"
#include "stitch/designinfo.h"
#include "stitch/lettering.h"
#include "stitch/planahead.h"
#include "stitch/hoopfit.h"
#include "stitch/stitchrender.h"
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

// A name as printed: control characters escaped, so a file name holding a
// line break cannot split the one line a failure gets.
std::string shown(const QString& path)
{
    std::string out;
    for (const char c : QDir::toNativeSeparators(path).toLocal8Bit()) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

// An output that would replace a project file, or one of the designs given,
// is refused: --render a.kvp a.kvp must not turn the design into a picture.
Outcome outputRefusal(const CommandLine& line, const QString& output)
{
    if (isProjectPath(output))
        return Outcome(kSlotOutputIsProject);
    const QFileInfo target(output);
    for (const QString& design : line.designs) {
        const QFileInfo input(design);
        const bool same = target.exists() && input.exists()
                              ? target.canonicalFilePath() == input.canonicalFilePath()
                              : target.absoluteFilePath() == input.absoluteFilePath();
        if (same)
            return Outcome(kSlotOutputIsInput);
    }
    return {};
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
    Outcome reason;
};

// The output for the design: the one named, or FOLDER/NAME.FORMAT.
QString outputFor(const CommandLine& line, const QString& design)
{
    if (line.outputDir.isEmpty())
        return line.output;
    return QDir(line.outputDir)
        .filePath(QFileInfo(design).completeBaseName() + QLatin1Char('.') + line.format);
}

// The worksheet of the plan as the design input hands it over.
Outcome worksheetOf(const Workspace& ws, const QString& design, const PlanReplay& plan, const QString& output)
{
    Worksheet sheet;
    if (Outcome reason = prepareWorksheet(ws, QFileInfo(design).fileName(), plan, sheet); !reason.ok())
        return reason;
    return writeWorksheetPdf(sheet, output);
}


// A design named on the line holds lettering, which needs the font system.
bool namesLettering(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        // Projects are text; the kind word opens a line.
        const QByteArray head = file.read(kMaxProjectFileBytes);
        if (head.startsWith("LETTERS ") || head.contains("\nLETTERS "))
            return true;
    }
    return false;
}

// What --info says of each lettering whose font was replaced.
std::vector<std::string> letteringFontNotes(const Workspace& ws)
{
    std::vector<std::string> notes;
    for (const ObjectEntry& entry : ws.table.rows) {
        if (entry.kind != KindLetters || !ws.records.isLive(entry.params))
            continue;
        std::string note = message(ws, stitch::replacedFontNote(ws.records[entry.params].letters));
        if (!note.empty() && std::find(notes.begin(), notes.end(), note) == notes.end())
            notes.push_back(std::move(note));
    }
    return notes;
}

// The hoop --hoop names: a listed hoop, or a rectangle of the size given.
std::optional<Hoop> givenHoop(const Workspace& ws, const QString& name)
{
    const std::string text = name.trimmed().toStdString();
    if (const Hoop* listed = findHoop(ws.hoops, text))
        return *listed;
    // WxH in mm that no listed hoop has.
    const qsizetype x = name.indexOf(QLatin1Char('x'), 0, Qt::CaseInsensitive);
    if (x <= 0)
        return std::nullopt;
    const std::string line = name.left(x).trimmed().toStdString() + " " +
                             name.mid(x + 1).trimmed().toStdString() + " rect " + text;
    HoopList one = readHoops(line);
    if (one.hoops.size() != 1)
        return std::nullopt;
    return one.hoops.front();
}

// Reads (and, for a project, stitches) one design; what it does with the plan is the action's.
std::optional<Failure> runDesign(Workspace& ws, const CommandLine& line, const std::optional<Hoop>& hoop,
                                 const QString& design, const QString& output, std::string& json)
{
    DesignInput input;
    std::string warning;
    // A picture is drawn object by object, as the plan is stitched: a huge
    // design is never held whole.
    const bool streamed = line.action == CliAction::Render || line.action == CliAction::Worksheet ||
                          line.action == CliAction::Info;
    if (Outcome reason = readDesignInput(ws, design, input, warning, line.partial, streamed); !reason.ok())
        return Failure{design, reason};
    // The rest of the design is still done; the user hears what was left out.
    if (!warning.empty())
        printLine(stderr, "kelvara: " + shown(design) + ": " + warning);
    const StitchPlan& plan = input.plan;
    // The first pass over a streamed plan finds whether it can be stitched;
    // a refused plan is the design's failure, as when it is made whole.
    // The next objects are stitched while the last ones are drawn.
    PlanStatus planned = PlanStatus::Ok;
    const PlanReplay watched =
        stitchedAhead([&](const RecordSink& sink) { return planned = input.replay(sink); });
    Outcome reason;
    switch (line.action) {
    case CliAction::Info: {
        DesignMeasure measure;
        watched([&](std::span<const StitchRecord> records) { measure.add(records); });
        if (planned != PlanStatus::Ok)
            break;
        json = designInfoJson(measure.finish(input.objects, ws.settings.SPEED, &ws.hoops, chosenHoop(ws)));
        const std::vector<std::string> notes = letteringFontNotes(ws);
        for (const std::string& note : notes)
            printLine(stderr, "kelvara: " + shown(design) + ": " + note);
        if (!notes.empty() && json.size() > 1 && json.back() == '}') {
            std::string list = ", \"fontsReplaced\": [";
            for (std::size_t k = 0; k < notes.size(); ++k)
                list += (k ? ", \"" : "\"") + jsonEscaped(QString::fromStdString(notes[k])) + "\"";
            json.insert(json.size() - 1, list + "]");
        }
        return std::nullopt;
    }
    case CliAction::Export: {
        const Hoop* into = hoop ? &*hoop : chosenHoop(ws);
        const std::vector<StitchRecord>* runs[] = {&plan.records};
        if (into != nullptr && !fitsHoop(*into, runs)) {
            // Given on the command line, the hoop is a demand; configured, a reminder.
            if (hoop)
                return Failure{design, hoopMisfit(*into, plan)};
            printLine(stderr,
                      "kelvara: " + shown(design) + ": " +
                          message(ws, Outcome(kSlotCommandWarning, message(ws, hoopMisfit(*into, plan)))));
        }
        reason = writeMachineFile(ws, plan, output);
        break;
    }
    case CliAction::Render: {
        StitchLook look;
        look.thread = !line.flat;
        look.fabric = ws.settings.FABRIC;
        reason = writeRenderFile(watched, line.scale, output, look);
        break;
    }
    case CliAction::Worksheet:
        reason = worksheetOf(ws, design, watched, output);
        break;
    case CliAction::None:
    case CliAction::Help:
        break;
    }
    if (planned != PlanStatus::Ok)
        return Failure{design, planRefusal(planned)};
    if (!reason.ok())
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
    if (namesOption(argc, argv, "--worksheet") || namesLettering(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const CommandLine line = parseCommandLine(QCoreApplication::arguments().mid(1));
    // The same program folder, libraries and configuration as the editor.
    auto ws = std::make_unique<Workspace>();
    ws->programFolder =
        (QCoreApplication::applicationDirPath() + QLatin1Char('/')).toLocal8Bit().toStdString();
    if (!line.usageError.ok()) {
        loadMessages(ws->lines, ws->programFolder);
        printLine(stderr, "kelvara: " + message(*ws, Outcome(kSlotUsageHint, message(*ws, line.usageError))));
        return kExitUsage;
    }
    if (line.action == CliAction::Help) {
        std::fputs(commandLineHelp().c_str(), stdout);
        return kExitDone;
    }

    loadLibraries(ws->libraries, ws->lines, ws->tokens, ws->programFolder);
    readConfiguration(ws->settings, ws->lines, ws->tokens, ws->programFolder);
    ws->hoops = loadHoops(ws->programFolder);
    // Said in the message file's words, read only after the other files.
    loadMessages(ws->lines, ws->programFolder);
    for (const Outcome& problem : ws->hoops.problems)
        printLine(stderr, std::string("kelvara: ") + kHoopFileName + ": " + message(*ws, problem));
    std::optional<Hoop> hoop;
    if (!line.hoop.isEmpty()) {
        hoop = givenHoop(*ws, line.hoop);
        if (!hoop) {
            printLine(stderr, "kelvara: " + message(*ws, Outcome(kSlotUnknownHoop, line.hoop.toStdString())));
            return kExitUsage;
        }
    }
    // Warnings say what the editor's boxes say.
    if (const std::string clashes = libraryClashes(ws->libraries, ws->lines); !clashes.empty())
        printLine(stderr, "kelvara: " + message(*ws, kSlotLibraryClash) + ' ' + clashes);

    if (!line.outputDir.isEmpty() && !QDir().mkpath(line.outputDir)) {
        printLine(stderr, "kelvara: " + message(*ws, Outcome(kSlotFolderNotMade, shown(line.outputDir))));
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
            failure = Failure{design, Outcome(kSlotOutputTwice, shown(output))};
        if (!failure && !output.isEmpty())
            if (Outcome refusal = outputRefusal(line, output); !refusal.ok())
                failure = Failure{output, refusal};
        std::string json;
        if (!failure)
            failure = runDesign(*ws, line, hoop, design, output, json);
        if (failure) {
            printLine(stderr, "kelvara: " + shown(failure->file) + ": " + message(*ws, failure->reason));
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
