// The status bar names the active tool's next click and says why a click did
// nothing; with TOOLSTAYS a shape tool stays ready after its object and
// Escape steps back from the points clicked to the tool to the select arrow.

#include "window_fixture.h"

#include "model/selection.h"
#include "ui/helpbox.h"
#include "ui/recentfiles.h"
#include "ui/statuswidget.h"

namespace kelvara::testing {
namespace {

struct ToolHints : WindowFixture {
    void SetUp() override
    {
        start();
        resizeClient(827, 568);
    }
    QString status() { return statusText(window->editor()); }
    int32_t lastGroup() { return ws.table.rows[std::size_t(ws.table.currentObject)].group; }
};

TEST_F(ToolHints, SatinStepsAreNamedAndIdleClicksSayWhy)
{
    click(50, 50);
    EXPECT_TRUE(status().startsWith(QStringLiteral("No tool is active, so the click draws nothing")))
        << status().toStdString();
    press('S', WindowId::Canvas, 's');
    const char* const steps[] = {"first edge starts", "first edge ends", "second edge ends", "second edge starts",
                                 "first edge ends"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(status().startsWith(QStringLiteral("Satin column: click where the ") +
                                        QLatin1String(steps[i])))
            << status().toStdString();
        click(100 + 40 * (i % 2), 100 + 40 * (i / 2));
    }
    EXPECT_EQ(ws.table.objectCount, 1);
    press('K', WindowId::Canvas, 'k');
    mouse(MsgRButtonDown, 120, 120);
    EXPECT_TRUE(status().startsWith(QStringLiteral("This tool's edges are straight"))) << status().toStdString();
    mouse(MsgRButtonUp, 120, 120);
    click(120, 120);
    EXPECT_TRUE(status().startsWith(QStringLiteral("Circle: click the opposite corner")));
}

TEST_F(ToolHints, ShapeToolsStayReadyOnlyWithTheKey)
{
    const auto circle = [&](int x) {
        click(x, 100);
        click(x + 40, 140);
        click(x, 200);
    };
    press('K', WindowId::Canvas, 'k');
    circle(100);
    EXPECT_EQ(ws.tools.toolMode, 0); // built in: the tool ends
    circle(300);
    EXPECT_EQ(ws.table.objectCount, 1);

    ws.settings.TOOLSTAYS = 1;
    press('K', WindowId::Canvas, 'k');
    circle(100);
    const int32_t group = lastGroup();
    circle(300);
    EXPECT_EQ(ws.table.objectCount, 3);
    EXPECT_EQ(ws.tools.toolMode, KindCircle);
    EXPECT_NE(lastGroup(), group);
    // Escape drops the corner clicked, then leaves the tool for the arrow.
    click(100, 300);
    press(VkEscape);
    EXPECT_EQ(ws.tools.toolMode, KindCircle);
    EXPECT_EQ(ws.tools.rubberBand.active, 0);
    press(VkEscape);
    EXPECT_EQ(ws.tools.toolMode, -1);
    EXPECT_TRUE(status().startsWith(QStringLiteral("Select:")));
}

TEST(HelpAndRecentFiles, HelpListsTheMenusKeysAndRecentFilesStayFew)
{
    ButtonTable buttons;
    Settings settings;
    EXPECT_NE(hotkeyText(buttons, settings).find("(CTRL+0)"), std::string::npos);
    EXPECT_EQ(hotkeyText(buttons, settings).find("(CTRL+9)"), std::string::npos);
    settings.ZOOMSTEPS = 1;
    EXPECT_NE(hotkeyText(buttons, settings).find("Zoom to the selection (CTRL+9)"), std::string::npos);

    QStringList list;
    for (int i = 0; i < 9; ++i)
        list = withRecentFile(list, QString::number(i));
    ASSERT_EQ(list.size(), kMostRecentFiles);
    EXPECT_EQ(list.front(), QStringLiteral("8"));
    EXPECT_EQ(list.back(), QStringLiteral("1"));
    // One from the middle comes first and is not kept twice.
    list = withRecentFile(list, QStringLiteral("5"));
    EXPECT_EQ(list.size(), kMostRecentFiles);
    EXPECT_EQ(list.front(), QStringLiteral("5"));
    EXPECT_EQ(list.count(QStringLiteral("5")), 1);
    EXPECT_EQ(list.back(), QStringLiteral("1"));
}

} // namespace
} // namespace kelvara::testing
