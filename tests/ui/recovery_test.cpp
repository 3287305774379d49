// Crash recovery: the design kept a few seconds after a change, never while
// a drag goes on, removed by a clean exit; and a real editor killed with
// SIGKILL whose work the next start gives back.

#include "project/openproject.h"
#include "project/recoveryfile.h"
#include "project/saveproject.h"
#include "ui/qtplatform.h"
#include "ui/startsession.h"
#include "window_fixture.h"

#include <QDateTime>
#include <QFile>
#include <QMessageBox>
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

    // What a dead editor leaves: its slot's design, and a lock no live
    // process holds (unless `lockText` is given, written `minutesAgo`).
    void leaveBehind(int slot, const std::string& design, const char* lockText = nullptr, int minutesAgo = 0)
    {
        const std::string base = "recovery/recovery-" + std::to_string(slot);
        folder.write(base + ".kvp", design);
        if (lockText == nullptr)
            return;
        const std::string lock = folder.write(base + ".lock", lockText);
        QFile file(QString::fromStdString(lock));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo), QFileDevice::FileModificationTime);
    }
    static std::string named(const char* source) { return std::string(";KELVARA-RECOVERY ") + source + "\r\n" + kDesign; }
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

TEST_F(RecoveryFlow, EveryDeadEditorsDesignIsOfferedInAListAndTheRestWaitForTheNextStart)
{
    for (int slot = 0; slot < 3; ++slot)
        leaveBehind(slot, named(("/work/d" + std::to_string(slot) + ".kvp").c_str()));
    RecoveryFile recovery(recoveryDir());
    ASSERT_EQ(recovery.leftDesigns().size(), 3u);
    EXPECT_EQ(recovery.path(), recoveryDir() + "/recovery-3.kvp") << "a slot without a design is taken";
    boxes.choices.push_back(1);
    startKeeping(recovery);
    ASSERT_EQ(boxes.listed.size(), 3u);
    EXPECT_EQ(boxes.listed[1].rfind("/work/d1.kvp (", 0), 0u) << boxes.listed[1];
    EXPECT_EQ(ws.table.objectCount, 3);
    // The chosen design now lives in this editor's slot; the others stay.
    EXPECT_TRUE(QFile::exists(recovery.path()));
    EXPECT_FALSE(QFile::exists(recoveryDir() + "/recovery-1.kvp"));
    RecoveryFile next(recoveryDir());
    EXPECT_EQ(next.leftDesigns(),
              (std::vector<QString>{recoveryDir() + "/recovery-0.kvp", recoveryDir() + "/recovery-2.kvp"}));
}

TEST_F(RecoveryFlow, LocksThatNameNoProcessHereGoStaleWithAgeAndANinthEditorIsWarned)
{
    leaveBehind(0, named("/work/empty.kvp"), "", 30);
    leaveBehind(1, named("/work/moved.kvp"), "4242\nkelvara\nsome-other-host\n", 30);
    leaveBehind(2, named("/work/fresh.kvp"), "", 0); // may be a lock being written right now
    {
        RecoveryFile recovery(recoveryDir());
        EXPECT_EQ(recovery.leftDesigns(),
                  (std::vector<QString>{recoveryDir() + "/recovery-0.kvp", recoveryDir() + "/recovery-1.kvp"}));
    }

    std::vector<std::unique_ptr<RecoveryFile>> running;
    for (int i = 0; i < RecoveryFile::kSlots; ++i)
        running.push_back(std::make_unique<RecoveryFile>(recoveryDir()));
    RecoveryFile ninth(recoveryDir());
    EXPECT_FALSE(ninth.claimed());
    startKeeping(ninth);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, message(ws, kSlotRecoveryNoSlot));
}

// The question names the file as it is: not as markup, not as Latin-1.
TEST_F(RecoveryFlow, TheQuestionShowsTheNameAsPlainUtf8)
{
    const auto box = QtMessageBoxes::makeBox(QMessageBox::Question, "Kelvara Stitches",
                                             "Restore (/home/\xC5\xBE/<b>bold</b>.kvp)?", QMessageBox::Yes, nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8("Restore (/home/\xC5\xBE/<b>bold</b>.kvp)?"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
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
    EXPECT_EQ(recovery.leftDesigns(), std::vector<QString>{written});
    boxes.answers.push_back(true);
    startKeeping(recovery);

    EXPECT_EQ(projectFileText(ws), held);
    EXPECT_EQ(ws.table.objectCount, 3);
    EXPECT_TRUE(ws.rememberedFileName.isEmpty()) << "Save asks where";
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("recovered")))
        << window->windowTitle().toStdString();
    EXPECT_TRUE(window->windowTitle().contains(design));
    EXPECT_TRUE(QFile::exists(recovery.path())) << "kept in this editor's own slot at once";
    EXPECT_FALSE(QFile::exists(written));
}

} // namespace
} // namespace kelvara::testing
