#include "ui/printcommand.h"

#include "model/refresh.h"
#include "model/refusal.h"
#include "model/workspace.h"
#include "project/worksheet.h"
#include "shell/platform.h"
#include "shell/texts.h"
#include "ui/printprogress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <functional>

namespace kelvara {

Outcome printWorksheetOn(QPrinter& printer, const Worksheet& sheet)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome(kSlotPrinterNotStarted);
    try {
        paintWorksheet(painter, sheet);
    } catch (...) {
        // A page stopped halfway is not sent; a printer that cannot drop it
        // (printing into a PDF file) leaves no half page behind.
        const bool aborted = printer.abort();
        painter.end();
        if (!aborted && !printer.outputFileName().isEmpty())
            QFile::remove(printer.outputFileName());
        throw;
    }
    if (!painter.end())
        return Outcome(kSlotPrinterRefusedPage);
    return {};
}

void printWorksheet(Workspace& ws, const Platform& platform, QWidget* owner)
{
    // The reason ends the sentence the message table starts.
    const auto refuse = [&](const Outcome& reason) {
        showRefusal(ws, platform, Outcome(kSlotPrintRefused, message(ws, reason)));
    };
    const QString designName =
        ws.rememberedFileName.isEmpty() ? QString() : QFileInfo(ws.rememberedFileName).fileName();
    // Both passes over a large plan take seconds: with BACKPLAN they stitch
    // on a thread of their own, the window goes on repainting, and a box
    // tells how far they are and can stop them.
    PrintProgress progress(ws.table.objectCount);
    const auto busy = [&](int32_t slot, const std::function<void()>& job) {
        showCursorNow(ws, platform, kWaitCursor);
        const bool finished =
            progress.run(owner, QString::fromStdString(message(ws, kSlotPrintDialogTitle)),
                         QString::fromStdString(message(ws, slot)), ws.settings.BACKPLAN != 0, job);
        showCursorNow(ws, platform, kArrowCursor);
        return finished;
    };
    Worksheet sheet;
    Outcome reason;
    if (!busy(kSlotPrintStitching, [&] {
            reason = prepareWorksheet(ws, designName, sheet,
                                      [&](PlanReplay plan) { return progress.watched(std::move(plan)); });
        }))
        return;
    if (!reason.ok()) {
        refuse(reason);
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kWorksheetMarginMm, kWorksheetMarginMm, kWorksheetMarginMm, kWorksheetMarginMm),
                    QPageLayout::Millimeter));
    // The dialog offers "print to file" under this name.
    const QString base =
        designName.isEmpty() ? QStringLiteral("design") : QFileInfo(designName).completeBaseName();
    printer.setDocName(base + QStringLiteral("-worksheet"));
    // Printing to a file offers the design's folder: the dialog names its
    // file in the current folder (when under home), so that is the design's
    // while it is open, and a printer stays the first choice.
    const QString workingFolder = QDir::currentPath();
    if (ws.settings.QUICKSAVE != 0 && !ws.rememberedFileName.isEmpty())
        QDir::setCurrent(QFileInfo(ws.rememberedFileName).absolutePath());
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(QString::fromStdString(message(ws, kSlotPrintDialogTitle)));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    QDir::setCurrent(workingFolder);
    if (!accepted)
        return;
    Outcome failure;
    if (!busy(kSlotPrintPainting, [&] { failure = printWorksheetOn(printer, sheet); }))
        return;
    if (!failure.ok())
        refuse(failure);
}

} // namespace kelvara
