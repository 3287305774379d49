// Start-up from process start to the first painted canvas frame, beside
// the start-up of an empty Qt window. The program runs itself as the child
// that is timed: "--child editor" or "--child empty".

#include "model/workspace.h"
#include "shell/libraries.h"
#include "ui/canvaswidget.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// Ends the child at its first painted frame.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        return false;
    }
};

int runChild(int argc, char** argv, bool editor)
{
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    QTimer::singleShot(10000, [] { QCoreApplication::exit(2); });
    if (!editor) {
        QWidget empty;
        empty.installEventFilter(&firstPaint);
        empty.showMaximized();
        return QApplication::exec();
    }
    auto ws = std::make_unique<kelvara::Workspace>();
    // The data files lie beside the editor, one folder up from here.
    const QByteArray folder = (QCoreApplication::applicationDirPath() + "/../").toLocal8Bit();
    ws->programFolder.assign(folder.constData(), std::size_t(folder.size()));
    kelvara::loadLibraries(ws->libraries, ws->lines, ws->tokens, ws->programFolder);
    kelvara::MainWindow window(*ws);
    if (const int failure = window.create(); failure != 0)
        return failure;
    window.canvasWindow()->surface()->installEventFilter(&firstPaint);
    window.showMaximized();
    return QApplication::exec();
}

QString self;

double childSeconds(const char* mode)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    child.start(self, {"--child", mode});
    child.waitForFinished(20000);
    const double seconds = double(timer.nsecsElapsed()) * 1e-9;
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return -1;
    return seconds;
}

void BM_StartUp(benchmark::State& state)
{
    double editorTotal = 0;
    double emptyTotal = 0;
    int rounds = 0;
    for (auto _ : state) {
        const double editor = childSeconds("editor");
        const double empty = childSeconds("empty");
        if (editor < 0 || empty < 0) {
            state.SkipWithError("child did not reach its first frame");
            return;
        }
        state.SetIterationTime(editor);
        editorTotal += editor;
        emptyTotal += empty;
        ++rounds;
    }
    state.counters["empty_window_ms"] = emptyTotal / rounds * 1e3;
    state.counters["ratio"] = editorTotal / emptyTotal;
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, std::strcmp(argv[2], "editor") == 0);
    QCoreApplication app(argc, argv);
    self = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
