// Sizes, free space and progress of a copy, judged from the box's texts.
#include <gtest/gtest.h>

#include "files/core/CopyJudge.h"
#include "support/ListingLine.h"

using namespace kz::files;

namespace {
QString Ls(const char* size, const char* name = "a b.bin")
{
    return kz::test::LsLine(QString::fromUtf8(size), QString::fromUtf8(name)) + QStringLiteral("\r\r\n");
}
QString Df(const char* available)
{
    return QStringLiteral("/mnt/sdcard/: 7761920K total, 12345K used, %1 available (block size 4096)\r\r\n")
        .arg(QString::fromUtf8(available));
}
const QString kMissing = QStringLiteral("/mnt/sdcard/b: No such file or directory\r\r\n");
}  // namespace

TEST(ProbeFileSize, SizeOfTheListedFile)
{
    EXPECT_EQ(ProbeFileSize(Ls("1234")), "1234");
    EXPECT_EQ(ProbeFileSize(Ls("123456789")), "123456789");
    EXPECT_EQ(ProbeFileSize(Ls("-1073741824", "big: part 2")), "-1073741824");
    EXPECT_EQ(ProbeFileSize(QStringLiteral("* daemon not running. starting it now at tcp:5037 *\r\n") + Ls("77")), "77");
}

TEST(ProbeFileSize, MissingFileIsZeroAndUnreadableOutputIsEmpty)
{
    EXPECT_EQ(ProbeFileSize(kMissing), "0");
    EXPECT_EQ(ProbeFileSize(QString()), "");
    EXPECT_EQ(ProbeFileSize(QStringLiteral("error: device not found\r\n")), "");  // no colon
    EXPECT_EQ(ProbeFileSize(QStringLiteral("x: y")), "");                         // too short to walk back
}

TEST(FreeSpace, TokenBeforeAvailable)
{
    EXPECT_EQ(FreeSpaceToken(Df("7000000K")), "7000000K");
    EXPECT_EQ(FreeSpaceToken(QStringLiteral("7K available")), "7K");
    EXPECT_EQ(FreeSpaceToken(QStringLiteral("/mnt/udisk: 10K total")), "");
}

TEST(FreeSpace, StorageErrorsComeFirst)
{
    EXPECT_EQ(JudgeTargetSpace(Ls("1"), QStringLiteral("/mnt/udisk: I/O error\r\r\n")), SpaceStorageMissing);
    EXPECT_EQ(JudgeTargetSpace(Ls("1"), QStringLiteral("/mnt/udisk: No such file or directory\r\r\n")),
              SpaceStorageMissing);
    // The SD card's "No such file or directory" reads the same way.
    EXPECT_EQ(JudgeTargetSpace(Ls("1"), QStringLiteral("/mnt/sdcard/: No such file or directory\r\r\n")),
              SpaceStorageMissing);
    EXPECT_EQ(JudgeTargetSpace(Ls("1"), QStringLiteral("error: device not found\r\n")), SpaceNotReported);
    EXPECT_EQ(JudgeTargetSpace(Ls("1"), QString()), SpaceNotReported);
}

TEST(FreeSpace, NeededAgainstAvailableBytes)
{
    EXPECT_EQ(JudgeTargetSpace(Ls("1024"), Df("1K")), SpaceOk);
    EXPECT_EQ(JudgeTargetSpace(Ls("1025"), Df("1K")), SpaceTooSmall);
    EXPECT_EQ(JudgeTargetSpace(Ls("0"), Df("0K")), SpaceOk);
    // 3 GiB, listed as a negative size, needs 3145728 K.
    EXPECT_EQ(JudgeTargetSpace(Ls("-1073741824"), Df("3145728K")), SpaceOk);
    EXPECT_EQ(JudgeTargetSpace(Ls("-1073741824"), Df("3145727K")), SpaceTooSmall);
    EXPECT_EQ(JudgeTargetSpace(Ls("5"), Df("99999999999999999999999K")), SpaceOk);
}

TEST(CopyProgress, WholePerCent)
{
    EXPECT_EQ(ProgressPercent(QStringLiteral("0"), QStringLiteral("0")), 0);
    EXPECT_EQ(ProgressPercent(QStringLiteral(""), QStringLiteral("")), 0);
    EXPECT_EQ(ProgressPercent(QStringLiteral("50"), QStringLiteral("200")), 25);
    EXPECT_EQ(ProgressPercent(QStringLiteral("199"), QStringLiteral("200")), 99);
    EXPECT_EQ(ProgressPercent(QStringLiteral("200"), QStringLiteral("200")), 100);
    EXPECT_EQ(ProgressPercent(QStringLiteral("900"), QStringLiteral("200")), 100);
    EXPECT_EQ(ProgressPercent(QStringLiteral("-2147483648"), QStringLiteral("-1")), 50);
}

TEST(FreeSpace, UnitsAndDecimals)
{
    const struct {
        const char* token;
        quint64 bytes;
    } cases[] = {
        {"7000000K", 7000000ull * 1024},
        {"7000000", 7000000ull * 1024},  // no unit: K, as the box's own df prints
        {"1.9G", quint64(1.9 * 1073741824.0)},
        {"512.5M", 512ull * 1048576 + 524288},
        {"2T", 2ull << 40},
        {"1.0k", 1024},
        {"0.0K", 0},
        {"", 0},
        {"-1K", 4294967295ull * 1024},
        {"99999999999999999999999K", UINT64_MAX},
        {"20000000T", UINT64_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FreeSpaceBytes(QString::fromUtf8(c.token)), c.bytes) << c.token;
    EXPECT_EQ(FreeSpaceToken(Df("1.9G")), "1.9G");
}

TEST(FreeSpace, LargeUnitsAgainstTheNeededSize)
{
    EXPECT_EQ(JudgeTargetSpace(Ls("5242880"), Df("1.9G")), SpaceOk);
    EXPECT_EQ(JudgeTargetSpace(Ls("5242880"), Df("5.0M")), SpaceOk);
    EXPECT_EQ(JudgeTargetSpace(Ls("5242881"), Df("5.0M")), SpaceTooSmall);
    EXPECT_EQ(JudgeTargetSpace(Ls("-1073741824"), Df("2.9G")), SpaceTooSmall);
}

// The verdict after cp: nothing printed but the client's own start lines,
// and both files listed by name with equal sizes.
TEST(CopyVerdict, OnlyAQuietCopyOfTwoListedEqualFilesSucceeds)
{
    const QString src = Ls("1234", "/mnt/udisk/boot.img");
    const QString dst = Ls("1234", "/mnt/sdcard/uImage");
    const QString noServer = QStringLiteral("* daemon not running. starting it now at tcp:5037 *\r\n"
                                            "* daemon started successfully *\r\n");
    const QString missing = QStringLiteral("/mnt/udisk/boot.img: No such file or directory\r\r\n");
    const QString lost = QStringLiteral("error: device not found\r\n");
    const struct {
        const char* what;
        QString output, source, target;
        bool success;
    } cases[] = {
        {"quiet copy", "", src, dst, true},
        {"server started first", noServer, noServer + src, dst, true},
        {"names as toolbox prints them", "", Ls("1234", "boot.img"), Ls("1234", "uImage"), true},
        {"I/O error", "cp: write error: Input/output error\r\r\n", src, dst, false},
        {"any other word of cp", "cp: can't stat '/mnt/udisk/boot.img': No such file or directory\r\r\n", src, dst,
         false},
        {"sizes differ", "", src, Ls("1000", "/mnt/sdcard/uImage"), false},
        {"stick pulled", "", missing, missing, false},
        {"box gone", lost, lost, lost, false},
        {"box offline", "", "error: device offline\r\n", "error: device offline\r\n", false},
        {"nothing printed at all", "", "", "", false},
        {"another file's line", "", src, Ls("1234", "/mnt/sdcard/other"), false},
        {"a folder's line", "", src, QStringLiteral("drwxrwxr-x root     root     1234 2024-05-01 09:30 uImage\r\r\n"),
         false},
        {"a line and more", "", src, dst + lost, false},
    };
    for (const auto& c : cases) {
        const CopyEvidence e{c.output, c.source, c.target, QStringLiteral("boot.img"), QStringLiteral("uImage")};
        EXPECT_EQ(CopySucceeded(e), c.success) << c.what;
    }
    EXPECT_TRUE(IsListingOfFile(Ls("5", "John's x.bin"), QStringLiteral("John's x.bin")));
}
