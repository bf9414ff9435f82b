// The "corrupt" scenario: a copy or a chip write that ends well but leaves
// one byte flipped, so that only a checksum catches it.
#include "DeviceFixture.h"

using namespace boxtest;

namespace {
// Offsets where the two texts differ.
std::vector<size_t> Differences(const std::string& a, const std::string& b)
{
    std::vector<size_t> at;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            at.push_back(i);
    return at;
}
}  // namespace

TEST_F(DeviceTest, CorruptScenarioFlipsOneByteOfWhatACopyOrAChipWriteWrote)
{
    EXPECT_EQ(Ctl("corrupt read"), "error: unknown operation 'read' (known: cp, pull, push, write)");
    const std::string data = Pattern(200000, 3);
    WriteHostFile("state/sdcard/src.bin", data);
    ASSERT_EQ(Ctl("corrupt cp write"), "ok");
    Restart();  // the scenario is kept with the box's state
    const std::string copy = "/mnt/sdcard/busybox cp /mnt/sdcard/'src.bin' /mnt/sdcard/'copy.bin'";
    const std::string write = "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT1:'src.bin'";
    const std::string read = "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'back.bin'";
    EXPECT_EQ(Run(copy), "");
    EXPECT_TRUE(Contains(Run(write), "Complete successfully"));
    EXPECT_TRUE(Contains(Run(read), "Complete successfully"));
    const std::string copied = ReadHostFile("state/sdcard/copy.bin");
    const std::string back = ReadHostFile("state/sdcard/back.bin").substr(0, data.size());
    EXPECT_EQ(copied.size(), data.size());
    EXPECT_EQ(Differences(copied, data), std::vector<size_t>{data.size() / 2});
    EXPECT_EQ(Differences(back, data), std::vector<size_t>{data.size() / 2});
    EXPECT_NE(Run("md5sum /mnt/sdcard/src.bin").substr(0, 32), Run("md5sum /mnt/sdcard/copy.bin").substr(0, 32));

    ASSERT_EQ(Ctl("corrupt"), "ok");
    EXPECT_EQ(Run(copy), "");
    EXPECT_TRUE(Contains(Run(write), "Complete successfully"));
    EXPECT_TRUE(Contains(Run(read), "Complete successfully"));
    EXPECT_EQ(ReadHostFile("state/sdcard/copy.bin"), data);
    EXPECT_EQ(ReadHostFile("state/sdcard/back.bin").substr(0, data.size()), data);
}
