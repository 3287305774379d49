#include "ui/printcommand.h"

#include "model/refresh.h"
#include "model/refusal.h"
#include "model/workspace.h"
#include "project/worksheet.h"
#include "shell/platform.h"
#include "shell/texts.h"
#include "ui/runaside.h"

#include <QDir>
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
    paintWorksheet(painter, sheet);
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
    // on a thread of their own and the window goes on repainting.
    const auto busy = [&](const std::function<void()>& job) {
        showCursorNow(ws, platform, kWaitCursor);
        if (ws.settings.BACKPLAN != 0)
            runAside(job);
        else
            job();
        showCursorNow(ws, platform, kArrowCursor);
    };
    Worksheet sheet;
    Outcome reason;
    busy([&] { reason = prepareWorksheet(ws, designName, sheet); });
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
    busy([&] { failure = printWorksheetOn(printer, sheet); });
    if (!failure.ok())
        refuse(failure);
}

} // namespace kelvara
