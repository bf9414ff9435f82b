#include "app/DeviceListPoll.h"

#include <QProcess>

namespace kz {

namespace {
// The adapter ends with its adb; a run that outlasts this is not waited for.
constexpr int kStopPatienceMs = 1000;
}  // namespace

DeviceListPoll::DeviceListPoll(QString client, AnswerHandler onAnswer, QObject* parent)
    : QObject(parent), m_client(std::move(client)), m_onAnswer(std::move(onAnswer))
{
}

DeviceListPoll::~DeviceListPoll()
{
    Stop();
}

void DeviceListPoll::Ask()
{
    if (m_process) {
        m_again = true;
        return;
    }
    m_again = false;
    m_process = NewClientRun(this, [this] { OnEnded(); });
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(m_client, {QStringLiteral("devices")});
}

void DeviceListPoll::OnEnded()
{
    QProcess* ended = std::exchange(m_process, nullptr);
    if (!ended)
        return;
    ended->disconnect(this);
    const QString output = QString::fromUtf8(ended->readAll());
    ended->deleteLater();
    if (m_onAnswer)
        m_onAnswer(output);
    if (m_again)
        Ask();
}

void DeviceListPoll::Stop()
{
    m_again = false;
    QProcess* running = std::exchange(m_process, nullptr);
    if (!running)
        return;
    running->disconnect(this);
    EndClientRun(*running);
    delete running;
}

QProcess* NewClientRun(QObject* owner, std::function<void()> onEnded)
{
    auto* run = new QProcess(owner);
    run->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(run, &QProcess::finished, owner, [onEnded] { onEnded(); });
    QObject::connect(run, &QProcess::errorOccurred, owner, [onEnded](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onEnded();
    });
    return run;
}

void EndClientRun(QProcess& run)
{
    if (run.state() == QProcess::NotRunning)
        return;
    run.terminate();
    if (!run.waitForFinished(kStopPatienceMs)) {
        run.kill();
        run.waitForFinished(kStopPatienceMs);
    }
}

}  // namespace kz
