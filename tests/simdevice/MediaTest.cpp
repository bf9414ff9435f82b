// Mounting the stick and the space the storages report.

#include "DeviceFixture.h"
#include "SimConfig.h"

#include <regex>

namespace boxtest {
namespace {

const char* const kMount = "mount -t vfat /dev/block/sda1 /mnt/udisk";

struct DfLine {
    uint64_t total = 0, used = 0, available = 0;
};

DfLine ParseDf(const std::string& text, const std::string& dir)
{
    std::smatch m;
    const std::regex form(dir + R"(: (\d+)K total, (\d+)K used, (\d+)K available \(block size 4096\)\n)");
    EXPECT_TRUE(std::regex_match(text, m, form)) << text;
    if (m.empty())
        return {};
    return {std::stoull(m[1]), std::stoull(m[2]), std::stoull(m[3])};
}

TEST_F(DeviceTest, MountAnswersAsTheProgramExpects)
{
    EXPECT_EQ(Run(kMount), "");
    EXPECT_EQ(Run(kMount), "mount: Device or resource busy\n");
    EXPECT_EQ(Run("umount /mnt/udisk"), "");
    EXPECT_EQ(Run(kMount), "");
    EXPECT_EQ(Ctl("remove-udisk"), "ok");
    EXPECT_EQ(Run(kMount), "mount: No such file or directory\n");
    EXPECT_EQ(Run("ls /mnt/udisk"), "");
    EXPECT_EQ(Ctl("insert-udisk"), "ok");
    EXPECT_EQ(Run("ls /mnt/udisk"), "") << "a stick put back in is not mounted by itself";
    EXPECT_EQ(Run(kMount), "");
    EXPECT_TRUE(Contains(Run("ls /mnt/udisk"), "boot.img\n"));
}

TEST_F(DeviceTest, MountFailureScenario)
{
    EXPECT_EQ(Ctl("fail mount"), "ok");
    const std::string out = Run(kMount);
    EXPECT_FALSE(out.empty());
    EXPECT_FALSE(Contains(out, "Device or resource busy"));
    EXPECT_EQ(Run("ls /mnt/udisk"), "");
}

TEST_F(DeviceTest, DfReportsSpaceThatTracksFiles)
{
    const DfLine before = ParseDf(Run("df /mnt/sdcard/"), "/mnt/sdcard/");
    EXPECT_EQ(before.total, before.used + before.available);
    WriteHostFile("state/sdcard/big.bin", std::string(1 << 20, 'x'));
    const DfLine after = ParseDf(Run("df /mnt/sdcard"), "/mnt/sdcard");
    EXPECT_EQ(after.used, before.used + 1024);
}

TEST_F(DeviceTest, DfOfTheStickWhenAbsentUnmountedOrFailing)
{
    EXPECT_EQ(Run("df /mnt/udisk/"), "/mnt/udisk: No such file or directory\n");
    Run(kMount);
    const DfLine stick = ParseDf(Run("df /mnt/udisk/"), "/mnt/udisk/");
    EXPECT_GT(stick.used, (5ull << 30) / 2 / 1024) << "the seeded 2.5 GiB file counts in full";
    EXPECT_EQ(Ctl("fail df"), "ok");
    EXPECT_EQ(Run("df /mnt/udisk/"), "/mnt/udisk: I/O error\n");
    EXPECT_EQ(Ctl("fail"), "ok");
    EXPECT_EQ(Ctl("remove-udisk"), "ok");
    EXPECT_EQ(Run("df /mnt/udisk/"), "/mnt/udisk: No such file or directory\n");
}

class HumanDfTest : public DeviceTest {
protected:
    std::string ConfigJson() const override
    {
        return R"({"speed": 0, "dfUnits": "human", "sdcardCapacityBytes": 2040109465,
                   "udisk": {"capacityBytes": 3963617280}, "chip": {"userBytes": 67108864}})";
    }
};

// As busybox prints big volumes: one decimal and the largest unit.
TEST_F(HumanDfTest, DfPrintsUnitsWithDecimals)
{
    const std::string sd = Run("df /mnt/sdcard/");
    const std::regex form(R"(/mnt/sdcard/: 1\.9G total, \d+\.\d[KM] used, 1\.9G available \(block size 4096\)\n)");
    EXPECT_TRUE(std::regex_match(sd, form)) << sd;
    Run(kMount);
    // 3.7G less the seeded files (2.5 GiB, 256 MiB, 1 MiB, ...) is under 1G.
    EXPECT_TRUE(std::regex_search(Run("df /mnt/udisk"), std::regex(R"( 3\.7G total, 2\.\dG used, \d{3}\.\dM available)")));
}

TEST(SimConfigDf, UnitsAreKOrHuman)
{
    std::string error;
    EXPECT_FALSE(box::dev::ParseSimConfig(R"({})", error)->dfHumanUnits);
    EXPECT_TRUE(box::dev::ParseSimConfig(R"({"dfUnits": "human"})", error)->dfHumanUnits);
    EXPECT_FALSE(box::dev::ParseSimConfig(R"({"dfUnits": "K"})", error)->dfHumanUnits);
    EXPECT_FALSE(box::dev::ParseSimConfig(R"({"dfUnits": "G"})", error).has_value());
    EXPECT_TRUE(Contains(error, "dfUnits"));
}

}  // namespace
}  // namespace boxtest
