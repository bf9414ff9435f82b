// The chip tool's identity report, data transfers and boot configuration.

#include "DeviceFixture.h"

#include <regex>

namespace boxtest {
namespace {

const std::string kData = "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA ";

// The value after "==>" on the line that starts with label.
std::string BootValue(const std::string& info, const std::string& label)
{
    std::smatch m;
    if (!std::regex_search(info, m, std::regex("\n" + label + " [^\n]*==> ([^\n]*)\n")))
        return "<missing>";
    return m[1];
}

// The last blank-separated word of the line just before `label`.
std::string WordBefore(const std::string& info, const std::string& label)
{
    const size_t at = info.find(label);
    const size_t lineEnd = info.rfind('\n', at - 1);
    const size_t blank = info.rfind(' ', lineEnd);
    return info.substr(blank + 1, lineEnd - blank - 1);
}

TEST_F(DeviceTest, InfoReportDecodes)
{
    const std::string info = Run("/mnt/sdcard/eMMC /emmc_info");
    std::smatch m;
    std::regex part(R"(Partition #(\d) \(([A-Z0-9]+)\): ([^)\n]*\)))");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(info.begin(), info.end(), part); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[2]);
    EXPECT_EQ(names, (std::vector<std::string>{"BOOT1", "BOOT2", "RPMB", "USER"}));
    EXPECT_TRUE(Contains(info, "Partition #4 (USER): 64 MB (67108864 Bytes)\n")) << info;
    EXPECT_EQ(WordBefore(info, "Card/BGA"), "0x15");
    EXPECT_EQ(WordBefore(info, "Product revision"), "KZ16G1");
    EXPECT_EQ(BootValue(info, "Boot Partition Enable:"), "Boot partition 1");
    EXPECT_EQ(BootValue(info, "ACK:"), "Off");
    EXPECT_EQ(BootValue(info, "Boot mode:"), "single,backward compatible");
    EXPECT_EQ(BootValue(info, "Bus width:"), "x8 (sdr)");
    EXPECT_LT(info.find("Boot Partition Enable:"), info.find("ACK:"));
    EXPECT_LT(info.find("ACK:"), info.find("Boot mode:"));
    EXPECT_LT(info.find("Boot mode:"), info.find("Bus width:"));
    EXPECT_EQ(Run("cd /mnt/sdcard && ./eMMC /emmc_info"), info);
}

TEST_F(DeviceTest, WithoutChipEveryChipOperationSaysSo)
{
    ASSERT_EQ(Ctl("remove-chip"), "ok");
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /emmc_info"), "No eMMC inside\n");
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /READ_USER"), "No eMMC inside\n");
    EXPECT_EQ(Run(kData + "/READ_BOOT1:'b.img'"), "No eMMC inside\n");
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /configure_boot /boot_ack:On"), "No eMMC inside\n");
}

TEST_F(DeviceTest, BootWriteThenReadBackRoundTrips)
{
    WriteHostFile("state/sdcard/boot1.bin", Pattern(300000, 7));
    EXPECT_EQ(Run(kData + "/WRITE_BOOT1:'boot1.bin'").substr(0, 8), "writing ");
    EXPECT_TRUE(Contains(Run(kData + "/WRITE_BOOT1:'boot1.bin'"), "Complete successfully\n"));
    EXPECT_TRUE(Contains(Run(kData + "/READ_BOOT1:'back.bin'"), "Complete successfully\n"));
    const std::string back = ReadHostFile("state/sdcard/back.bin");
    ASSERT_EQ(back.size(), 1u << 20) << "a read saves the whole partition";
    EXPECT_EQ(back.substr(0, 300000), Pattern(300000, 7));
    EXPECT_EQ(back.substr(300000), std::string(back.size() - 300000, '\0'));
    Run(kData + "/READ_BOOT2:'boot2.bin'");
    EXPECT_EQ(ReadHostFile("state/sdcard/boot2.bin"), std::string(1 << 20, '\0')) << "boot2 untouched";
}

TEST_F(DeviceTest, BootWriteFromStickMatchesNamesWithoutCase)
{
    Run("mount -t vfat /dev/block/sda1 /mnt/udisk");
    WriteHostFile("state/udisk/UBOOT.IMG", Pattern(4096, 9));
    const std::string out = Run(kData + "/WRITE_BOOT2:/mnt/udisk/'uboot.img'");
    EXPECT_TRUE(Contains(out, "Complete successfully")) << out;
    Run(kData + "/READ_BOOT2:'check.bin'");
    EXPECT_EQ(ReadHostFile("state/sdcard/check.bin").substr(0, 4096), Pattern(4096, 9));
}

TEST_F(DeviceTest, DataErrorsNeverClaimSuccess)
{
    WriteHostFile("state/sdcard/big.bin", std::string((1 << 20) + 1, 'x'));
    WriteHostFile("state/sdcard/small.bin", "x");
    const std::vector<std::string> failing = {
        kData + "/WRITE_BOOT1:'missing.bin'",
        kData + "/WRITE_BOOT1:'big.bin'",
        kData + "/WRITE_USER_AREA:/mnt/sdcard/'small.bin' /WRITE_USER_AREA_S:64MB",
        kData + "/WRITE_USER_AREA:/mnt/udisk/'small.bin' /WRITE_USER_AREA_S:0MB",
        kData + "/WRITE_USER_AREA:/mnt/sdcard/'small.bin' /WRITE_USER_AREA_S:-2097152MB",
        kData + "/WRITE_USER_AREA:/mnt/sdcard/'small.bin'",
        kData + "/READ_USER_AREA:'u.bin' /READ_USER_AREA_SIZE:65MB ",
        kData + "/READ_USER_AREA:'u.bin' /READ_USER_AREA_SIZE:0MB ",
        kData + "/READ_USER_AREA:'u.bin' /READ_USER_AREA_SIZE:5XB ",
        kData + "/READ_BOOT1:''",
        kData + "/READ_BOOT1:'a' /READ_BOOT2:'b'",
        kData,
    };
    for (const auto& command : failing) {
        const std::string out = Run(command);
        EXPECT_FALSE(Contains(out, "Complete successfully")) << command;
        EXPECT_TRUE(Contains(out, "error")) << command << "\n" << out;
    }
    EXPECT_FALSE(fs::exists(Host("state/sdcard/u.bin")));
}

TEST_F(DeviceTest, UserAreaWriteAtAddressThenReadBack)
{
    WriteHostFile("state/sdcard/part.bin", Pattern(10000, 5));
    EXPECT_TRUE(Contains(Run(kData + "/WRITE_USER_AREA:/mnt/sdcard/'part.bin' /WRITE_USER_AREA_S:1MB"),
                         "Complete successfully"));
    const std::string out = Run(kData + "/READ_USER_AREA:'user.bin' /READ_USER_AREA_SIZE:2MB ");
    EXPECT_TRUE(Contains(out, "Complete successfully")) << out;
    const std::string back = ReadHostFile("state/sdcard/user.bin");
    ASSERT_EQ(back.size(), 2u << 20);
    EXPECT_EQ(back.substr(1 << 20, 10000), Pattern(10000, 5));
    EXPECT_EQ(back.substr(0, 1 << 20), std::string(1 << 20, '\0'));
}

TEST_F(DeviceTest, ReadAndWriteFailScenarios)
{
    WriteHostFile("state/sdcard/b.bin", Pattern(200000, 1));
    Ctl("fail write");
    EXPECT_FALSE(Contains(Run(kData + "/WRITE_BOOT1:'b.bin'"), "Complete successfully"));
    EXPECT_TRUE(Contains(Run(kData + "/READ_BOOT1:'r.bin'"), "Complete successfully"));
    Ctl("fail read");
    EXPECT_TRUE(Contains(Run(kData + "/READ_BOOT1:'r.bin'"), "Input/output error"));
}

TEST_F(DeviceTest, ConfigureBootChangesTheNextReport)
{
    const std::string tool = "/mnt/sdcard/eMMC /configure_boot ";
    EXPECT_EQ(Run(tool + "/boot_partition_enable:2"), "Complete successfully !!\n");
    EXPECT_EQ(Run(tool + "/boot_ack:On"), "Complete successfully !!\n");
    EXPECT_EQ(Run(tool + "/mode:1"), "Complete successfully !!\n");
    EXPECT_EQ(Run(tool + "/bus_width:1"), "Complete successfully !!\n");
    const std::string info = Run("/mnt/sdcard/eMMC /emmc_info");
    EXPECT_EQ(BootValue(info, "Boot Partition Enable:"), "Boot partition 2");
    EXPECT_EQ(BootValue(info, "ACK:"), "On");
    EXPECT_EQ(BootValue(info, "Boot mode:"), "single,high speed");
    EXPECT_EQ(BootValue(info, "Bus width:"), "x4 (sdr)");
    EXPECT_EQ(Run(tool + "/boot_partition_enable:7"), "Complete successfully !!\n");
    EXPECT_EQ(BootValue(Run("/mnt/sdcard/eMMC /emmc_info"), "Boot Partition Enable:"), "User area enabled for boot");
    EXPECT_EQ(Run(tool + "/boot_partition_enable:0"), "Complete successfully !!\n");
    EXPECT_EQ(Run(tool + "/bus_width:0"), "Complete successfully !!\n");
    const std::string again = Run("/mnt/sdcard/eMMC /emmc_info");
    EXPECT_EQ(BootValue(again, "Boot Partition Enable:"), "None");
    EXPECT_EQ(BootValue(again, "Bus width:"), "x1 (sdr)");
}

TEST_F(DeviceTest, InvalidBootValuesChangeNothing)
{
    const std::string before = Run("/mnt/sdcard/eMMC /emmc_info");
    const std::string tool = "/mnt/sdcard/eMMC /configure_boot ";
    for (const std::string bad : {"/boot_partition_enable:-1", "/boot_partition_enable:3", "/boot_partition_enable:6", "/boot_ack:",
                                  "/boot_ack:on", "/mode:-1", "/mode:2", "/bus_width:3", "/bus_width:x",
                                  "/bus_width:1 /mode:7", "/speed:1", ""}) {
        const std::string out = Run(tool + bad);
        EXPECT_FALSE(Contains(out, "Complete successfully")) << bad;
        EXPECT_TRUE(Contains(out, "error")) << bad;
    }
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /emmc_info"), before);
    Ctl("fail configure");
    EXPECT_FALSE(Contains(Run(tool + "/boot_ack:On"), "Complete successfully"));
}

}  // namespace
}  // namespace boxtest
