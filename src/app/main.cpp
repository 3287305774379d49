#include "app/commandline.h"
#include "model/workspace.h"
#include "project/recoveryfile.h"
#include "shell/filesizesignal.h"
#include "shell/libraries.h"
#include "ui/mainwindow.h"
#include "ui/startsession.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    kelvara::ignoreFileSizeSignal();
    // The command line needs no display, so it runs before any GUI exists.
    if (kelvara::isCommandLine(argc, argv))
        return kelvara::runCommandLine(argc, argv);
    QApplication app(argc, argv);
    auto ws = std::make_unique<kelvara::Workspace>();
    // Every file the editor finds by itself lies beside the program.
    const QByteArray folder = (QCoreApplication::applicationDirPath() + QLatin1Char('/')).toLocal8Bit();
    ws->programFolder.assign(folder.constData(), std::size_t(folder.size()));
    kelvara::loadLibraries(ws->libraries, ws->lines, ws->tokens, ws->programFolder);
    ws->hoops = kelvara::loadHoops(ws->programFolder);

    // Outlives the window, which keeps the design in it until it closes.
    kelvara::RecoveryFile recovery(kelvara::recoveryFolder());
    kelvara::MainWindow window(*ws);
    if (const int failure = window.create(); failure != 0)
        return failure;
    window.showMaximized();
    // A hoop line that cannot be used is named, and the other hoops are kept.
    if (!ws->hoops.problems.empty()) {
        std::string text = std::string(kelvara::kHoopFileName) + ":";
        for (const kelvara::Outcome& problem : ws->hoops.problems)
            text += "\n" + kelvara::message(*ws, problem);
        window.editor().platform.boxes->showError(kelvara::message(*ws, kelvara::kSlotErrorCaption), text);
    }
    kelvara::startSession(window, &recovery, QCoreApplication::arguments());
    return QApplication::exec();
}
