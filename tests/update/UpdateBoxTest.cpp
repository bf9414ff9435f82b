// The whole update sequence through the real adb client and the simulated
// box: the real answers pass the checks, the files land where the box
// expects them, and the real failure texts are caught.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>

#include "BoxFixture.h"
#include "device/AdbRunner.h"
#include "platform/ProgramDir.h"
#include "update/core/UpdateRunner.h"
#include "update/core/UpdateSequence.h"

namespace {

namespace fs = std::filesystem;

QString Adb(const QString& command)
{
    QString output;
    EXPECT_TRUE(RunAdbCommand(command, output)) << command.toStdString();
    return output;
}

class UpdateOnTheBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        kz::SetProgramDirectoryForTests(QString(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error, R"({"speed": 0})")) << error;
        folder = source.path() + QStringLiteral("/update files/");
        QDir().mkpath(folder);
        for (const QString& name : kz::UpdateFileNames()) {
            QFile file(folder + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("new " + name.toUtf8());
        }
    }
    void TearDown() override { kz::SetProgramDirectoryForTests(QString()); }

    e2e::BoxFixture box;
    QTemporaryDir source;
    QString folder;
};

}  // namespace

TEST_F(UpdateOnTheBox, SequencePassesAndLeavesTheNewSystem)
{
    QList<int> progress;
    QStringList answers;
    const kz::UpdateOutcome outcome = kz::RunUpdateSteps(
        kz::BuildUpdateSequence(folder),
        [&](const QString& command) {
            answers << Adb(command);
            return kz::ClientAnswer{true, answers.last(), {}};
        },
        [&](int step) { progress << step; });
    ASSERT_TRUE(outcome.passed) << "step " << outcome.failedStep << ": " << outcome.failedOutput.toStdString()
                                << "\n" << answers.join("|").toStdString();
    EXPECT_EQ(progress, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    const fs::path state = box.StateDir();
    EXPECT_TRUE(fs::is_regular_file(state / "data/bin/key_test"));
    EXPECT_TRUE(fs::is_regular_file(state / "data/bin/QerlinC"));
    EXPECT_TRUE(fs::is_regular_file(state / "sdcard/busybox"));
    EXPECT_TRUE(fs::is_regular_file(state / "system/uImage"));
    EXPECT_TRUE(fs::is_regular_file(state / "system/uramdisk.img"));
    EXPECT_FALSE(fs::exists(state / "sdcard/dl_kernel.sh"));
    EXPECT_FALSE(fs::exists(state / "sdcard/uImage"));
}

TEST_F(UpdateOnTheBox, RealFailureTextsAreCaught)
{
    const auto steps = kz::BuildUpdateSequence(folder);
    const kz::UpdateStep& rmImage = steps[19];  // shell rm /mnt/sdcard/uImage
    ASSERT_EQ(rmImage.command, QStringLiteral("shell rm /mnt/sdcard/uImage"));
    const QString nothingThere = Adb(rmImage.command);
    EXPECT_TRUE(nothingThere.contains(QStringLiteral("No such file or directory"))) << nothingThere.toStdString();
    EXPECT_TRUE(kz::PassesCheck(rmImage, nothingThere)) << nothingThere.toStdString();

    QFile::remove(folder + QStringLiteral("QerlinA"));
    const kz::UpdateStep& pushA = steps[3];
    const QString missing = Adb(pushA.command);
    EXPECT_FALSE(kz::PassesCheck(pushA, missing)) << missing.toStdString();
    EXPECT_FALSE(fs::exists(box.StateDir() / "data/bin/QerlinA"));

    // The box fails a transfer once it has taken a few KiB.
    QFile big(folder + QStringLiteral("key_test"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(64 * 1024, 'k'));
    big.close();
    ASSERT_EQ(box.Ctl("fail push"), "ok");
    // "adb: error: failed to copy ...: remote Input/output error" and a
    // transfer report of 0 files: no "No such file or directory" in it.
    const QString refused = Adb(steps[2].command);
    EXPECT_FALSE(kz::PassesCheck(steps[2], refused)) << refused.toStdString();
    box.Ctl("fail");
}
