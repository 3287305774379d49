// The editor's side of a 4,096-object design of about five million
// stitches (bench_app_hugedesign has the command line's): how long the
// window is held when the design opens, planned in the foreground as before
// and on the planning thread (BACKPLAN), how long the plan itself takes
// there, how long an edit made while it plans holds the window, and a zoom
// and a scroll step of the thread view once the plan is in.
//
// On two cores shared with other builds:
//     open, planned in the foreground (before): window held 9,489 ms
//     open, planned on its thread:              window held 33 ms
//     an edit while it plans:                   window held 30 ms
//     the plan, edit included, on its thread:   9,716 ms
//     a zoom step of the thread view:           44 ms
//     a scroll step of the thread view:         8 ms

#include "model/refresh.h"
#include "model/workspace.h"
#include "stitch/sampledesign.h"
#include "support/workspacefixture.h"
#include "ui/canvasview.h"
#include "ui/plankeeper.h"
#include "ui/stitchlayer.h"

#include <QApplication>
#include <QEventLoop>
#include <QPainter>

#include <chrono>
#include <cstdio>

namespace {

using namespace kelvara;
using Clock = std::chrono::steady_clock;

constexpr double kScale = 3.6; // as bench_app_hugedesign
constexpr int kWidth = 1920;
constexpr int kHeight = 1012;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void waitForPlan(PlanKeeper& keeper, const Workspace& ws)
{
    while (keeper.planning()) {
        QEventLoop loop;
        QObject::connect(&keeper, &PlanKeeper::planned, &loop, &QEventLoop::quit);
        loop.exec();
        keeper.follow(ws);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto ws = testing::makeWorkspace();
    testing::buildGridDesign(*ws, ObjectTable::kRows, kScale);

    double foreground = 0;
    {
        PlanKeeper keeper;
        const auto start = Clock::now();
        keeper.follow(*ws);
        foreground = millisecondsSince(start);
        std::printf("%lld stitches\n", static_cast<long long>(keeper.shown().stitchCount()));
    }
    std::printf("open, planned in the foreground: window held %8.0f ms\n", foreground);

    PlanKeeper keeper;
    keeper.startBackground();
    auto start = Clock::now();
    keeper.follow(*ws);
    std::printf("open, planned on its thread:     window held %8.1f ms\n", millisecondsSince(start));

    // An edit while the plan is under way: the first object moves.
    ObjectParams& first = ws->records[ws->table.rows[std::size_t(ws->table.firstObject)].params];
    first.run.line.x2 += 30;
    markDesignChanged(*ws);
    const auto edit = Clock::now();
    keeper.follow(*ws);
    std::printf("an edit while it plans:          window held %8.1f ms\n", millisecondsSince(edit));
    waitForPlan(keeper, *ws);
    std::printf("the plan, edit included, on its thread:      %8.0f ms\n", millisecondsSince(start));

    ws->view.canvasWidth = kWidth;
    ws->view.canvasHeight = kHeight;
    ws->view.zoom = 1;
    StitchLayer layer;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    PictureAnchor anchor;
    const auto render = [&] {
        const auto began = Clock::now();
        renderCanvas(image, *ws, anchor,
                     [&](QPainter& painter) { layer.paint(painter, keeper.follow(*ws), ws->view, true); },
                     0xFFE8E2D4u);
        return millisecondsSince(began);
    };
    render();
    ws->view.zoom = 2;
    std::printf("a zoom step of the thread view:              %8.1f ms\n", render());
    ws->view.scrollY += 40;
    std::printf("a scroll step of the thread view:            %8.1f ms\n", render());
    return 0;
}
