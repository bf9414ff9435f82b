// Several command lines at once, as the program's workers send them.

#include "DeviceFixture.h"

#include <thread>
#include <vector>

namespace boxtest {
namespace {

TEST_F(DeviceTest, ParallelConfigurationsAndReadsStayConsistent)
{
    std::vector<std::thread> threads;
    std::vector<std::string> answers(8);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] {
            const std::string setting = i % 2 ? "/boot_ack:On" : "/bus_width:1";
            answers[static_cast<size_t>(i)] = Run("/mnt/sdcard/eMMC /configure_boot " + setting) +
                                              Run("/mnt/sdcard/eMMC /emmc_info");
        });
    for (auto& t : threads)
        t.join();
    for (const auto& a : answers)
        EXPECT_TRUE(a.starts_with("Complete successfully !!\neMMC information\n")) << a;
    Restart();
    const std::string info = Run("/mnt/sdcard/eMMC /emmc_info");
    EXPECT_TRUE(Contains(info, "ACK: EXT_CSD[179] = 0x48 ==> On\n")) << "both edits kept: " << info;
    EXPECT_TRUE(Contains(info, "==> x4 (sdr)\n")) << info;
}

TEST_F(DeviceTest, ParallelCopiesAndChipTransfersDoNotMix)
{
    Run("mount -t vfat /dev/block/sda1 /mnt/udisk");
    for (int i = 0; i < 3; ++i)
        WriteHostFile("state/udisk/f" + std::to_string(i), Pattern(700000, static_cast<unsigned>(i)));
    WriteHostFile("state/sdcard/boot.bin", Pattern(500000, 9));
    std::vector<std::thread> threads;
    std::vector<std::string> outputs(4);
    for (int i = 0; i < 3; ++i)
        threads.emplace_back([&, i] {
            const std::string n = std::to_string(i);
            outputs[static_cast<size_t>(i)] = Run("/mnt/sdcard/busybox cp /mnt/udisk/f" + n + " /mnt/sdcard/f" + n);
        });
    threads.emplace_back([&] {
        outputs[3] = Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT1:'boot.bin'");
    });
    for (auto& t : threads)
        t.join();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(outputs[static_cast<size_t>(i)], "");
        EXPECT_EQ(ReadHostFile("state/sdcard/f" + std::to_string(i)), Pattern(700000, static_cast<unsigned>(i)));
    }
    EXPECT_TRUE(Contains(outputs[3], "Complete successfully"));
    EXPECT_EQ(ReadHostBytes("state/chip/boot1.img", 0, 500000), Pattern(500000, 9));
}

}  // namespace
}  // namespace boxtest
