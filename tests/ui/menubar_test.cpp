// The menu bar: every toolbar command in one menu, run as its button runs,
// with the window's parts below it.

#include "window_fixture.h"

#include <QMenu>
#include <QMenuBar>

#include "ui/statuswidget.h"

namespace kelvara::testing {
namespace {

using MenuBarTest = WindowFixture;

TEST_F(MenuBarTest, EveryButtonCommandIsInOneMenuAndRunsAsItsButton)
{
    start("MENUBAR=1\n");
    window->resize(1000, 700);
    auto* bar = window->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* menu : bar->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Object", "&Tools", "&Help"}));

    const ButtonTable& buttons = window->editor().buttons;
    int withCommand = 0;
    for (int row = 0; row < buttons.buttonCount; ++row) {
        const auto found = window->findChildren<QAction*>(QStringLiteral("menu%1").arg(row));
        const bool runs = static_cast<bool>(buttons.rows[std::size_t(row)].handler);
        EXPECT_EQ(found.size(), runs ? 1 : 0) << row;
        withCommand += runs ? 1 : 0;
    }
    EXPECT_GT(withCommand, 40);

    // The Flip entry shows its key in the key column and runs the row.
    recordCommands();
    for (int row = 0; row < buttons.buttonCount; ++row) {
        if (buttons.rows[std::size_t(row)].keyCode != 'F' || buttons.rows[std::size_t(row)].needsCtrl != 0)
            continue;
        QAction* flip = window->findChild<QAction*>(QStringLiteral("menu%1").arg(row));
        ASSERT_NE(flip, nullptr);
        EXPECT_TRUE(flip->text().endsWith(QStringLiteral("\tF"))) << flip->text().toStdString();
        flip->trigger();
        EXPECT_EQ(calls, (std::vector<int>{row}));
        break;
    }
    // The strip, the canvas and the status bar lie below the bar, none over another.
    const int top = bar->height();
    EXPECT_GT(top, 0);
    EXPECT_EQ(window->toolbarStripWindow()->y(), top);
    EXPECT_EQ(canvas().y(), top + window->toolbarStripWindow()->height());
    EXPECT_EQ(canvas().geometry().bottom() + 1, window->statusBar()->y());
}

} // namespace
} // namespace kelvara::testing
