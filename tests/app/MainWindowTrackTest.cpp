// The state line follows adb's own device list: the simulated box unplugged,
// plugged, taken offline and rebooted, through Debian's adb and our adapter,
// with no USB broadcast at all (a box reached over TCP sends none).
#include <QDir>
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>
#include <unistd.h>

#include "BoxFixture.h"
#include "app/BoxWindow.h"
#include "platform/ProgramDir.h"
#include "support/ScriptedMessageService.h"

using namespace kz::test;

namespace {

constexpr int kFollowMs = 2000;

// The process whose parent is `parent` and whose command line contains `word`.
pid_t ChildRunning(pid_t parent, const QByteArray& word)
{
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + entry + "/stat"), cmdline("/proc/" + entry + "/cmdline");
        if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks, its ")" ends it.
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        if (fields.size() > 1 && fields[0] != "Z" && fields[1].toInt() == parent && cmdline.readAll().contains(word))
            return entry.toInt();
    }
    return -1;
}

bool Alive(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && !stat.readAll().split(')').last().trimmed().startsWith('Z');
}

}  // namespace

class MainWindowTrack : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LC_ALL", "en_US.UTF-8");
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error, R"({"rebootDelayMs": 1500})")) << error;
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
        // Now and then adb drops the box's first connection right after the
        // start and lists it "offline" for a moment, which the window reports
        // like any other change; each case starts from a settled box.
        ProcessEventsFor(1000);
        ASSERT_TRUE(WaitFor([&] { return Connected() && frame->m_bUdiskMounted; })) << box.BoxLog();
        boxes.Clear();
    }
    void TearDown() override
    {
        CloseWindowAndBox(frame, box);
        kz::SetProgramDirectoryForTests(QString());
        qunsetenv("LC_ALL");
    }
    QString State() const { return frame->FindControl<QLabel>("text_state")->text(); }
    bool Connected() const { return frame->m_bDeviceConnected && State() == frame->Text(kz::text::Connected); }
    QString LastLogLine() const { return frame->GetItemText(frame->m_logLines.Count() - 1, 0); }

    e2e::BoxFixture box;
    ScriptedMessageService boxes;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainWindowTrack, UnplugAndPlugAreFollowed)
{
    ASSERT_EQ(box.Ctl("unplug"), "ok");
    ASSERT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected; }, kFollowMs)) << box.BoxLog();
    EXPECT_EQ(State(), frame->Text(kz::text::Unconnected));
    EXPECT_TRUE(LastLogLine().contains(frame->Text(kz::text::DeviceSetAside))) << qPrintable(LastLogLine());

    ASSERT_EQ(box.Ctl("plug"), "ok");
    // The stick stayed mounted inside the box: the mount answers "busy", quietly.
    ASSERT_TRUE(WaitFor([&] { return Connected() && frame->m_bUdiskMounted; }, kFollowMs)) << box.BoxLog();
    EXPECT_TRUE(LastLogLine().contains(frame->Text(kz::text::DeviceSetAside))) << qPrintable(LastLogLine());
    EXPECT_EQ(boxes.Count(), 0) << qPrintable(boxes.Texts().join('\n'));
}

TEST_F(MainWindowTrack, OfflineBoxIsFollowed)
{
    ASSERT_EQ(box.Ctl("offline"), "ok");
    const QString offline = frame->Text(kz::text::StateOffline);
    ASSERT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected && State() == offline; }, kFollowMs)) << box.BoxLog();
    // adb may drop the box from its list before it lists it offline: the
    // removal and the advice come in either order.
    const auto logged = [&](const char* key) {
        for (int row = 0; row < frame->m_logLines.Count(); ++row)
            if (frame->GetItemText(row, 0).contains(frame->Text(key)))
                return true;
        return false;
    };
    ASSERT_TRUE(WaitFor([&] { return logged(kz::text::DeviceSetAside) && logged(kz::text::AdviceOffline); }))
        << qPrintable(LastLogLine());
}

TEST_F(MainWindowTrack, RebootFromTheProgramIsFollowed)
{
    ClickButton(frame->GetHWND(), "btn_reboot");
    EXPECT_TRUE(LastLogLine().contains(frame->Text(kz::text::RebootOk))) << qPrintable(LastLogLine());
    ASSERT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected; }, kFollowMs)) << box.BoxLog();
    EXPECT_EQ(State(), frame->Text(kz::text::Unconnected));
    EXPECT_TRUE(LastLogLine().contains(frame->Text(kz::text::DeviceSetAside))) << qPrintable(LastLogLine());
    // Back after the box's reboot delay.
    ASSERT_TRUE(WaitFor([&] { return Connected() && frame->m_bUdiskMounted; }, 1500 + kFollowMs + 1000))
        << box.BoxLog();
}

TEST_F(MainWindowTrack, ClosingEndsTheListClientAndItsAdb)
{
    pid_t client = -1;
    ASSERT_TRUE(WaitFor([&] { return (client = ChildRunning(getpid(), "track-devices")) > 0; }));
    pid_t adb = -1;
    ASSERT_TRUE(WaitFor([&] { return (adb = ChildRunning(client, "track-devices")) > 0; }));
    frame->Close();
    ProcessEventsFor(20);
    EXPECT_FALSE(Alive(client));
    EXPECT_TRUE(WaitFor([&] { return !Alive(adb); }, 2000));
}
