// Boot partition reads and writes: command lines, status fields, buttons,
// message order, pickers and late reports.
#include <QPushButton>
#include <QRadioButton>
#include <system_error>

#include "board/BoardWorker.h"

#include "app/core/DeviceActions.h"
#include "board/BoardFixture.h"
#include "files/FileManagerMode.h"

namespace kz::test {
namespace {

const QString kTool = QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA ");

using BootTransfer = BoardFixture;

TEST_F(BootTransfer, Boot1ReadShowsSuccessWhileTheBoxIsOpen)
{
    OpenBoard();
    const QString command = AsCalled(kTool + "/READ_BOOT1:'My Boot.img'\"");
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
    EXPECT_EQ(BoardCalls(), QStringList({command})) << "leading blanks trimmed, case kept";
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
    EXPECT_EQ(BoardCalls(), QStringList({command}));
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
    QStringList calls = BoardCalls();
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
