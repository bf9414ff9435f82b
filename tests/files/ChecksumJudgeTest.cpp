// A copy judged by the md5sum of both files, as the box prints them.
#include <gtest/gtest.h>

#include "files/core/BoxApplets.h"
#include "files/core/ChecksumJudge.h"

using kz::files::JudgeSums;
using kz::files::SumVerdict;

namespace {
const QString kSum = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");
const QString kOther = QStringLiteral("0cc175b9c0f1b6a831c399e269772661");

QString Line(const QString& sum, const char* path)
{
    return sum + QStringLiteral("  ") + QString::fromUtf8(path) + QStringLiteral("\r\r\n");
}
}  // namespace

TEST(ChecksumJudge, Verdicts)
{
    const QString serverStart = QStringLiteral("* daemon not running. starting it now on port 5037 *\r\n"
                                               "* daemon started successfully *\r\n");
    const QString source = Line(kSum, "/mnt/udisk/a b.img");
    struct Case {
        const char* name;
        QString target;
        SumVerdict verdict;
    };
    const Case cases[] = {
        {"same sum, other path", Line(kSum, "/mnt/sdcard/a b.img"), SumVerdict::Equal},
        {"upper-case hex is the same sum", Line(kSum.toUpper(), "/mnt/sdcard/x"), SumVerdict::Equal},
        {"after the client's server-start lines", serverStart + Line(kSum, "/mnt/sdcard/x"), SumVerdict::Equal},
        {"other sum", Line(kOther, "/mnt/sdcard/a b.img"), SumVerdict::Different},
        {"nothing printed", QString(), SumVerdict::Missing},
        {"only the server-start lines", serverStart, SumVerdict::Missing},
        {"md5sum cannot open the file",
         QStringLiteral("md5sum: can't open '/mnt/sdcard/x': No such file or directory\r\r\n"), SumVerdict::Missing},
        {"no md5sum on the box", QStringLiteral("md5sum: not found\r\r\n"), SumVerdict::Missing},
        {"a short sum", Line(kSum.left(31), "/mnt/sdcard/x"), SumVerdict::Garbage},
        {"a sum without a name", kSum + QStringLiteral("\r\r\n"), SumVerdict::Garbage},
        {"not hex", Line(QString(32, u'g'), "/mnt/sdcard/x"), SumVerdict::Garbage},
        {"two sums", Line(kSum, "/mnt/sdcard/x") + Line(kSum, "/mnt/sdcard/y"), SumVerdict::Garbage},
        {"the adb client's error", QStringLiteral("error: device not found\r\n"), SumVerdict::Garbage},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JudgeSums(source, c.target), c.verdict) << c.name;
        EXPECT_EQ(JudgeSums(c.target, source), c.verdict) << c.name << " (as the source)";
    }
    // A side with no sum decides before a side with garbage.
    EXPECT_EQ(JudgeSums(QString(), QStringLiteral("garbage\r\n")), SumVerdict::Missing);
    EXPECT_EQ(kz::files::Md5SumOf(Line(kSum.toUpper(), "/x")), kSum);
    EXPECT_EQ(kz::files::Md5SumOf(QStringLiteral("garbage\r\n")), QString());
}

using namespace kz::files;

// Only a command the box lacks lets a proof fall back, never a box gone.
TEST(BoxApplets, MissingCommandsAsBusyboxAndTheShellSayIt)
{
    for (const char* missing : {"md5sum: applet not found\r\r\n", "sh: md5sum: not found\r\r\n",
                                "* daemon started successfully *\n/system/bin/sh: /mnt/sdcard/busybox: not found\n"})
        EXPECT_TRUE(IsCommandMissing(QString::fromUtf8(missing))) << missing;
    for (const char* other : {"error: device not found\r\n", "", "md5sum: can't open 'a': No such file or directory\n"})
        EXPECT_FALSE(IsCommandMissing(QString::fromUtf8(other))) << other;
    const BoxApplets noCut = JudgeAppletProbe(QStringLiteral(
        "BusyBox v1.19.4 multi-call binary.\r\r\nCurrently defined functions:\r\r\n\t[, cp, ls,\r\r\n\tmd5sum, rm\r\r\n"));
    EXPECT_TRUE(noCut.md5sum == Applet::Present && noCut.truncate == Applet::Missing);
    EXPECT_EQ(JudgeAppletProbe(QStringLiteral("sh: /mnt/sdcard/busybox: not found\r\r\n")).md5sum, Applet::Unknown);
}
