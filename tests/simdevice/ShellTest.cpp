// The interpreter as the program drives it: command chains, quoting, globs
// and the fixed answers.

#include "DeviceFixture.h"

namespace boxtest {
namespace {

TEST_F(DeviceTest, ProductModelAndUnknownCommands)
{
    EXPECT_EQ(Run("getprop ro.product.model"), "imx51_bbg\n");
    EXPECT_EQ(Run("frobnicate -x"), "sh: frobnicate: not found\n");
    EXPECT_EQ(Run("/mnt/sdcard/nothing"), "sh: /mnt/sdcard/nothing: not found\n");
    EXPECT_EQ(Run("/system/bin/echo hi"), "hi\n");
    EXPECT_EQ(Run("true"), "");
    EXPECT_EQ(Run(""), "");
}

TEST_F(DeviceTest, ChainsFollowExitStatus)
{
    EXPECT_EQ(Run("cd /mnt/sdcard && pwd"), "/mnt/sdcard\n");
    EXPECT_EQ(Run("cd /nowhere && echo ran"), "cd: /nowhere: No such file or directory\n");
    EXPECT_EQ(Run("false || echo second; echo third"), "second\nthird\n");
    EXPECT_EQ(Run("false && echo no || echo yes"), "yes\n");
    EXPECT_EQ(Run("echo 'unterminated"), "sh: syntax error: unterminated quoted string\n");
}

TEST_F(DeviceTest, QuotedNamesWithBlanksStayOneWord)
{
    WriteHostFile("state/sdcard/two words.txt", "x");
    EXPECT_EQ(Run("cd /mnt/sdcard && rm 'two words.txt'"), "");
    EXPECT_FALSE(fs::exists(Host("state/sdcard/two words.txt")));
    EXPECT_EQ(Run("echo \"a  b\" c\\ d"), "a  b c d\n");
}

TEST_F(DeviceTest, GlobRemovesEverythingAndReportsTheLiteralWhenEmpty)
{
    WriteHostFile("state/data/bin/QerlinA", "a");
    WriteHostFile("state/data/bin/key_test", "k");
    EXPECT_EQ(Run("rm /data/bin/*"), "");
    EXPECT_TRUE(fs::is_empty(Host("state/data/bin")));
    EXPECT_EQ(Run("rm /data/bin/*"), "rm failed for /data/bin/*, No such file or directory\n");
    EXPECT_EQ(Run("rm /data/dalvik-cache/*"), "rm failed for /data/dalvik-cache/*, No such file or directory\n");
}

TEST_F(DeviceTest, QuotedStarIsNotAWildcard)
{
    WriteHostFile("state/sdcard/a.txt", "a");
    EXPECT_EQ(Run("cd /mnt/sdcard && rm '*.txt'"), "rm failed for *.txt, No such file or directory\n");
    EXPECT_TRUE(fs::exists(Host("state/sdcard/a.txt")));
    EXPECT_EQ(Run("cd /mnt/sdcard && ls *.txt"), "a.txt\n");
}

TEST_F(DeviceTest, RemovalMessagesNameThePathAsTyped)
{
    EXPECT_EQ(Run("rm /mnt/sdcard/uImage"), "rm failed for /mnt/sdcard/uImage, No such file or directory\n");
    EXPECT_EQ(Run("rm /mnt/sdcard"), "rm failed for /mnt/sdcard, Device or resource busy\n");
    fs::create_directories(Host("state/sdcard/dir"));
    EXPECT_EQ(Run("rm /mnt/sdcard/dir"), "rm failed for /mnt/sdcard/dir, Is a directory\n");
    EXPECT_EQ(Run("rm -r /mnt/sdcard/dir"), "");
    EXPECT_EQ(Run("rm -f /mnt/sdcard/none"), "");
}

TEST_F(DeviceTest, RenameWithinAStorageAndUnquotedBlanks)
{
    WriteHostFile("state/sdcard/old.bin", "payload");
    EXPECT_EQ(Run("mv /mnt/sdcard/old.bin /mnt/sdcard/new.bin"), "");
    EXPECT_EQ(ReadHostFile("state/sdcard/new.bin"), "payload");
    // A name with a blank reaches mv as two words: it must fail, not guess.
    const std::string out = Run("mv /mnt/sdcard/new.bin /mnt/sdcard/a b");
    EXPECT_FALSE(out.empty());
    EXPECT_TRUE(fs::exists(Host("state/sdcard/new.bin")));
    EXPECT_FALSE(Run("mv /mnt/sdcard/missing /mnt/sdcard/x").empty());
}

TEST_F(DeviceTest, ChmodAppliesOnDataButNotOnVfat)
{
    WriteHostFile("state/data/bin/tool", "t");
    EXPECT_EQ(Run("cd /data/bin && chmod 777 *"), "");
    EXPECT_EQ(Run("ls -l /data/bin/tool").substr(0, 10), "-rwxrwxrwx");
    EXPECT_EQ(Run("chmod 9x /data/bin/tool"), "Bad mode\n");
    EXPECT_EQ(Run("chmod 777 /data/bin/none"), "Unable to chmod /data/bin/none: No such file or directory\n");
    EXPECT_EQ(Run("cd /data/bin && sync"), "");
}

TEST_F(DeviceTest, RebootEndsTheLineAndUnmountsTheStick)
{
    EXPECT_EQ(Run("mount -t vfat /dev/block/sda1 /mnt/udisk"), "");
    CaptureOutput out;
    const auto result = device->RunShell("reboot; echo after", out);
    EXPECT_TRUE(result.reboot);
    EXPECT_EQ(out.Text(), "");
    EXPECT_EQ(Run("mount -t vfat /dev/block/sda1 /mnt/udisk"), "") << "a rebooted box mounts afresh";
    EXPECT_FALSE(device->RunShell("echo x", out).reboot);
    EXPECT_EQ(device->RebootDelayMs(), 10);
}

TEST_F(DeviceTest, FlashScriptsWriteTheirImage)
{
    EXPECT_EQ(Run("cd /mnt/sdcard && ./dl_kernel.sh"), "sh: ./dl_kernel.sh: not found\n");
    WriteHostFile("state/sdcard/dl_kernel.sh", "#!/system/bin/sh\n");
    EXPECT_EQ(Run("cd /mnt/sdcard && ./dl_kernel.sh"), "uImage: No such file or directory\n");
    WriteHostFile("state/sdcard/uImage", Pattern(5000, 3));
    const std::string out = Run("cd /mnt/sdcard && ./dl_kernel.sh");
    EXPECT_TRUE(Contains(out, "writing uImage (5000 bytes)")) << out;
    EXPECT_TRUE(Contains(out, "done\n"));
    EXPECT_EQ(ReadHostFile("state/system/uImage"), Pattern(5000, 3));
}

}  // namespace
}  // namespace boxtest
