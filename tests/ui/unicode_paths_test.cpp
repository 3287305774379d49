// Paths outside ASCII, as the file dialog gives them, through to the files
// and the title. (A real file dialog answered from a timer does not always
// take the answer in the offscreen platform, so the dialog is scripted.)

#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvara::testing {
namespace {

class UnicodePathTest : public WindowFixture {
protected:
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

    const QString place =
        QString::fromStdString(folder.file("")) + QString::fromUtf8("Vzory \u010d\u00fc \u523a\u7e61/");
    ASSERT_TRUE(QDir().mkpath(place));
    const QString project = place + QString::fromUtf8("v\u00fd\u0161ivka \u00fc \u82b1.kvp");
    files.answers.push_back(project);
    command(2); // Save
    EXPECT_TRUE(QFileInfo(project).isFile());
    EXPECT_EQ(window->windowTitle(), title(project));
    EXPECT_EQ(ws.rememberedFileName, project);

    const QString stitches = place + QString::fromUtf8("\u010d\u00fc\u82b1.dst");
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
