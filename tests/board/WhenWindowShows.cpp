#include "board/WhenWindowShows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace kz::test {

void WhenWindowShows(const char* control, std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer;
    QElapsedTimer started;
    started.start();
    const QString name = QString::fromUtf8(control);
    QObject::connect(timer, &QTimer::timeout, [timer, name, answer, started] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QWidget* found = w->findChild<QWidget*>(name);
            if (w->isVisible() && found && found->window() == w) {
                timer->stop();  // answer() may wait in a nested event loop
                timer->deleteLater();
                answer(w);
                return;
            }
        }
        if (started.elapsed() > 10000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no window with " << qPrintable(name);
        }
    });
    timer->start(20);
}

}  // namespace kz::test
