// READ USER, MTX, the board's boot transfers and the update interrupted by
// the box going away or failing, and each dialog closed while its worker
// runs: every one ends within its time, says what happened, and the next
// operation works once the box is back.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FaultJourney.h"
#include "link/DeviceActions.h"
#include "board/MotherBoard.h"
#include "board/core/BoardTexts.h"
#include "device/AdbRunner.h"
#include "master/Mtx.h"
#include "master/ReadUser.h"
#include "master/core/MasterTexts.h"
#include "update/UpdateDlg.h"
#include "update/core/UpdateSequence.h"
#include "update/core/UpdateSource.h"

using namespace kz::test;
namespace bt = kz::board::text;

namespace {

// ---- READ USER and MTX: the box's tool streams its progress -------------

template <class Dialog>
class StreamingJourney {
public:
    StreamingJourney(CMainFrame* frame, const char* title) : dialog(frame)
    {
        dialog.Create(frame->GetHWND(), QString::fromUtf8(title));
        dialog.ShowWindow();
    }
    Dialog dialog;
};

QString ReadUserText(const CReadUser& d) { return d.Rows().join(QString()); }

TEST_F(FaultJourney, ReadUserUnpluggedMidWayEndsWithoutDone)
{
    StreamingJourney<CReadUser> run(frame.get(), "READ USER");
    ASSERT_TRUE(WaitFor([&] { return ReadUserText(run.dialog).contains("%"); }, 10000)) << box.BoxLog();
    ASSERT_NO_FATAL_FAILURE(Inject(kUnplug));
    ASSERT_TRUE(WaitFor([&] { return run.dialog.HasFinished(); }, kEndsWithinMs)) << box.BoxLog();
    const QString shown = ReadUserText(run.dialog);
    EXPECT_FALSE(shown.contains("READ_USER done")) << qPrintable(shown);
    EXPECT_TRUE(run.dialog.FindControl<QPushButton>("btn_ok")->isEnabled());
    ExpectBoxReportedGone();
    ASSERT_NO_FATAL_FAILURE(Restore(kUnplug));
    ExpectNextOperationWorks();
}

TEST_F(FaultJourney, MtxUnpluggedMidWayFails)
{
    StreamingJourney<CMTX> run(frame.get(), "MTX");
    ASSERT_TRUE(WaitFor([&] { return run.dialog.Output().contains("%"); }, 10000)) << box.BoxLog();
    ASSERT_NO_FATAL_FAILURE(Inject(kUnplug));
    ASSERT_TRUE(WaitFor([&] { return run.dialog.HasFinished(); }, kEndsWithinMs)) << box.BoxLog();
    EXPECT_EQ(run.dialog.FindControl<QLabel>("text_output")->text(), "FAIL") << qPrintable(run.dialog.Output());
    ExpectBoxReportedGone();
    ASSERT_NO_FATAL_FAILURE(Restore(kUnplug));
    ExpectNextOperationWorks();
}

// Closing asks first; on Yes the window goes at once and the tool runs on
// inside the box without the window.
TEST_F(FaultJourney, StreamingDialogsClosedWhileTheToolRuns)
{
    for (int which = 0; which < 2; ++which) {
        boxes.Clear();
        boxes.QueueAnswer(kz::MsgAnswer::Yes);
        std::unique_ptr<CStreamingDialog> dialog;
        if (which == 0)
            dialog = std::make_unique<CReadUser>(frame.get());
        else
            dialog = std::make_unique<CMTX>(frame.get());
        dialog->Create(frame->GetHWND(), QStringLiteral("run"));
        dialog->ShowWindow();
        ProcessEventsFor(700);
        ASSERT_FALSE(dialog->IsDone());
        ClickButton(dialog->GetHWND(), QStringLiteral("closebtn"));
        EXPECT_EQ(boxes.Texts(), QStringList{QString::fromUtf8(kz::master::text::StopQuestion)});
        EXPECT_TRUE(dialog->IsClosed());
        ProcessEventsFor(3000);  // the tool's remaining output reaches a closed window
        EXPECT_FALSE(dialog->HasFinished());
        dialog.reset();
        ExpectNextOperationWorks();
    }
}

// ---- The board's boot transfers -----------------------------------------

class BoardJourney : public FaultJourney {
protected:
    void SetUp() override
    {
        FaultJourney::SetUp();
        if (HasFatalFailure())
            return;
        QString report;
        ASSERT_TRUE(RunAdbCommand(QString::fromUtf8(kz::kChipInfoCommand), report));
        board = std::make_unique<CMotherBoard>(frame.get());
        board->SetPickers({}, [this](CMotherBoard& b) { b.m_strPickedName = QStringLiteral("boot1 read.img"); });
        ASSERT_TRUE(board->Create(frame->GetHWND(), QStringLiteral("母片制作")));
        board->InitControls();
        FillFromChipInfo(*board, report);
        board->ShowWindow();
        ProcessEventsFor(50);
        ASSERT_NO_FATAL_FAILURE(WriteFile(box.StateDir() / "udisk" / "boot1 new.img", Pattern(kPayloadBytes)));
        board->FindControl<QLineEdit>("edit_writeboot1filename")->setText(QStringLiteral("boot1 new.img"));
    }
    void TearDown() override
    {
        WaitFor([&] { return !board || board->RunningWorkers() == 0; }, kEndsWithinMs);
        board.reset();
        FaultJourney::TearDown();
    }
    // Clicks, lets the transfer run for a while, then injects the fault.
    void InterruptTransfer(const char* button, const Fault& fault)
    {
        if (fault.beforeStart)
            ASSERT_NO_FATAL_FAILURE(Inject(fault));
        ClickButton(board->GetHWND(), QString::fromUtf8(button));
        if (!fault.beforeStart) {
            ProcessEventsFor(1000);
            ASSERT_EQ(boxes.Count(), 0) << "the transfer ended before the fault";
            ASSERT_NO_FATAL_FAILURE(Inject(fault));
        }
        ASSERT_TRUE(boxes.WaitForCount(1, kEndsWithinMs)) << box.BoxLog();
        ASSERT_TRUE(WaitFor([&] { return board->RunningWorkers() == 0; }, kEndsWithinMs));
    }
    QString T(const char* key) const { return frame->Text(key); }

    std::unique_ptr<CMotherBoard> board;
};

TEST_F(BoardJourney, BootWriteUnpluggedMidWayFails)
{
    ASSERT_NO_FATAL_FAILURE(InterruptTransfer("btn_writeboot1", kUnplug));
    EXPECT_EQ(boxes.Texts(), QStringList{T(bt::Boot1WriteFailed)}) << box.BoxLog();
    ExpectBoxReportedGone();
    ASSERT_NO_FATAL_FAILURE(Restore(kUnplug));
    ExpectNextOperationWorks();
}

TEST_F(BoardJourney, BootReadWithAnIoErrorFailsAndNothingIsKeptAsGood)
{
    ASSERT_NO_FATAL_FAILURE(InterruptTransfer("btn_readboot1", Fault{"IoError", "fail read", "fail", true}));
    EXPECT_EQ(boxes.Texts(), QStringList{T(bt::Boot1SaveFailed)}) << box.BoxLog();
    ASSERT_NO_FATAL_FAILURE(Restore(Fault{"IoError", "fail read", "fail", true}));
    // Read again: the whole partition arrives.
    ASSERT_TRUE(WaitFor([&] { return board->FindControl<QPushButton>("btn_readboot1")->isEnabled(); }));
    ClickButton(board->GetHWND(), QStringLiteral("btn_readboot1"));
    ASSERT_TRUE(boxes.WaitForCount(2, kEndsWithinMs)) << qPrintable(boxes.Texts().join('|')) << box.BoxLog();
    EXPECT_EQ(boxes.Texts().last(), T(bt::Boot1SaveOk));
    EXPECT_EQ(std::filesystem::file_size(box.StateDir() / "sdcard" / "boot1 read.img"), 4u << 20);
}

TEST_F(BoardJourney, ClosedDuringABootWriteTheWriteEndsAndIsReported)
{
    ClickButton(board->GetHWND(), QStringLiteral("btn_writeboot1"));
    ProcessEventsFor(700);
    ASSERT_EQ(board->RunningWorkers(), 1);
    ClickButton(board->GetHWND(), QStringLiteral("closebtn"));
    EXPECT_TRUE(board->IsClosed());
    ASSERT_TRUE(boxes.WaitForCount(1, kEndsWithinMs)) << box.BoxLog();
    EXPECT_EQ(boxes.Texts(), QStringList{T(bt::Boot1WriteOk)});
    ExpectNextOperationWorks();
}

// ---- The update ----------------------------------------------------------

class UpdateJourney : public FaultJourney {
protected:
    void SetUp() override
    {
        oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        QDir().mkpath(kz::UpdateSourceFolder());
        for (const QString& name : kz::UpdateFileNames()) {
            const QByteArray content = name == "uImage" ? Pattern(kPayloadBytes) : "new " + name.toUtf8();
            ASSERT_NO_FATAL_FAILURE(WriteFile((kz::UpdateSourceFolder() + name).toStdString(), content));
        }
        FaultJourney::SetUp();
    }
    void TearDown() override
    {
        WaitFor([&] { return dlg.isNull() || !dlg->IsRunning(); }, kEndsWithinMs);
        if (dlg && !dlg->IsClosed())
            dlg->Close();
        WaitFor([&] { return dlg.isNull(); }, kEndsWithinMs);
        FaultJourney::TearDown();
        qputenv("HOME", oldHome);
    }
    void StartUpdate()
    {
        dlg = new CUpdate(frame.get());
        ASSERT_TRUE(dlg->Create(frame->GetHWND(), QStringLiteral("升级")));
        dlg->ShowWindow();
        // The password is read from the control the window's initialisation finds.
        ProcessEventsFor(200);
        dlg->FindControl<QLineEdit>(QStringLiteral("edit_password"))->setText(QStringLiteral("518204637"));
        ClickButton(dlg->GetHWND(), QStringLiteral("btn_update"));
        // Under way: the big kernel image is on its way to the box.
        ASSERT_TRUE(WaitFor([&] { return Progress() >= 40; }, 10000))
            << Progress() << qPrintable(boxes.Texts().join('|')) << box.BoxLog();
        ASSERT_EQ(boxes.Count(), 0) << qPrintable(boxes.Texts().join('\n'));
    }
    QPushButton* UpdateButton() const { return dlg->FindControl<QPushButton>(QStringLiteral("btn_update")); }
    int Progress() const { return dlg->FindControl<QProgressBar>(QStringLiteral("progress_update"))->value(); }

    QTemporaryDir home;
    QByteArray oldHome;
    QPointer<CUpdate> dlg;
};

TEST_F(UpdateJourney, UnpluggedMidWayFailsAndAllowsAnotherTry)
{
    ASSERT_NO_FATAL_FAILURE(StartUpdate());
    ASSERT_NO_FATAL_FAILURE(Inject(kUnplug));
    ASSERT_TRUE(boxes.WaitForCount(1, kEndsWithinMs)) << box.BoxLog();
    EXPECT_EQ(boxes.Texts(), QStringList{frame->Text("Update failed!")});
    ASSERT_TRUE(WaitFor([&] { return !dlg->IsRunning(); }));
    EXPECT_TRUE(UpdateButton()->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(box.StateDir() / "system" / "uImage")) << "a kernel half-flashed";
    ExpectBoxReportedGone();
    ASSERT_NO_FATAL_FAILURE(Restore(kUnplug));
    ExpectNextOperationWorks();
}

TEST_F(UpdateJourney, ClosedWhileRunningTheUpdateFinishesAndSaysSo)
{
    ASSERT_NO_FATAL_FAILURE(StartUpdate());
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    ClickButton(dlg->GetHWND(), QStringLiteral("closebtn"));
    ASSERT_TRUE(boxes.WaitForCount(2, kEndsWithinMs)) << box.BoxLog();
    EXPECT_EQ(boxes.Texts(),
              (QStringList{QStringLiteral("Are you sure to stop ？！"), frame->Text("Update successfully, it will restart soon!")}));
    EXPECT_TRUE(WaitFor([&] { return dlg.isNull(); }, kEndsWithinMs));
    EXPECT_TRUE(std::filesystem::exists(box.StateDir() / "system" / "uImage"));
}

// ---- The device list: unauthorized, a second box ------------------------

TEST_F(FaultJourney, UnauthorizedBoxIsSetAsideAndTakenBackWhenAuthorized)
{
    ASSERT_NO_FATAL_FAILURE(Inject(kUnauthorized));
    // adb names the box "authorizing" while it offers its keys, "unauthorized" after.
    const QStringList named{frame->Text(kz::text::StateAuthorizing), frame->Text(kz::text::StateUnauthorized)};
    ASSERT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected && named.contains(StateText()); }, 3000))
        << box.BoxLog() << qPrintable(StateText());
    const int before = boxes.Count();
    ClickButton(frame->GetHWND(), "btn_readInfo");
    EXPECT_EQ(boxes.Texts().mid(before), QStringList{frame->Text(kz::text::NoDeviceFound)})
        << qPrintable(boxes.Texts().join('|'));
    ASSERT_NO_FATAL_FAILURE(Restore(kUnauthorized));
    EXPECT_EQ(StateText(), frame->Text(kz::text::Connected));
    ExpectNextOperationWorks();
}

// A second korvald-box registering with the same adb server.
class SecondBox {
public:
    explicit SecondBox(e2e::BoxFixture& first) : port_(e2e::FreeTcpPort())
    {
        const std::string state = dir_.path().toStdString();
        const std::string port = std::to_string(port_);
        const std::string program = e2e::KorvaldBoxPath().string();
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(1);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(program.c_str(), "korvald-box", "--port", port.c_str(), "--state", state.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        first.Server().Guard(pid_);
    }
    ~SecondBox() { Stop(); }
    void Stop()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    std::string Serial() const { return e2e::EmulatorSerial(port_); }

private:
    QTemporaryDir dir_;
    uint16_t port_;
    pid_t pid_ = -1;
};

TEST_F(FaultJourney, SecondBoxIsNamedAndTheFirstWorksAgainWhenItGoes)
{
    SecondBox second(box);
    ASSERT_TRUE(box.Server().WaitForState(second.Serial(), "device", std::chrono::seconds(10)));
    boxes.Clear();
    ClickButton(frame->GetHWND(), "btn_readInfo");
    EXPECT_EQ(boxes.Texts(), QStringList{frame->Text(kz::text::MultipleDevices)});
    second.Stop();
    ASSERT_TRUE(box.Server().WaitForState(second.Serial(), "", std::chrono::seconds(10)));
    ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected; }, kBackWithinMs));
    ExpectNextOperationWorks();
}

}  // namespace
