#include "app/core/ChipInfoErrors.h"
#include "app/core/DeviceList.h"
#include "app/core/UsbBroadcast.h"

#include <gtest/gtest.h>

using namespace kz;

namespace {
const QString kHeader = "List of devices attached \r\n";
}

TEST(DeviceList, NoAnswerLeavesStateAlone)
{
    EXPECT_EQ(JudgeDeviceList("").kind, DeviceListVerdict::NoAnswer);
    EXPECT_EQ(JudgeDeviceList(kHeader).kind, DeviceListVerdict::NoAnswer);
    EXPECT_EQ(JudgeDeviceList(kHeader + "\r\n").kind, DeviceListVerdict::NoAnswer);
    // A client that prints no header (for example when adb itself is missing)
    // is taken as listing nothing, even if the text looks like a device line.
    EXPECT_EQ(JudgeDeviceList("adb: not found\r\nemulator-5554\tdevice\r\n").kind, DeviceListVerdict::NoAnswer);
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
