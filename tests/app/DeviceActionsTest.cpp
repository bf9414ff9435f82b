#include "link/DeviceActions.h"
#include "link/ChipInfoErrors.h"
#include "device/ClientErrors.h"
#include "device/ServerStartLines.h"
#include "link/Texts.h"

#include <gtest/gtest.h>

using namespace kz;

namespace {
const QString kOldStart = "* daemon not running. starting it now on port 5037 *\r\n* daemon started successfully *\r\n";
const QString kNewStart = "* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n";
}  // namespace

TEST(ServerStartLines, RemovesOnlyTheClientsOwnLines)
{
    EXPECT_EQ(StripServerStartLines(kOldStart + "error: device not found\r\n"), "error: device not found\r\n");
    EXPECT_EQ(StripServerStartLines(kNewStart), "");
    EXPECT_EQ(StripServerStartLines("a\r\n* daemon started successfully *"), "a\r\n");
    // A line that merely mentions the daemon is the box's answer and stays.
    EXPECT_EQ(StripServerStartLines("x: * daemon started successfully\r\n"), "x: * daemon started successfully\r\n");
    EXPECT_EQ(StripServerStartLines("no line end"), "no line end");
}

TEST(ServerStartLines, EmptyAnswer)
{
    EXPECT_TRUE(IsEmptyAnswer(""));
    EXPECT_TRUE(IsEmptyAnswer(kOldStart));
    EXPECT_TRUE(IsEmptyAnswer(kNewStart + "\r\n"));
    EXPECT_FALSE(IsEmptyAnswer(kNewStart + "error: device offline\r\n"));
}

TEST(Mount, EmptyAnswerMounts)
{
    EXPECT_EQ(JudgeMount("").kind, MountVerdict::Mounted);
    // Right after another window stopped the server, the client restarts it.
    EXPECT_EQ(JudgeMount(kOldStart).kind, MountVerdict::Mounted);
}

TEST(Mount, BusyMeansAlreadyMounted)
{
    const auto v = JudgeMount("mount: Device or resource busy\r\r\n");
    EXPECT_EQ(v.kind, MountVerdict::AlreadyMounted);
    EXPECT_TRUE(v.ok());
}

TEST(Mount, MissingStickGivesTheShortTip)
{
    const auto v = JudgeMount("mount: No such file or directory\r\r\n");
    EXPECT_FALSE(v.ok());
    EXPECT_EQ(v.tip, "mount: No such file or directory");
}

TEST(Mount, OtherFailureCarriesTheBoxAnswer)
{
    const auto v = JudgeMount(kNewStart + "error: device not found\r\n");
    EXPECT_EQ(v.kind, MountVerdict::Failed);
    EXPECT_EQ(v.tip, "error: device not found\r\n");
}

TEST(DeviceActions, AClientThatDidNotStartFailsThoughItPrintedNothing)
{
    const ClientAnswer none{false, {}, "CreateProcess Failed!"};
    const MountVerdict mount = JudgeMount(none);
    EXPECT_EQ(mount.kind, MountVerdict::Failed);
    EXPECT_EQ(mount.tip, "CreateProcess Failed!");
    const RebootVerdict reboot = JudgeReboot(none);
    EXPECT_FALSE(reboot.ok);
    EXPECT_TRUE(reboot.message.isEmpty()) << "the start failure has its own box";
    EXPECT_EQ(reboot.tip, "CreateProcess Failed!");
    EXPECT_EQ(JudgeMount(ClientAnswer{true, {}, {}}).kind, MountVerdict::Mounted);
    EXPECT_TRUE(JudgeReboot(ClientAnswer{true, {}, {}}).ok);
}

TEST(Reboot, EmptyOrServerStartOnlySucceeds)
{
    EXPECT_TRUE(JudgeReboot("").ok);
    EXPECT_TRUE(JudgeReboot(kOldStart).ok);
}

TEST(Reboot, ServerStartFollowedByErrorFails)
{
    const auto v = JudgeReboot(kOldStart + "error: device not found\r\n");
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.message, "No device found!");
    EXPECT_EQ(v.tip, "error: device not found\r\n");
}

TEST(Reboot, MessagesInTableOrder)
{
    EXPECT_EQ(JudgeReboot("error: device offline\r\n").message, "Device is turned off,please reconnect again!");
    EXPECT_EQ(JudgeReboot("error: more than one device and emulator\r\n").message,
              "Detected that the system is plugged into multiple Android devices, please dial in addition to "
              "restart the program after surplus equipment!");
    const auto other = JudgeReboot("reboot: Operation not permitted\r\r\n");
    EXPECT_FALSE(other.ok);
    EXPECT_TRUE(other.message.isEmpty());
    EXPECT_EQ(other.tip, "reboot: Operation not permitted\r\r\n");
}

TEST(ClientErrors, PlainNotFoundRankDecidesAgainstDeviceErrors)
{
    const QString offlineAndShell = "error: device offline\r\n/system/bin/sh: ls: not found\r\n";
    const struct {
        QString output;
        PlainNotFound rank;
        const char* message;
    } cases[] = {
        {offlineAndShell, PlainNotFound::First, text::NoDeviceFound},
        {offlineAndShell, PlainNotFound::Last, text::DeviceTurnedOff},
        {"error: more than one device and emulator\r\n", PlainNotFound::First, text::MultipleDevices},
        {"error: device not found\r\n", PlainNotFound::Last, text::NoDeviceFound},
        {"sh: eMMC: not found\r\n", PlainNotFound::Last, text::NoDeviceFound},
        {"Manufacturer ID 0x15\r\n", PlainNotFound::First, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ClientErrorMessage(c.output, c.rank), c.message) << c.output.toStdString();
    // The reboot and the chip information keep their own ranks.
    EXPECT_EQ(JudgeReboot(offlineAndShell).message, text::NoDeviceFound);
    EXPECT_EQ(ChipInfoErrorMessage(offlineAndShell), text::DeviceTurnedOff);
}
