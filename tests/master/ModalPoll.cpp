#include "ModalPoll.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "support/GuiTest.h"

namespace kz::test {

namespace {

struct Pending {
    QPointer<QWidget> modal;
    std::function<bool(QWidget*)> ready;
    std::function<void(QWidget*)> answer;
    QDeadlineTimer deadline;
};

void Poll(std::shared_ptr<Pending> pending)
{
    if (!pending->modal) {
        ADD_FAILURE() << "the modal window went away before it was answered";
        return;
    }
    if (pending->ready(pending->modal)) {
        pending->answer(pending->modal);
        return;
    }
    if (pending->deadline.hasExpired()) {
        ADD_FAILURE() << "the modal window did not reach the state to answer";
        pending->modal->close();
        return;
    }
    QTimer::singleShot(10, [pending] { Poll(pending); });
}

}  // namespace

void AnswerModalWhen(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer, int timeoutMs)
{
    AnswerNextModal([=](QWidget* modal) {
        auto pending = std::make_shared<Pending>(Pending{modal, ready, answer, QDeadlineTimer(timeoutMs)});
        QTimer::singleShot(0, [pending] { Poll(pending); });
    });
}

bool ButtonEnabled(QWidget* dialog)
{
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("btn_ok"));
    return ok && ok->isEnabled();
}

}  // namespace kz::test
