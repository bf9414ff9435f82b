// md5sum on the box: the digest itself, fed in any pieces, and the command
// over the box's files.
#include "DeviceFixture.h"
#include "Md5.h"
#include "support/Process.h"

#include <fstream>

using namespace boxtest;

namespace {
std::string Sum(std::string_view bytes, size_t piece)
{
    box::dev::Md5 md5;
    for (size_t at = 0; at < bytes.size(); at += piece)
        md5.Update(bytes.substr(at, piece));
    return md5.HexDigest();
}
// The host's own md5sum, as a second opinion on a file of many 64-byte blocks.
std::string HostMd5(const fs::path& file)
{
    return kz::test::RunCommand("md5sum " + kz::test::ShellQuote(file.string())).output.substr(0, 32);
}
}  // namespace

TEST(Md5, KnownSumsWhateverThePieces)
{
    // RFC 1321's test suite, and padding that needs a block of its own.
    const std::pair<std::string, const char*> known[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(8, '\0') + "1234567890123456789012345678901234567890123456789012345678901234567890123456789"
                                "0",
         nullptr},
    };
    for (const auto& [text, sum] : known) {
        if (sum) {
            EXPECT_EQ(Sum(text, text.size() + 1), sum) << text;
        }
        for (size_t piece : {1, 7, 63, 64, 65})
            EXPECT_EQ(Sum(text, piece), Sum(text, text.size() + 1)) << text << " in pieces of " << piece;
    }
    std::string digits;
    for (int i = 0; i < 8; ++i)
        digits += "1234567890";
    EXPECT_EQ(Sum(digits, 80), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST_F(DeviceTest, Md5sumSumsEachFileAsBusyboxPrintsIt)
{
    WriteHostFile("state/sdcard/a b.img", "abc");
    WriteHostFile("state/sdcard/big.img", Pattern(3 << 20, 7));
    const std::string bigSum = HostMd5(Host("state/sdcard/big.img"));
    ASSERT_EQ(bigSum.size(), 32u);
    EXPECT_EQ(Run("md5sum '/mnt/sdcard/a b.img'"), "900150983cd24fb0d6963f7d28e17f72  /mnt/sdcard/a b.img\n");
    EXPECT_EQ(Run("cd /mnt/sdcard && /mnt/sdcard/busybox md5sum big.img 'a b.img'"),
              bigSum + "  big.img\n900150983cd24fb0d6963f7d28e17f72  a b.img\n");
    EXPECT_EQ(Run("md5sum /mnt/sdcard/none /mnt/sdcard/big.img"),
              "md5sum: can't open '/mnt/sdcard/none': No such file or directory\n" + bigSum +
                  "  /mnt/sdcard/big.img\n");
    EXPECT_EQ(Run("md5sum /mnt/sdcard"), "md5sum: /mnt/sdcard: Is a directory\n");
    EXPECT_EQ(Run("md5sum /mnt/sdcard/../../etc/passwd"),
              "md5sum: can't open '/mnt/sdcard/../../etc/passwd': No such file or directory\n");
    EXPECT_EQ(Run("md5sum -c /mnt/sdcard/big.img"),
              "md5sum: invalid option -- 'c'\nBusyBox md5sum: usage: md5sum FILE...\n");
    EXPECT_EQ(Run("md5sum"), "BusyBox md5sum: usage: md5sum FILE...\n");
}

// Holes are summed as the zeros they read as: at the start, between data and
// at the end of the file.
TEST_F(DeviceTest, Md5sumOfASparseFileSumsItsHolesAsZeros)
{
    const fs::path file = Host("state/sdcard/sparse.img");
    WriteHostFile("state/sdcard/sparse.img", "");
    fs::resize_file(file, (9 << 20) + 3);
    {
        std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
        for (const uint64_t at : {3u << 20, (5u << 20) + 1})
            out.seekp(static_cast<std::streamoff>(at)).write("data", 4);
    }
    const std::string sum = HostMd5(file);
    ASSERT_EQ(sum.size(), 32u);
    EXPECT_EQ(Run("md5sum /mnt/sdcard/sparse.img"), sum + "  /mnt/sdcard/sparse.img\n");
}

class NoSumBoxTest : public DeviceTest {
    std::string ConfigJson() const override { return R"({"missingApplets": ["md5sum", "truncate"]})"; }
};

// As a busybox built without them answers; the shell's own md5sum goes too.
TEST_F(NoSumBoxTest, RemovedAppletsAnswerAsARealBoxDoes)
{
    EXPECT_EQ(Run("/mnt/sdcard/busybox md5sum /mnt/sdcard/eMMC"), "md5sum: applet not found\n");
    EXPECT_EQ(Run("md5sum /mnt/sdcard/eMMC"), "sh: md5sum: not found\n");
}
