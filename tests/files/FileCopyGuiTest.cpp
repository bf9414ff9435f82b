// Copies between the storages from the file manager, against the scripted
// client: the checks before the copy, the result box, the log and the end of
// the dialog while a copy runs.
#include <QComboBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "support/FilesGuiFixture.h"
#include "link/Texts.h"
#include "files/FileManager.h"
#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"

using namespace kz::test;
namespace ft = kz::files::text;

namespace {
// Command lines as the scripted client sees them (arguments joined by blanks).
const QString kLsSdcard = QStringLiteral("shell ls -l /mnt/sdcard");
const QString kLsUdisk = QStringLiteral("shell ls -l /mnt/udisk");
const QString kProbeSource = QStringLiteral("shell ls -l /mnt/sdcard/'a b.bin'");
const QString kDfUdisk = QStringLiteral("shell df /mnt/udisk/");
const QString kCopy = QStringLiteral("shell /mnt/sdcard/busybox cp /mnt/sdcard/'a b.bin' /mnt/udisk/'abc'");
const QString kProbeTarget = QStringLiteral("shell ls -l /mnt/udisk/'abc'");
const QString kVerifySource = QStringLiteral("shell  ls -l /mnt/sdcard/'a b.bin'");
const QString kVerifyTarget = QStringLiteral("shell  ls -l /mnt/udisk/'abc'");
const QString kSumSource = QStringLiteral("shell /mnt/sdcard/busybox md5sum /mnt/sdcard/'a b.bin'");
const QString kSumTarget = QStringLiteral("shell /mnt/sdcard/busybox md5sum /mnt/udisk/'abc'");
const QByteArray kSum = "9e107d9d372bb6826bd81d3542a419d6";
const QByteArray kDfRoomy = "/mnt/udisk/: 3870720K total, 100K used, 3870620K available (block size 4096)\r\r\n";

QByteArray Ls(qint64 size, const char* name) { return LsListed(size, QString::fromUtf8(name)).toUtf8(); }
}  // namespace

class FileCopyGui : public FilesGui {
protected:
    void SetUp() override
    {
        dialogs.copy = {5, 5, 100};
        FilesGui::SetUp();
        bin.Answer(kLsSdcard, Ls(1234, "a b.bin"));
        bin.Answer(kProbeSource, Ls(1234, "a b.bin"));
        bin.Answer(kDfUdisk, kDfRoomy);
        bin.Answer(kProbeTarget, Ls(1234, "abc"));
        bin.Answer(kVerifySource, Ls(1234, "a b.bin"));
        bin.Answer(kVerifyTarget, Ls(1234, "abc"));
        bin.Answer(kSumSource, kSum + "  /mnt/sdcard/a b.bin\r\r\n");
        bin.Answer(kSumTarget, kSum + "  /mnt/udisk/abc\r\r\n");
    }

    // Selects the file, types the target name and presses "Copy".
    static void StartCopy(QWidget* modal, const QString& target, int row = 0)
    {
        if (row >= 0)
            SelectRow(modal, row);
        modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(target);
        ClickButton(modal, "btn_copy");
    }
    static bool CopyButtonEnabled(QWidget* modal)
    {
        return modal->findChild<QPushButton*>(QStringLiteral("btn_copy"))->isEnabled();
    }
    static QString ProgressText(QWidget* modal)
    {
        return modal->findChild<QProgressBar*>(QStringLiteral("progress_copy"))->format();
    }
    static int ProgressValue(QWidget* modal)
    {
        return modal->findChild<QProgressBar*>(QStringLiteral("progress_copy"))->value();
    }
    // Copies the listed file to the stick as "abc"; the dialog closes once
    // the result is answered.
    void CopyToUdiskAndClose()
    {
        WHEN_LISTED(1, {
            StartCopy(modal, QStringLiteral("abc"));
            EXPECT_TRUE(boxes.WaitForCount(1));
            EXPECT_TRUE(WaitFor([&] { return CopyButtonEnabled(modal); }));
            ClickButton(modal, "closebtn");
        });
        OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    }
    QStringList LogContaining(const QString& part) const { return LogLines().filter(part); }
    // The record's line of the last copy's result (kind success or failure).
    QJsonObject CopyRecord() const
    {
        QJsonObject result;
        for (const QJsonObject& line : RecordLines()) {
            const QString kind = line.value(u"kind").toString();
            if (line.value(u"operation").toString() == u"copy" && (kind == u"success" || kind == u"failure"))
                result = line;
        }
        return result;
    }
};

TEST_F(FileCopyGui, CopyToUdiskFromTheMainWindowReportsAndLogsSuccess)
{
    bin.Delay(kSumTarget, 0.3);  // long enough to see the bar while the sums are compared
    QString progressAfter;
    bool enabledAfter = false;
    bool verifyingShown = false;
    boxes.Hold();
    WHEN_LISTED(1, {
        StartCopy(modal, QStringLiteral("  abc"));
        verifyingShown = WaitFor([&] { return ProgressText(modal) == T(ft::Verifying); });
        EXPECT_EQ(ProgressValue(modal), 100);
        EXPECT_FALSE(CopyButtonEnabled(modal));
        EXPECT_TRUE(boxes.WaitForCount(1));
        EXPECT_EQ(ProgressText(modal), T(ft::CopyOk)) << "the bar tells the verdict before the box";
        boxes.Release();
        EXPECT_TRUE(WaitFor([&] { return CopyButtonEnabled(modal) && ProgressText(modal) == QLatin1String(" "); }));
        progressAfter = ProgressText(modal);
        enabledAfter = CopyButtonEnabled(modal);
        ClickButton(modal, "closebtn");
    });
    ClickButton(frame->GetHWND(), "btn_copytoUdisk");
    EXPECT_TRUE(verifyingShown);
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyOk)});
    EXPECT_EQ(bin.CountCalls(kCopy), 1);
    EXPECT_GE(bin.CountCalls(kProbeTarget), 1);
    EXPECT_EQ(bin.CountCalls(kVerifyTarget), 1);
    EXPECT_EQ(bin.CountCalls(kSumSource), 1);
    EXPECT_EQ(bin.CountCalls(kSumTarget), 1);
    EXPECT_EQ(progressAfter, " ");
    EXPECT_TRUE(enabledAfter);
    EXPECT_TRUE(WaitFor([&] { return LogContaining(T(ft::CopyOk)).size() == 1; }));
    const QJsonObject record = CopyRecord();
    EXPECT_EQ(record.value(u"kind").toString(), u"success");
    EXPECT_EQ(record.value(u"source").toString(), u"a b.bin");
    EXPECT_EQ(record.value(u"target").toString(), u"abc");
    EXPECT_EQ(record.value(u"listedBytes").toInteger(), 1234);
    EXPECT_EQ(record.value(u"sourceMd5").toString().toLatin1(), kSum);
    EXPECT_EQ(record.value(u"targetMd5").toString().toLatin1(), kSum);
    EXPECT_GE(record.value(u"verifyMs").toInteger(-1), 300);
    EXPECT_TRUE(record.contains(u"copyMs"));
}

// Sums that are not both there and equal fail the copy; the tip is what the
// box answered to the two md5sum commands, and the record keeps the sums.
TEST_F(FileCopyGui, ChecksumsThatDoNotAgreeFailTheCopy)
{
    const QByteArray sourceLine = kSum + "  /mnt/sdcard/a b.bin\r\r\n";
    const struct {
        const char* name;
        QByteArray target;
        QString targetMd5;
    } cases[] = {
        {"different", "00000000000000000000000000000000  /mnt/udisk/abc\r\r\n",
         QStringLiteral("00000000000000000000000000000000")},
        {"missing", "md5sum: can't open '/mnt/udisk/abc': No such file or directory\r\r\n", {}},
        {"garbage", "Segmentation fault\r\r\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bin.Answer(kSumTarget, c.target);
        boxes.Clear();
        CopyToUdiskAndClose();
        EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyFailed)});
        const QString tip = QString::fromUtf8(sourceLine + c.target).trimmed();
        ASSERT_TRUE(WaitFor([&] { return LogContaining(tip).size() == 1; }));
        const QJsonObject record = CopyRecord();
        EXPECT_EQ(record.value(u"kind").toString(), u"failure");
        EXPECT_EQ(record.value(u"sourceMd5").toString().toLatin1(), kSum);
        EXPECT_EQ(record.value(u"targetMd5").toString(), c.targetMd5);
    }
}

TEST_F(FileCopyGui, InputOutputErrorLogsFailureThenTheBoxOutput)
{
    bin.Answer(kCopy, "cp: write error: Input/output error\r\r\n");
    CopyToUdiskAndClose();
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyFailed)});
    EXPECT_EQ(bin.CountCalls(kVerifySource), 0);
    ASSERT_TRUE(WaitFor([&] { return !LogContaining(QStringLiteral("Input/output error")).isEmpty(); }));
    const QStringList log = LogLines();
    const qsizetype failure = log.indexOf(LogContaining(T(ft::CopyFailed)).value(0));
    const qsizetype tip = log.indexOf(LogContaining(QStringLiteral("Input/output error")).value(0));
    EXPECT_GE(failure, 0);
    EXPECT_EQ(tip, failure + 1);
}

TEST_F(FileCopyGui, BadSelectionOrTargetNameIsRefusedBeforeAnyCommand)
{
    WHEN_LISTED(1, {
        StartCopy(modal, QStringLiteral("abc"), -1);
        StartCopy(modal, QStringLiteral(""));
        StartCopy(modal, QStringLiteral("   "));
        StartCopy(modal, QStringLiteral("say \"hi\""));
        StartCopy(modal, QStringLiteral("../sdcard/x"));
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::FileNotSelected), T(ft::TargetNameEmpty), T(ft::TargetNameEmpty),
                                          T(kz::files::UnsafeFileName), T(ft::NameNotInFolder)}));
    EXPECT_EQ(bin.CountCalls(kDfUdisk), 0);
    EXPECT_EQ(bin.CountCalls(kProbeSource), 0);
}

TEST_F(FileCopyGui, SpaceCheckStopsTheCopy)
{
    WHEN_LISTED(1, {
        bin.Answer(kDfUdisk, "/mnt/udisk/: 10K total, 9K used, 1K available (block size 4096)\r\r\n");
        StartCopy(modal, QStringLiteral("abc"));
        bin.Answer(kDfUdisk, "/mnt/udisk: No such file or directory\r\r\n");
        StartCopy(modal, QStringLiteral("abc"));
        bin.Answer(kDfUdisk, "error: device not found\r\n");
        StartCopy(modal, QStringLiteral("abc"));  // no free space named: the device message
        bin.Answer(kDfUdisk, "error: device offline\r\n");
        StartCopy(modal, QStringLiteral("abc"));
        // busybox's table: the free space cannot be read, the box's words say why
        bin.Answer(kDfUdisk, "Filesystem  1K-blocks  Used Available Use% Mounted on\r\r\n");
        StartCopy(modal, QStringLiteral("abc"));
        EXPECT_TRUE(CopyButtonEnabled(modal));
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::NotEnoughDisk), T(ft::UdiskNotFound), T(kz::text::NoDeviceFound),
                                          T(kz::text::DeviceTurnedOff), T(ft::FreeSpaceUnreadable)}));
    EXPECT_EQ(bin.CountCalls(kDfUdisk), 5);
    EXPECT_EQ(bin.CountCalls(kCopy), 0);
    EXPECT_EQ(LogLines().filter(QStringLiteral("Mounted on")).size(), 1);
}

TEST_F(FileCopyGui, EmptyStorageSaysNoFile)
{
    bin.Answer(kLsUdisk, "");
    WHEN_LISTED(0, {
        ClickButton(modal, "btn_copy");
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::NoFile)});
}

TEST_F(FileCopyGui, ClosingDuringACopyKeepsTheServerUntilTheCopyEnds)
{
    const QString copy = QStringLiteral("shell /mnt/sdcard/busybox cp /mnt/udisk/'a b.bin' /mnt/sdcard/'uImage'");
    const QString kill = QStringLiteral("kill-server");
    bin.Answer(kLsUdisk, Ls(1234, "a b.bin"));
    bin.Answer(QStringLiteral("shell ls -l /mnt/udisk/'a b.bin'"), Ls(1234, "a b.bin"));
    bin.Answer(QStringLiteral("shell df /mnt/sdcard/"), kDfRoomy);
    bin.Delay(copy, 0.6);
    const int killsBefore = bin.CountCalls(kill);
    WHEN_LISTED(1, {
        SelectRow(modal, 0);
        modal->findChild<QComboBox*>(QStringLiteral("comb_name"))->setCurrentText(QStringLiteral("uImage"));
        ClickButton(modal, "btn_copy");
        EXPECT_FALSE(CopyButtonEnabled(modal));
        EXPECT_TRUE(WaitFor([&] { return bin.CountCalls(copy) == 1; }));
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
    ProcessEventsFor(100);
    EXPECT_EQ(bin.CountCalls(kill), killsBefore);  // the copy still runs
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_TRUE(WaitFor([&] { return bin.CountCalls(kill) == killsBefore + 1; }));
    EXPECT_EQ(boxes.Requests().first().ownerName, QString());  // the dialog is gone
}
