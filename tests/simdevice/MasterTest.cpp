// Building the master: from the chip (READ_USER) and from an MTX file.

#include "DeviceFixture.h"
#include "MtxFile.h"

#include <chrono>
#include <regex>

namespace boxtest {
namespace {

class MasterTest : public DeviceTest {
protected:
    std::string ConfigJson() const override
    {
        return R"({"speed": 0, "readUserMs": 600, "mtkMs": 300, "chip": {"userBytes": 67108864}})";
    }
    void Mount() { Run("mount -t vfat /dev/block/sda1 /mnt/udisk"); }
};

int CountMatches(const std::string& text, const std::string& pattern)
{
    const std::regex re(pattern);
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

TEST_F(MasterTest, MtxFromTheStickEndsInMasterOk)
{
    Mount();
    const auto start = std::chrono::steady_clock::now();
    const std::string out = Run("/mnt/sdcard/eMMC /MTK");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_TRUE(out.ends_with("Master OK\n")) << out;
    EXPECT_FALSE(Contains(out, "error"));
    EXPECT_FALSE(Contains(out, "failed"));
    EXPECT_GE(CountMatches(out, R"(decompressing MT29F16G\.img\.mtx: \d+%)"), 5) << out;
    EXPECT_EQ(fs::file_size(Host("state/master/master.img")), 67108864u);
    EXPECT_EQ(ReadHostBytes("state/master/master.img", 0, 26), "KZ master partition table\n");
}

TEST_F(MasterTest, MtxMissingOrDamaged)
{
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /MTK"), "can't open /mnt/udisk/ MTX file\n") << "stick not mounted";
    Mount();
    fs::remove(Host("state/udisk/MT29F16G.img.mtx"));
    EXPECT_EQ(Run("/mnt/sdcard/eMMC /MTK"), "can't open /mnt/udisk/ MTX file\n");
    WriteHostFile("state/udisk/BAD.IMG.MTX", "KZMTX 1 1000\n0 500\nshort");
    const std::string out = Run("/mnt/sdcard/eMMC /MTK");
    EXPECT_TRUE(Contains(out, "error")) << out;
    EXPECT_FALSE(Contains(out, "Master OK"));
    EXPECT_FALSE(fs::exists(Host("state/master/master.img"))) << "a broken run keeps no half master";
}

TEST_F(MasterTest, MtxPiecesLandAtTheirOffsets)
{
    Mount();
    fs::remove(Host("state/udisk/MT29F16G.img.mtx"));
    ASSERT_TRUE(box::dev::WriteMtxFile(Host("state/udisk/mine.mtx"), 1 << 20,
                                       {{4096, Pattern(1000, 1)}, {(1 << 20) - 10, "0123456789"}}));
    EXPECT_TRUE(Run("/mnt/sdcard/eMMC /MTK").ends_with("Master OK\n"));
    const std::string master = ReadHostFile("state/master/master.img");
    ASSERT_EQ(master.size(), 1u << 20);
    EXPECT_EQ(master.substr(4096, 1000), Pattern(1000, 1));
    EXPECT_EQ(master.substr((1 << 20) - 10), "0123456789");
    EXPECT_EQ(master.substr(0, 4096), std::string(4096, '\0'));
}

TEST_F(MasterTest, MtkFailScenario)
{
    Mount();
    Ctl("fail mtk");
    const std::string out = Run("/mnt/sdcard/eMMC /MTK");
    EXPECT_TRUE(Contains(out, "error")) << out;
    EXPECT_FALSE(Contains(out, "Master OK"));
}

TEST_F(MasterTest, ReadUserCopiesTheChipWithProgressOverTime)
{
    WriteHostFile("state/sdcard/p.bin", Pattern(5000, 8));
    Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_USER_AREA:/mnt/sdcard/'p.bin' /WRITE_USER_AREA_S:3MB");
    const auto start = std::chrono::steady_clock::now();
    const std::string out = Run("/mnt/sdcard/eMMC /READ_USER");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_GE(CountMatches(out, R"(READ_USER: \d+%\n)"), 10) << out;
    EXPECT_TRUE(Contains(out, "READ_USER done")) << out;
    EXPECT_FALSE(Contains(out, "error"));
    EXPECT_EQ(ReadHostBytes("state/master/master.img", 3 << 20, 5000), Pattern(5000, 8));
}

TEST_F(MasterTest, ReadUserStopsWhenTheHostGoes)
{
    CaptureOutput gone(1);
    const auto start = std::chrono::steady_clock::now();
    device->RunShell("/mnt/sdcard/eMMC /READ_USER", gone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    EXPECT_FALSE(fs::exists(Host("state/master/master.img")));
}

TEST_F(MasterTest, ReadUserFailScenario)
{
    Ctl("fail read_user");
    const std::string out = Run("/mnt/sdcard/eMMC /READ_USER");
    EXPECT_TRUE(Contains(out, "Input/output error")) << out;
    EXPECT_FALSE(Contains(out, "done"));
}

}  // namespace
}  // namespace boxtest
