// The save dialog as the editor sets it up, answered as a user would: a
// filter picked from the list and a name typed without an extension. (A
// modal dialog answered from a timer does not always take the answer in the
// offscreen platform, so the dialog is shown and read without running it.)

#include "support/workspacefixture.h"
#include "ui/qtplatform.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

// "name" and "Brother (*.pes)" wrote name.dst: the first filter's suffix.
TEST(SaveDialog, TheChosenFilterGivesANameWithoutExtensionItsFormat)
{
    TempFolder folder;
    FileDialogRequest request;
    request.filters = {{"Tajima Stitch format (*.dst)", "*.dst"},
                       {"Janome Embroidery format (*.jef)", "*.jef"},
                       {"Brother Embroidery format (*.pes)", "*.pes"}};
    request.defaultSuffix = "dst";
    request.startName = QString::fromStdString(folder.file(""));
    const auto chosen = [&](int filter, const char* typed) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QtFileDialogs::prepare(dialog, request, true);
        dialog.show();
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (types == nullptr || edit == nullptr)
            return std::string("no dialog widgets");
        // Down the list from the first filter, as the keyboard picks one.
        for (int i = 0; i < filter; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        edit->setText(QString::fromLatin1(typed));
        return dialog.selectedFiles().value(0).toStdString();
    };
    EXPECT_EQ(chosen(2, "name"), folder.file("name.pes"));
    // A typed extension wins over the filter; the first filter is still DST.
    EXPECT_EQ(chosen(1, "other.dst"), folder.file("other.dst"));
    EXPECT_EQ(chosen(0, "plain"), folder.file("plain.dst"));
}

} // namespace
} // namespace kelvara::testing
