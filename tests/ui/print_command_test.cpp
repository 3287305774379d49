// Print (Ctrl+P): the worksheet refused before any dialog, and the page on
// a printer as the print dialog leaves it set up.

#include "window_fixture.h"

#include "project/worksheet.h"
#include "stitch/sampledesign.h"
#include "support/pdftext.h"
#include "ui/printcommand.h"
#include "ui/printprogress.h"
#include "ui/runaside.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <thread>

namespace kelvara::testing {
namespace {

using PrintTest = WindowFixture;

TEST_F(PrintTest, EmptyDesignIsRefusedBeforeTheDialog)
{
    start();
    // A print dialog would wait for a user: close it and fail instead.
    bool dialogOpened = false;
    QTimer guard;
    guard.setInterval(200);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogOpened = true;
            modal->close();
        }
    });
    guard.start();
    holdCtrl();
    press('P');
    releaseCtrl();
    EXPECT_FALSE(dialogOpened);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(boxes.shown[0].question);
    EXPECT_EQ(boxes.shown[0].text, "The worksheet cannot be printed: the design holds no objects.");
}

TEST_F(PrintTest, PageStitchedAsideWhilePlanningMatchesOnePlannedUpFront)
{
    start("BACKPLAN=1\n");
    buildSampleDesign(ws);
    const std::string planned = folder.file("planned.pdf");
    {
        Worksheet sheet;
        ASSERT_TRUE(prepareWorksheet(ws, QString(), sheet).ok());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(planned));
        ASSERT_TRUE(printWorksheetOn(printer, sheet).ok());
    }
    // The design's plan is under way on the keeper's thread as Print starts.
    window->editor().plans.follow(ws);
    const std::string printed = folder.file("printed.pdf");
    QTimer dialogUser;
    dialogUser.setInterval(50);
    QObject::connect(&dialogUser, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(QString::fromStdString(printed));
            // done() rather than accept(), which would take the dialog's own choices.
            dialog->done(QDialog::Accepted);
        }
    });
    dialogUser.start();
    holdCtrl();
    press('P');
    releaseCtrl();
    EXPECT_TRUE(boxes.shown.empty());
    const QString text = pdfText(printed);
    EXPECT_TRUE(text.contains(QStringLiteral("Stitches")));
    EXPECT_EQ(text, pdfText(planned));
}

TEST(PrintOnPrinter, PdfPrinterGetsOnePageWithTheStitchCount)
{
    auto ws = makeWorkspace();
    buildSampleDesign(*ws);
    Worksheet sheet;
    ASSERT_TRUE(prepareWorksheet(*ws, QStringLiteral("badge.kvp"), sheet).ok());
    TempFolder folder;
    const std::string path = folder.file("printed.pdf");
    // What the dialog's "print to file" choice leaves in the printer.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    ASSERT_TRUE(printWorksheetOn(printer, sheet).ok());
    EXPECT_EQ(pdfPageCount(path), 1);
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Stitches %1").arg(sheet.stitches))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Scale 1:1")));
}

// A close the window system asks for while Print stitches aside would free
// the design the job reads: it waits for the job, then closes the window.
TEST_F(PrintTest, ACloseAskedForWhileAJobRunsAsideWaitsForIt)
{
    start();
    window->show();
    MainWindow* main = window.get();
    runAside([main] {
        QMetaObject::invokeMethod(
            main, [main] { main->close(); }, Qt::QueuedConnection);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    EXPECT_TRUE(window->isVisible());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (window->isVisible() && std::chrono::steady_clock::now() < end)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(window->isVisible());
}

// Print stopped from its box: the figures' pass stops before its next
// object, and a page stopped halfway is aborted, not sent.
TEST_F(PrintTest, AStoppedPassEndsAtTheNextObjectAndSendsNoPage)
{
    start();
    buildSampleDesign(ws);
    PrintProgress progress(ws.table.objectCount);
    const auto watch = [&](PlanReplay plan) { return progress.watched(std::move(plan)); };
    Worksheet sheet;
    ASSERT_TRUE(prepareWorksheet(ws, QString(), sheet, watch).ok());
    const int64_t stitches = sheet.stitches;
    EXPECT_GT(stitches, 0);

    progress.stop();
    Worksheet stopped;
    EXPECT_FALSE(progress.run(nullptr, QString(), QString(), true,
                              [&] { prepareWorksheet(ws, QString(), stopped, watch); }));
    EXPECT_EQ(stopped.stitches, 0);
    const std::string path = folder.file("stopped.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    EXPECT_THROW(printWorksheetOn(printer, sheet), PrintProgress::Stopped);
    EXPECT_FALSE(pdfText(path).contains(QStringLiteral("Stitches")));
}

} // namespace
} // namespace kelvara::testing
