// Start-up detection, hot-plug and the end of the program, against a scripted
// adb client.
#include <QFile>
#include <QTest>
#include <QTimer>
#include <memory>
#include <thread>

#include "support/MainFrameFixture.h"
#include "app/OutcomeLog.h"
#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "link/UsbBroadcast.h"
#include "ui/SkinLoader.h"

using namespace kz::test;

namespace {
const QString kDevices = QString::fromUtf8(kz::kDevicesCommand);
const QString kReboot = QString::fromUtf8(kz::kRebootCommand);
const QString kTrack = QStringLiteral("track-devices");
const QString kUsbName = QStringLiteral(R"(\\?\USB#VID_18D1&PID_0D02#0123456789#{a5dcbf10-6530-11d2-901f-00c04fb951ed})");
}  // namespace

class MainFrameMonitor : public MainFrameFixture {};

TEST_F(MainFrameMonitor, StartUpWithOneBoxConnectsAndMounts)
{
    StartConnected();
    EXPECT_TRUE(frame->m_bDeviceConnected);
    EXPECT_TRUE(frame->m_bUdiskMounted);
    EXPECT_EQ(StateText(), Text(kz::text::Connected));
    ASSERT_EQ(LogLines().size(), 1);
    EXPECT_TRUE(LogLines()[0].startsWith("<i log_successful.png><f 2><c #00CD00> " + Text(kz::text::MountOk)));
    EXPECT_FALSE(Text(kz::text::MountOk).isEmpty());
    // The server is started first and a stick left mounted is released before
    // the detection.
    const QStringList calls = bin.Calls();
    ASSERT_GE(calls.size(), 5);
    EXPECT_EQ(calls.mid(0, 5), (QStringList{"start-server", "shell umount /mnt/udisk", "devices",
                                            "shell getprop ro.product.model",
                                            "shell mount -t vfat /dev/block/sda1 /mnt/udisk"}));
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MainFrameMonitor, NoDeviceLeavesTheStateAsTheSkinHasIt)
{
    Start(kNoDevice);
    EXPECT_FALSE(frame->m_bDeviceConnected);
    std::unique_ptr<QWidget> skin(kz::ui::LoadSkin("skin_main.xml", nullptr));
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(StateText(), skin->findChild<QLabel*>("text_state")->text());
    EXPECT_EQ(bin.CountCalls("shell getprop ro.product.model"), 0);
    EXPECT_TRUE(LogLines().isEmpty());
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MainFrameMonitor, AnotherAndroidDeviceIsSilentlyUnconnected)
{
    Start(kOneBox, "Pixel 7\r\r\n");
    EXPECT_FALSE(frame->m_bDeviceConnected);
    EXPECT_EQ(StateText(), Text(kz::text::Unconnected));
    EXPECT_EQ(bin.CountCalls(QString::fromUtf8(kz::kMountCommand)), 0);
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MainFrameMonitor, OfflineBoxIsReported)
{
    Start("List of devices attached \r\nemulator-5554\toffline\r\n\r\n");
    EXPECT_FALSE(frame->m_bDeviceConnected);
    EXPECT_EQ(StateText(), Text(kz::text::StateOffline));
    ASSERT_EQ(LogLines().size(), 1);
    EXPECT_TRUE(LogLines()[0].contains(Text(kz::text::AdviceOffline))) << qPrintable(LogLines()[0]);
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::DeviceOfflineReboot)});
    EXPECT_EQ(boxes.Requests().value(0).caption, Text(kz::text::Prompt));
    EXPECT_FALSE(frame->IsClosed());
}

// Each state is named on the state line and its advice logged once per
// change, however often the list is read.
TEST_F(MainFrameMonitor, DeviceStatesAreNamedOncePerChange)
{
    Start("List of devices attached \r\n0123ABCD\tno permissions (user in plugdev group; are your udev rules "
          "wrong?); see [http://developer.android.com/tools/device.html]\r\n\r\n");
    EXPECT_EQ(StateText(), Text(kz::text::StateNoPermissions));
    ASSERT_EQ(LogLines().size(), 1);
    EXPECT_TRUE(LogLines()[0].contains("install -m 644 packaging/udev/60-korvald-emmc.rules /etc/udev/rules.d/"))
        << qPrintable(LogLines()[0]);
    const auto arrival = [&](const QByteArray& devices, int calls) {
        bin.Answer(kDevices, devices);
        frame->OnDeviceChange(kz::DBT_DEVICEARRIVAL, kUsbName);
        ASSERT_TRUE(WaitForCalls(kDevices, calls));
        ProcessEventsFor(50);
    };
    arrival("List of devices attached \r\n0123ABCD\tno permissions; see [x]\r\n\r\n", 2);
    EXPECT_EQ(LogLines().size(), 1) << qPrintable(LogLines().join(u'\n'));
    arrival("List of devices attached \r\n0123ABCD\tunauthorized\r\n\r\n", 3);
    EXPECT_EQ(StateText(), Text(kz::text::StateUnauthorized));
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_TRUE(LogLines()[1].contains(Text(kz::text::AdviceUnauthorized)));
    arrival(kNoDevice, 4);
    EXPECT_EQ(StateText(), Text(kz::text::Unconnected));
    arrival("kz_daemon: the adb client 'adb' was not found; install it with: sudo apt-get install adb\r\n", 5);
    EXPECT_EQ(StateText(), Text(kz::text::StateAdbMissing));
    EXPECT_TRUE(LogLines().last().contains("sudo apt install adb"));
    const QByteArray clash = "adb server version (41) doesn't match this client (39); killing...\r\n";
    arrival(clash + kNoDevice, 6);
    arrival(clash + kNoDevice, 7);
    ASSERT_EQ(LogLines().size(), 4);
    EXPECT_TRUE(LogLines()[3].contains("version 41") && LogLines()[3].contains("version 39")) << qPrintable(LogLines()[3]);
    arrival(kOneBox, 8);
    EXPECT_EQ(StateText(), Text(kz::text::Connected));
    EXPECT_EQ(LogLines().size(), 5);  // the mount's
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MainFrameMonitor, TwoDevicesAreReportedAndTheProgramEnds)
{
    Start("List of devices attached \r\nemulator-5554\tdevice\r\n0123ABCD\tdevice\r\n\r\n");
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::MultipleDevices)});
    ASSERT_TRUE(WaitFor([&] { return quits == 1; }));
    EXPECT_TRUE(frame->IsClosed());
    EXPECT_EQ(bin.Calls().last(), "kill-server");
}

TEST_F(MainFrameMonitor, RemovalOfTheBoxIsLogged)
{
    StartConnected();
    bin.Answer(kDevices, kNoDevice);
    frame->OnDeviceChange(kz::DBT_DEVICEREMOVECOMPLETE, kUsbName);
    ASSERT_TRUE(WaitFor([&] { return LogLines().size() == 2; }));
    EXPECT_FALSE(frame->m_bDeviceConnected);
    EXPECT_FALSE(frame->m_bUdiskMounted);
    EXPECT_EQ(StateText(), Text(kz::text::Unconnected));
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_EQ(LogLines()[1], "<i log_tips.png><f 2><c #0000FF> " + Text(kz::text::DeviceSetAside) + "</c></f>");
}

TEST_F(MainFrameMonitor, RemovalOfAnotherDeviceKeepsTheBoxWithoutRemounting)
{
    StartConnected();
    frame->OnDeviceChange(kz::DBT_DEVICEREMOVECOMPLETE, kUsbName);
    ASSERT_TRUE(WaitForCalls(kDevices, 2));
    ProcessEventsFor(50);
    EXPECT_TRUE(frame->m_bDeviceConnected);
    EXPECT_EQ(bin.CountCalls(kDevices), 2);
    EXPECT_EQ(bin.CountCalls(QString::fromUtf8(kz::kMountCommand)), 1);
    EXPECT_EQ(LogLines().size(), 1);
}

TEST_F(MainFrameMonitor, RemovalDuringACommandIsHandledAfterIt)
{
    StartConnected();
    bin.Answer(kDevices, kNoDevice);
    bin.Delay(kReboot, 0.5);
    QTimer::singleShot(100, frame.get(), [&] { frame->OnDeviceChange(kz::DBT_DEVICEREMOVECOMPLETE, kUsbName); });
    ClickButton(frame->GetHWND(), "btn_reboot");
    ASSERT_TRUE(WaitFor([&] { return LogLines().size() == 3; }));
    EXPECT_TRUE(LogLines()[1].contains(Text(kz::text::RebootOk))) << qPrintable(LogLines()[1]);
    EXPECT_TRUE(LogLines()[2].contains(Text(kz::text::DeviceSetAside))) << qPrintable(LogLines()[2]);
    EXPECT_EQ(StateText(), Text(kz::text::Unconnected));
}

TEST_F(MainFrameMonitor, AdbListFollowedWithoutArrivalDelay)
{
    monitor = {.arrivalDelayMs = 60000, .followAdbList = true, .trackerRetry = {20, 40, 10}};
    bin.Answer(kTrack, "0000");
    Start(kNoDevice);
    // Each run of the scripted client prints one list and ends, so every
    // change is seen on the next restart.
    bin.Answer(kDevices, kOneBox);
    bin.Answer(kTrack, "0015emulator-5554\tdevice\n");
    ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected && frame->m_bUdiskMounted; }, 2000));
    EXPECT_EQ(StateText(), Text(kz::text::Connected));

    bin.Answer(kDevices, "List of devices attached \r\nemulator-5554\toffline\r\n\r\n");
    bin.Answer(kTrack, "0016emulator-5554\toffline\n");
    ASSERT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected && LogLines().size() == 3; }, 2000));
    EXPECT_EQ(StateText(), Text(kz::text::StateOffline));
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::DeviceOfflineReboot)});
    EXPECT_TRUE(LogLines()[2].contains(Text(kz::text::DeviceSetAside)));

    // The list unchanged on every restart starts nothing more.
    const int devicesCalls = bin.CountCalls(kDevices);
    ProcessEventsFor(200);
    EXPECT_EQ(bin.CountCalls(kDevices), devicesCalls);
}

// The program stops its own server whenever the file manager closes; the
// list client's next run meets a new server that lists nothing at first and
// the box a moment later, while "devices" does not list it yet either.
TEST_F(MainFrameMonitor, BoxListedAMomentLateByANewServerIsNotSetAside)
{
    monitor = {.arrivalDelayMs = 60000, .followAdbList = true, .trackerRetry = {20, 40, 300}};
    const QByteArray box = "0015emulator-5554\tdevice\n";
    bin.Answer(kTrack, box);
    Start(kOneBox);
    // Once the first run's list has been taken, every run meets a new server.
    ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected && bin.CountCalls(kTrack) >= 2; }));
    bin.Answer(kDevices, kNoDevice);
    bin.Answer(kTrack, "0000" + box);
    const int devicesCalls = bin.CountCalls(kDevices);
    const int runs = bin.CountCalls(kTrack);
    ASSERT_TRUE(WaitFor([&] { return bin.CountCalls(kTrack) >= runs + 3; }));
    ProcessEventsFor(600);  // time enough for a loss to be acted on, were one taken
    EXPECT_TRUE(frame->m_bDeviceConnected);
    EXPECT_EQ(bin.CountCalls(kDevices), devicesCalls);
    EXPECT_EQ(LogLines().size(), 1) << qPrintable(LogLines().join(u'\n'));
}

TEST_F(MainFrameMonitor, EndedAdbListIsRestartedLaterAndLater)
{
    monitor = {.arrivalDelayMs = 30, .followAdbList = true, .trackerRetry = {50, 200}};
    Start(kNoDevice);  // the client prints nothing and ends at once
    bin.ClearCalls();
    ProcessEventsFor(1000);
    // About 0, 50, 150, 350, 550, 750, 950 ms; without the back-off dozens.
    const int runs = bin.CountCalls(kTrack);
    EXPECT_GE(runs, 3);
    EXPECT_LE(runs, 9);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_TRUE(LogLines().isEmpty());
    // Closing stops it for good, before the server is stopped.
    ClickButton(frame->GetHWND(), "btn_exit");
    ASSERT_TRUE(WaitFor([&] { return quits == 1; }));
    ProcessEventsFor(300);
    EXPECT_EQ(bin.Calls().last(), "kill-server");
}

TEST_F(MainFrameMonitor, AdbListClientThatCannotStartIsRetriedSilently)
{
    monitor = {.arrivalDelayMs = 60000, .followAdbList = true, .trackerRetry = {20, 40, 10}};
    bin.Answer(kTrack, "0000");
    Start(kNoDevice);
    const QString client = bin.Dir() + "/adb/kz_daemon";
    const QFile::Permissions runnable = QFile::permissions(client);
    ASSERT_TRUE(QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner));
    ProcessEventsFor(300);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_TRUE(LogLines().isEmpty());

    bin.Answer(kDevices, kOneBox);
    bin.Answer(kTrack, "0015emulator-5554\tdevice\n");
    ASSERT_TRUE(QFile::setPermissions(client, runnable));
    EXPECT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected; }, 2000));
}

// A client without "track-devices": the list is asked every 2 s instead.
TEST_F(MainFrameMonitor, WithoutAFollowedListTheListIsPolled)
{
    monitor = {.arrivalDelayMs = 60000, .followAdbList = true, .trackerRetry = {}};
    StartConnected();
    for (const auto& [devices, connected] : {std::pair{kNoDevice, false}, std::pair{kOneBox, true}}) {
        bin.Answer(kDevices, devices);
        ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected == connected; }, 3000));
        EXPECT_EQ(StateText(), Text(connected ? kz::text::Connected : kz::text::Unconnected));
    }
}

TEST_F(MainFrameMonitor, ADeviceErrorHasTheListAskedAtOnce)
{
    monitor = {.arrivalDelayMs = 60000, .followAdbList = true, .trackerRetry = {.pollMs = 60000}};
    StartConnected();
    bin.Answer(kDevices, kNoDevice);
    bin.Answer(kReboot, "error: device not found\r\n");
    ClickButton(frame->GetHWND(), "btn_reboot");
    EXPECT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected; }, 1000));
    EXPECT_TRUE(LogLines().last().contains(Text(kz::text::DeviceSetAside))) << qPrintable(LogLines().last());
}

TEST_F(MainFrameMonitor, AWorkersDeviceErrorHasTheListAskedAtOnce)
{
    monitor = {.arrivalDelayMs = 60000, .followAdbList = true, .trackerRetry = {.pollMs = 60000}};
    StartConnected();
    bin.Answer(kDevices, kNoDevice);
    std::thread([outcomes = frame->Outcomes()] {
        outcomes.RecordOnly(kz::VerdictNotes(false, "Copy failed!", "Copy failed!", "copy", "error: device not found\r\n"));
    }).join();
    EXPECT_TRUE(WaitFor([&] { return !frame->m_bDeviceConnected; }, 1000));
}

TEST_F(MainFrameMonitor, ArrivalWhileConnectedDoesNothing)
{
    StartConnected();
    frame->OnDeviceChange(kz::DBT_DEVICEARRIVAL, kUsbName);
    ProcessEventsFor(300);
    EXPECT_EQ(bin.CountCalls(kDevices), 1);
    EXPECT_TRUE(frame->m_bDeviceConnected);
}

TEST_F(MainFrameMonitor, ArrivalDetectsAfterTheDelay)
{
    Start(kNoDevice);
    bin.Answer(kDevices, kOneBox);
    frame->OnDeviceChange(kz::DBT_DEVICEARRIVAL, R"(\\?\usb#vid_18d1&pid_0d02#1)");
    EXPECT_EQ(bin.CountCalls(kDevices), 1);  // not before the delay
    ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected; }));
    EXPECT_EQ(StateText(), Text(kz::text::Connected));
}

TEST_F(MainFrameMonitor, SeveralArrivalsDetectOneAfterAnother)
{
    Start(kNoDevice);
    bin.Answer(kDevices, kOneBox);
    bin.Delay(kDevices, 0.3);  // the later arrivals come while the first detection waits
    for (int i = 0; i < 3; ++i)
        frame->OnDeviceChange(kz::DBT_DEVICEARRIVAL, kUsbName);
    ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected; }));
    ProcessEventsFor(300);
    // The first identifies the box; the later ones see it connected.
    EXPECT_EQ(bin.CountCalls(kDevices), 2);
    EXPECT_EQ(bin.CountCalls(QString::fromUtf8(kz::kMountCommand)), 1);
}

TEST_F(MainFrameMonitor, EscapeDoesNotCloseTheWindow)
{
    Start(kNoDevice);
    QTest::keyClick(frame->GetHWND(), Qt::Key_Escape);
    ProcessEventsFor(50);
    EXPECT_FALSE(frame->IsClosed());
    EXPECT_EQ(quits, 0);
}

TEST_F(MainFrameMonitor, ClosingStopsTheServerThenQuits)
{
    Start(kNoDevice);
    ClickButton(frame->GetHWND(), "btn_exit");
    ASSERT_TRUE(WaitFor([&] { return quits == 1; }));
    EXPECT_EQ(bin.Calls().last(), "kill-server");
}
