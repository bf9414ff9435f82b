#include "support/GuiTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace kz::test {

bool WaitFor(const std::function<bool()>& pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void ProcessEventsFor(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

namespace {

struct PendingAnswer {
    QPointer<QWidget> before;
    std::function<void(QWidget*)> answer;
    QDeadlineTimer deadline;
};

void PollForModal(std::shared_ptr<PendingAnswer> pending)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != pending->before && modal->isVisible()) {
        pending->answer(modal);
        return;
    }
    if (pending->deadline.hasExpired()) {
        ADD_FAILURE() << "no modal window appeared to answer";
        return;
    }
    QTimer::singleShot(5, qApp, [pending] { PollForModal(pending); });
}

}  // namespace

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs)
{
    auto pending = std::make_shared<PendingAnswer>();
    pending->before = QApplication::activeModalWidget();
    pending->answer = std::move(answer);
    pending->deadline = QDeadlineTimer(timeoutMs);
    QTimer::singleShot(0, qApp, [pending] { PollForModal(pending); });
}

void ClickButton(QWidget* window, const QString& name)
{
    auto* button = window ? window->findChild<QAbstractButton*>(name) : nullptr;
    ASSERT_NE(button, nullptr) << "no button " << name.toStdString();
    button->click();
}

void AnswerMessageBox(QWidget* box, QMessageBox::StandardButton which)
{
    auto* messageBox = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(messageBox, nullptr) << "the modal window is not a message box";
    QAbstractButton* button = messageBox->button(which);
    ASSERT_NE(button, nullptr) << "the message box has no such button";
    button->click();
}

}  // namespace kz::test
