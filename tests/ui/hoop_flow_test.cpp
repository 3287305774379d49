// The hoop in the window: the status bar names it and says when the design
// does not fit, B offers the listed hoops with the chosen one first, and a
// choice (or "No hoop") takes effect without touching the design.
#include "window_fixture.h"

#include "project/saveproject.h"
#include "stitch/sampledesign.h"
#include "ui/statuswidget.h"

namespace kelvara {
namespace {

using namespace testing;

struct HoopFlow : WindowFixture {};

TEST_F(HoopFlow, ChooserAndStatusFollowTheHoopAndTheDesignStays)
{
    start("HOOP=round 90\n");
    ws.hoops = readHoops("90 90 oval Round 90\n100 100 rounded Brother 100 x 100\n");
    buildSampleDesign(ws);
    markDesignChanged(ws);
    window->showState();
    const std::string design = projectFileText(ws);
    // The 80 x 81 mm sample loses its corners to the 90 mm circle.
    EXPECT_TRUE(statusText(window->editor()).endsWith(QStringLiteral("hoop Round 90 (does not fit)")))
        << statusText(window->editor()).toStdString();

    boxes.choices = {2};
    press('B', WindowId::Canvas, 'b');
    ASSERT_EQ(boxes.offered.size(), 3u);
    EXPECT_EQ(boxes.offered[0], "No hoop");
    EXPECT_EQ(boxes.offeredCurrent, 1);
    EXPECT_EQ(hoopSetting(ws.settings), "Brother 100 x 100");
    window->showState();
    EXPECT_TRUE(statusText(window->editor()).endsWith(QStringLiteral("hoop Brother 100 x 100")));

    // Cancel keeps it; "No hoop" takes it away.
    press('B', WindowId::Canvas, 'b');
    EXPECT_EQ(hoopSetting(ws.settings), "Brother 100 x 100");
    boxes.choices = {0};
    press('B', WindowId::Canvas, 'b');
    EXPECT_EQ(hoopSetting(ws.settings), "");
    window->showState();
    EXPECT_FALSE(statusText(window->editor()).contains(QStringLiteral("hoop")));
    EXPECT_EQ(projectFileText(ws), design);
}

} // namespace
} // namespace kelvara
