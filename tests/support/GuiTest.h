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

// Every answer below runs from a timer (never inside another queued call, so
// that waits inside the answer still see the window's own queued work), once.
// On time-out the test fails and a new modal window still up is closed, so
// that its modal run ends instead of hanging the test.

// Runs answer(modalWindow) as soon as a modal window other than the one
// active now is shown.
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 10000);

// Runs answer(modal) once a new modal window is up and ready(modal) holds
// (the window can be found before it has run its own set-up).
void WhenModal(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer, int timeoutMs = 10000);

// Runs answer(window) once a shown top-level window holds `control` (also a
// window that runs modally meanwhile, after others before it).
void WhenWindowShows(const QString& control, std::function<void(QWidget*)> answer, int timeoutMs = 10000);

// The window's btn_ok is enabled: once its command has started, it has ended.
bool ButtonEnabled(QWidget* dialog);

// Clicks the named button inside a window (fails the test when missing).
void ClickButton(QWidget* window, const QString& name);

// Answers a message box (a QMessageBox) with one of its standard buttons.
void AnswerMessageBox(QWidget* box, QMessageBox::StandardButton button);

}  // namespace kz::test

#define TEST_MODAL(code) ::kz::test::AnswerNextModal([&](QWidget* modal) { (void)modal; code; })
