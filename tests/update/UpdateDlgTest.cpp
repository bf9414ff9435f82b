// The update dialog against a scripted adb client: password, the files it
// needs, progress, success, failure and closing while it runs.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <system_error>

#include "support/MainFrameFixture.h"
#include "platform/CommandLine.h"
#include "update/UpdateDlg.h"
#include "update/core/UpdateSequence.h"
#include "update/core/UpdateSource.h"

using namespace kz::test;

namespace {

const QByteArray kReport = "1 file pushed, 0 skipped. 0.4 MB/s (1834 bytes in 0.004s)\r\n";
const QString kStop = QStringLiteral("Are you sure to stop ？！");

// How the fake client records a command line: its arguments joined by blanks.
QString Recorded(const QString& command)
{
    return kz::SplitWindowsCommandLine(command).join(u' ');
}

class UpdateDialog : public MainFrameFixture {
protected:
    UpdateDialog()
    {
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", m_home.path().toUtf8());
        QDir().mkpath(kz::UpdateSourceFolder());
        for (const QString& name : kz::UpdateFileNames()) {
            QFile file(kz::UpdateSourceFolder() + name);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("content of " + name.toUtf8());
        }
        StartConnected();
        for (const kz::UpdateStep& step : kz::BuildUpdateSequence(kz::UpdateSourceFolder()))
            if (step.check == kz::UpdateCheck::Push)
                bin.Answer(Recorded(step.command), kReport);
    }

    ~UpdateDialog() override
    {
        // A worker still running would report to a test that is gone.
        WaitFor([this] { return !dlg || !dlg->IsRunning(); }, 10000);
        if (dlg && !dlg->IsClosed())
            dlg->Close();
        WaitFor([this] { return dlg.isNull(); }, 10000);
        qputenv("HOME", m_oldHome);
    }

    void Open(kz::ui::ThreadStarter start = {})
    {
        dlg = new CUpdate(frame.get(), std::move(start));  // starts the adb server
        EXPECT_EQ(bin.Calls().last(), QStringLiteral("start-server"));
        bin.ClearCalls();
        ASSERT_TRUE(dlg->Create(frame->GetHWND(), QStringLiteral("升级")));
        dlg->ShowWindow();
        ASSERT_TRUE(WaitFor([this] { return Button()->text() == Text("Update"); }));
        QObject::connect(Progress(), &QProgressBar::valueChanged, [this](int v) { progress << v; });
    }

    void Submit(const QString& password)
    {
        dlg->FindControl<QLineEdit>(QStringLiteral("edit_password"))->setText(password);
        ClickButton(dlg->GetHWND(), QStringLiteral("btn_update"));
    }

    QPushButton* Button() const { return dlg->FindControl<QPushButton>(QStringLiteral("btn_update")); }
    QProgressBar* Progress() const { return dlg->FindControl<QProgressBar>(QStringLiteral("progress_update")); }

    QStringList SequenceCalls() const
    {
        QStringList calls;
        for (const kz::UpdateStep& step : kz::BuildUpdateSequence(kz::UpdateSourceFolder()))
            calls << Recorded(step.command);
        return calls;
    }

    QPointer<CUpdate> dlg;
    QList<int> progress;

private:
    QTemporaryDir m_home;
    QByteArray m_oldHome;
};

}  // namespace

TEST_F(UpdateDialog, WrongPasswordIsRefusedAndSendsNothing)
{
    Open();
    for (const char* wrong : {"518204637 ", "", "518204636"}) {
        Submit(QString::fromUtf8(wrong));
        EXPECT_EQ(dlg->FindControl<QLineEdit>(QStringLiteral("edit_password"))->text(), QString::fromUtf8(wrong));
    }
    EXPECT_EQ(boxes.Texts(), QStringList(3, Text("Wrong password, please enter again!")));
    EXPECT_EQ(boxes.Requests().first().caption, Text("Prompt"));
    EXPECT_TRUE(bin.Calls().isEmpty());
    EXPECT_TRUE(Button()->isEnabled());
    EXPECT_FALSE(Progress()->isVisible());
}

TEST_F(UpdateDialog, MissingSourceFileIsReportedBeforeAnythingIsRemoved)
{
    QFile::remove(kz::UpdateSourceFolder() + QStringLiteral("QerlinB"));
    QDir().mkpath(kz::UpdateSourceFolder() + QStringLiteral("uImage.d"));
    Open();
    Submit(QStringLiteral("518204637"));
    ASSERT_EQ(boxes.Count(), 1);
    const QString text = boxes.Texts().first();
    EXPECT_TRUE(text.startsWith(Text("Update failed!"))) << text.toStdString();
    EXPECT_TRUE(text.contains(kz::UpdateSourceFolder() + QStringLiteral("QerlinB"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("QerlinA"))) << text.toStdString();
    EXPECT_TRUE(bin.Calls().isEmpty());
    EXPECT_TRUE(Button()->isEnabled());
    EXPECT_FALSE(dlg->IsRunning());
}

TEST_F(UpdateDialog, SuccessfulUpdateShowsEveryStepThenRebootsAndCloses)
{
    Open();
    Submit(QStringLiteral("518204637"));
    EXPECT_FALSE(Button()->isEnabled());
    EXPECT_TRUE(Progress()->isVisible());
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    EXPECT_EQ(boxes.Texts(), QStringList{Text("Update successfully, it will restart soon!")});
    EXPECT_FALSE(boxes.Requests().first().fromGuiThread);
    EXPECT_EQ(boxes.Requests().first().ownerName, QStringLiteral("Update"));
    ASSERT_TRUE(WaitFor([this] { return dlg.isNull(); }, 10000));
    EXPECT_EQ(progress, (QList<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    // The server is stopped only after the reboot, when the dialog is gone.
    EXPECT_EQ(bin.Calls(), SequenceCalls() + QStringList({"shell reboot", "kill-server"}));
}

TEST_F(UpdateDialog, FailedPushResetsTheBarAndAllowsAnotherTry)
{
    const QString uImage = Recorded(QStringLiteral("push ") + kz::UpdateSourceFolder() + "uImage /mnt/sdcard");
    bin.Answer(uImage, "adb: error: failed to get feature set: device not found\r\n");
    Open();
    Submit(QStringLiteral("518204637"));
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    EXPECT_EQ(boxes.Texts(), QStringList{Text("Update failed!")});
    ASSERT_TRUE(WaitFor([this] { return Button()->isEnabled(); }));
    EXPECT_EQ(progress, (QList<int>{10, 20, 30, 40, 0}));
    EXPECT_TRUE(Progress()->isVisible());
    EXPECT_FALSE(dlg->IsRunning());
    EXPECT_EQ(bin.Calls(), SequenceCalls().mid(0, 9));

    bin.ClearCalls();
    Submit(QStringLiteral("518204637"));
    ASSERT_TRUE(boxes.WaitForCount(2, 10000));
    EXPECT_EQ(bin.Calls().first(), QStringLiteral("shell rm /data/dalvik-cache/*"));
}

TEST_F(UpdateDialog, AWorkerThatCannotStartSendsNothingAndAllowsAnotherTry)
{
    Open([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    Submit(QStringLiteral("518204637"));
    EXPECT_EQ(boxes.Texts(), QStringList{Text("Update failed!")});
    EXPECT_TRUE(Button()->isEnabled());
    EXPECT_FALSE(dlg->IsRunning());
    EXPECT_TRUE(bin.Calls().isEmpty());
    dlg->Close();
    EXPECT_TRUE(WaitFor([this] { return dlg.isNull(); })) << "released with its window";
}

TEST_F(UpdateDialog, CloseBeforeTheUpdateAsksNothing)
{
    Open();
    ClickButton(dlg->GetHWND(), QStringLiteral("closebtn"));
    ASSERT_TRUE(WaitFor([this] { return dlg.isNull(); }));
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(bin.Calls(), QStringList{"kill-server"});
}

TEST_F(UpdateDialog, CloseDuringTheUpdateAsksAndTheWorkerFinishesAfterYes)
{
    bin.Delay(QStringLiteral("shell cd /mnt/sdcard && ./dl_kernel.sh"), 0.8);
    Open();
    Submit(QStringLiteral("518204637"));
    ASSERT_TRUE(WaitFor([this] { return progress.contains(70); }, 10000));

    ClickButton(dlg->GetHWND(), QStringLiteral("closebtn"));  // answered No
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Requests().first().text, kStop);
    EXPECT_EQ(boxes.Requests().first().caption, QStringLiteral("Warnning"));
    EXPECT_EQ(boxes.Requests().first().buttons, kz::MsgButtons::YesNo);
    EXPECT_TRUE(dlg->GetHWND()->isVisible());

    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    ClickButton(dlg->GetHWND(), QStringLiteral("closebtn"));
    ASSERT_TRUE(WaitFor([this] { return !dlg->GetHWND()->isVisible(); }));
    EXPECT_TRUE(dlg->IsRunning());
    EXPECT_FALSE(bin.Calls().contains(QStringLiteral("kill-server")));

    ASSERT_TRUE(WaitFor([this] { return dlg.isNull(); }, 10000));
    EXPECT_EQ(boxes.Texts().last(), Text("Update successfully, it will restart soon!"));
    EXPECT_EQ(bin.Calls().mid(bin.Calls().size() - 2), (QStringList{"shell reboot", "kill-server"}));
}

TEST_F(UpdateDialog, EscapeDuringTheUpdateClosesWithoutAsking)
{
    bin.Delay(QStringLiteral("shell cd /mnt/sdcard && ./dl_kernel.sh"), 0.5);
    Open();
    Submit(QStringLiteral("518204637"));
    ASSERT_TRUE(WaitFor([this] { return progress.contains(70); }, 10000));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg->GetHWND(), &escape);
    EXPECT_TRUE(dlg->IsClosed());
    EXPECT_EQ(boxes.Count(), 0);
    ASSERT_TRUE(WaitFor([this] { return dlg.isNull(); }, 10000));
    EXPECT_EQ(bin.Calls().last(), QStringLiteral("kill-server"));
}

TEST_F(UpdateDialog, MainMenuOpensItOnlyWithABox)
{
    bin.ClearCalls();
    TEST_MODAL({
        EXPECT_EQ(modal->property("kz_window_class").toString(), QStringLiteral("Update"));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("升级"));
        ClickButton(modal, QStringLiteral("closebtn"));
    });
    frame->PostMessage(WM_MENU_UPDATE);
    ASSERT_TRUE(WaitForCalls(QStringLiteral("kill-server"), 1));
    EXPECT_EQ(bin.Calls(), (QStringList{"start-server", "kill-server"}));
}
