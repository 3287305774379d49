// Paths outside ASCII, from the real file dialog to the files and the title.

#include "window_fixture.h"

#include "ui/qtplatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace kelvara::testing {
namespace {

class UnicodePathTest : public WindowFixture {
protected:
    // Picks `path` in the next file dialog once it is open, and accepts it.
    // The dialog lists its folder on a thread of its own and may not take
    // the first answer, so the answer is given again until it closes.
    static void answerNextDialog(const QString& path, int triesLeft = 500)
    {
        QTimer::singleShot(10, [path, triesLeft] {
            QFileDialog* dialog = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* found = qobject_cast<QFileDialog*>(widget); found && found->isVisible())
                    dialog = found;
            }
            if (dialog == nullptr) {
                if (triesLeft > 0)
                    answerNextDialog(path, triesLeft - 1);
                return;
            }
            acceptUntilClosed(dialog, path, triesLeft);
        });
    }

    static void acceptUntilClosed(QFileDialog* dialog, const QString& path, int triesLeft)
    {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
        QTimer::singleShot(50, [guard = QPointer<QFileDialog>(dialog), path, triesLeft] {
            if (guard && guard->isVisible() && triesLeft > 0)
                acceptUntilClosed(guard, path, triesLeft - 1);
        });
    }

    void command(int row)
    {
        send(WindowId::ToolbarStrip, MsgCommand, makeParam(uint32_t(row), kNotifyClicked));
    }

    QString title(const QString& path) const { return QStringLiteral("Kelvara Stitches (") + path + ')'; }
};

TEST_F(UnicodePathTest, SaveExportOpenAndTitleKeepTheName)
{
    start();
    press('R', WindowId::Canvas, 'r');
    click(10, 10);
    click(60, 10);
    ASSERT_EQ(ws.table.objectCount, 1);
    QtFileDialogs dialogs(window.get());
    window->editor().platform.files = &dialogs;

    const QString place =
        QString::fromStdString(folder.file("")) + QString::fromUtf8("Vzory \u010d\u00fc \u523a\u7e61/");
    ASSERT_TRUE(QDir().mkpath(place));
    const QString project = place + QString::fromUtf8("v\u00fd\u0161ivka \u00fc \u82b1.kvp");
    answerNextDialog(project);
    command(2); // Save
    EXPECT_TRUE(QFileInfo(project).isFile());
    EXPECT_EQ(window->windowTitle(), title(project));
    EXPECT_EQ(ws.rememberedFileName, project);

    const QString stitches = place + QString::fromUtf8("\u010d\u00fc\u82b1.dst");
    // The rest take their paths from the scripted dialogs: a second real
    // file dialog in one process does not always take an answer given from
    // a timer in the offscreen platform.
    window->editor().platform.files = &files;
    files.answers.push_back(stitches);
    command(3); // Export
    EXPECT_TRUE(QFileInfo(stitches).isFile());
    EXPECT_GT(QFileInfo(stitches).size(), 512);

    boxes.answers = {true};
    command(0); // New
    ASSERT_EQ(ws.table.objectCount, 0);
    files.answers.push_back(project);
    command(1); // Open
    EXPECT_EQ(ws.table.objectCount, 1);
    EXPECT_EQ(window->windowTitle(), title(project));
    EXPECT_EQ(ws.rememberedFileName, project);

    const QString picture = place + QString::fromUtf8("p\u00fcvodn\u00ed \u010d \u5716.bmp");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KELVARA_TEST_DATA "/project/marks3x2-24.bmp"), picture));
    files.answers.push_back(picture);
    command(1);
    EXPECT_TRUE(boxes.shown.size() == 1u) << "only the question of New";
    EXPECT_EQ(ws.picture.pictureName, picture);
    EXPECT_EQ(window->windowTitle(), title(project));
}

} // namespace
} // namespace kelvara::testing
