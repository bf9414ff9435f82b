#pragma once
// Asking adb for its device list ("devices") without blocking the GUI
// thread: one client run at a time, its whole output handed on when it ends.

#include <QObject>
#include <QString>
#include <functional>

class QProcess;

namespace kz {

class DeviceListPoll : public QObject {
    Q_OBJECT
public:
    using AnswerHandler = std::function<void(const QString& output)>;

    DeviceListPoll(QString client, AnswerHandler onAnswer, QObject* parent = nullptr);
    ~DeviceListPoll() override;

    // Asks now.  Asked while a run is under way, the list is asked again
    // after it: that run may have started before the reason to ask.
    void Ask();
    // Ends a run under way; its answer is dropped.
    void Stop();

private:
    void OnEnded();

    QString m_client;
    AnswerHandler m_onAnswer;
    QProcess* m_process = nullptr;
    bool m_again = false;
};

// A client run owned by `owner`, reading no input, whose end (or failure
// to start) calls onEnded once.  Not started yet.
QProcess* NewClientRun(QObject* owner, std::function<void()> onEnded);

// Ends a client run (and the adb it runs): asked first, killed when it
// does not end.  Returns once it is gone.
void EndClientRun(QProcess& run);

}  // namespace kz
