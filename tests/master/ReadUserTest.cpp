// The READ USER dialog over a main window, against scripted clients.
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "StreamScript.h"
#include "support/MainFrameFixture.h"
#include "master/ReadUser.h"
#include "master/core/MasterTexts.h"

using namespace kz::test;
namespace text = kz::master::text;

namespace {

const QString kReadUser = QString::fromUtf8(kz::master::kReadUserCommand);

class ReadUserTest : public MainFrameFixture {
protected:
    void SetUp() override { StartConnected(); }

    // A dialog shown without a modal run, so the test keeps the thread.
    std::unique_ptr<CReadUser> Open()
    {
        auto dialog = std::make_unique<CReadUser>(frame.get());
        dialog->Create(frame->GetHWND(), QStringLiteral("READ USER"));
        dialog->ShowWindow();
        return dialog;
    }
    QPushButton* OkButton(const CReadUser& dialog) const { return dialog.FindControl<QPushButton>("btn_ok"); }
    // A tool that prints one line, then waits for the test before it ends.
    void TwoPartTool()
    {
        StreamCommand(bin, kReadUser,
                      "printf 'READ_USER: 5%%\\r\\r\\n'\n" + WaitForGate("gate") + "printf 'READ_USER done\\r\\r\\n'\n");
    }
};

}  // namespace

TEST_F(ReadUserTest, RowsAppearWhileTheToolRunsAndTheButtonComesBackAtTheEnd)
{
    TwoPartTool();
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return dialog->Rows().size() == 1; }));
    EXPECT_EQ(dialog->FindControl<QLabel>("text_title")->text(), Text(text::ReadUserTitle));
    EXPECT_EQ(OkButton(*dialog)->text(), Text(text::Reading));
    EXPECT_FALSE(OkButton(*dialog)->isEnabled());
    EXPECT_FALSE(dialog->IsDone());
    auto* list = dialog->FindControl<QListView>("list_output");
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), "READ_USER: 5%");

    OpenGate(bin, "gate");
    ASSERT_TRUE(WaitFor([&] { return dialog->HasFinished(); }));
    EXPECT_EQ(dialog->Rows(), (QStringList{"READ_USER: 5%\r\n", "READ_USER done\r\n"}));
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(OkButton(*dialog)->text(), Text(text::Ok));
    EXPECT_TRUE(OkButton(*dialog)->isEnabled());
    EXPECT_EQ(bin.CountCalls(kReadUser), 1);

    ClickButton(dialog->GetHWND(), "closebtn");  // done: no question
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(ReadUserTest, ClosingDuringTheRunAsksAndNoKeepsTheDialog)
{
    TwoPartTool();
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return dialog->Rows().size() == 1; }));
    boxes.QueueAnswer(kz::MsgAnswer::No);
    ClickButton(dialog->GetHWND(), "closebtn");
    ASSERT_EQ(boxes.Count(), 1);
    const MessageRecord question = boxes.Requests()[0];
    EXPECT_EQ(question.text, "Are you sure to stop ？！");
    EXPECT_EQ(question.caption, "Warnning");
    EXPECT_EQ(question.buttons, kz::MsgButtons::YesNo);
    EXPECT_EQ(question.ownerName, dialog->GetHWND()->objectName());
    EXPECT_FALSE(dialog->IsClosed());

    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    ClickButton(dialog->GetHWND(), "closebtn");
    EXPECT_TRUE(dialog->IsClosed());
    // The tool goes on; what it prints now reaches no closed dialog.
    OpenGate(bin, "gate");
    ProcessEventsFor(300);
    EXPECT_EQ(dialog->Rows().size(), 1);
    EXPECT_FALSE(dialog->IsDone());
}

TEST_F(ReadUserTest, EscapeDuringTheRunClosesWithoutAQuestion)
{
    TwoPartTool();
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return dialog->Rows().size() == 1; }));
    QTest::keyClick(dialog->GetHWND(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->IsClosed());
    EXPECT_EQ(boxes.Count(), 0);
    OpenGate(bin, "gate");
}

// The dialog object is gone while the tool still runs: the tool still gets
// to its end and its output is dropped.
TEST_F(ReadUserTest, AReleasedDialogLeavesTheToolRunningToItsEnd)
{
    StreamCommand(bin, kReadUser,
                  "printf 'first\\r\\r\\n'\n" + WaitForGate("gate") +
                      "if head -c 200000 /dev/zero | tr '\\0' 'z'; then echo ok > \"$1/client-done\"; fi\n");
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return dialog->Rows().size() == 1; }));
    QTest::keyClick(dialog->GetHWND(), Qt::Key_Escape);
    dialog.reset();
    OpenGate(bin, "gate");
    EXPECT_TRUE(WaitFor([&] { return ClientFileExists(bin, "client-done"); }));
    ProcessEventsFor(100);  // late pieces find no dialog
}

TEST_F(ReadUserTest, OutputIsListedInPiecesOfTheReadsNotOfTheLines)
{
    WriteClientFile(bin, "out", QByteArray(300, 'r'));
    StreamCommand(bin, kReadUser, "cat \"$1/out\"\n");
    auto dialog = Open();
    ASSERT_TRUE(WaitFor([&] { return dialog->HasFinished(); }));
    const QStringList rows = dialog->Rows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(QList<int>({int(rows[0].size()), int(rows[1].size()), int(rows[2].size())}), (QList<int>{127, 127, 46}));
}

TEST_F(ReadUserTest, AToolThatPrintsNothingLeavesTheListEmpty)
{
    auto dialog = Open();  // the scripted client has no answer for the command
    ASSERT_TRUE(WaitFor([&] { return dialog->HasFinished(); }));
    EXPECT_TRUE(dialog->Rows().isEmpty());
    EXPECT_EQ(OkButton(*dialog)->text(), Text(text::Ok));
    ClickButton(dialog->GetHWND(), "btn_ok");
    EXPECT_TRUE(dialog->IsClosed());
}

TEST_F(ReadUserTest, AClientThatCannotStartLeavesTheDialogBusy)
{
    RemoveClient(bin);
    auto dialog = Open();
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Texts(), QStringList{"CreateProcess Failed!"});
    ProcessEventsFor(50);
    EXPECT_FALSE(dialog->IsDone());
    EXPECT_FALSE(OkButton(*dialog)->isEnabled());
    EXPECT_EQ(OkButton(*dialog)->text(), Text(text::Reading));
}

TEST_F(ReadUserTest, TheMainWindowsButtonOpensTheDialog)
{
    QString caption;
    WhenModal([&](QWidget* modal) { return bin.CountCalls(kReadUser) == 1 && ButtonEnabled(modal); },
                    [&](QWidget* modal) {
                        caption = modal->windowTitle();
                        ClickButton(modal, "btn_ok");
                    });
    ClickButton(frame->GetHWND(), "btn_readuser");
    EXPECT_EQ(caption, "READ USER");
    EXPECT_EQ(bin.CountCalls(kReadUser), 1);
}
