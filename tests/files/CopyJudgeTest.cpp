// Sizes, free space and progress of a copy, judged from the box's texts.
#include <gtest/gtest.h>

#include "files/core/CopyJudge.h"

using namespace kz::files;

namespace {
QString Ls(const char* size, const char* name = "a b.bin")
{
    return QStringLiteral("-rw-rw-r-- root     root     %1 2024-05-01 09:30 %2\r\r\n")
        .arg(QString::fromUtf8(size), 8)
        .arg(QString::fromUtf8(name));
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

TEST(CopyVerdict, IoErrorInTheCopyOutput)
{
    EXPECT_TRUE(CopyReportedIoError(QStringLiteral("cp: write error: Input/output error\r\r\n")));
    EXPECT_FALSE(CopyReportedIoError(QString()));
    EXPECT_FALSE(CopyReportedIoError(QStringLiteral("cp: write error: No space left on device\r\r\n")));
}
