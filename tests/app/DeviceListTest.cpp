#include "link/ChipInfoErrors.h"
#include "device/ClientErrors.h"
#include "link/DeviceList.h"
#include "link/UsbBroadcast.h"

#include <gtest/gtest.h>

using namespace kz;

namespace {
const QString kHeader = "List of devices attached \r\n";
}

TEST(DeviceList, NoAnswerLeavesStateAlone)
{
    EXPECT_EQ(JudgeDeviceList("").kind, DeviceListVerdict::NoAnswer);
    EXPECT_EQ(JudgeDeviceList(kHeader).kind, DeviceListVerdict::Empty);
    EXPECT_EQ(JudgeDeviceList(kHeader + "\r\n").kind, DeviceListVerdict::Empty);
    // A client that prints no header (for example when adb itself is missing)
    // is taken as listing nothing, even if the text looks like a device line.
    EXPECT_EQ(JudgeDeviceList("adb: not found\r\nemulator-5554\tdevice\r\n").kind, DeviceListVerdict::NoAnswer);
}

// Each state adb lists, as "devices", "devices -l" and "track-devices" print
// it (captured from adb 1.0.41; the adapter ends lines in CR LF).
TEST(DeviceList, EveryStateIsNamed)
{
    const QString noPermissions =
        "no permissions (user in plugdev group; are your udev rules wrong?); see "
        "[http://developer.android.com/tools/device.html]";
    const struct {
        QString words;
        LinkState state;
    } cases[] = {
        {"device", LinkState::Device},           {"offline", LinkState::Offline},
        {"unauthorized", LinkState::Unauthorized}, {noPermissions, LinkState::NoPermissions},
        {"authorizing", LinkState::Authorizing}, {"connecting", LinkState::Connecting},
        {"recovery", LinkState::Recovery},       {"sideload", LinkState::Sideload},
        {"bootloader", LinkState::Bootloader},   {"host", LinkState::Host},
        {"unknown", LinkState::Unknown},         {"rescue", LinkState::Unknown},
    };
    for (const auto& c : cases) {
        const QString plain = kHeader + "0123456789ABCDEF\t" + c.words + "\r\n\r\n";
        const QString longForm = kHeader + "0123456789ABCDEF       " + c.words +
                                 " usb:1-1.4 product:imx51_bbg model:imx51_bbg device:imx51_bbg transport_id:3\r\n\r\n";
        for (const QString& output : {plain, longForm}) {
            const DeviceListVerdict verdict = JudgeDeviceList(output);
            EXPECT_EQ(verdict.state, c.state) << qPrintable(output);
            EXPECT_EQ(verdict.stateWords, c.state == LinkState::Device ? QString() : c.words) << qPrintable(output);
            EXPECT_EQ(ParseDevicesList(output), (TrackedList{{"0123456789ABCDEF", c.words}})) << qPrintable(output);
        }
        TrackFrameReader frames;
        const QByteArray payload = "0123456789ABCDEF\t" + c.words.toUtf8() + "\n";
        const QList<TrackedList> tracked = frames.Feed(QByteArray::number(payload.size(), 16).rightJustified(4, '0') + payload);
        ASSERT_EQ(tracked.size(), 1);
        EXPECT_EQ(LinkStateOf(tracked[0].value(0).state), c.state) << qPrintable(c.words);
        EXPECT_EQ(TextsOf(c.state).advice == nullptr, c.state == LinkState::Device) << qPrintable(c.words);
    }
    EXPECT_EQ(JudgeDeviceList(kHeader + "a\tunauthorized\r\nb\tdevice\r\n").state, LinkState::Device);
    EXPECT_EQ(JudgeDeviceList("kz_daemon: the adb client 'adb' was not found; install it with: sudo apt-get install adb\r\n").kind,
              DeviceListVerdict::AdbMissing);
    EXPECT_EQ(ParseDevicesList("error: protocol fault\r\n"), std::nullopt);
}

TEST(ClientErrors, WhatTheClientSaysBesidesAList)
{
    for (const char* error : {"error: device not found", "error: device offline", "error: device unauthorized.",
                              "error: device 'X' not found", "error: no devices/emulators found",
                              "error: more than one device/emulator", "error: closed"})
        EXPECT_TRUE(IsDeviceError(error)) << error;
    EXPECT_FALSE(IsDeviceError("/system/bin/sh: md5sum: not found"));
    EXPECT_FALSE(IsDeviceError("error: protocol fault (couldn't read status): Connection reset by peer"));
    EXPECT_EQ(ServerVersionClash("adb server version (41) doesn't match this client (39); killing...\r\n"),
              (VersionClash{"41", "39"}));
    EXPECT_EQ(ServerVersionClash("* daemon started successfully\r\n"), std::nullopt);
    EXPECT_FALSE(IsAdbMissing("kz_daemon: cannot run the adb client 'adb': Permission denied"));
}

TEST(DeviceList, CountsDeviceLinesWithCrLf)
{
    const auto one = JudgeDeviceList(kHeader + "emulator-5554\tdevice\r\n\r\n");
    EXPECT_EQ(one.kind, DeviceListVerdict::Online);
    EXPECT_EQ(one.onlineCount, 1);
    const auto two = JudgeDeviceList("* daemon started successfully *\r\n" + kHeader +
                                     "0123456789ABCDEF\tdevice\r\nemulator-5554\tdevice\r\n\r\n");
    EXPECT_EQ(two.onlineCount, 2);
}

TEST(DeviceList, SerialOfTheOnlyOnlineDevice)
{
    EXPECT_EQ(JudgeDeviceList(kHeader + "emulator-5554\tdevice\r\n\r\n").serial, "emulator-5554");
    EXPECT_EQ(JudgeDeviceList(kHeader + "x\tunauthorized\r\n0123ABCD\tdevice\r\n\r\n").serial, "0123ABCD");
    EXPECT_EQ(JudgeDeviceList(kHeader + "a\tdevice\nb\tdevice\r\n").serial, "b");  // the counted line's
    EXPECT_EQ(JudgeDeviceList(kHeader + "a\tdevice\r\nb\tdevice\r\n").serial, "");  // two: none of them
    EXPECT_EQ(JudgeDeviceList(kHeader + "a\tunauthorized\r\n\r\n").serial, "");
}

TEST(DeviceList, BareLineFeedIsNotCounted)
{
    EXPECT_EQ(JudgeDeviceList(kHeader + "serial\tdevice\n").onlineCount, 0);
    EXPECT_EQ(JudgeDeviceList(kHeader + "a\tdevice\nb\tdevice\r\n").onlineCount, 1);
}

TEST(DeviceList, DevicesInOtherStatesCountZero)
{
    const auto v = JudgeDeviceList(kHeader + "serial\tunauthorized\r\nother\trecovery\r\n\r\n");
    EXPECT_EQ(v.kind, DeviceListVerdict::Online);
    EXPECT_EQ(v.onlineCount, 0);
}

TEST(DeviceList, OfflineWinsOverOnlineDevices)
{
    EXPECT_EQ(JudgeDeviceList(kHeader + "a\tdevice\r\nb\toffline\r\n").kind, DeviceListVerdict::Offline);
}

TEST(DeviceList, LineWithoutSerialEndsTheCount)
{
    EXPECT_EQ(CountOnlineDevices("\tdevice\r\nb\tdevice\r\n"), 0);
    EXPECT_EQ(CountOnlineDevices("a\tdevice\r\n\tdevice\r\nc\tdevice\r\n"), 1);
    EXPECT_EQ(CountOnlineDevices(""), 0);
}

TEST(DeviceList, BoxModel)
{
    EXPECT_TRUE(IsBoxModel("imx51_bbg\r\r\n"));
    EXPECT_FALSE(IsBoxModel("Pixel 7\r\n"));
    EXPECT_FALSE(IsBoxModel("IMX51_BBG"));
}

TEST(UsbBroadcast, NeedsVendorAndProductInAnyCase)
{
    EXPECT_TRUE(IsUsbDeviceName(R"(\\?\USB#VID_18D1&PID_4E42#0123#{a5dcbf10-6530-11d2-901f-00c04fb951ed})"));
    EXPECT_TRUE(IsUsbDeviceName(R"(\\?\usb#vid_046d&pid_c52b#5&1)"));
    EXPECT_FALSE(IsUsbDeviceName(R"(\\?\HID#VID_046D&PID_C52B#7&1)"));
    EXPECT_FALSE(IsUsbDeviceName(R"(\\?\USB#VID_046D#7&1)"));
    EXPECT_FALSE(IsUsbDeviceName(""));
}

TEST(ChipInfoErrors, FirstMarkerInTableOrderDecides)
{
    EXPECT_EQ(ChipInfoErrorMessage("No eMMC inside\r\nerror: device not found\r\n"),
              "The chip is not detected, please placed chip and try again!");
    EXPECT_EQ(ChipInfoErrorMessage("error: device not found\r\n"), "No device found!");
    EXPECT_EQ(ChipInfoErrorMessage("error: device offline\r\n"), "Device is turned off,please reconnect again!");
    EXPECT_EQ(ChipInfoErrorMessage("error: more than one device and emulator\r\n"),
              "Detected that the system is plugged into multiple Android devices, please dial in addition to "
              "restart the program after surplus equipment!");
    EXPECT_EQ(ChipInfoErrorMessage("/system/bin/sh: /mnt/sdcard/eMMC: not found\r\n"), "No device found!");
}

TEST(ChipInfoErrors, ChipReportPasses)
{
    EXPECT_TRUE(ChipInfoErrorMessage("Manufacturer ID 0x15\r\nPartition #1 (boot) : 4 MiB (0x400000)\r\n").isEmpty());
    EXPECT_TRUE(ChipInfoErrorMessage("").isEmpty());
    // Markers are case-sensitive.
    EXPECT_TRUE(ChipInfoErrorMessage("Not Found").isEmpty());
}
