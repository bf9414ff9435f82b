// A boot write judged by its read-back, on captured answers of the box.
#include <gtest/gtest.h>

#include "board/core/BootCheck.h"
#include "files/core/FileManagerMode.h"

namespace {

using namespace kz::board;

const QString kComplete = QStringLiteral("writing BOOT1 (65536 bytes) from x\r\r\nComplete successfully\r\r\n");
const QString kProbe = QStringLiteral("-rw-rw-r-- root     root        65536 2024-05-01 09:30 boot 1.img\r\r\n");
const QString kSumA = QStringLiteral("0123456789abcdef0123456789abcdef  /mnt/udisk/boot 1.img\r\r\n");
const QString kSumB = QStringLiteral("fedcba9876543210fedcba9876543210  /mnt/sdcard/.kz-readback.bin\r\r\n");
const QString kSumASameOnReadBack =
    QStringLiteral("0123456789ABCDEF0123456789abcdef  /mnt/sdcard/.kz-readback.bin\r\r\n");
const QString kServerStart =
    QStringLiteral("* daemon not running. starting it now on port 5037 *\r\n* daemon started successfully *\r\n");

TEST(BootCheck, PathsAndCommandsQuoteTheNameWhereverItLies)
{
    EXPECT_EQ(BootImagePath(SOURCE_BOOT_UDISK, QStringLiteral("a b.img")), QStringLiteral("/mnt/udisk/'a b.img'"));
    EXPECT_EQ(BootImagePath(SOURCE_BOOT_SDCARD, QStringLiteral("-rf")), QStringLiteral("/mnt/sdcard/'-rf'"));
    EXPECT_EQ(BootImagePath(0, QStringLiteral("John's")), QStringLiteral("/mnt/sdcard/'John'\\''s'"));
    EXPECT_EQ(ReadBackName(2, 4711, 12), QStringLiteral(".kz-readback-boot2-4711-12.bin"));
    EXPECT_EQ(CutCommand(QStringLiteral("/mnt/sdcard/'.r.bin'"), 65536),
              QStringLiteral("shell \"/mnt/sdcard/busybox truncate -c -s 65536 /mnt/sdcard/'.r.bin'\""));
    EXPECT_EQ(RemoveCommand(QStringLiteral("/mnt/sdcard/'.r.bin'")),
              QStringLiteral("shell \"rm -f /mnt/sdcard/'.r.bin'\""));
}

TEST(BootCheck, ListedSizeOnlyFromOneListingOfThatFile)
{
    const struct {
        const char* what;
        QString probe;
        QString name;
        std::optional<quint64> size;
    } cases[] = {
        {"plain listing", kProbe, QStringLiteral("boot 1.img"), 65536},
        {"after the server's start", kServerStart + kProbe, QStringLiteral("boot 1.img"), 65536},
        {"vfat keeps its own case", kProbe, QStringLiteral("BOOT 1.IMG"), 65536},
        {"whole path listed",
         QStringLiteral("-rw-rw-r-- root     root         4096 2024-05-01 09:30 /mnt/udisk/boot 1.img\r\r\n"),
         QStringLiteral("boot 1.img"), 4096},
        {"2 GiB and more print negative",
         QStringLiteral("-rw-rw-r-- root     root  -1610612736 2024-05-01 09:30 big.img\r\r\n"),
         QStringLiteral("big.img"), 2684354560ull},
        {"a name with its folder", kProbe, QStringLiteral("images/boot 1.img"), 65536},
        {"another file", kProbe, QStringLiteral("boot.img"), std::nullopt},
        {"no such file", QStringLiteral("/mnt/udisk/x: No such file or directory\r\r\n"), QStringLiteral("x"),
         std::nullopt},
        {"a folder's listing of two",
         kProbe + QStringLiteral("-rw-rw-r-- root     root           12 2024-05-01 09:31 boot 1.img\r\r\n"),
         QStringLiteral("boot 1.img"), std::nullopt},
        {"a directory", QStringLiteral("drwxrwxr-x root     root              2024-05-01 09:30 boot 1.img\r\r\n"),
         QStringLiteral("boot 1.img"), std::nullopt},
        {"nothing at all", QString(), QStringLiteral("boot 1.img"), std::nullopt},
        {"lost box", QStringLiteral("error: device not found\r\n"), QStringLiteral("boot 1.img"), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListedSize(c.probe, c.name), c.size) << c.what;
}

ReadBackEvidence Verified()
{
    return {kComplete, kProbe, QStringLiteral("boot 1.img"), kSumA, kComplete, QString(), kSumASameOnReadBack};
}

TEST(BootCheck, OnlyEqualSumsAfterEveryStepVerifyAWrite)
{
    const struct {
        const char* what;
        void (*change)(ReadBackEvidence&);
        WriteVerdict verdict;
    } cases[] = {
        {"all steps well, sums equal without regard to case", [](ReadBackEvidence&) {}, WriteVerdict::Verified},
        {"truncate's silence after the server's start", [](ReadBackEvidence& e) { e.cutOutput = kServerStart; },
         WriteVerdict::Verified},
        {"the write itself failed",
         [](ReadBackEvidence& e) { e.writeOutput = QStringLiteral("error: can't open x: No such file\r\r\n"); },
         WriteVerdict::WriteFailed},
        {"the image gone from the stick",
         [](ReadBackEvidence& e) {
             e.sourceProbe = QStringLiteral("/mnt/udisk/boot 1.img: No such file or directory\r\r\n");
         },
         WriteVerdict::SizeUnknown},
        {"the read-back failed",
         [](ReadBackEvidence& e) {
             e.readBackOutput = QStringLiteral("error: reading BOOT1: Input/output error\r\r\n");
         },
         WriteVerdict::ReadBackFailed},
        {"truncate refused the cut",
         [](ReadBackEvidence& e) { e.cutOutput = QStringLiteral("truncate: invalid number '-1'\r\r\n"); },
         WriteVerdict::CutFailed},
        {"no truncate", [](ReadBackEvidence& e) { e.cutOutput = QStringLiteral("truncate: applet not found\n"); },
         WriteVerdict::NotProved},
        {"no md5sum", [](ReadBackEvidence& e) { e.sourceSum = QStringLiteral("sh: md5sum: not found\n"); },
         WriteVerdict::NotProved},
        {"found so at detection", [](ReadBackEvidence& e) { e.proofUnavailable = true; }, WriteVerdict::NotProved},
        {"the box went before the read-back's sum", [](ReadBackEvidence& e) { e.readBackSum.clear(); },
         WriteVerdict::SumMissing},
        {"md5sum could not read the image",
         [](ReadBackEvidence& e) { e.sourceSum = QStringLiteral("md5sum: x\r\r\n"); }, WriteVerdict::SumMissing},
        {"garbage for a sum", [](ReadBackEvidence& e) { e.readBackSum = QStringLiteral("Segmentation fault\r\r\n"); },
         WriteVerdict::SumMissing},
        {"a flipped byte", [](ReadBackEvidence& e) { e.readBackSum = kSumB; }, WriteVerdict::SumDiffers},
    };
    for (const auto& c : cases) {
        ReadBackEvidence e = Verified();
        c.change(e);
        EXPECT_EQ(JudgeWrite(e), c.verdict) << c.what;
        const bool stands = c.verdict == WriteVerdict::Verified || c.verdict == WriteVerdict::NotProved;
        EXPECT_EQ(WriteTip(e, c.verdict).isEmpty(), stands) << c.what;
    }
}

TEST(BootCheck, TheTipIsWhatTheFailingStepSaid)
{
    ReadBackEvidence e = Verified();
    e.readBackOutput = QStringLiteral("error: reading BOOT1: Input/output error\r\r\n");
    EXPECT_EQ(WriteTip(e, JudgeWrite(e)), e.readBackOutput);
    e = Verified();
    e.readBackSum = kServerStart + kSumB;
    EXPECT_EQ(WriteTip(e, JudgeWrite(e)),
              QStringLiteral("0123456789abcdef0123456789abcdef  /mnt/udisk/boot 1.img\n"
                             "fedcba9876543210fedcba9876543210  /mnt/sdcard/.kz-readback.bin"));
    EXPECT_EQ(VerdictName(WriteVerdict::SumDiffers), QStringLiteral("sum-differs"));
    EXPECT_EQ(VerdictName(WriteVerdict::Verified), QStringLiteral("verified"));
}

}  // namespace
