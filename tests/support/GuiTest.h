#pragma once
// Helpers for GUI tests (offscreen platform, see GuiTestMain.cpp).
//
// Answering a modal window: schedule the answer, then start the modal run.
//   TEST_MODAL({ ClickButton(modal, "btn_ok"); });
//   dlg.ShowModal();
// The answer runs on the GUI thread once a new modal window is active; the
// variable `modal` is that window.  If none appears in time the test fails.

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>

namespace kz::test {

// Processes events until pred() holds; false on time-out.
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000);

// Processes events for about ms milliseconds.
void ProcessEventsFor(int ms);

// Runs answer(modalWindow) as soon as a modal window other than the one
// active now is shown.  Records a test failure on time-out.
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Clicks the named button inside a window (fails the test when missing).
void ClickButton(QWidget* window, const QString& name);

// Answers a message box (a QMessageBox) with one of its standard buttons.
void AnswerMessageBox(QWidget* box, QMessageBox::StandardButton button);

}  // namespace kz::test

#define TEST_MODAL(code) ::kz::test::AnswerNextModal([&](QWidget* modal) { (void)modal; code; })
