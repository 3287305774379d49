// Print (Ctrl+P): the worksheet refused before any dialog, and the page on
// a printer as the print dialog leaves it set up.

#include "window_fixture.h"

#include "project/worksheet.h"
#include "stitch/sampledesign.h"
#include "support/pdftext.h"
#include "ui/printcommand.h"

#include <QApplication>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

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

} // namespace
} // namespace kelvara::testing
