// The update's command lines and the judgement of each answer.
#include <gtest/gtest.h>

#include <QMap>
#include <QStringList>

#include "platform/CommandLine.h"
#include "update/core/UpdatePassword.h"
#include "update/core/UpdateRunner.h"
#include "update/core/UpdateSequence.h"

using kz::UpdateCheck;
using kz::UpdateStep;

namespace {

const QString kFolder = QStringLiteral("/home/op/korvald-update/");
const QString kServerStart = QStringLiteral("* daemon not running; starting now at tcp:5037\r\n"
                                            "* daemon started successfully\r\n");
const QString kPushReport =
    QStringLiteral("/home/op/korvald-update/key_test: 1 file pushed, 0 skipped. 0.4 MB/s (1834 bytes in 0.004s)\r\n");

QStringList Commands(const std::vector<UpdateStep>& steps)
{
    QStringList lines;
    for (const UpdateStep& step : steps)
        lines << step.command;
    return lines;
}

UpdateStep StepFor(const QString& command)
{
    for (const UpdateStep& step : kz::BuildUpdateSequence(kFolder))
        if (step.command == command)
            return step;
    ADD_FAILURE() << "no step " << command.toStdString();
    return {};
}

bool Passes(const QString& command, const QString& output)
{
    return kz::PassesCheck(StepFor(command), output);
}

}  // namespace

TEST(UpdateSequence, CommandLinesInOrder)
{
    const QStringList expected{
        "shell rm /data/dalvik-cache/*",
        "shell rm /data/bin/*",
        "push /home/op/korvald-update/key_test /data/bin",
        "push /home/op/korvald-update/QerlinA /data/bin",
        "push /home/op/korvald-update/QerlinB /data/bin",
        "push /home/op/korvald-update/QerlinC /data/bin",
        "push /home/op/korvald-update/eMMC /mnt/sdcard",
        "push /home/op/korvald-update/busybox /mnt/sdcard",
        "push /home/op/korvald-update/uImage /mnt/sdcard",
        "push /home/op/korvald-update/dl_kernel.sh /mnt/sdcard",
        "push /home/op/korvald-update/dl_ramdisk.sh /mnt/sdcard",
        "push /home/op/korvald-update/uramdisk.img /mnt/sdcard",
        "shell \"cd /data/bin && chmod 777 *\"",
        "shell \"cd /data/bin && sync\"",
        "shell \"cd /mnt/sdcard && ./dl_kernel.sh\"",
        "shell \"cd /mnt/sdcard && ./dl_ramdisk.sh\"",
        "shell \"cd /mnt/sdcard && sync\"",
        "shell rm /mnt/sdcard/dl_kernel.sh",
        "shell rm /mnt/sdcard/dl_ramdisk.sh",
        "shell rm /mnt/sdcard/uImage",
        "shell rm /mnt/sdcard/uramdisk.img",
    };
    EXPECT_EQ(Commands(kz::BuildUpdateSequence(kFolder)), expected);
}

TEST(UpdateSequence, SourceFolderWithBlanksAndQuotesStaysOneArgument)
{
    const QString folder = QStringLiteral("/home/op/my \"new\" update\\/");
    for (const UpdateStep& step : kz::BuildUpdateSequence(folder)) {
        if (step.check != UpdateCheck::Push)
            continue;
        const QStringList args = kz::SplitWindowsCommandLine(step.command);
        ASSERT_EQ(args.size(), 3) << step.command.toStdString();
        EXPECT_EQ(args[0], "push");
        EXPECT_TRUE(args[1].startsWith(folder)) << args[1].toStdString();
        EXPECT_TRUE(kz::UpdateFileNames().contains(args[1].mid(folder.size())));
    }
}

TEST(UpdateChecks, RemovalPassesOnNothingOrOnNothingToRemove)
{
    const QString rmBin = QStringLiteral("shell rm /data/bin/*");
    EXPECT_TRUE(Passes(rmBin, ""));
    EXPECT_TRUE(Passes(rmBin, kServerStart));
    EXPECT_TRUE(Passes(rmBin, "rm failed for /data/bin/*, No such file or directory\r\r\n"));
    EXPECT_FALSE(Passes(rmBin, "rm failed for /data/bin/QerlinA, Permission denied\r\r\n"));
    EXPECT_FALSE(Passes(rmBin, "error: device not found\r\n"));
    EXPECT_FALSE(Passes(rmBin, kServerStart + "error: device offline\r\n"));
    // The message of another path does not count for this one.
    EXPECT_FALSE(Passes(rmBin, "rm failed for /data/dalvik-cache/*, No such file or directory\r\r\n"));
}

TEST(UpdateChecks, RemovalOnTheSdCardAcceptsEitherPathForm)
{
    const QString rm = QStringLiteral("shell rm /mnt/sdcard/uImage");
    EXPECT_TRUE(Passes(rm, "rm failed for /sdcard/uImage, No such file or directory\r\r\n"));
    EXPECT_TRUE(Passes(rm, "rm failed for /mnt/sdcard/uImage, No such file or directory\r\r\n"));
    EXPECT_FALSE(Passes(rm, "rm failed for /mnt/sdcard/uImage, Read-only file system\r\r\n"));
}

TEST(UpdateChecks, PushNeedsATransferReportAndNoFailure)
{
    const QString push = QStringLiteral("push /home/op/korvald-update/key_test /data/bin");
    EXPECT_TRUE(Passes(push, kPushReport));
    EXPECT_TRUE(Passes(push, kServerStart + kPushReport));
    EXPECT_TRUE(Passes(push, "1567 KB/s (1834 bytes in 0.001s)\r\n"));
    EXPECT_FALSE(Passes(push, ""));
    EXPECT_FALSE(Passes(push, kServerStart));  // the client's own lines are no report
    EXPECT_FALSE(Passes(push, "\r\n"));
    EXPECT_FALSE(Passes(push, "adb: error: cannot stat '/home/op/korvald-update/key_test': No such file or directory\r\n"));
    EXPECT_FALSE(Passes(push, "adb: error: failed to get feature set: device not found\r\n"));
    EXPECT_FALSE(Passes(push, "failed to copy 'key_test' to '/data/bin/key_test': Read-only file system\r\n"));
}

TEST(UpdateChecks, SilentCommandsMustPrintNothing)
{
    const QString chmod = QStringLiteral("shell \"cd /data/bin && chmod 777 *\"");
    EXPECT_TRUE(Passes(chmod, ""));
    EXPECT_TRUE(Passes(chmod, kServerStart));
    EXPECT_FALSE(Passes(chmod, "Unable to chmod key_test: Operation not permitted\r\r\n"));
}

TEST(UpdateChecks, FlashScriptsAreNotJudged)
{
    EXPECT_TRUE(Passes("shell \"cd /mnt/sdcard && ./dl_kernel.sh\"", "uImage: No such file or directory\r\r\n"));
    EXPECT_TRUE(Passes("shell \"cd /mnt/sdcard && sync\"", "error: device not found\r\n"));
}

TEST(UpdatePassword, OnlyTheExactTextUnlocks)
{
    EXPECT_TRUE(kz::IsUpdatePassword("518204637"));
    for (const char* wrong : {"518204637 ", " 518204637", "51820463", "5182046370", "", "５１８２０４６３７"})
        EXPECT_FALSE(kz::IsUpdatePassword(QString::fromUtf8(wrong))) << wrong;
}

// --- running the sequence ---

namespace {

struct FakeBox {
    QMap<QString, QString> answers;  // by command; missing: ""
    bool clientStarts = true;
    QStringList sent;
    QList<int> progress;
    QList<int> sentAtProgress;  // commands sent when each step was reported

    kz::UpdateOutcome Run()
    {
        return kz::RunUpdateSteps(
            kz::BuildUpdateSequence(kFolder),
            [this](const QString& command) {
                sent << command;
                return kz::ClientAnswer{clientStarts, clientStarts ? answers.value(command) : QString(), {}};
            },
            [this](int step) {
                progress << step;
                sentAtProgress << sent.size();
            });
    }

    // Every push answers with a transfer report.
    void AnswerPushes()
    {
        for (const UpdateStep& step : kz::BuildUpdateSequence(kFolder))
            if (step.check == UpdateCheck::Push)
                answers[step.command] = kPushReport;
    }
};

}  // namespace

TEST(UpdateRun, EveryStepPassesUpToTen)
{
    FakeBox box;
    box.AnswerPushes();
    box.answers["shell \"cd /mnt/sdcard && ./dl_kernel.sh\""] = "writing uImage\r\r\ndone\r\r\n";
    const kz::UpdateOutcome outcome = box.Run();
    EXPECT_TRUE(outcome.passed);
    EXPECT_EQ(box.sent.size(), 21);
    EXPECT_EQ(box.progress, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(box.sentAtProgress, (QList<int>{2, 4, 6, 8, 10, 12, 14, 16, 19, 21}));
}

TEST(UpdateRun, StopsAtTheFirstFailedCommand)
{
    FakeBox box;
    box.AnswerPushes();
    const QString uImage = QStringLiteral("push /home/op/korvald-update/uImage /mnt/sdcard");
    box.answers[uImage] = "adb: error: cannot stat 'uImage': No such file or directory\r\n";
    const kz::UpdateOutcome outcome = box.Run();
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.failedStep, 8);
    EXPECT_EQ(box.sent.last(), uImage);
    EXPECT_EQ(box.progress, (QList<int>{1, 2, 3, 4}));
}

TEST(UpdateRun, AClientThatPrintsNothingFailsAtTheFirstPush)
{
    FakeBox box;  // every answer empty
    const kz::UpdateOutcome outcome = box.Run();
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(box.sent.size(), 3);
    EXPECT_EQ(box.progress, (QList<int>{1}));
}

TEST(UpdateRun, AClientThatDoesNotStartFailsAtTheFirstStep)
{
    FakeBox box;
    box.AnswerPushes();
    box.clientStarts = false;  // its empty text is no empty answer of the box
    const kz::UpdateOutcome outcome = box.Run();
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(outcome.failedStep, 0);
    EXPECT_EQ(box.sent.size(), 1);
    EXPECT_TRUE(box.progress.isEmpty());
}
