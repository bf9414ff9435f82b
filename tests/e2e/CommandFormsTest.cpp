// Every command form the program sends, through the program's own runner and
// the adb/kz_daemon adapter, against the simulated box behind a private adb
// server.  One box serves the whole suite; tests that change its scenario put
// it back.

#include "BoxFixture.h"
#include "device/AdbRunner.h"
#include "platform/ProgramDir.h"

#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::string Adb(const std::string& command)
{
    QString output;
    EXPECT_TRUE(RunAdbCommand(QString::fromStdString(command), output)) << command;
    return output.toStdString();
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CommandFormsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        kz::SetProgramDirectoryForTests(QString(KZ_BIN_DIR));
        box = new e2e::BoxFixture;
        std::string error;
        // A short reboot keeps the suite quick; no throttling of copies.
        if (!box->Start(error, R"({"rebootDelayMs": 1500, "speed": 0})"))
            startError = error;
    }

    static void TearDownTestSuite()
    {
        delete box;
        box = nullptr;
        kz::SetProgramDirectoryForTests(QString());
    }

    void SetUp() override { ASSERT_TRUE(startError.empty()) << startError; }

    // Polls "devices" through the adapter until the box shows as a device.
    static bool WaitUntilListed(std::chrono::milliseconds timeout)
    {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (Contains(Adb("devices"), box->Serial() + "\tdevice\r\n"))
                return true;
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }

    static e2e::BoxFixture* box;
    static std::string startError;
};

e2e::BoxFixture* CommandFormsTest::box = nullptr;
std::string CommandFormsTest::startError;

TEST_F(CommandFormsTest, DevicesListsTheBoxInTheOldClientsFormat)
{
    std::string list = Adb("devices");
    EXPECT_EQ(list.rfind("List of devices attached \r\n", 0), 0u) << list;
    EXPECT_TRUE(Contains(list, box->Serial() + "\tdevice\r\n")) << list;
    EXPECT_TRUE(Contains(Adb("shell getprop ro.product.model"), "imx51_bbg"));
}

TEST_F(CommandFormsTest, QuotedShellCommandsComeBackWithTheOldLineEnds)
{
    std::string listing = Adb("shell \"ls -l /mnt/sdcard\"");
    EXPECT_TRUE(Contains(listing, " eMMC\r\r\n")) << listing;
    EXPECT_TRUE(Contains(listing, " busybox\r\r\n")) << listing;
    EXPECT_TRUE(Contains(Adb("shell \"ls -l /mnt/sdcard/absent.bin\""), "No such file or directory"));
    EXPECT_TRUE(Contains(Adb("shell frobnicate"), "not found"));
}

TEST_F(CommandFormsTest, ChipToolReportsAndChangesTheChip)
{
    std::string info = Adb("shell /mnt/sdcard/eMMC /emmc_info");
    EXPECT_TRUE(Contains(info, "Manufacturer ID: 0x15")) << info;

    std::string ack = Adb("shell /mnt/sdcard/eMMC /configure_boot /boot_ack:On");
    EXPECT_TRUE(Contains(ack, "Complete successfully !!")) << ack;
    EXPECT_TRUE(Contains(Adb("shell /mnt/sdcard/eMMC /emmc_info"), "==> On"));
    EXPECT_TRUE(Contains(Adb("shell /mnt/sdcard/eMMC /configure_boot /boot_ack:Off"), "Complete successfully !!"));

    std::string read = Adb("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'boot one.bin'\"");
    EXPECT_TRUE(Contains(read, "Complete successfully")) << read;
    EXPECT_TRUE(Contains(Adb("shell \"ls -l '/mnt/sdcard/boot one.bin'\""), " 4194304 ")) << "the boot image was not read whole";
    std::string write = Adb("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT2:'boot one.bin'\"");
    EXPECT_TRUE(Contains(write, "Complete successfully")) << write;
    Adb("shell \"cd /mnt/sdcard && rm 'boot one.bin'\"");
    EXPECT_TRUE(Contains(Adb("shell \"ls -l '/mnt/sdcard/boot one.bin'\""), "No such file or directory"));
}

TEST_F(CommandFormsTest, PushPutsALocalFileIntoADeviceFolder)
{
    std::string local = ::testing::TempDir() + "kz_e2e_push.bin";
    std::ofstream(local, std::ios::binary) << std::string(12345, 'k');
    std::string pushed = Adb("push " + local + " /mnt/sdcard");
    EXPECT_FALSE(pushed.empty());
    EXPECT_FALSE(Contains(pushed, "No such file or directory")) << pushed;
    EXPECT_TRUE(Contains(Adb("shell \"ls -l /mnt/sdcard/kz_e2e_push.bin\""), " 12345 "));
    EXPECT_TRUE(Contains(Adb("push " + local + ".absent /mnt/sdcard"), "No such file or directory"));
    Adb("shell rm /mnt/sdcard/kz_e2e_push.bin");
}

TEST_F(CommandFormsTest, FirstCommandAfterTheServerWasStoppedReachesTheBox)
{
    // Closing the file manager stops the server; the next command starts it
    // and must find the box at once, as it would a box on USB.
    EXPECT_EQ(Adb("kill-server"), "");
    std::string answer = Adb("shell getprop ro.product.model");
    EXPECT_TRUE(Contains(answer, "daemon started successfully")) << answer;
    EXPECT_TRUE(Contains(answer, "imx51_bbg")) << answer;
    EXPECT_FALSE(Contains(answer, "device not found")) << answer;
    EXPECT_EQ(Adb("start-server"), "") << "a running server prints nothing";
}

TEST_F(CommandFormsTest, UDiskMountsOnceAndIsMissingWhenRemoved)
{
    Adb("shell umount /mnt/udisk");
    EXPECT_EQ(Adb("shell mount -t vfat /dev/block/sda1 /mnt/udisk"), "");
    EXPECT_TRUE(Contains(Adb("shell mount -t vfat /dev/block/sda1 /mnt/udisk"), "Device or resource busy"));
    Adb("shell umount /mnt/udisk");
    EXPECT_EQ(box->Ctl("remove-udisk"), "ok");
    EXPECT_TRUE(Contains(Adb("shell mount -t vfat /dev/block/sda1 /mnt/udisk"), "mount: No such file or directory"));
    EXPECT_EQ(box->Ctl("insert-udisk"), "ok");
    EXPECT_EQ(Adb("shell mount -t vfat /dev/block/sda1 /mnt/udisk"), "");
}

TEST_F(CommandFormsTest, ScenarioCommandsShowInTheTextsTheProgramTests)
{
    EXPECT_EQ(box->Ctl("remove-chip"), "ok");
    EXPECT_TRUE(Contains(Adb("shell /mnt/sdcard/eMMC /emmc_info"), "No eMMC inside"));
    EXPECT_EQ(box->Ctl("insert-chip"), "ok");
    EXPECT_TRUE(Contains(Adb("shell /mnt/sdcard/eMMC /emmc_info"), "Manufacturer ID"));

    EXPECT_EQ(box->Ctl("offline"), "ok");
    ASSERT_TRUE(box->Server().WaitForState(box->Serial(), "offline"));
    EXPECT_TRUE(Contains(Adb("shell getprop ro.product.model"), "error: device offline"));
    EXPECT_EQ(box->Ctl("online"), "ok");
    EXPECT_TRUE(WaitUntilListed(5s));
    EXPECT_NE(box->Ctl("warp 9"), "ok") << "an unknown scenario must be refused";
}

TEST_F(CommandFormsTest, UnauthorizedAndUnpluggedBoxesAreToldApart)
{
    EXPECT_EQ(box->Ctl("unauthorized"), "ok");
    ASSERT_TRUE(box->Server().WaitForState(box->Serial(), "unauthorized"));
    EXPECT_TRUE(Contains(Adb("devices"), box->Serial() + "\tunauthorized"));
    EXPECT_TRUE(Contains(Adb("shell getprop ro.product.model"), "unauthorized"));

    EXPECT_EQ(box->Ctl("unplug"), "ok");
    ASSERT_TRUE(box->Server().WaitForState(box->Serial(), ""));
    std::string none = Adb("shell getprop ro.product.model");
    EXPECT_TRUE(Contains(none, "not found")) << none;
    EXPECT_FALSE(Contains(none, "imx51_bbg"));

    EXPECT_EQ(box->Ctl("online"), "ok");
    EXPECT_EQ(box->Ctl("plug"), "ok");
    EXPECT_TRUE(WaitUntilListed(5s));
}

TEST_F(CommandFormsTest, RebootPrintsNothingAndTheBoxReturns)
{
    EXPECT_EQ(Adb("shell reboot"), "");
    // The client may end before the box has dropped its link: wait for the
    // reboot itself, then for the box to come back.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!Contains(box->Ctl("status"), "rebooting=yes") && Contains(Adb("devices"), box->Serial() + "\tdevice") &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(WaitUntilListed(10s));
    EXPECT_TRUE(Contains(Adb("shell getprop ro.product.model"), "imx51_bbg"));
}

}  // namespace
