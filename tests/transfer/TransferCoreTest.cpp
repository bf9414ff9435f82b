// The transfer's judgements on captured text: its command lines as the
// client receives them, the room on the box, the proof, the client's report,
// the speed text, and the sum of a file that is still being written.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"
#include "platform/CommandLine.h"
#include "transfer/HostFiles.h"
#include "transfer/core/RateText.h"
#include "transfer/core/TransferJudge.h"
#include "transfer/core/TransferTexts.h"

namespace {

namespace kt = kz::transfer;
namespace ft = kz::files::text;

// Every name reaches adb as one argument, whole, and never as an option.
TEST(TransferPlan, HostileNamesStayOneArgumentEachWay)
{
    const QString names[] = {QStringLiteral("a b.bin"), QStringLiteral("John's x.img"),
                             QStringLiteral("-rf"), QStringLiteral("образ ü.bin")};
    for (const QString& name : names) {
        kt::TransferPlan plan{kt::Direction::Push, QStringLiteral("/home/op/My Files"), name, kt::BoxStorage::Udisk,
                              name};
        EXPECT_EQ(kz::SplitWindowsCommandLine(kt::MoveCommand(plan)),
                  (QStringList{"push", "/home/op/My Files/" + name, "/mnt/udisk/." + name + ".kz-part"}));
        plan.direction = kt::Direction::Pull;
        EXPECT_EQ(kz::SplitWindowsCommandLine(kt::MoveCommand(plan)),
                  (QStringList{"pull", "/mnt/udisk/" + name, "/home/op/My Files/." + name + ".kz-part"}));
    }
    const kt::TransferPlan plan{kt::Direction::Push, "/pc", "x", kt::BoxStorage::Sdcard, "it's.bin"};
    EXPECT_EQ(kt::BoxCommitCommand(plan), R"(shell "mv /mnt/sdcard/'.it'\''s.bin.kz-part' /mnt/sdcard/'it'\''s.bin'")");
    EXPECT_EQ(kt::BoxDiscardCommand(plan), R"(shell "cd /mnt/sdcard && rm ./'.it'\''s.bin.kz-part'")");
}

TEST(TransferPlan, NamesThatWouldLeaveTheFolderOrTheQuotesAreRefused)
{
    EXPECT_EQ(kt::BoxNameRefusal(QStringLiteral("a\"b")), kz::files::UnsafeFileName);
    EXPECT_EQ(kt::BoxNameRefusal(QStringLiteral("../x")), ft::NameNotInFolder);
    EXPECT_EQ(kt::PcNameRefusal(QStringLiteral("..")), ft::NameNotInFolder);
    EXPECT_EQ(kt::PcNameRefusal(QString()), ft::TargetNameEmpty);
    EXPECT_EQ(kt::BoxNameRefusal(QStringLiteral("-rf")), nullptr);
}

TEST(TransferJudge, RoomOnTheBoxFromItsDf)
{
    const struct {
        quint64 bytes;
        const char* df;
        const char* refusal;
    } kCases[] = {
        {1024, "/mnt/sdcard/: 7761920K total, 12345K used, 1K available (block size 4096)\r\r\n", nullptr},
        {1025, "/mnt/sdcard/: 7761920K total, 12345K used, 1K available (block size 4096)\r\r\n", ft::NotEnoughDisk},
        {1, "/mnt/udisk: I/O error\r\r\n", ft::UdiskNotFound},
        {1, "error: device not found\r\n", kt::text::NoFreeSpaceReported},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(kt::BoxRoomRefusal(c.bytes, QString::fromUtf8(c.df)), c.refusal) << c.df;
}

TEST(TransferJudge, OnlyEqualSumsProve)
{
    const QString sum = QStringLiteral("0123456789abcdef0123456789abcdef");
    EXPECT_EQ(kt::JudgeProof(sum, sum + "  /mnt/sdcard/.a.kz-part\r\r\n"), kt::Verdict::Verified);
    EXPECT_EQ(kt::JudgeProof(sum, "f" + sum.mid(1) + "  /mnt/sdcard/a\r\r\n"), kt::Verdict::SumsDiffer);
    EXPECT_EQ(kt::JudgeProof(sum, "md5sum: can't open 'x': No such file or directory\r\r\n"), kt::Verdict::SumMissing);
    EXPECT_EQ(kt::JudgeProof(QString(), sum + "  a\r\r\n"), kt::Verdict::SumMissing);
}

TEST(TransferJudge, ClientReportsOneFileMovedAndNoError)
{
    EXPECT_TRUE(kt::ClientMovedFile("/p/a: 1 file pushed, 0 skipped. 9.1 MB/s (5 bytes in 0.001s)\r\n",
                                    kt::Direction::Push));
    EXPECT_FALSE(kt::ClientMovedFile("/p/a: 1 file pushed, 0 skipped.\r\n", kt::Direction::Pull));
    EXPECT_FALSE(kt::ClientMovedFile("adb: error: failed to copy 'a' to 'b': remote No space left on device\r\n",
                                     kt::Direction::Push));
    EXPECT_FALSE(kt::ClientMovedFile("adb: error: remote object '/mnt/sdcard/x' does not exist\r\n",
                                     kt::Direction::Pull));
}

TEST(RateText, SaysNothingInTheFirstSecondThenSpeedAndTimeLeft)
{
    constexpr quint64 kMiB = 1024 * 1024;
    EXPECT_EQ(kt::RateText(kt::MeasureRate(10 * kMiB, 100 * kMiB, 999), "Time left"), "");
    EXPECT_EQ(kt::RateText(kt::MeasureRate(50 * kMiB, 100 * kMiB, 2000), "Time left"), "25.0 MB/s  Time left 0:02");
    EXPECT_EQ(kt::RateText(kt::MeasureRate(kMiB, 3662 * kMiB + kMiB, 1000), "剩余时间"), "1.0 MB/s  剩余时间 1:01:02");
    EXPECT_EQ(kt::PercentWithRate(7, kt::MeasureRate(0, 10, 5000), "Time left"), "7%");
}

// A pull's part file is summed while adb still writes it; a file that
// shrinks meanwhile (an earlier run's leftover truncated) is summed afresh.
TEST(FollowingMd5, SumsWhatArrivesAndStartsOverWhenTheFileShrinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("part"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    kt::FollowingMd5 follower(path);
    follower.CatchUp();  // not there yet
    file.write(QByteArray(3 << 20, 'a'));
    file.flush();
    follower.CatchUp();
    file.write("tail");
    file.flush();
    EXPECT_EQ(follower.Finish(), kt::FileMd5(path));

    kt::FollowingMd5 restarted(path);
    restarted.CatchUp();
    file.resize(10);
    EXPECT_EQ(restarted.Finish(), kt::FileMd5(path));
    EXPECT_EQ(kt::FileMd5(path), QString::fromLatin1(QCryptographicHash::hash(QByteArray(10, 'a'), QCryptographicHash::Md5).toHex()));
}

}  // namespace
