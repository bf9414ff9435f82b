// The board dialog against the simulated box, through Debian's adb and our
// client adapter: a boot image written from the stick comes back unchanged,
// and a changed boot setting shows in the next chip report.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "BoxFixture.h"
#include "app/BoxWindow.h"
#include "app/MainFrame.h"
#include "app/core/DeviceActions.h"
#include "app/core/Texts.h"
#include "board/MotherBoard.h"
#include "device/AdbRunner.h"
#include "platform/ProgramDir.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"
#include "board/WhenWindowShows.h"
#include <QAbstractButton>
#include <QAbstractItemView>

using namespace kz::test;

namespace {

QString ChipReport()
{
    QString output;
    RunAdbCommand(QString::fromUtf8(kz::kChipInfoCommand), output);
    return output;
}

class BoardBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LC_ALL", "en_US.UTF-8");
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error)) << error;
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
        board = std::make_unique<CMotherBoard>(frame.get());
        board->SetPickers({}, [this](CMotherBoard& b) { b.m_strPickedName = typedName; });
        ASSERT_TRUE(board->Create(frame->GetHWND(), QStringLiteral("母片制作")));
        board->InitControls();
        FillFromChipInfo(*board, ChipReport());
        board->ShowWindow();
        ProcessEventsFor(50);
    }
    void TearDown() override
    {
        WaitFor([&] { return !board || board->RunningWorkers() == 0; }, 10000);
        board.reset();
        CloseWindowAndBox(frame, box);
        kz::SetProgramDirectoryForTests(QString());
        qunsetenv("LC_ALL");
    }
    // Clicks and waits until the transfer's message box was answered.
    void RunTransfer(const char* button)
    {
        const int before = boxes.Count();
        ClickButton(board->GetHWND(), QString::fromUtf8(button));
        ASSERT_TRUE(boxes.WaitForCount(before + 1, 20000)) << box.BoxLog();
        ASSERT_TRUE(WaitFor([&] { return board->RunningWorkers() == 0; }));
    }

    e2e::BoxFixture box;
    ScriptedMessageService boxes;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CMotherBoard> board;
    QString typedName;
};

TEST_F(BoardBox, Boot1WrittenFromTheStickReadsBackUnchanged)
{
    QByteArray image(64 * 1024, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7 + 3) & 0xff);
    QFile source(QString::fromStdString((box.StateDir() / "udisk" / "boot1 new.img").string()));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(image);
    source.close();

    EXPECT_FALSE(board->FindControl<QLineEdit>("editManufacturer")->text().isEmpty());
    board->FindControl<QLineEdit>("edit_writeboot1filename")->setText(QStringLiteral("Boot1 New.IMG"));
    RunTransfer("btn_writeboot1");
    typedName = QStringLiteral("read back.img");
    RunTransfer("btn_readboot1");
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot1 successfully!", "Save Boot1 successfully!"}));

    QFile readBack(QString::fromStdString((box.StateDir() / "sdcard" / "read back.img").string()));
    ASSERT_TRUE(readBack.open(QIODevice::ReadOnly));
    EXPECT_EQ(readBack.read(image.size()), image);
}

TEST_F(BoardBox, MissingImageIsReportedAsAFailedWrite)
{
    board->FindControl<QLineEdit>("edit_writeboot2filename")->setText(QStringLiteral("absent.img"));
    RunTransfer("btn_writeboot2");
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot2 failed!"}));
}

TEST_F(BoardBox, ChangedAckShowsInTheNextChipReport)
{
    auto* ack = board->FindControl<QComboBox>("comb_ack");
    const int other = ack->currentIndex() == 0 ? 1 : 0;
    ack->setCurrentIndex(other);
    ClickButton(board->GetHWND(), QStringLiteral("btn_ack"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Set successfully!"}));
    EXPECT_EQ(kz::ParseChipInfo(ChipReport()).ack, other);
}

}  // namespace
