// The plan made on its own thread: whatever the timing, the window ends
// with the plan of the design as it is, an edit made while a plan is under
// way is planned again, and a command that needs the stitches gets them.
#include "model/refresh.h"
#include "stitch/sampledesign.h"
#include "support/workspacefixture.h"
#include "ui/plankeeper.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

namespace kelvara {
namespace {

// The stitch count the whole plan of the design has.
int64_t wholeCount(const Workspace& ws)
{
    StitchPlan plan;
    generatePlan(ws, plan);
    return plan.stitchCount();
}

// Turns the event loop until the keeper's plan is the design's.
void settle(PlanKeeper& keeper, const Workspace& ws)
{
    for (int round = 0; round < 600 && (keeper.follow(ws), keeper.planning()); ++round) {
        QEventLoop loop;
        QObject::connect(&keeper, &PlanKeeper::planned, &loop, &QEventLoop::quit);
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

TEST(PlanKeeper, EditsWhilePlanningEndInThePlanOfTheDesignAsItIs)
{
    auto ws = testing::makeWorkspace();
    testing::buildGridDesign(*ws, 600, 2);
    PlanKeeper keeper;
    keeper.startBackground();
    keeper.follow(*ws);
    // Edits on the window's own records while the thread plans its copy.
    for (int step = 0; step < 5; ++step) {
        const int32_t row = ws->table.firstObject;
        ws->records[ws->table.rows[std::size_t(row)].params].run.line.x2 += 25;
        markDesignChanged(*ws);
        keeper.follow(*ws);
    }
    settle(keeper, *ws);
    ASSERT_FALSE(keeper.planning());
    EXPECT_EQ(keeper.shown().stitchCount(), wholeCount(*ws));

    // A command gets the stitches of the design as it is at once.
    ws->records[ws->table.rows[std::size_t(ws->table.firstObject)].params].run.LEN = 10;
    EXPECT_EQ(keeper.current(*ws).stitchCount(), wholeCount(*ws));
    EXPECT_FALSE(keeper.planning());
    // The thread's plan of the same design, when it comes, changes nothing.
    settle(keeper, *ws);
    EXPECT_EQ(keeper.shown().stitchCount(), wholeCount(*ws));
}

// A plan follow() took before the thread's news came (the status bar asks
// for it too) is still told of, once: the canvas may not have drawn it.
TEST(PlanKeeper, APlanTakenQuietlyIsStillToldOfOnce)
{
    auto ws = testing::makeWorkspace();
    testing::buildGridDesign(*ws, 40, 2);
    PlanKeeper keeper;
    keeper.startBackground();
    int told = 0;
    QObject::connect(&keeper, &PlanKeeper::planned, [&told] { ++told; });
    for (int round = 0; round < 600 && (keeper.follow(*ws), keeper.planning()); ++round) {
    }
    ASSERT_FALSE(keeper.planning());
    ASSERT_EQ(told, 0);
    // The thread's news is posted a moment after the plan was taken.
    QEventLoop loop;
    QObject::connect(&keeper, &PlanKeeper::planned, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(told, 1);
}

} // namespace
} // namespace kelvara
