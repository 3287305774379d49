// Crash recovery: the design kept a few seconds after a change, never while
// a drag goes on, removed by a clean exit; and a real editor killed with
// SIGKILL whose work the next start gives back.

#include "project/openproject.h"
#include "project/recoveryfile.h"
#include "project/saveproject.h"
#include "ui/startsession.h"
#include "window_fixture.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace kelvara::testing {
namespace {

const char kDesign[] = "RUN LINE=1 X1=40 Y1=50 X2=140 Y2=50\r\n"
                       "CIRCLE X=90 Y=110 RX=20 RY=20 R=200 G=10 B=10\r\n"
                       "SATEN LINEA=1 AX1=0 AY1=0 AX2=100 AY2=0 LINEB=1 BX1=0 BY1=30 BX2=100 BY2=30\r\n";

struct RecoveryFlow : WindowFixture {
    QString recoveryDir() { return QString::fromStdString(folder.file("recovery")); }

    // The window as main starts it, keeping the design in `recovery`.
    void startKeeping(RecoveryFile& recovery, const QStringList& arguments = {})
    {
        start();
        startSession(*window, &recovery, arguments);
    }
    MessageTimer& timer() { return *window->editor().platform.timer; }
};

TEST_F(RecoveryFlow, WrittenWhenTheTimerRunsOutNotDuringADragAndRemovedByACleanExit)
{
    RecoveryFile recovery(recoveryDir());
    ASSERT_TRUE(recovery.claimed());
    EXPECT_FALSE(recovery.leftBehind());
    startKeeping(recovery);
    EXPECT_FALSE(timer().active()) << "no change yet";

    files.answer(folder.write("design.kvp", kDesign));
    holdCtrl();
    press('O');
    releaseCtrl();
    ASSERT_TRUE(timer().active());
    EXPECT_FALSE(QFile::exists(recovery.path())) << "written only when the timer runs out";

    // The button held down on the canvas: the write waits for the release.
    mouse(MsgLButtonDown, 10, 10);
    send(WindowId::Main, MsgTimer);
    EXPECT_FALSE(QFile::exists(recovery.path()));
    EXPECT_TRUE(timer().active());
    mouse(MsgLButtonUp, 10, 10);
    send(WindowId::Main, MsgTimer);
    ASSERT_TRUE(QFile::exists(recovery.path()));
    const std::optional<RecoveredDesign> kept = readRecoveryFile(recovery.path());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->sourceName, QString::fromStdString(folder.file("design.kvp")));
    EXPECT_NE(kept->bytes.find(projectFileText(ws)), std::string::npos);

    // A second editor takes another slot; the first one's file is no one's
    // to offer while it runs.
    RecoveryFile second(recoveryDir());
    EXPECT_TRUE(second.claimed());
    EXPECT_NE(second.path(), recovery.path());
    EXPECT_FALSE(second.leftBehind());

    boxes.answers.push_back(true); // close with objects: yes
    send(WindowId::Main, MsgClose);
    EXPECT_FALSE(QFile::exists(recovery.path()));
}

TEST_F(RecoveryFlow, DeclinedRecoveryIsRemovedAndTheCommandLineDesignOpens)
{
    {
        RecoveryFile earlier(recoveryDir());
        auto w = makeWorkspace();
        FakePlatform fake;
        loadProjectBytes(*w, fake.platform(), QStringLiteral("/somewhere/old.kvp"), kDesign);
        ASSERT_TRUE(earlier.write(*w));
    } // the lock goes, the file stays: as after a crash
    RecoveryFile recovery(recoveryDir());
    ASSERT_TRUE(recovery.leftBehind());
    boxes.answers.push_back(false);
    const QString named = QString::fromStdString(folder.write("named.kvp", "STAR X=5 Y=5 RX=3 RY=3\r\n"));
    startKeeping(recovery, {QStringLiteral("kelvara"), named});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("/somewhere/old.kvp"), std::string::npos);
    EXPECT_FALSE(QFile::exists(recovery.path()));
    EXPECT_EQ(ws.table.objectCount, 1);
    EXPECT_EQ(ws.rememberedFileName, named);
}

// The real program, killed after it wrote its recovery file, and started
// again: the question answered yes gives back the design it held.
TEST_F(RecoveryFlow, KilledEditorsWorkComesBackAtTheNextStart)
{
    // Every field written out, so the program's own defaults play no part.
    auto expected = makeWorkspace();
    FakePlatform fake;
    loadProjectBytes(*expected, fake.platform(), QString(), kDesign);
    const std::string held = projectFileText(*expected);
    const QString design = QString::fromStdString(folder.write("work.kvp", held));
    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("KELVARA_RECOVERY_DIR"), recoveryDir());
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(KELVARA_APP), {design});
    ASSERT_TRUE(editor.waitForStarted(10000));
    const QString written = recoveryDir() + QStringLiteral("/recovery-0.kvp");
    for (int waited = 0; waited < 20000 && !QFile::exists(written); waited += 100)
        QTest::qWait(100);
    ASSERT_TRUE(QFile::exists(written)) << editor.readAllStandardError().toStdString();
    editor.kill(); // SIGKILL: no clean exit
    ASSERT_TRUE(editor.waitForFinished(10000));

    RecoveryFile recovery(recoveryDir());
    ASSERT_TRUE(recovery.leftBehind());
    EXPECT_EQ(recovery.path(), written);
    boxes.answers.push_back(true);
    startKeeping(recovery);

    EXPECT_EQ(projectFileText(ws), held);
    EXPECT_EQ(ws.table.objectCount, 3);
    EXPECT_TRUE(ws.rememberedFileName.isEmpty()) << "Save asks where";
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("recovered")))
        << window->windowTitle().toStdString();
    EXPECT_TRUE(window->windowTitle().contains(design));
}

} // namespace
} // namespace kelvara::testing
