#include "app/DeviceTracker.h"

#include <QProcess>
#include <QTimer>
#include <algorithm>

namespace kz {

namespace {
// The client forwards a stop request to its adb and ends with it.
constexpr int kStopPatienceMs = 1000;
}  // namespace

DeviceTracker::DeviceTracker(QString client, TrackerRetry retry, std::function<bool()> boxConnected,
                             ChangeHandler onChange)
    : m_client(std::move(client)), m_retry(retry), m_boxConnected(std::move(boxConnected)),
      m_onChange(std::move(onChange)),
      m_restart(new QTimer(this)), m_settle(new QTimer(this)), m_nextDelayMs(retry.firstMs)
{
    m_restart->setSingleShot(true);
    connect(m_restart, &QTimer::timeout, this, &DeviceTracker::Launch);
    m_settle->setSingleShot(true);
    connect(m_settle, &QTimer::timeout, this, [this] { Judge(m_held); });
}

DeviceTracker::~DeviceTracker()
{
    Stop();
}

void DeviceTracker::Start()
{
    if (m_active)
        return;
    m_active = true;
    Launch();
}

void DeviceTracker::Stop()
{
    m_active = false;
    m_restart->stop();
    m_settle->stop();
    if (!m_process)
        return;
    m_process->disconnect(this);
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(kStopPatienceMs)) {
            m_process->kill();
            m_process->waitForFinished(kStopPatienceMs);
        }
    }
    delete m_process;
    m_process = nullptr;
}

void DeviceTracker::Launch()
{
    if (!m_active)
        return;
    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();
    }
    m_process = new QProcess(this);
    m_reader = TrackFrameReader();
    m_heard = false;
    m_restarted = m_haveLast;
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &DeviceTracker::OnOutput);
    connect(m_process, &QProcess::finished, this, &DeviceTracker::OnEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            OnEnded();
    });
    m_process->start(m_client, {QStringLiteral("track-devices")});
}

void DeviceTracker::OnOutput()
{
    for (const TrackedList& list : m_reader.Feed(m_process->readAllStandardOutput())) {
        m_heard = true;
        // A box missing from a new server's first list is not yet gone; each
        // new server gets its whole moment, even one that replaced another
        // before that other's moment was over.
        if (m_restarted || m_settle->isActive()) {
            m_held = list;
            if (m_restarted)
                m_settle->start(m_retry.settleMs);
            m_restarted = false;
        } else {
            Judge(list);
        }
    }
}

void DeviceTracker::Judge(const TrackedList& list)
{
    const TrackedChange change =
        m_haveLast ? CompareTracked(m_last, list) : FirstTracked(list, m_boxConnected && m_boxConnected());
    m_last = list;
    m_haveLast = true;
    if ((change.lost || change.gained) && m_onChange)
        m_onChange(change);
}

void DeviceTracker::OnEnded()
{
    if (!m_active)
        return;
    if (m_heard)
        m_nextDelayMs = m_retry.firstMs;
    m_restart->start(m_nextDelayMs);
    m_nextDelayMs = std::min(m_nextDelayMs * 2, m_retry.maxMs);
}

}  // namespace kz
