// What the box keeps across a restart, and the scenario commands.

#include "DeviceFixture.h"

#include <fstream>

namespace boxtest {
namespace {

TEST_F(DeviceTest, ScenarioAndChipSurviveARestart)
{
    ASSERT_EQ(Ctl("remove-chip"), "ok");
    ASSERT_EQ(Ctl("remove-udisk"), "ok");
    ASSERT_EQ(Ctl("fail cp df"), "ok");
    WriteHostFile("state/sdcard/kept.txt", "kept");
    Restart();
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /emmc_info"), "No eMMC inside\n");
    EXPECT_EQ(Run("mount -t vfat /dev/block/sda1 /mnt/udisk"), "mount: No such file or directory\n");
    EXPECT_EQ(Run("df /mnt/sdcard"), "/mnt/sdcard: I/O error\n");
    EXPECT_EQ(Run("cat /mnt/sdcard/kept.txt"), "kept");
    ASSERT_EQ(Ctl("insert-chip"), "ok");
    ASSERT_EQ(Ctl("fail"), "ok");
    Run("/mnt/sdcard/eMMC /configure_boot /boot_ack:On");
    Restart();
    EXPECT_TRUE(Contains(Run("/mnt/sdcard/eMMC /emmc_info"), "==> On\n"));
    EXPECT_TRUE(Contains(Run("df /mnt/sdcard"), "available"));
}

TEST_F(DeviceTest, ChipDataSurvivesARestart)
{
    WriteHostFile("state/sdcard/b.bin", Pattern(1000, 2));
    Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT1:'b.bin'");
    Restart();
    Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'r.bin'");
    EXPECT_EQ(ReadHostFile("state/sdcard/r.bin").substr(0, 1000), Pattern(1000, 2));
}

TEST_F(DeviceTest, ARestartDoesNotReseedTheStick)
{
    fs::remove(Host("state/udisk/boot.img"));
    Restart();
    EXPECT_FALSE(fs::exists(Host("state/udisk/boot.img")));
    EXPECT_TRUE(fs::exists(Host("state/sdcard/eMMC"))) << "the tool is always there";
}

TEST_F(DeviceTest, ControlRejectsWhatItDoesNotKnow)
{
    EXPECT_NE(Ctl("fail bogus"), "ok");
    EXPECT_NE(Ctl("speed fast"), "ok");
    EXPECT_NE(Ctl("speed -5"), "ok");
    EXPECT_NE(Ctl("speed"), "ok");
    EXPECT_NE(Ctl("frobnicate"), "ok");
    EXPECT_NE(Ctl("insert-chip now"), "ok");
    EXPECT_NE(Ctl(""), "ok");
    EXPECT_EQ(Ctl("fail bogus cp"), Ctl("fail bogus")) << "a bad name changes nothing";
    EXPECT_EQ(Run("df /mnt/sdcard").find("I/O error"), std::string::npos);
}

TEST(DeviceConfig, BrokenConfigIsRefusedWithAReason)
{
    const fs::path dir = fs::temp_directory_path() / ("simdevice-cfg-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const std::string bad : {"{", "[]", R"({"speed": "fast"})", R"({"chip": {"userBytes": 0}})",
                                  R"({"chip": {"productName": "two words"}})"}) {
        std::ofstream(dir / "c.json") << bad;
        try {
            box::Device device({dir / "state", dir / "c.json"});
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(Contains(e.what(), "config")) << e.what();
        }
    }
    EXPECT_THROW(box::Device({dir / "state", dir / "absent.json"}), std::runtime_error);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace boxtest
