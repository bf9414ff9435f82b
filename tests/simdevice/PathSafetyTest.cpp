// No command line and no push can reach the host outside the box's folders.

#include "DeviceFixture.h"

namespace boxtest {
namespace {

class PathSafetyTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        WriteHostFile("outside/secret.txt", "secret");
        Run("mount -t vfat /dev/block/sda1 /mnt/udisk");
    }
    bool OutsideUntouched() const
    {
        return ReadHostFile("outside/secret.txt") == "secret" && fs::exists(Host("outside/secret.txt")) &&
               !fs::exists(Host("outside/new.bin"));
    }
};

TEST_F(PathSafetyTest, DotDotStopsAtTheVirtualRoot)
{
    EXPECT_EQ(Run("cat /mnt/sdcard/../../etc/passwd"), "/mnt/sdcard/../../etc/passwd: No such file or directory\n");
    EXPECT_EQ(Run("cd /mnt/sdcard && cat ../../../../../etc/passwd"),
              "../../../../../etc/passwd: No such file or directory\n");
    EXPECT_EQ(Run("ls -l /mnt/sdcard/../../../outside"), "/mnt/sdcard/../../../outside: No such file or directory\n");
    EXPECT_EQ(Run("cd /../../.. && pwd"), "/\n");
    EXPECT_TRUE(OutsideUntouched());
}

TEST_F(PathSafetyTest, AbsoluteHostPathsAreVirtual)
{
    const std::string hostPath = Host("outside/secret.txt").string();
    EXPECT_TRUE(Contains(Run("cat " + hostPath), "No such file or directory"));
    EXPECT_TRUE(Contains(Run("rm " + hostPath), "No such file or directory"));
    EXPECT_TRUE(OutsideUntouched());
}

TEST_F(PathSafetyTest, LinksOutOfTheStickAreRefused)
{
    fs::create_directory_symlink(Host("outside"), Host("state/udisk/abs"));
    fs::create_directory_symlink("../../outside", Host("state/udisk/rel"));
    fs::create_symlink("../../outside/new.bin", Host("state/udisk/dangling"));
    for (const std::string link : {"abs", "rel"}) {
        const std::string path = "/mnt/udisk/" + link + "/secret.txt";
        EXPECT_EQ(Run("cat " + path), path + ": Permission denied (outside the box's storage)\n");
        EXPECT_EQ(Run("ls -l " + path), path + ": Permission denied (outside the box's storage)\n");
        EXPECT_TRUE(Contains(Run("rm " + path), "Permission denied"));
        EXPECT_TRUE(Contains(Run("mv " + path + " /mnt/sdcard/stolen"), "Permission denied"));
        EXPECT_TRUE(Contains(Run("/mnt/sdcard/busybox cp /mnt/udisk/boot.img /mnt/udisk/" + link + "/new.bin"),
                             "can't create"));
    }
    EXPECT_TRUE(Contains(Run("/mnt/sdcard/busybox cp /mnt/udisk/boot.img /mnt/udisk/dangling"), "can't create"));
    EXPECT_TRUE(Contains(Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:/mnt/udisk/dangling"), "error"));
    EXPECT_FALSE(fs::exists(Host("state/sdcard/stolen")));
    EXPECT_TRUE(OutsideUntouched());
}

TEST_F(PathSafetyTest, RemovingALinkLeavesItsTarget)
{
    fs::create_directory_symlink(Host("outside"), Host("state/udisk/abs"));
    EXPECT_EQ(Run("rm -r /mnt/udisk/abs"), "");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Host("state/udisk/abs"))));
    EXPECT_TRUE(OutsideUntouched());
}

TEST_F(PathSafetyTest, LinksThatStayInsideWork)
{
    fs::create_symlink("boot.img", Host("state/udisk/alias.img"));
    fs::create_symlink(fs::canonical(Host("state/udisk/boot.img")), Host("state/udisk/absolute.img"));
    fs::create_symlink("loop", Host("state/udisk/loop"));
    EXPECT_EQ(Run("cat /mnt/udisk/alias.img").size(), 1u << 20);
    EXPECT_EQ(Run("cat /mnt/udisk/absolute.img").size(), 1u << 20);
    EXPECT_TRUE(Contains(Run("cat /mnt/udisk/loop"), "Permission denied")) << "a link loop ends";
}

TEST_F(PathSafetyTest, PushOutsideIsRefused)
{
    fs::create_directory_symlink(Host("outside"), Host("state/udisk/abs"));
    std::string error;
    EXPECT_EQ(device->BeginPush("/mnt/udisk/abs/new.bin", 0100644, error), nullptr);
    EXPECT_EQ(error, "Permission denied (outside the box's storage)");
    EXPECT_EQ(device->BeginPush("/etc/new.bin", 0100644, error), nullptr);
    EXPECT_EQ(device->Stat("/mnt/udisk/abs/secret.txt").mode, 0u);
    EXPECT_TRUE(OutsideUntouched());
}

}  // namespace
}  // namespace boxtest
