// Stat and push, as the update's pushes use them.

#include "DeviceFixture.h"

#include <sys/stat.h>

namespace boxtest {
namespace {

bool Push(box::Device& device, const std::string& path, const std::string& content, std::string& error)
{
    auto target = device.BeginPush(path, 0100755, error);
    if (!target)
        return false;
    for (size_t at = 0; at < content.size(); at += 7000)
        if (!target->Write(std::string_view(content).substr(at, 7000), error))
            return false;
    return target->Finish(1700000000, error);
}

TEST_F(DeviceTest, StatTellsDirectoriesFilesAndNothing)
{
    EXPECT_TRUE(S_ISDIR(device->Stat("/data/bin").mode));
    EXPECT_TRUE(S_ISDIR(device->Stat("/mnt/sdcard").mode));
    const auto tool = device->Stat("/mnt/sdcard/eMMC");
    EXPECT_TRUE(S_ISREG(tool.mode));
    EXPECT_GT(tool.size, 0u);
    const auto none = device->Stat("/mnt/sdcard/none");
    EXPECT_EQ(none.mode + none.size + none.mtime, 0u);
}

TEST_F(DeviceTest, PushedFileAppearsWithItsModeAndTime)
{
    std::string error;
    ASSERT_TRUE(Push(*device, "/data/bin/QerlinA", Pattern(20000, 6), error)) << error;
    EXPECT_EQ(ReadHostFile("state/data/bin/QerlinA"), Pattern(20000, 6));
    const std::string line = Run("ls -l /data/bin");
    EXPECT_EQ(line.substr(0, 10), "-rwxr-xr-x") << line;
    EXPECT_TRUE(Contains(line, "20000 2023-11-14 22:13 QerlinA\n")) << line;
    EXPECT_EQ(device->Stat("/data/bin/QerlinA").mtime, 1700000000u);
}

TEST_F(DeviceTest, UnfinishedPushLeavesTheOldFile)
{
    WriteHostFile("state/sdcard/eMMC", "old tool");
    std::string error;
    {
        auto target = device->BeginPush("/mnt/sdcard/eMMC", 0100644, error);
        ASSERT_TRUE(target);
        ASSERT_TRUE(target->Write("new", error));
    }
    EXPECT_EQ(ReadHostFile("state/sdcard/eMMC"), "old tool");
    EXPECT_EQ(Run("ls -a /mnt/sdcard").find(".eMMC"), std::string::npos) << "no temporary left behind";
}

TEST_F(DeviceTest, PushRefusals)
{
    std::string error;
    EXPECT_FALSE(device->BeginPush("/mnt/udisk/x.bin", 0100644, error));
    EXPECT_EQ(error, "No such file or directory") << "stick not mounted";
    EXPECT_FALSE(device->BeginPush("/data/bin", 0100644, error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(device->BeginPush("/mnt/sdcard/no/dir/x", 0100644, error));
    EXPECT_EQ(error, "No such file or directory");
    ASSERT_EQ(Ctl("fail push"), "ok");
    EXPECT_FALSE(Push(*device, "/mnt/sdcard/uImage", Pattern(100000, 1), error));
    EXPECT_EQ(error, "Input/output error");
    EXPECT_FALSE(fs::exists(Host("state/sdcard/uImage")));
}

}  // namespace
}  // namespace boxtest
