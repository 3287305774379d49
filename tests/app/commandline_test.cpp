// The command line as users run it: the built program in its own process,
// with the build folder as its program folder.
#include "app/designfile.h"
#include "model/workspace.h"
#include "project/machinefile.h"
#include "project/saveproject.h"
#include "stitch/colourlist.h"
#include "stitch/dsttestreader.h"
#include "stitch/dstwriter.h"
#include "stitch/jefwriter.h"
#include "stitch/machinereader.h"
#include "stitch/peswriter.h"
#include "stitch/sampledesign.h"
#include "stitch/stitchplan.h"
#include "support/fullfolder.h"
#include "stitch/threadchart.h"
#include "support/pdftext.h"
#include "support/workspacefixture.h"

#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace kelvara;
namespace kt = kelvara::testing;
using kt::TempFolder;
namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QStringList errLines;
    QByteArray out;
};

// `fileSizeLimit` > 0: the program may make no larger file.
ProgramRun runProgram(const QStringList& arguments, long fileSizeLimit = 0)
{
    QProcess process;
    if (fileSizeLimit > 0)
        kt::limitChildFileSize(process, fileSizeLimit);
    // No display may be needed: a platform that cannot start would fail it.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none-such"));
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KELVARA_PROGRAM), arguments);
    ProgramRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.errLines =
        QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

// The workspace the program makes: the build folder's libraries and configuration.
std::unique_ptr<Workspace> programWorkspace()
{
    auto ws = std::make_unique<Workspace>();
    ws->programFolder = QFileInfo(QStringLiteral(KELVARA_PROGRAM)).absolutePath().toStdString() + "/";
    loadLibraries(ws->libraries, ws->lines, ws->tokens, ws->programFolder);
    readConfiguration(ws->settings, ws->lines, ws->tokens, ws->programFolder);
    ws->hoops = loadHoops(ws->programFolder);
    return ws;
}

std::string sampleProjectText()
{
    auto ws = std::make_unique<Workspace>();
    kt::buildSampleDesign(*ws);
    return projectFileText(*ws);
}

// The plan the program must have made of the project at `path`.
StitchPlan planOf(const std::string& path, int32_t* objects = nullptr)
{
    auto ws = programWorkspace();
    std::string warning;
    EXPECT_TRUE(readDesignFile(*ws, QString::fromStdString(path), warning).ok());
    StitchPlan plan;
    EXPECT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    if (objects)
        *objects = ws->table.objectCount;
    return plan;
}

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TEST(CommandLine, ExportWritesTheDesignsDstAndSaysNothing)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    const ProgramRun run = runProgram({"--export", q(design), q(folder.file("badge.dst"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.errLines.isEmpty()) << run.errLines.join('\n').toStdString();
    const std::string bytes = kt::readWholeFile(folder.file("badge.dst"));
    const std::vector<uint8_t> expected = writeDst(planOf(design), "badge");
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));
    EXPECT_TRUE(kt::readDst(expected).valid);
}

// A flipped fill's -45 was sewn at +45, and lines that could not be read
// vanished without a word.
TEST(CommandLine, NegativeAnglesAndOneWarningForUnreadableLines)
{
    TempFolder folder;
    auto ws = programWorkspace();
    kt::buildSampleDesign(*ws);
    for (int32_t row = 0; row < ws->table.objectCount; ++row)
        if (ws->table.rows[row].kind == KindRect)
            ws->records[ws->table.rows[row].params].rect.ANGLE = -45;
    StitchPlan sewn;
    ASSERT_EQ(generatePlan(*ws, sewn), PlanStatus::Ok);
    const std::string design =
        folder.write("leaf.kvp", projectFileText(*ws) + "CIRCEL X=5 Y=6\nRUN X1=abc\n");

    const ProgramRun run = runProgram({"--export", q(design), q(folder.file("leaf.dst"))});
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.errLines.size(), 1);
    EXPECT_TRUE(run.errLines[0].endsWith(" 2 (the first: CIRCEL X=5 Y=6)")) << run.errLines[0].toStdString();
    const std::vector<uint8_t> expected = writeDst(sewn, "leaf");
    EXPECT_EQ(kt::readWholeFile(folder.file("leaf.dst")), std::string(expected.begin(), expected.end()));
}

// Every machine format and its colour list, as the editor's export writes
// them; the worksheet as a one-page PDF, made without a display.
TEST(CommandLine, OtherFormatsTheirColourListsAndTheWorksheet)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    auto ws = programWorkspace();
    std::string warning;
    ASSERT_TRUE(readDesignFile(*ws, q(design), warning).ok());
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    fs::create_directories(folder.file("in"));
    fs::create_directories(folder.file("out"));
    for (const char* name : {"badge.exp", "badge.jef", "badge.pes"}) {
        const ProgramRun run =
            runProgram({"--export", q(design), q(folder.file(std::string("out/") + name))});
        ASSERT_EQ(run.exitCode, 0) << name << run.errLines.join('\n').toStdString();
        const QString expected = q(folder.file(std::string("in/") + name));
        ASSERT_TRUE(writeMachineFiles(*ws, plan, *machineFormatOf(expected), expected).ok());
        std::string written = kt::readWholeFile(folder.file(std::string("out/") + name));
        std::string made = kt::readWholeFile(folder.file(std::string("in/") + name));
        if (QByteArray(name).endsWith("jef") && written.size() > 22 && made.size() > 22) {
            // The header's date (bytes 8-21) is the second each was written.
            written.replace(8, 14, 14, '0');
            made.replace(8, 14, 14, '0');
        }
        EXPECT_EQ(written, made) << name;
        EXPECT_EQ(kt::readWholeFile(folder.file("out/badge.txt")),
                  kt::readWholeFile(folder.file("in/badge.txt")));
    }

    const std::string pdf = folder.file("sheets/badge.pdf");
    const ProgramRun run = runProgram({"--worksheet", q(design), "--to", q(folder.file("sheets"))});
    ASSERT_EQ(run.exitCode, 0) << run.errLines.join('\n').toStdString();
    EXPECT_EQ(kt::pdfPageCount(pdf), 1);
    EXPECT_TRUE(kt::pdfText(pdf).contains(QStringLiteral("Stitches %1").arg(plan.stitchCount())));
}

TEST(CommandLine, BatchGoesOnPastABadDesignAndWritesNothingForIt)
{
    TempFolder folder;
    const std::string text = sampleProjectText();
    const std::string a = folder.write("in/a.kvp", text);
    const std::string bad = folder.write("in/bad.kvp", std::string("\x00\xff\x1a garbage\nRUN X=", 16));
    const std::string c = folder.write("in/c.kvp", text);
    const std::string missing = folder.file("in/missing.kvp");
    const std::string out = folder.file("out");
    const ProgramRun run =
        runProgram({"--export", q(a), q(bad), q(missing), q(c), "--to", q(out), "--format", "dst"});
    EXPECT_EQ(run.exitCode, 1);
    // Four progress lines and one line per failure, each naming its design.
    ASSERT_EQ(run.errLines.size(), 6) << run.errLines.join('\n').toStdString();
    EXPECT_TRUE(run.errLines[0].startsWith("kelvara: [1/4] " + q(a) + " -> "));
    EXPECT_EQ(run.errLines[1].toStdString(), "kelvara: [2/4] " + bad + " -> " + out + "/bad.dst");
    EXPECT_EQ(run.errLines[2].toStdString(), "kelvara: " + bad + ": holds no objects");
    EXPECT_EQ(run.errLines[4].toStdString(), "kelvara: " + missing + ": does not exist");
    EXPECT_TRUE(run.errLines[5].startsWith("kelvara: [4/4] " + q(c)));
    EXPECT_TRUE(fs::exists(out + "/a.dst"));
    EXPECT_TRUE(fs::exists(out + "/c.dst"));
    EXPECT_TRUE(fs::exists(out + "/a.txt"));
    EXPECT_TRUE(fs::exists(out + "/c.txt"));
    EXPECT_FALSE(fs::exists(out + "/bad.dst"));
    EXPECT_FALSE(fs::exists(out + "/missing.dst"));
    // Nothing half-written is left beside the outputs and their colour lists.
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4);
}

TEST(CommandLine, FailuresLeaveOldFilesAndNameTheReason)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    const std::string old = folder.write("old.dst", "old bytes");

    // A file without a single object line: the old output stays as it was.
    const std::string empty = folder.write("empty.kvp", "; only a comment\r\n");
    ProgramRun run = runProgram({"--export", q(empty), q(old)});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines.size(), 1);
    EXPECT_EQ(run.errLines[0].toStdString(), "kelvara: " + empty + ": holds no objects");
    EXPECT_EQ(kt::readWholeFile(old), "old bytes");

    run = runProgram({"--export", q(design), q(folder.file("badge.xyz"))});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines.size(), 1);
    EXPECT_TRUE(
        run.errLines[0].startsWith(q("kelvara: " + folder.file("badge.xyz") + ": unknown machine format")));
    EXPECT_FALSE(fs::exists(folder.file("badge.xyz")));

    run = runProgram({"--export", q(design), q(folder.file("no/such/folder/badge.dst"))});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines.size(), 1);
    EXPECT_TRUE(run.errLines[0].endsWith("cannot be written: No such file or directory"));

    // A file named as a machine file is read as one and refused with the message table's reason.
    run = runProgram({"--export", q(folder.file("old.dst")), q(folder.file("x.dst"))});
    EXPECT_EQ(run.exitCode, 1);
    auto messages = std::make_unique<LineTable>();
    loadMessages(*messages, programWorkspace()->programFolder);
    EXPECT_TRUE(run.errLines.value(0).startsWith(
        q("kelvara: " + folder.file("old.dst") + ": " + messages->slot(kSlotMachineFileNotFormat))));
}

TEST(CommandLine, ArgumentsThatMakeNoCommandAreRefusedWithTheUsage)
{
    for (const QStringList& args :
         {QStringList{"--export", "a.kvp"}, QStringList{"--export", "--to", "x", "a.kvp"},
          QStringList{"--info"}, QStringList{"--render", "a.kvp", "b.png", "--scale", "0"},
          QStringList{"--info", "a.kvp", "--bogus"}, QStringList{"--export", "--info"}}) {
        const ProgramRun run = runProgram(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        ASSERT_EQ(run.errLines.size(), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(run.errLines[0].endsWith("(kelvara --help shows how)"));
    }
    // A mistyped option never starts the editor, also after Qt's own options.
    for (const QStringList& args : {QStringList{"--expot", "a.kvp", "x.dst"},
                                    QStringList{"-platform", "offscreen", "-x"}}) {
        const ProgramRun run = runProgram(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.errLines.value(0).contains("usage: kelvara [DESIGN.kvp]")) << args.join(' ').toStdString();
    }
    const ProgramRun help = runProgram({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word : {"--export", "--render", "--scale", "--info", "--to", "--format", "Exit status"})
        EXPECT_TRUE(help.out.contains(word)) << word;
}

TEST(CommandLine, InfoGivesThePlansNumbers)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    const ProgramRun run = runProgram({"--info", q(design)});
    ASSERT_EQ(run.exitCode, 0) << run.errLines.join('\n').toStdString();
    EXPECT_TRUE(run.errLines.isEmpty());
    QJsonParseError error;
    const QJsonObject info = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(info.keys().size(), 10);
    // The sample (80 x 81 mm) misses the round 90 mm hoop by its corners;
    // the shipped list's smallest that holds it:
    EXPECT_EQ(info["hoop"].toString(), QStringLiteral("Brother 100 x 100"));

    int32_t objects = 0;
    const StitchPlan plan = planOf(design, &objects);
    int64_t trims = 0;
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (const StitchRecord& r : plan.records) {
        trims += r.kind == StitchKind::Trim;
        if (r.kind == StitchKind::Stitch) {
            minX = std::min(minX, r.x), maxX = std::max(maxX, r.x);
            minY = std::min(minY, r.y), maxY = std::max(maxY, r.y);
        }
    }
    EXPECT_EQ(objects, 8);
    EXPECT_EQ(info["objects"].toInt(), objects);
    EXPECT_EQ(info["stitches"].toInteger(), plan.stitchCount());
    EXPECT_EQ(info["colour_changes"].toInteger(), plan.colourChangeCount());
    EXPECT_GE(info["colour_changes"].toInteger(), 3);
    EXPECT_EQ(info["trims"].toInteger(), trims);
    EXPECT_GE(info["jumps"].toInteger(), 1);
    EXPECT_DOUBLE_EQ(info["width_mm"].toDouble(), (maxX - minX) / 10.0);
    EXPECT_DOUBLE_EQ(info["height_mm"].toDouble(), (maxY - minY) / 10.0);
    // The shipped configuration leaves SPEED at 800 stitches a minute.
    EXPECT_NEAR(info["minutes"].toDouble(), plan.stitchCount() / 800.0, 0.05);
    EXPECT_GT(info["thread_m"].toDouble(), 0.0);
}

TEST(CommandLine, RenderDrawsAtTheScaleAsked)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    const std::string png = folder.file("badge.png");
    const ProgramRun run = runProgram({"--render", q(design), q(png), "--scale", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.errLines.join('\n').toStdString();
    const QImage image(q(png));
    ASSERT_FALSE(image.isNull());
    // 4 pixels per millimetre over the stitched size and a 2 mm margin each side.
    const QJsonObject info = QJsonDocument::fromJson(runProgram({"--info", q(design)}).out).object();
    EXPECT_NEAR(image.width(), (info["width_mm"].toDouble() + 4) * 4, 1.0);
    EXPECT_NEAR(image.height(), (info["height_mm"].toDouble() + 4) * 4, 1.0);

    // 40 pixels per millimetre of a 600 mm line would be too large a picture.
    auto ws = std::make_unique<Workspace>();
    kt::addObject(*ws, KindRun, kt::runParams(kt::straightEdge(0, 0, 6000, 0)));
    const std::string line = folder.write("line.kvp", projectFileText(*ws));
    const ProgramRun big = runProgram({"--render", q(line), q(folder.file("big.png")), "--scale", "40"});
    EXPECT_EQ(big.exitCode, 1);
    EXPECT_TRUE(big.errLines.value(0).contains("pixels on a side"));
    EXPECT_FALSE(fs::exists(folder.file("big.png")));
}

TEST(CommandLine, ExportIntoAHoopTheDesignDoesNotFitIsRefused)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    for (const char* hoop : {"50x50", "janome 50 x 50"}) {
        const ProgramRun run = runProgram({"--export", q(design), q(folder.file("badge.dst")), "--hoop", hoop});
        EXPECT_EQ(run.exitCode, 1) << hoop;
        ASSERT_EQ(run.errLines.size(), 1) << hoop;
        // The design's size and the hoop, named.
        EXPECT_TRUE(run.errLines[0].contains("80.0 x 80.8 mm")) << run.errLines[0].toStdString();
        EXPECT_TRUE(run.errLines[0].contains("50 x 50 mm")) << run.errLines[0].toStdString();
        EXPECT_FALSE(fs::exists(folder.file("badge.dst")));
        EXPECT_FALSE(fs::exists(folder.file("badge.txt")));
    }
    // A hoop the list does not have and a size nobody could read: no command.
    const ProgramRun unknown = runProgram({"--export", q(design), q(folder.file("badge.dst")), "--hoop", "Nope"});
    EXPECT_EQ(unknown.exitCode, 2);
    // A size that holds it writes the file, with nothing to say.
    const ProgramRun fits = runProgram({"--export", q(design), q(folder.file("badge.dst")), "--hoop", "81x81"});
    EXPECT_EQ(fits.exitCode, 0);
    EXPECT_TRUE(fits.errLines.isEmpty()) << fits.errLines.join('\n').toStdString();
    EXPECT_TRUE(fs::exists(folder.file("badge.dst")));
}

TEST(CommandLine, TheReadmeSampleIsTheSampleDesign)
{
    // CI exports docs/sample.kvp: it must stay the design the README pictures.
    const std::string path = std::string(KELVARA_TEST_DATA) + "/../../docs/sample.kvp";
    EXPECT_EQ(kt::readWholeFile(path), sampleProjectText());
}

TEST(CommandLine, UnderAFileSizeLimitEveryOutputFailsWithTheSystemsReasonAndKeepsTheOldFile)
{
    // A small design: today's outputs of it fit a write buffer, so only the
    // final flush meets the limit.
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n\r\n"
                                                         "CIRCLE X=90 Y=110 RX=20 RY=20 R=200 G=10 B=10\r\n\r\n");
    for (const char* action : {"--export", "--render", "--worksheet"}) {
        const std::string name = std::string("out.") + (action[2] == 'e' ? "dst" : action[2] == 'r' ? "png" : "pdf");
        const std::string old = folder.write(name, "old");
        const ProgramRun run = runProgram({action, q(design), q(old)}, 512);
        EXPECT_EQ(run.exitCode, 1) << action;
        ASSERT_EQ(run.errLines.size(), 1) << run.errLines.join('|').toStdString();
        EXPECT_EQ(run.errLines[0].toStdString(), "kelvara: " + old + ": cannot be written: File too large");
        EXPECT_EQ(kt::readWholeFile(old), "old");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 4);
}

TEST(CommandLine, AnOutputThatIsAnInputOrAProjectIsRefused)
{
    TempFolder folder;
    const std::string text = sampleProjectText();
    const std::string design = folder.write("badge.kvp", text);
    const std::string other = folder.write("other.kvp", "kept");
    for (const QStringList& args : {QStringList{"--render", q(design), q(design)},
                                    QStringList{"--worksheet", q(design), q(design)},
                                    QStringList{"--render", q(design), q(other)},
                                    QStringList{"--worksheet", q(design), q(folder.file("new.KVP"))}}) {
        const ProgramRun run = runProgram(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_EQ(run.errLines.size(), 1);
    }
    EXPECT_EQ(kt::readWholeFile(design), text);
    EXPECT_EQ(kt::readWholeFile(other), "kept");
    EXPECT_FALSE(fs::exists(folder.file("new.KVP")));
}

TEST(CommandLine, ADesignThatCannotBeHeldWholeIsRefusedUnlessPartialIsGiven)
{
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "RUN GROUP=1 LINE=1 X1=" + std::to_string(i % 500) + " Y1=0 X2=" + std::to_string(i % 500) +
                " Y2=40\r\n\r\n";
    const std::string big = folder.write("big.kvp", text);
    const std::string out = folder.file("big.dst");
    ProgramRun run = runProgram({"--export", q(big), q(out)});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines.size(), 1);
    EXPECT_TRUE(run.errLines[0].contains("904 objects more")) << run.errLines[0].toStdString();
    EXPECT_FALSE(fs::exists(out));
    run = runProgram({"--export", "--partial", q(big), q(out)});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(fs::exists(out));

    const std::string cut = folder.write("cut.kvp", text.substr(0, text.find("Y2=", 1000)));
    run = runProgram({"--info", q(cut)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errLines.value(0).contains("cut short"));
}

TEST(CommandLine, EveryFailureIsOneLineWhateverTheNames)
{
    TempFolder folder;
    const std::string design = folder.write("badge.kvp", sampleProjectText());
    ProgramRun run = runProgram({"--export", q(design), ""});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errLines.value(0).toStdString(),
              "kelvara: the output file name is empty (kelvara --help shows how)");
    run = runProgram({"--export", q(design), q(folder.file("two\nlines/x.dst"))});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines.size(), 1);
    EXPECT_TRUE(run.errLines[0].contains("two\\x0alines")) << run.errLines[0].toStdString();
    EXPECT_EQ(run.errLines[0].count(q(folder.file(""))), 1) << "the path is named once";
}

namespace {

ThreadChart programChart(const char* file, const char* brand)
{
    ThreadChart chart;
    EXPECT_TRUE(loadThreadChart(programWorkspace()->programFolder + file, brand, chart).ok());
    return chart;
}

std::string_view bytesOf(const std::string& s)
{
    return s;
}

// The needle-down records, trims and changes, from the first stitch.
std::vector<StitchRecord> sewn(const StitchPlan& plan)
{
    std::vector<StitchRecord> out;
    for (const StitchRecord& r : plan.records)
        if (r.kind != StitchKind::Jump)
            out.push_back({r.x - plan.records.front().x, r.y - plan.records.front().y, 0, r.kind});
    return out;
}

} // namespace

// A PES becomes a DST, and a folder of JEF files PES files, with every needle
// to the unit, every trim and thread change, and the nearest threads.
TEST(CommandLine, MachineFilesConvertKeepingTheirNeedlesAndThreads)
{
    TempFolder folder;
    const StitchPlan plan = planOf(folder.write("badge.kvp", sampleProjectText()));
    const ThreadChart brother = programChart(kBrotherChartFile, "Brother");
    const ThreadChart janome = programChart(kJanomeChartFile, "Janome");
    std::vector<uint8_t> pes, jef;
    ASSERT_TRUE(writePes(plan, brother, "badge", pes).ok());
    ASSERT_TRUE(writeJef(plan, janome, "20260101120000", jef).ok());
    const std::string in = folder.write("in/badge.pes", std::string(pes.begin(), pes.end()));
    ProgramRun run = runProgram({"--export", q(in), q(folder.file("badge.dst"))});
    ASSERT_EQ(run.exitCode, 0) << run.errLines.join('\n').toStdString();
    const MachineRead from = readPes(bytesOf(kt::readWholeFile(in)), brother);
    const MachineRead to = readDst(bytesOf(kt::readWholeFile(folder.file("badge.dst"))));
    ASSERT_TRUE(from.read && to.read);
    EXPECT_EQ(sewn(from.plan).size(), sewn(to.plan).size());
    for (std::size_t i = 0; i < sewn(from.plan).size(); ++i) {
        const StitchRecord a = sewn(from.plan)[i], b = sewn(to.plan)[i];
        ASSERT_TRUE(a.x == b.x && a.y == b.y && a.kind == b.kind) << i;
    }

    const std::string a = folder.write("jef/a.jef", std::string(jef.begin(), jef.end()));
    const std::string cut = folder.write("jef/cut.jef", std::string(jef.begin(), jef.begin() + 300));
    run = runProgram({"--export", q(a), q(cut), "--to", q(folder.file("pes")), "--format", "pes"});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errLines.size(), 3);
    auto messages = std::make_unique<LineTable>();
    loadMessages(*messages, programWorkspace()->programFolder);
    EXPECT_TRUE(
        run.errLines[2].startsWith(q("kelvara: " + cut + ": " + messages->slot(kSlotMachineFileTruncated))));
    const MachineRead jefRead = readJef(bytesOf(kt::readWholeFile(a)), janome);
    const MachineRead pesRead = readPes(bytesOf(kt::readWholeFile(folder.file("pes/a.pes"))), brother);
    ASSERT_TRUE(jefRead.read && pesRead.read);
    ASSERT_EQ(jefRead.plan.records.size(), pesRead.plan.records.size());
    for (std::size_t i = 0; i < jefRead.plan.records.size(); ++i) {
        const int nearest = nearestThread(brother, jefRead.plan.records[i].colour);
        ASSERT_EQ(pesRead.plan.records[i].colour, brother.threads[static_cast<std::size_t>(nearest)].colour)
            << i;
    }

    // --info counts a machine file's colour blocks as its objects.
    run = runProgram({"--info", q(in)});
    const QJsonObject info = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(info.value("objects").toInt(), static_cast<int>(colourBlocks(plan).size()));
    EXPECT_EQ(info.value("stitches").toInteger(), plan.stitchCount());
}
