// The MTX dialog's verdict and its message, against scripted clients.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "StreamScript.h"
#include "support/MainFrameFixture.h"
#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "master/Mtx.h"
#include "master/core/MasterTexts.h"

using namespace kz::test;
namespace text = kz::master::text;

namespace {

const QString kMtx = QString::fromUtf8(kz::master::kMtxCommand);

// Notes whether the dialog's button was enabled when a box was shown.
class ButtonWatcher : public kz::IMessageService {
public:
    explicit ButtonWatcher(QPointer<QPushButton> button) : m_button(button), m_previous(kz::SetMessageService(this)) {}
    ~ButtonWatcher() override { kz::SetMessageService(m_previous); }
    kz::MsgAnswer Show(const kz::MessageRequest& request) override
    {
        texts << request.text;
        captions << request.caption;
        enabledWhenShown << (m_button && m_button->isEnabled());
        return kz::MsgAnswer::Ok;
    }
    QStringList texts, captions;
    QList<bool> enabledWhenShown;

private:
    QPointer<QPushButton> m_button;
    kz::IMessageService* m_previous;
};

class MtxTest : public MainFrameFixture {
protected:
    void SetUp() override { StartConnected(); }

    std::unique_ptr<CMTX> Open()
    {
        auto dialog = std::make_unique<CMTX>(frame.get());
        dialog->Create(frame->GetHWND(), QStringLiteral("MTX解压"));
        dialog->ShowWindow();
        return dialog;
    }
    std::unique_ptr<CMTX> RunWithOutput(const QByteArray& output)
    {
        bin.Answer(kMtx, output);
        auto dialog = Open();
        EXPECT_TRUE(WaitFor([&] { return dialog->HasFinished(); }));
        return dialog;
    }
    static QLabel* Label(const CMTX& dialog) { return dialog.FindControl<QLabel>("text_output"); }
    static QPushButton* Button(const CMTX& dialog) { return dialog.FindControl<QPushButton>("btn_ok"); }
    static QColor TextColour(QLabel* label)
    {
        label->ensurePolished();
        return label->palette().color(label->foregroundRole());
    }
};

}  // namespace

TEST_F(MtxTest, MasterOkPassesInGreen)
{
    auto dialog = RunWithOutput("decompress 50%\r\r\ndecompress 100%\r\r\nMaster OK\r\r\n");
    EXPECT_EQ(Label(*dialog)->text(), "PASS");
    EXPECT_EQ(TextColour(Label(*dialog)), QColor(0, 255, 0));
    EXPECT_EQ(Button(*dialog)->text(), Text(text::Successfully));
    EXPECT_TRUE(Button(*dialog)->isEnabled());
    EXPECT_EQ(dialog->FindControl<QLabel>("text_title")->text(), Text(text::MtxTitle));
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MtxTest, MasterOkWithAFailureFailsInRedInTheSkinsFirstFont)
{
    auto dialog = RunWithOutput("Master OK\r\r\nverify failed\r\r\n");
    QLabel* label = Label(*dialog);
    EXPECT_EQ(label->text(), "FAIL");
    EXPECT_EQ(TextColour(label), QColor(255, 0, 0));
    const QFont font0 = dialog->GetHWND()->property("font0").value<QFont>();
    EXPECT_EQ(label->font().pointSize(), font0.pointSize());
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(Button(*dialog)->text(), Text(text::Failed));
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MtxTest, AMissingMtxFileFailsAndIsToldBeforeTheButtonComesBack)
{
    bin.Answer(kMtx, "can't open /mnt/udisk/ MTX file\r\r\n");
    auto dialog = std::make_unique<CMTX>(frame.get());
    dialog->Create(frame->GetHWND(), QStringLiteral("MTX解压"));
    ButtonWatcher watcher(dialog->FindControl<QPushButton>("btn_ok"));
    dialog->ShowWindow();
    ASSERT_TRUE(WaitFor([&] { return dialog->HasFinished(); }));
    EXPECT_EQ(watcher.texts, QStringList{Text(text::NoMtxFile)});
    EXPECT_EQ(watcher.captions, QStringList{Text(kz::text::Prompt)});
    EXPECT_EQ(watcher.enabledWhenShown, QList<bool>{false});
    EXPECT_EQ(Label(*dialog)->text(), "FAIL");
    EXPECT_TRUE(Button(*dialog)->isEnabled());
}

TEST_F(MtxTest, TheLabelShowsTheLatestPieceUntilTheVerdict)
{
    // 120 bytes at once: pieces of 51, 51 and 18 bytes.
    const QByteArray output = QByteArray(102, 'p') + "Master OK at last";
    WriteClientFile(bin, "out", output + "\n");
    StreamCommand(bin, kMtx, "cat \"$1/out\"\n" + WaitForGate("gate"));
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return dialog->Output().size() == 120; }));
    EXPECT_EQ(Label(*dialog)->text(), "Master OK at last\n");
    EXPECT_EQ(Button(*dialog)->text(), Text(text::Decompressing));
    EXPECT_FALSE(Button(*dialog)->isEnabled());
    OpenGate(bin, "gate");
    ASSERT_TRUE(WaitFor([&] { return dialog->HasFinished(); }));
    EXPECT_EQ(dialog->Output(), QString::fromUtf8(output + "\n"));
    EXPECT_EQ(Label(*dialog)->text(), "PASS");
}

TEST_F(MtxTest, EscapeDuringTheRunClosesWithoutAQuestionAndNoVerdictFollows)
{
    StreamCommand(bin, kMtx, WaitForGate("gate") + "printf \"can't open /mnt/udisk/ MTX file\\r\\r\\n\"\n");
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return bin.CountCalls(kMtx) == 1; }));
    QTest::keyClick(dialog->GetHWND(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->IsClosed());
    OpenGate(bin, "gate");
    ProcessEventsFor(300);
    EXPECT_EQ(boxes.Count(), 0);  // neither the question nor the missing-file message
}

TEST_F(MtxTest, TheMainWindowsFlowOpensTheDialogAfterTheConfirmation)
{
    bin.Answer(kMtx, "Master OK\r\r\n");
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    QString caption, verdict;
    WhenModal([&](QWidget* modal) { return bin.CountCalls(kMtx) == 1 && ButtonEnabled(modal); },
                    [&](QWidget* modal) {
                        caption = modal->windowTitle();
                        verdict = modal->findChild<QLabel*>("text_output")->text();
                        ClickButton(modal, "btn_ok");
                    });
    ClickButton(frame->GetHWND(), "btn_mtx");
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::ConfirmMaster)});
    EXPECT_EQ(caption, "MTX解压");
    EXPECT_EQ(verdict, "PASS");
}
