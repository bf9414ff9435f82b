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

// A name that starts with "-" is options to rm and busybox cp, as on the box:
// usage or "invalid option", and nothing removed or copied.  "./" or a whole
// path passes such a name safely; toolbox mv has no options at all.
TEST_F(DeviceTest, DashNamesAreOptionsUnlessPassedAsPaths)
{
    WriteHostFile("state/sdcard/-rf", "x");
    const struct {
        const char* command;
        const char* output;
    } cases[] = {
        {"cd /mnt/sdcard && rm '-rf'", "rm [-rR] [-f] <target>\n"},
        {"cd /mnt/sdcard && rm -x -rf", "rm: invalid option -- x\nrm [-rR] [-f] <target>\n"},
        {"cd /mnt/sdcard && /mnt/sdcard/busybox cp -rf b", "BusyBox cp: usage: cp SOURCE DEST\n"},
        {"cd /mnt/sdcard && /mnt/sdcard/busybox cp -q -rf b", "cp: invalid option -- 'q'\nBusyBox cp: usage: cp SOURCE DEST\n"},
        {"/mnt/sdcard/busybox cp /mnt/sdcard/'-rf' /mnt/sdcard/b", ""},
        {"mv /mnt/sdcard/b /mnt/sdcard/-c", ""},
        {"cd /mnt/sdcard && mv -c d", ""},
        {"cd /mnt/sdcard && rm -- -x ./'-rf' d", "rm failed for -x, No such file or directory\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run(c.command), c.output) << c.command;
    EXPECT_FALSE(fs::exists(Host("state/sdcard/-rf")));
    EXPECT_FALSE(fs::exists(Host("state/sdcard/d")));
    EXPECT_FALSE(fs::exists(Host("state/sdcard/b")));
}

TEST_F(DeviceTest, ApostropheQuotedTheShellWayStaysInTheName)
{
    WriteHostFile("state/udisk/John's.bin", "j");
    Run("mount -t vfat /dev/block/sda1 /mnt/udisk");
    EXPECT_EQ(Run("mv /mnt/udisk/'John'\\''s.bin' /mnt/udisk/'Ann'\\''s.bin'"), "");
    EXPECT_EQ(ReadHostFile("state/udisk/Ann's.bin"), "j");
    EXPECT_EQ(Run("cd /mnt/udisk && rm ./'Ann'\\''s.bin'"), "");
    EXPECT_FALSE(fs::exists(Host("state/udisk/Ann's.bin")));
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
