// READ USER and MTX against the simulated box, through Debian's adb and our
// client adapter: the real command lines and the tool's real words.
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "BoxFixture.h"
#include "app/BoxWindow.h"
#include "app/MainFrame.h"
#include "link/Texts.h"
#include "master/Mtx.h"
#include "master/ReadUser.h"
#include "master/core/MasterTexts.h"
#include "platform/ProgramDir.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"

using namespace kz::test;

namespace {

class MasterBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LC_ALL", "en_US.UTF-8");
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error, R"({"readUserMs": 1500, "mtkMs": 300, "speed": 0})")) << error;
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, false));
    }
    void TearDown() override
    {
        CloseWindowAndBox(frame, box);
        kz::SetProgramDirectoryForTests(QString());
        qunsetenv("LC_ALL");
    }

    e2e::BoxFixture box;
    ScriptedMessageService boxes;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace

TEST_F(MasterBox, ReadUserListsTheToolsProgressWhileItReads)
{
    CReadUser dialog(frame.get());
    dialog.Create(frame->GetHWND(), QStringLiteral("READ USER"));
    dialog.ShowWindow();
    ASSERT_TRUE(WaitFor([&] { return !dialog.Rows().isEmpty(); }, 10000));
    EXPECT_FALSE(dialog.IsDone());  // the first words came before the end
    ASSERT_TRUE(WaitFor([&] { return dialog.HasFinished(); }, 15000));
    const QString all = dialog.Rows().join(QString());
    EXPECT_TRUE(all.contains("READ_USER done:")) << qPrintable(all);
    EXPECT_FALSE(all.contains("\r\r\n")) << "rows keep the client's doubled line ends";
    EXPECT_EQ(dialog.FindControl<QPushButton>("btn_ok")->text(), frame->Text(kz::master::text::Ok));
    EXPECT_EQ(boxes.Count(), 0) << qPrintable(boxes.Texts().join('\n'));
}

TEST_F(MasterBox, MtxFromTheSticksExampleFilePasses)
{
    ASSERT_TRUE(frame->MountUdisk());  // as the main window's flow does first
    CMTX dialog(frame.get());
    dialog.Create(frame->GetHWND(), QStringLiteral("MTX解压"));
    dialog.ShowWindow();
    ASSERT_TRUE(WaitFor([&] { return dialog.HasFinished(); }, 15000)) << qPrintable(dialog.Output());
    EXPECT_EQ(dialog.FindControl<QLabel>("text_output")->text(), "PASS") << qPrintable(dialog.Output());
    EXPECT_TRUE(dialog.Output().contains("Master OK"));
    EXPECT_EQ(boxes.Count(), 0) << qPrintable(boxes.Texts().join('\n'));
}

TEST_F(MasterBox, MtxWithoutAFileOnTheStickFailsAndSaysSo)
{
    ASSERT_TRUE(frame->MountUdisk());
    // Clear the stick's top folder of MTX files through the box's own shell.
    QString ignored;
    RunAdbCommand(QStringLiteral("shell rm /mnt/udisk/*.mtx"), ignored);
    CMTX dialog(frame.get());
    dialog.Create(frame->GetHWND(), QStringLiteral("MTX解压"));
    dialog.ShowWindow();
    ASSERT_TRUE(WaitFor([&] { return dialog.HasFinished(); }, 15000)) << qPrintable(dialog.Output());
    EXPECT_EQ(dialog.FindControl<QLabel>("text_output")->text(), "FAIL") << qPrintable(dialog.Output());
    EXPECT_EQ(boxes.Texts(), QStringList{frame->Text(kz::master::text::NoMtxFile)}) << qPrintable(dialog.Output());
}
