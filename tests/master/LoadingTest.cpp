// The loading dialog's workers and the chip-information dialog's keys.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "support/MainFrameFixture.h"
#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "master/EmmcInfo.h"
#include "master/Loading.h"
#include "master/core/LoadingFrames.h"
#include "ui/SkinLoader.h"

using namespace kz::test;

namespace {

class LoadingTest : public MainFrameFixture {
protected:
    const QString chipInfo = QString::fromUtf8(kz::kChipInfoCommand);
};

bool ShowsImage(const QLabel* label, int frame)
{
    const QImage expected = QPixmap(kz::ui::SkinFilePath(kz::master::LoadingFrameFile(frame))).toImage();
    return !expected.isNull() && label->pixmap().toImage() == expected;
}

}  // namespace

TEST_F(LoadingTest, AnimationRunsThroughTheSixteenFramesWhileTheCommandRuns)
{
    StartConnected();
    bin.Answer(chipInfo, "Manufacturer ID: 0x15\r\r\n");
    bin.Delay(chipInfo, 1.0);
    CLoading loading(frame.get(), {.frameMs = 2});
    loading.Create(frame->GetHWND(), QStringLiteral("母片制作"));
    loading.ShowWindow();
    EXPECT_EQ(CLoading::Current(), &loading);
    auto* show = loading.FindControl<QLabel>("text_show");
    ASSERT_NE(show, nullptr);
    // Watch until the sixteenth frame has been followed by the first.
    int previous = 0;
    bool wrapped = false;
    bool imagesMatch = true;
    ASSERT_TRUE(WaitFor([&] {
        const int now = loading.CurrentFrame();
        if (now != previous && now != 0) {
            imagesMatch = imagesMatch && ShowsImage(show, now);
            wrapped = wrapped || (previous > now);
            previous = now;
        }
        return wrapped;
    }));
    EXPECT_TRUE(imagesMatch);
    loading.Close();
    const int stopped = loading.CurrentFrame();
    ProcessEventsFor(30);
    EXPECT_EQ(loading.CurrentFrame(), stopped);  // no frame after the close
    EXPECT_TRUE(WaitFor([&] { return !frame->ChipInfoOutput().isEmpty(); }));
}

TEST_F(LoadingTest, TheAnswerIsStoredThenTheDialogClosesAndTheServerStaysUp)
{
    StartConnected();
    bin.Answer(chipInfo, "Manufacturer ID: 0x15\r\r\n");
    bin.ClearCalls();
    CLoading loading(frame.get());
    loading.Create(frame->GetHWND(), QStringLiteral("母片制作"));
    // The main window reads the answer right after the modal run returns.
    EXPECT_EQ(loading.ShowModal(), kz::ui::kResultOk);
    EXPECT_EQ(frame->ChipInfoOutput(), "Manufacturer ID: 0x15\r\r\n");
    EXPECT_EQ(bin.Calls(), (QStringList{"start-server", chipInfo}));
}

TEST_F(LoadingTest, AToolThatNeverAnswersIsGivenUpAndNothingIsJudged)
{
    // Long enough for the first read's prompt answer, well short of the
    // second read's delay.
    dialogs.loading.giveUpMs = 1500;
    StartConnected();
    bin.Answer(chipInfo, "No eMMC inside\r\r\n");
    ClickButton(frame->GetHWND(), "btn_readInfo");  // an earlier read's text
    ASSERT_EQ(boxes.Texts(), QStringList{Text(kz::text::ChipNotDetected)});
    bin.Answer(chipInfo, "Manufacturer ID: 0x45\r\r\n");
    bin.Delay(chipInfo, 4.0);
    ClickButton(frame->GetHWND(), "btn_readInfo");
    EXPECT_EQ(boxes.Count(), 1) << "the given-up read is not judged by the earlier text";
    // The answer that comes later is still the newest one there is.
    EXPECT_TRUE(WaitFor([&] { return frame->ChipInfoOutput().contains("0x45"); }));
}

TEST_F(LoadingTest, EscapeClosesTheLoadingDialogButNotTheChipInformation)
{
    StartConnected();
    bin.Answer(chipInfo, "Product name: KZ16G1\r\r\n");
    bin.Delay(chipInfo, 1.0);
    CLoading loading(frame.get());
    loading.Create(frame->GetHWND(), QStringLiteral("母片制作"));
    TEST_MODAL({
        ASSERT_TRUE(WaitFor([&] { return bin.CountCalls(chipInfo) == 1; }));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_EQ(loading.ShowModal(), kz::ui::kResultCancel);

    CEmmcInfo info(frame.get(), "Product name: KZ16G1\r\n");
    info.Create(frame->GetHWND(), QStringLiteral("eMMC芯片信息"));
    info.ShowWindow();
    ASSERT_TRUE(WaitFor([&] { return !info.FindControl<QPlainTextEdit>("edit_emmcinfo")->toPlainText().isEmpty(); }));
    QTest::keyClick(info.GetHWND(), Qt::Key_Escape);
    ProcessEventsFor(20);
    EXPECT_FALSE(info.IsClosed());
    EXPECT_EQ(info.FindControl<QLabel>("text_title")->text(), Text(kz::text::ChipInfoTitle));
    ClickButton(info.GetHWND(), "closebtn");
    EXPECT_TRUE(info.IsClosed());
    EXPECT_TRUE(WaitFor([&] { return !frame->ChipInfoOutput().isEmpty(); }));  // the early-closed read
}
