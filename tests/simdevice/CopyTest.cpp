// busybox cp between the stick and the SD card, as the file manager runs it
// while it polls the target's size.

#include "DeviceFixture.h"

#include <chrono>
#include <regex>
#include <set>
#include <thread>

namespace boxtest {
namespace {

const char* const kCp = "/mnt/sdcard/busybox cp ";

int64_t ListedSize(const std::string& line)
{
    std::smatch m;
    if (!std::regex_search(line, m, std::regex(R"(root +(-?\d+) \d{4}-)")))
        return -1;
    return std::stoll(m[1]);
}

class CopyTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        Run("mount -t vfat /dev/block/sda1 /mnt/udisk");
    }
};

TEST_F(CopyTest, CopyIsExactAndQuotedNamesWork)
{
    WriteHostFile("state/udisk/my file.bin", Pattern(300000, 1));
    EXPECT_EQ(Run(std::string(kCp) + "/mnt/udisk/'my file.bin' /mnt/sdcard/'copy of it.bin'"), "");
    EXPECT_EQ(ReadHostFile("state/sdcard/copy of it.bin"), Pattern(300000, 1));
}

TEST_F(CopyTest, PollingSeesTheTargetGrow)
{
    ASSERT_EQ(Ctl("speed 8388608"), "ok");  // 8 MiB/s: a 4 MiB file takes half a second
    WriteHostFile("state/udisk/grow.bin", Pattern(4 << 20, 2));
    std::string copyOutput;
    std::thread copy([&] { copyOutput = Run(std::string(kCp) + "/mnt/udisk/'grow.bin' /mnt/sdcard/'grow.bin'"); });
    std::set<int64_t> seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        const int64_t size = ListedSize(Run("ls -l /mnt/sdcard/'grow.bin'"));
        seen.insert(size);
        if (size == (4 << 20))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    copy.join();
    EXPECT_EQ(copyOutput, "");
    EXPECT_TRUE(seen.count(4 << 20));
    const bool partial = std::any_of(seen.begin(), seen.end(), [](int64_t s) { return s > 0 && s < (4 << 20); });
    EXPECT_TRUE(partial) << "no size between empty and complete was listed";
    EXPECT_EQ(ReadHostFile("state/sdcard/grow.bin"), Pattern(4 << 20, 2));
}

TEST_F(CopyTest, SparseSourceOverTwoGibibytesCopiesQuickly)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(std::string(kCp) + "/mnt/udisk/'backup 2G5.bin' /mnt/sdcard/'backup 2G5.bin'"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(fs::file_size(Host("state/sdcard/backup 2G5.bin")), (5ull << 30) / 2);
    EXPECT_EQ(ListedSize(Run("ls -l /mnt/sdcard/'backup 2G5.bin'")), -1610612736);
}

TEST_F(CopyTest, FailScenarioGivesInputOutputErrorAndAShortTarget)
{
    ASSERT_EQ(Ctl("fail cp"), "ok");
    WriteHostFile("state/udisk/f.bin", Pattern(1 << 20, 4));
    const std::string out = Run(std::string(kCp) + "/mnt/udisk/'f.bin' /mnt/sdcard/'f.bin'");
    EXPECT_TRUE(Contains(out, "Input/output error")) << out;
    EXPECT_LT(fs::file_size(Host("state/sdcard/f.bin")), 1u << 20);
}

TEST_F(CopyTest, MissingSourceAndUnmountedTarget)
{
    EXPECT_EQ(Run(std::string(kCp) + "/mnt/udisk/'none' /mnt/sdcard/'x'"),
              "cp: can't stat '/mnt/udisk/none': No such file or directory\n");
    Run("umount /mnt/udisk");
    EXPECT_TRUE(Contains(Run(std::string(kCp) + "/mnt/sdcard/busybox /mnt/udisk/'x'"), "can't create"));
    EXPECT_FALSE(fs::exists(Host("state/udisk/x")));
}

class SmallStickTest : public CopyTest {
protected:
    std::string ConfigJson() const override
    {
        return R"({"speed": 0, "udisk": {"capacityBytes": 3221225472}, "chip": {"userBytes": 67108864}})";
    }
};

TEST_F(SmallStickTest, FullStickReportsNoSpace)
{
    WriteHostFile("state/sdcard/big.bin", "");
    fs::resize_file(Host("state/sdcard/big.bin"), 1ull << 30);
    const std::string out = Run(std::string(kCp) + "/mnt/sdcard/big.bin /mnt/udisk/big.bin");
    EXPECT_TRUE(Contains(out, "No space left on device")) << out;
    EXPECT_LT(fs::file_size(Host("state/udisk/big.bin")), 1ull << 30);
}

}  // namespace
}  // namespace boxtest
