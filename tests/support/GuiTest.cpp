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

// Polls find() every few milliseconds; answers the first window it returns.
void AnswerWhenFound(std::function<QWidget*()> find, std::function<void(QWidget*)> answer, int timeoutMs,
                     const QString& what)
{
    auto* timer = new QTimer;
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (QWidget* window = find()) {
            timer->stop();  // answer() may wait in a nested event loop
            timer->deleteLater();
            answer(window);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no window appeared: " << qPrintable(what);
            QWidget* stuck = QApplication::activeModalWidget();
            if (stuck && stuck != before)
                stuck->close();
        }
    });
    timer->start(5);
}

// A shown modal window other than `before`, or null.
QWidget* NewModal(const QPointer<QWidget>& before)
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != before && modal->isVisible() ? modal : nullptr;
}

}  // namespace

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs)
{
    WhenModal([](QWidget*) { return true; }, std::move(answer), timeoutMs);
}

void WhenModal(std::function<bool(QWidget*)> ready, std::function<void(QWidget*)> answer, int timeoutMs)
{
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    auto find = [before, ready] {
        QWidget* modal = NewModal(before);
        return modal && ready(modal) ? modal : nullptr;
    };
    AnswerWhenFound(find, std::move(answer), timeoutMs, QStringLiteral("a ready modal window"));
}

void WhenWindowShows(const QString& control, std::function<void(QWidget*)> answer, int timeoutMs)
{
    auto find = [control]() -> QWidget* {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            // findChild also searches the dialogs a window owns.
            QWidget* found = w->findChild<QWidget*>(control);
            if (w->isVisible() && found && found->window() == w)
                return w;
        }
        return nullptr;
    };
    AnswerWhenFound(find, std::move(answer), timeoutMs, "a window with " + control);
}

bool ButtonEnabled(QWidget* dialog)
{
    auto* ok = dialog->findChild<QAbstractButton*>(QStringLiteral("btn_ok"));
    return ok && ok->isEnabled();
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
