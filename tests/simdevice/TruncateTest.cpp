// busybox truncate: a boot partition's read-back cut to the length of the
// image written into it sums as the image does.
#include "DeviceFixture.h"

using namespace boxtest;

TEST_F(DeviceTest, TruncateCutsAReadBackToTheWrittenImage)
{
    const std::string image = Pattern(70000, 5);
    WriteHostFile("state/sdcard/boot.img", image);
    ASSERT_TRUE(Contains(Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT1:'boot.img'"),
                         "Complete successfully"));
    ASSERT_TRUE(Contains(Run("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'.back 1.bin'"),
                         "Complete successfully"));
    EXPECT_GT(fs::file_size(Host("state/sdcard/.back 1.bin")), image.size()) << "the whole partition comes back";
    EXPECT_EQ(Run("/mnt/sdcard/busybox truncate -c -s 70000 /mnt/sdcard/'.back 1.bin'"), "");
    EXPECT_EQ(ReadHostFile("state/sdcard/.back 1.bin"), image);
    EXPECT_EQ(Run("md5sum /mnt/sdcard/'.back 1.bin'").substr(0, 32), Run("md5sum /mnt/sdcard/boot.img").substr(0, 32));
}

TEST_F(DeviceTest, TruncateRefusesWhatBusyboxRefuses)
{
    WriteHostFile("state/sdcard/f.bin", "abcdef");
    const std::pair<const char*, const char*> cases[] = {
        {"-c -s 2 /mnt/sdcard/absent.bin", ""},
        {"-s 2x /mnt/sdcard/f.bin", "truncate: invalid number '2x'\n"},
        {"-x -s 2 /mnt/sdcard/f.bin", "truncate: invalid option -- 'x'\n"},
        {"-s", "truncate: option requires an argument -- 's'\n"},
        {"/mnt/sdcard/f.bin", "BusyBox truncate: usage: truncate [-c] -s SIZE FILE...\n"},
        {"-s 2 /mnt/sdcard", "truncate: /mnt/sdcard: Is a directory\n"},
        {"-s 2 /mnt/sdcard/../../etc/passwd", "truncate: can't open '/mnt/sdcard/../../etc/passwd': "
                                              "No such file or directory\n"},
    };
    for (const auto& [args, said] : cases)
        EXPECT_EQ(Run(std::string("/mnt/sdcard/busybox truncate ") + args), said) << args;
    EXPECT_EQ(ReadHostFile("state/sdcard/f.bin"), "abcdef") << "no refused call cut anything";
    EXPECT_FALSE(fs::exists(Host("state/sdcard/absent.bin"))) << "-c creates nothing";
    EXPECT_EQ(Run("/mnt/sdcard/busybox truncate -s2 /mnt/sdcard/f.bin /mnt/sdcard/new.bin"), "");
    EXPECT_EQ(ReadHostFile("state/sdcard/f.bin"), "ab");
    EXPECT_EQ(ReadHostFile("state/sdcard/new.bin"), std::string(2, '\0')) << "without -c a new file is made";
}
