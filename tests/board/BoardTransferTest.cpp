// Boot partition reads and writes: command lines, status fields, buttons,
// message order, pickers and late reports, and the sums that prove them.
#include <QJsonObject>
#include <QPushButton>
#include <QRadioButton>
#include <system_error>

#include "board/BoardWorker.h"

#include "link/DeviceActions.h"
#include "board/BoardFixture.h"
#include "files/core/FileManagerMode.h"
#include "support/ListingLine.h"

namespace kz::test {
namespace {

const QString kTool = QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA ");
const QString kSum = QStringLiteral("0123456789abcdef0123456789abcdef");
const QString kOtherSum = QStringLiteral("fedcba9876543210fedcba9876543210");

QByteArray SumLine(const QString& sum, const QString& path)
{
    return (sum + QStringLiteral("  ") + path + QStringLiteral("\r\r\n")).toUtf8();
}

// The command lines that check a boot write of `image` (a quoted path).
struct WriteChecks {
    WriteChecks(int boot, const QString& image)
        : readBack(QStringLiteral("/mnt/sdcard/'") + ReadBackOf(boot) + u'\''),
          probe(AsCalled(QStringLiteral("shell \"ls -l ") + image + u'"')),
          imageSum(AsCalled(QStringLiteral("shell \"/mnt/sdcard/busybox md5sum ") + image + u'"')),
          read(AsCalled(kTool + QStringLiteral("/READ_BOOT%1:'").arg(boot) + ReadBackOf(boot) + QStringLiteral("'\""))),
          cut(AsCalled(QStringLiteral("shell \"/mnt/sdcard/busybox truncate -c -s 4096 ") + readBack + u'"')),
          readBackSum(AsCalled(QStringLiteral("shell \"/mnt/sdcard/busybox md5sum ") + readBack + u'"')),
          remove(AsCalled(QStringLiteral("shell \"rm -f ") + readBack + u'"'))
    {
    }
    // The box's answers for a 4096-byte image whose read-back sums as given.
    void Answer(FakeBin& bin, const QString& name, const QString& readBackSumText) const
    {
        bin.Answer(probe, LsListed(4096, name).toUtf8());
        bin.Answer(imageSum, SumLine(kSum, name));
        bin.Answer(read, kComplete);
        bin.Answer(readBackSum, SumLine(readBackSumText, readBack));
    }
    QString readBack;
    QString probe, imageSum, read, cut, readBackSum, remove;
};

using BootTransfer = BoardFixture;

TEST_F(BootTransfer, Boot1ReadShowsSuccessWhileTheBoxIsOpen)
{
    OpenBoard();
    const QString command = AsCalled(kTool + "/READ_BOOT1:'My Boot.img'\"");
    const QString sum = AsCalled("shell \"/mnt/sdcard/busybox md5sum /mnt/sdcard/'My Boot.img'\"");
    const QString probe = AsCalled("shell \"ls -l /mnt/sdcard/'My Boot.img'\"");
    bin.Answer(command, kComplete);
    nextTypedName = QStringLiteral("  My Boot.img");
    boxes.Hold();
    Click("btn_readboot1");
    EXPECT_EQ(TextOf("btn_readboot1"), QStringLiteral("saving"));
    EXPECT_FALSE(Ctl("btn_readboot1")->isEnabled());
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(TextOf("edit_readboot1filename"), QStringLiteral("Save Boot1 successfully!"));
    EXPECT_FALSE(Ctl("btn_readboot1")->isEnabled()) << "the button waits for the message box";
    boxes.Release();
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_TRUE(Ctl("btn_readboot1")->isEnabled());
    EXPECT_EQ(TextOf("btn_readboot1"), QStringLiteral("Read"));
    EXPECT_EQ(BoardCalls(), QStringList({command, sum, probe})) << "leading blanks trimmed, case kept";
    EXPECT_EQ(boxes.Texts(), QStringList({"Save Boot1 successfully!"}));
}

TEST_F(BootTransfer, Boot2ReadFailureLeavesTheStatusEmptyUntilDismissed)
{
    OpenBoard();
    nextTypedName = QStringLiteral("b2.img");
    bin.Answer(AsCalled(kTool + "/READ_BOOT2:'b2.img'\""), "error: can't create b2.img\r\r\n");
    boxes.Hold();
    Click("btn_readboot2");
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(TextOf("edit_readboot2filename"), QString());
    boxes.Release();
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(TextOf("edit_readboot2filename"), QStringLiteral("Save Boot2 failed!"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Save Boot2 failed!"}));
}

TEST_F(BootTransfer, CancelledNameDialogNeverReusesAnEarlierName)
{
    OpenBoard();
    const QString command = AsCalled(kTool + "/READ_BOOT1:'first.img'\"");
    bin.Answer(command, kComplete);
    bin.Delay(command, 0.5);
    nextTypedName = QStringLiteral("first.img");
    Click("btn_readboot1");
    // The first read still runs; the second name dialog is cancelled.
    nextTypedName.clear();
    Click("btn_readboot2");
    EXPECT_EQ(nameDialogs, 2);
    EXPECT_EQ(boxes.Texts().value(0), QStringLiteral("File name can not be empty, please enter again!"));
    EXPECT_EQ(TextOf("edit_readboot2filename"), QStringLiteral("Save Boot2 failed!"));
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(BoardCalls().filter(QStringLiteral("READ_BOOT")), QStringList({command}));
}

TEST_F(BootTransfer, NamesThatWouldBreakTheQuotingAreRefused)
{
    OpenBoard();
    for (const char* name : {"a\"b.img", "two\nlines.img", "   "}) {
        SetText("edit_writeboot1filename", QString::fromUtf8(name));
        Click("btn_writeboot1");
        EXPECT_TRUE(Ctl("btn_writeboot1")->isEnabled()) << name;
    }
    EXPECT_EQ(boxes.Texts(), QStringList({"File name can not contain double quotes or control characters!",
                                          "File name can not contain double quotes or control characters!",
                                          "File name can not be empty, please enter again!"}));
    EXPECT_TRUE(BoardCalls().isEmpty());
}

TEST_F(BootTransfer, WritesLowerTheNameAndTakeTheSourceOfTheirStart)
{
    OpenBoard();
    const QString fromUdisk = AsCalled(kTool + "/WRITE_BOOT1:/mnt/udisk/'boot 1.img'\"");
    const QString fromSdcard = AsCalled(kTool + "/WRITE_BOOT2:'boot2.img'\"");
    bin.Answer(fromUdisk, kComplete);
    WriteChecks(1, QStringLiteral("/mnt/udisk/'boot 1.img'")).Answer(bin, QStringLiteral("boot 1.img"), kSum);
    SetText("edit_writeboot1filename", QStringLiteral("Boot 1.IMG  "));
    SetText("edit_writeboot2filename", QStringLiteral("BOOT2.img"));
    Ctl<QRadioButton>("option_boot2_sdcard")->click();
    boxes.Hold();
    Click("btn_writeboot1");
    Click("btn_writeboot2");
    EXPECT_EQ(TextOf("btn_writeboot1"), QStringLiteral("Writing"));
    ASSERT_TRUE(boxes.WaitForCount(2));
    boxes.Release();
    ASSERT_TRUE(WaitForWorkers());
    QStringList calls = BoardCalls().filter(QStringLiteral("WRITE_BOOT"));
    calls.sort();
    QStringList expected{fromUdisk, fromSdcard};
    expected.sort();
    EXPECT_EQ(calls, expected) << "a typed name with the U-disk source needs no mount";
    QStringList texts = boxes.Texts();
    texts.sort();
    EXPECT_EQ(texts, QStringList({"Write Boot1 successfully!", "Write Boot2 failed!"}));
    EXPECT_EQ(TextOf("edit_writeboot1filename"), QStringLiteral("Boot 1.IMG  ")) << "the field keeps its text";
    EXPECT_EQ(TextOf("btn_writeboot2"), QStringLiteral("Write"));
    EXPECT_TRUE(Ctl("btn_writeboot2")->isEnabled());
}

TEST_F(BootTransfer, AWriteSaysSoOnlyOnceItsReadBackSumsAsTheImageAndIsGone)
{
    OpenBoard();
    Ctl<QRadioButton>("option_boot2_sdcard")->click();
    const QString write = AsCalled(kTool + "/WRITE_BOOT2:'boot2.img'\"");
    const WriteChecks checks(2, QStringLiteral("/mnt/sdcard/'boot2.img'"));
    bin.Answer(write, kComplete);
    checks.Answer(bin, QStringLiteral("boot2.img"), kSum.toUpper());
    SetText("edit_writeboot2filename", QStringLiteral("boot2.img"));
    boxes.Hold();
    Click("btn_writeboot2");
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(BoardCalls(), QStringList({write, checks.probe, checks.imageSum, checks.read, checks.cut,
                                         checks.readBackSum, checks.remove}));
    boxes.Release();
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot2 successfully!"}));
    const QJsonObject entry = RecordLines().value(RecordLines().size() - 1);
    EXPECT_EQ(entry[u"operation"].toString(), QStringLiteral("write-boot2"));
    EXPECT_EQ(entry[u"kind"].toString(), QStringLiteral("success"));
    EXPECT_EQ(entry[u"key"].toString(), QStringLiteral("Write Boot2 successfully!"));
    EXPECT_EQ(entry[u"verdict"].toString(), QStringLiteral("verified"));
    EXPECT_EQ(entry[u"sourceMd5"].toString(), kSum);
    EXPECT_EQ(entry[u"readBackMd5"].toString(), kSum);
    EXPECT_EQ(entry[u"bytes"].toInteger(), 4096);
    EXPECT_TRUE(entry[u"writeMs"].isDouble() && entry[u"verifyMs"].isDouble()) << "durations of both phases";
}

// Every check that does not end in equal sums fails the write, says the
// box's words as the tip, and removes the read-back once it was asked for.
// A box without the applets to check lets the write stand, "not proved".
TEST_F(BootTransfer, AWriteWhoseReadBackDoesNotProveItFails)
{
    const WriteChecks checks(1, QStringLiteral("/mnt/udisk/'boot.img'"));
    const struct {
        const char* what;
        QString command;  // the check whose answer differs
        QByteArray answer;
        QByteArray tip;   // a part of the tip row
        bool readBackMade;
        bool stands = false;
    } cases[] = {
        {"a flipped byte", checks.readBackSum, SumLine(kOtherSum, checks.readBack), kOtherSum.toUtf8(), true},
        {"the read-back failed", checks.read, "error: reading BOOT1: Input/output error\r\r\n",
         "error: reading BOOT1: Input/output error", true},
        {"truncate refused", checks.cut, "truncate: invalid number '-1'\r\r\n", "invalid number", true},
        {"no truncate on the box", checks.cut, "truncate: applet not found\r\r\n", "Not proved", true, true},
        {"no busybox", checks.imageSum, "sh: /mnt/sdcard/busybox: not found\r\r\n", "Not proved", false, true},
        {"the image cannot be summed", checks.imageSum,
         "md5sum: can't open '/mnt/udisk/boot.img': Input/output error\r\r\n", "md5sum: can't open", false},
        {"the image is not listed", checks.probe, "/mnt/udisk/boot.img: No such file or directory\r\r\n",
         "No such file or directory", false},
    };
    OpenBoard();
    const QString write = AsCalled(kTool + "/WRITE_BOOT1:/mnt/udisk/'boot.img'\"");
    SetText("edit_writeboot1filename", QStringLiteral("boot.img"));
    for (const auto& c : cases) {
        bin.ClearCalls();
        bin.Answer(write, kComplete);
        checks.Answer(bin, QStringLiteral("boot.img"), kSum);
        bin.Answer(c.command, c.answer);
        const int before = boxes.Count();
        Click("btn_writeboot1");
        ASSERT_TRUE(boxes.WaitForCount(before + 1)) << c.what;
        ASSERT_TRUE(WaitForWorkers()) << c.what;
        const QString message = QLatin1String(c.stands ? "Write Boot1 successfully!" : "Write Boot1 failed!");
        EXPECT_EQ(boxes.Texts().last(), message) << c.what;
        EXPECT_EQ(BoardCalls().contains(checks.read), c.readBackMade) << c.what;
        EXPECT_EQ(BoardCalls().contains(checks.remove), c.readBackMade) << c.what;
        if (c.readBackMade) {
            EXPECT_EQ(BoardCalls().last(), checks.remove) << c.what << ": removed last";
        }
        const QStringList log = LogLines();
        EXPECT_TRUE(log[log.size() - 2].contains(message)) << c.what;
        EXPECT_TRUE(log.last().contains(QString::fromUtf8(c.tip))) << c.what << ": " << qPrintable(log.last());
        const QJsonObject entry = RecordLines().value(RecordLines().size() - 2);
        EXPECT_EQ(entry[u"kind"].toString(), QLatin1String(c.stands ? "success" : "failure")) << c.what;
        EXPECT_EQ(entry[u"verdict"] == QStringLiteral("not-proved"), c.stands) << c.what;
    }
}

// A read records the sum and size of the image it saved; a sum the box does
// not give is recorded as missing and leaves the read a success.
TEST_F(BootTransfer, AReadRecordsTheSavedImagesSumOrItsAbsence)
{
    OpenBoard();
    const QString read = AsCalled(kTool + "/READ_BOOT2:'b2.img'\"");
    const QString sum = AsCalled("shell \"/mnt/sdcard/busybox md5sum /mnt/sdcard/'b2.img'\"");
    bin.Answer(read, kComplete);
    bin.Answer(sum, SumLine(kSum, QStringLiteral("/mnt/sdcard/b2.img")));
    bin.Answer(AsCalled("shell \"ls -l /mnt/sdcard/'b2.img'\""), LsListed(4194304, QStringLiteral("b2.img")).toUtf8());
    nextTypedName = QStringLiteral("b2.img");
    Click("btn_readboot2");
    ASSERT_TRUE(boxes.WaitForCount(1));
    ASSERT_TRUE(WaitForWorkers());
    QJsonObject entry = RecordLines().value(RecordLines().size() - 1);
    EXPECT_EQ(entry[u"operation"].toString(), QStringLiteral("read-boot2"));
    EXPECT_EQ(entry[u"key"].toString(), QStringLiteral("Save Boot2 successfully!"));
    EXPECT_EQ(entry[u"md5"].toString(), kSum);
    EXPECT_EQ(entry[u"bytes"].toInteger(), 4194304);
    EXPECT_TRUE(entry[u"durationMs"].isDouble());

    bin.Answer(sum, "md5sum: can't open '/mnt/sdcard/b2.img': No such file or directory\r\r\n");
    Click("btn_readboot2");
    ASSERT_TRUE(boxes.WaitForCount(2));
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(boxes.Texts(), QStringList({"Save Boot2 successfully!", "Save Boot2 successfully!"}));
    entry = RecordLines().value(RecordLines().size() - 1);
    EXPECT_EQ(entry[u"kind"].toString(), QStringLiteral("success"));
    EXPECT_TRUE(entry.contains(u"md5") && entry[u"md5"].isNull()) << "missing, not left out";
}

TEST_F(BootTransfer, BrowseMountsOnlyForTheUdiskAndKeepsTheFieldOnCancel)
{
    OpenBoard();
    SetText("edit_writeboot1filename", QStringLiteral("old.img"));
    Click("btn_browseboot1");  // U-disk, cancelled
    EXPECT_EQ(TextOf("edit_writeboot1filename"), QStringLiteral("old.img"));
    EXPECT_EQ(bin.CountCalls(QString::fromUtf8(kMountCommand)), 1);
    Ctl<QRadioButton>("option_boot2_sdcard")->click();
    nextPick = QStringLiteral("picked.img");
    Click("btn_browseboot2");
    EXPECT_EQ(TextOf("edit_writeboot2filename"), QStringLiteral("picked.img"));
    EXPECT_EQ(bin.CountCalls(QString::fromUtf8(kMountCommand)), 1) << "the SD card needs no mount";
    EXPECT_EQ(pickModes, QList<int>({SOURCE_BOOT_UDISK, SOURCE_BOOT_SDCARD}));
    EXPECT_TRUE(board->m_strPickedName.isEmpty());

    bin.Answer(QString::fromUtf8(kMountCommand), "mount: No such file or directory\r\r\n");
    Click("btn_browseboot1");
    EXPECT_EQ(pickModes.size(), 2) << "no picker after a failed mount";
    EXPECT_EQ(boxes.Texts(), QStringList({"MountUdisk Failed!"}));
}

TEST_F(BootTransfer, AReportAfterTheDialogWentIsHarmless)
{
    OpenBoard();
    nextTypedName = QStringLiteral("late.img");
    boxes.Hold();
    Click("btn_readboot1");
    ASSERT_TRUE(boxes.WaitForCount(1));
    board->Close();
    ProcessEventsFor(20);
    EXPECT_EQ(board->RunningWorkers(), 1);
    board.reset();  // the worker still waits in its message box
    boxes.Release();
    ProcessEventsFor(300);
    EXPECT_EQ(boxes.Texts(), QStringList({"Save Boot1 failed!"}));
}

// The closed dialog is released by its last worker's end, right after that
// worker's own last steps, and not while a worker still runs.
TEST_F(BootTransfer, TheReleaseFollowsTheLastWorkersEndAtOnce)
{
    OpenBoard();
    int idleCalls = 0;
    board->CallWhenIdle([&] { ++idleCalls; });
    EXPECT_EQ(idleCalls, 1) << "no worker: at once";

    nextTypedName = QStringLiteral("late.img");
    boxes.Hold();
    Click("btn_readboot1");
    ASSERT_TRUE(boxes.WaitForCount(1));
    board->Close();
    bool buttonBackAtRelease = false;
    board->CallWhenIdle([&] {
        ++idleCalls;
        buttonBackAtRelease = Ctl("btn_readboot1")->isEnabled();
    });
    ProcessEventsFor(50);
    EXPECT_EQ(idleCalls, 1) << "released while the worker waits in its message box";
    boxes.Release();
    ASSERT_TRUE(WaitFor([&] { return board->RunningWorkers() == 0; }));
    ProcessEventsFor(50);
    EXPECT_EQ(idleCalls, 2) << "not released within 50 ms of the last worker's end";
    EXPECT_TRUE(buttonBackAtRelease) << "the worker's last step ran before the release";
}

TEST_F(BootTransfer, AWorkerThatCannotStartGivesTheButtonBackAndSaysSo)
{
    const kz::ui::ThreadStarter failing = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    auto shared = std::make_shared<kz::board::BoardShared>();
    QPushButton button;
    button.setEnabled(false);  // as the click left it
    bool commandBuilt = false;
    kz::board::WorkerJob job;
    job.command = [&] {
        commandBuilt = true;
        return QStringLiteral("shell true");
    };
    job.caption = QStringLiteral("Prompt");
    job.okText = QStringLiteral("Write Boot1 successfully!");
    job.failText = QStringLiteral("Write Boot1 failed!");
    job.afterBox = [&](bool, const QString&) { button.setEnabled(true); };
    kz::board::StartBoardWorker(shared, QPointer<QObject>(&button), QPointer<QObject>(), job, failing);
    EXPECT_EQ(shared->running.load(), 0);
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot1 failed!"}));
    EXPECT_TRUE(WaitFor([&] { return button.isEnabled(); }));
    EXPECT_FALSE(commandBuilt);
}

}  // namespace
}  // namespace kz::test
