#include "project/worksheet.h"
#include "stitch/colourlist.h"
#include "stitch/sampledesign.h"
#include "support/pdftext.h"
#include "support/workspacefixture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kelvara {
namespace {

using namespace testing;

// `count` short runs side by side across `width` units, each in its own thread.
void buildStripes(Workspace& ws, int count, double width)
{
    for (int i = 0; i < count; ++i) {
        const double x = width * i / std::max(1, count - 1);
        ObjectParams p = runParams(straightEdge(x, 0, x, 300));
        p.run.colour = (i * 40) % 256 | ((i * 90) % 256) << 8 | ((255 - i * 3) % 256) << 16;
        addObject(ws, KindRun, p);
    }
}

TEST(Worksheet, SampleDesignPdfIsOnePageWithItsFacts)
{
    auto ws = makeWorkspace();
    buildSampleDesign(*ws);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    TempFolder folder;
    // KELVARA_WORKSHEET_PDF names a file to keep the page in (the README's picture).
    const char* keep = std::getenv("KELVARA_WORKSHEET_PDF");
    const std::string path = keep && *keep ? keep : folder.file("badge.pdf");
    ASSERT_TRUE(writeWorksheetPdf(*ws, QStringLiteral("badge.kvp"), QString::fromStdString(path)).ok());

    ASSERT_EQ(pdfPageCount(path), 1) << "pdfinfo from poppler-utils is needed (tools/setup.sh)";
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Stitches %1").arg(plan.stitchCount()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Colour changes %1").arg(plan.colourChangeCount())));
    EXPECT_TRUE(text.contains(QStringLiteral("badge.kvp")));
    EXPECT_TRUE(text.contains(QDate::currentDate().toString(Qt::ISODate)));
    EXPECT_TRUE(text.contains(QStringLiteral("Scale 1:1")));
    EXPECT_TRUE(text.contains(QStringLiteral("10 mm")));
    // The first thread is the disc's dark blue, stored blue-green-red.
    EXPECT_TRUE(text.contains(QStringLiteral("1 #103080")));
    EXPECT_TRUE(text.contains(QStringLiteral("about %1 min").arg(worksheetMinutes(plan.stitchCount(), 800))));
}

TEST(Worksheet, FactsFollowThePlanThreadByThread)
{
    auto ws = makeWorkspace();
    buildSampleDesign(*ws);
    ws->programFolder = std::string(KELVARA_SOURCE_DATA) + "/";
    ws->settings.CHART = kChartJanome;
    ws->settings.SPEED = 600;
    Worksheet sheet;
    ASSERT_TRUE(prepareWorksheet(*ws, QStringLiteral("badge"), sheet).ok());
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    EXPECT_EQ(sheet.stitches, plan.stitchCount());
    ASSERT_EQ(static_cast<int64_t>(sheet.threads.size()), plan.colourChangeCount() + 1);
    int64_t sum = 0;
    for (const WorksheetThread& t : sheet.threads)
        sum += t.stitches;
    EXPECT_EQ(sum, sheet.stitches);
    // The sample is sewn blue, amber, red, green, then the white outline.
    const std::vector<int32_t> expected{0x803010, 0x00C8FF, 0x2020D0, 0x30A030, kWhiteThread};
    ASSERT_EQ(sheet.threads.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sheet.threads[i].colour, expected[i]) << i;
        EXPECT_TRUE(sheet.threads[i].name.startsWith(QStringLiteral("Janome "))) << i;
    }
    EXPECT_EQ(sheet.stitchesPerMinute, 600);
    EXPECT_EQ(worksheetMinutes(0, 600), 0);
    EXPECT_EQ(worksheetMinutes(1, 600), 1);
    EXPECT_EQ(worksheetMinutes(600, 600), 1);
    EXPECT_EQ(worksheetMinutes(601, 600), 2);
}

// Ten pixels a millimetre: a 50 mm stitch line must span 500 pixels.
TEST(Worksheet, DesignIsDrawnAtActualSize)
{
    auto ws = makeWorkspace();
    ObjectParams line = runParams(straightEdge(0, 0, 500, 0), 50);
    line.run.colour = 0x0000FF;
    addObject(*ws, KindRun, line);
    Worksheet sheet;
    ASSERT_TRUE(prepareWorksheet(*ws, QStringLiteral("line"), sheet).ok());

    QImage page(1860, 2730, QImage::Format_RGB32); // A4 inside 12 mm margins
    page.setDotsPerMeterX(10000);
    page.setDotsPerMeterY(10000);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintWorksheet(painter, sheet);
    painter.end();

    int left = page.width(), right = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            // Thread red, not the swatch: the swatch is a box with a grey border below the design.
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80 && y < 2000) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    ASSERT_GE(right, 0);
    // The thread is under half a millimetre wide, rounded at its ends.
    EXPECT_NEAR(right - left, 500, 6);
}

TEST(Worksheet, LargeDesignWithManyThreadsStaysOnOnePageAndSaysItsScale)
{
    auto ws = makeWorkspace();
    buildStripes(*ws, 90, 4000); // 400 mm wide, 90 threads
    TempFolder folder;
    const std::string path = folder.file("stripes.pdf");
    ASSERT_TRUE(writeWorksheetPdf(*ws, QStringLiteral("stripes.kvp"), QString::fromStdString(path)).ok());
    EXPECT_EQ(pdfPageCount(path), 1);
    const QString text = pdfText(path);
    EXPECT_FALSE(text.contains(QStringLiteral("Scale 1:1 "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("reduced to")));
    EXPECT_TRUE(text.contains(QStringLiteral("more threads, 90 in all")));
    EXPECT_TRUE(text.contains(QStringLiteral("Colour changes 89")));
}

TEST(Worksheet, RefusalsWriteNothingAndKeepTheOldFile)
{
    TempFolder folder;
    const std::string old = folder.write("old.pdf", "the previous page");
    auto empty = makeWorkspace();
    EXPECT_EQ(message(*empty, writeWorksheetPdf(*empty, QStringLiteral("e"), QString::fromStdString(old))),
              "the design holds no objects");
    EXPECT_EQ(readWholeFile(old), "the previous page");

    auto ws = makeWorkspace();
    buildSampleDesign(*ws);
    const std::string missing = folder.file("no/such/folder/page.pdf");
    const std::string reason =
        message(*ws, writeWorksheetPdf(*ws, QStringLiteral("b"), QString::fromStdString(missing)));
    EXPECT_EQ(reason.rfind("cannot be written", 0), 0u) << reason;
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}


// An appliqué's two stops in one thread, then a real change: the rows after
// the stops say to lay and to trim the fabric, the colour list likewise.
TEST(Worksheet, AppliqueStopsSayWhatToDoWithTheFabric)
{
    auto ws = makeWorkspace();
    ws->programFolder = std::string(KELVARA_SOURCE_DATA) + "/";
    StitchPlan plan;
    for (const auto& [kind, colour] : {std::pair{StitchKind::Stitch, 0xFF0000}, {StitchKind::ColourChange, 0xFF0000},
                                       {StitchKind::Stitch, 0xFF0000}, {StitchKind::ColourChange, 0xFF0000},
                                       {StitchKind::Stitch, 0xFF0000}, {StitchKind::ColourChange, 0x00FF00},
                                       {StitchKind::Stitch, 0x00FF00}, {StitchKind::End, 0x00FF00}})
        plan.records.push_back({10, 10, colour, kind});
    const std::string list = colourListText(colourBlocks(plan), nullptr);
    Worksheet sheet;
    ASSERT_TRUE(prepareWorksheet(*ws, QStringLiteral("patch"), std::move(plan), sheet).ok());
    ASSERT_EQ(sheet.threads.size(), 4u);
    EXPECT_TRUE(sheet.threads[0].note.isEmpty());
    EXPECT_EQ(sheet.threads[1].note.toStdString(), stopNote(0));
    EXPECT_EQ(sheet.threads[2].note.toStdString(), stopNote(1));
    EXPECT_TRUE(sheet.threads[3].note.isEmpty());
    EXPECT_NE(std::string(stopNote(0)), stopNote(1));
    EXPECT_EQ(list, "1\t#0000FF\t-\t1\n2\t#0000FF\t-\t1\t" + std::string(stopNote(0)) + "\n3\t#0000FF\t-\t1\t" +
                        stopNote(1) + "\n4\t#00FF00\t-\t1\n");
}

} // namespace
} // namespace kelvara
