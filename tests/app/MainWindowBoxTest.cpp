// The program's start-up against the simulated box, through Debian's adb and
// our client adapter: the real command lines, the real answers.
#include <QLabel>
#include <gtest/gtest.h>

#include "BoxFixture.h"
#include "app/BoxWindow.h"
#include "app/MainFrame.h"
#include "link/Texts.h"
#include "platform/ProgramDir.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"

using namespace kz::test;

class MainWindowBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LC_ALL", "en_US.UTF-8");
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error)) << error;
    }
    void TearDown() override
    {
        CloseWindowAndBox(frame, box);
        kz::SetProgramDirectoryForTests(QString());
        qunsetenv("LC_ALL");
    }
    void StartWindow()
    {
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, false));
    }
    QString LastLogLine() const
    {
        const int rows = frame->m_logLines.Count();
        return rows ? frame->GetItemText(rows - 1, 0) : QString();
    }

    e2e::BoxFixture box;
    ScriptedMessageService boxes;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainWindowBox, StartUpConnectsAndMountsTheStick)
{
    StartWindow();
    EXPECT_EQ(frame->FindControl<QLabel>("text_state")->text(), frame->Text(kz::text::Connected));
    EXPECT_TRUE(frame->m_bUdiskMounted);
    ASSERT_TRUE(WaitFor([&] { return frame->m_logLines.Count() >= 1; }));
    EXPECT_TRUE(frame->GetItemText(0, 0).contains(frame->Text(kz::text::MountOk)));
    EXPECT_EQ(boxes.Count(), 0) << qPrintable(boxes.Texts().join('\n'));

    // Mounting again is answered "busy" by the box and stays quiet.
    EXPECT_TRUE(frame->MountUdisk());
    EXPECT_EQ(frame->m_logLines.Count(), 1);
}

TEST_F(MainWindowBox, MissingStickIsLoggedWithTheBoxAnswer)
{
    ASSERT_EQ(box.Ctl("remove-udisk"), "ok");
    StartWindow();
    EXPECT_FALSE(frame->m_bUdiskMounted);
    ASSERT_TRUE(WaitFor([&] { return frame->m_logLines.Count() >= 2; }));
    EXPECT_TRUE(frame->GetItemText(0, 0).contains(frame->Text(kz::text::MountFailed)));
    EXPECT_TRUE(LastLogLine().contains("mount: No such file or directory")) << qPrintable(LastLogLine());
}

TEST_F(MainWindowBox, ChipInformationReadWithoutChipIsReported)
{
    ASSERT_EQ(box.Ctl("remove-chip"), "ok");
    StartWindow();
    kz::test::ClickButton(frame->GetHWND(), "btn_readInfo");
    EXPECT_TRUE(frame->ChipInfoOutput().contains("No eMMC inside")) << qPrintable(frame->ChipInfoOutput());
    EXPECT_EQ(boxes.Texts(), QStringList{frame->Text(kz::text::ChipNotDetected)});
}
