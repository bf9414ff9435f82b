#include <QMessageBox>
#include <gtest/gtest.h>
#include <thread>

#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"
#include "ui/GuiMessageService.h"
#include "ui/GuiThread.h"

using kz::test::WaitFor;

TEST(GuiMessageService, WorkerWaitsForTheOperatorsAnswer)
{
    kz::ui::GuiMessageService service;
    QWidget owner;
    owner.show();
    std::atomic<bool> answered = false;
    kz::MsgAnswer answer = kz::MsgAnswer::Ok;
    QString seenText;
    QWidget* seenParent = nullptr;
    TEST_MODAL({
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        seenParent = box->parentWidget();
        kz::test::ProcessEventsFor(50);
        EXPECT_FALSE(answered);  // the worker is still waiting
        kz::test::AnswerMessageBox(modal, QMessageBox::Yes);
    });
    std::thread worker([&] {
        answer = service.Show({&owner, QStringLiteral("Are you sure to create master?!"),
                               QStringLiteral("Prompt"), kz::MsgButtons::YesNo, kz::MsgIcon::Question});
        answered = true;
    });
    EXPECT_TRUE(WaitFor([&] { return answered.load(); }));
    worker.join();
    EXPECT_EQ(answer, kz::MsgAnswer::Yes);
    EXPECT_EQ(seenText, QStringLiteral("Are you sure to create master?!"));
    EXPECT_EQ(seenParent, &owner);
}

TEST(GuiMessageService, BoxShowsDeviceTextPlainAndHasTheRightButtons)
{
    QWidget hiddenOwner;  // a closed dialog: the box stands on its own
    std::unique_ptr<QMessageBox> box(kz::ui::BuildMessageBox(
        {&hiddenOwner, QStringLiteral("<b>error: device not found</b>"), QStringLiteral("Prompt"),
         kz::MsgButtons::Ok, kz::MsgIcon::Warning}));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Prompt"));
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->parentWidget(), nullptr);

    kz::ui::GuiMessageService service;
    TEST_MODAL({ kz::test::AnswerMessageBox(modal, QMessageBox::No); });
    EXPECT_EQ(service.Show({nullptr, QStringLiteral("Delete?"), QStringLiteral("Prompt"),
                            kz::MsgButtons::YesNo, kz::MsgIcon::None}),
              kz::MsgAnswer::No);
}

TEST(GuiMessageService, BoxFromInsideABlockingCommandIsShownAndAnswered)
{
    // The command runner reports its own failures with a box; run on a helper
    // thread for the GUI, that box must not wait behind the waiting GUI thread.
    kz::ui::GuiMessageService service;
    TEST_MODAL({ kz::test::AnswerMessageBox(modal, QMessageBox::Ok); });
    kz::MsgAnswer answer = kz::MsgAnswer::No;
    kz::ui::RunBlockingKeepingPaint([&] {
        answer = service.Show({nullptr, QStringLiteral("CreateProcess Failed!"), QStringLiteral("Prompt"),
                               kz::MsgButtons::Ok, kz::MsgIcon::None});
    });
    EXPECT_EQ(answer, kz::MsgAnswer::Ok);
}

TEST(ScriptedMessageService, AnswersInOrderAndRecordsRequests)
{
    kz::test::ScriptedMessageService boxes;
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    QObject owner;
    owner.setObjectName(QStringLiteral("FileManager"));
    EXPECT_EQ(kz::ShowMessageBox(&owner, QStringLiteral("q"), QStringLiteral("Prompt"), kz::MsgButtons::YesNo),
              kz::MsgAnswer::Yes);
    EXPECT_EQ(kz::ShowMessageBox(&owner, QStringLiteral("q2"), QStringLiteral("Prompt"), kz::MsgButtons::YesNo),
              kz::MsgAnswer::No);  // unscripted question: No
    EXPECT_EQ(boxes.UnscriptedCount(), 1);
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Requests()[0].ownerName, QStringLiteral("FileManager"));
    EXPECT_TRUE(boxes.Requests()[0].fromGuiThread);
}

TEST(ScriptedMessageService, HeldAnswersKeepTheWorkerWaiting)
{
    kz::test::ScriptedMessageService boxes;
    boxes.Hold();
    std::atomic<bool> returned = false;
    std::thread worker([&] {
        kz::ShowMessageBox(nullptr, QStringLiteral("Copy Failed!"), QStringLiteral("Prompt"));
        returned = true;
    });
    ASSERT_TRUE(boxes.WaitForCount(1));
    kz::test::ProcessEventsFor(30);
    EXPECT_FALSE(returned);
    boxes.Release();
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(boxes.Requests()[0].fromGuiThread);
}
