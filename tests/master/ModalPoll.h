#pragma once
// Answering a modal dialog once it has reached a state.  The check runs on a
// timer and never waits inside the answer, because the modal window can be
// found while it is still being shown (before it has run its own set-up).

#include <QWidget>
#include <functional>

namespace kz::test {

void AnswerModalWhen(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer,
                     int timeoutMs = 5000);

// The dialog's button is enabled: once its command has started, the command
// has ended.
bool ButtonEnabled(QWidget* dialog);

}  // namespace kz::test
