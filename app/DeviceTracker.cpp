#include "app/DeviceTracker.h"

#include <QProcess>
#include <QTimer>
#include <algorithm>

#include "app/DeviceListPoll.h"
#include "link/DeviceList.h"

namespace kz {

DeviceTracker::DeviceTracker(QString client, TrackerRetry retry, std::function<bool()> boxConnected,
                             ChangeHandler onChange, TextHandler onClientText)
    : m_client(client), m_retry(retry), m_boxConnected(std::move(boxConnected)), m_onChange(std::move(onChange)),
      m_onClientText(std::move(onClientText)), m_restart(new QTimer(this)), m_settle(new QTimer(this)),
      m_pollTimer(new QTimer(this)),
      m_poll(new DeviceListPoll(std::move(client), [this](const QString& output) { OnPolled(output); }, this)),
      m_nextDelayMs(retry.firstMs)
{
    m_pollTimer->setInterval(retry.pollMs);
    connect(m_pollTimer, &QTimer::timeout, m_poll, &DeviceListPoll::Ask);
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
    m_pollTimer->start();  // until a run delivers a list
    Launch();
}

void DeviceTracker::CheckNow()
{
    if (m_active)
        m_poll->Ask();
}

void DeviceTracker::Stop()
{
    m_active = false;
    m_restart->stop();
    m_settle->stop();
    m_pollTimer->stop();
    m_poll->Stop();
    if (!m_process)
        return;
    m_process->disconnect(this);
    EndClientRun(*m_process);
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
    m_process = NewClientRun(this, [this] { OnEnded(); });
    m_reader = TrackFrameReader();
    m_heard = false;
    m_restarted = m_haveLast;
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &DeviceTracker::OnOutput);
    m_process->start(m_client, {QStringLiteral("track-devices")});
}

void DeviceTracker::OnOutput()
{
    const QList<TrackedList> lists = m_reader.Feed(m_process->readAllStandardOutput());
    const QByteArray skipped = m_reader.TakeSkipped();
    if (!skipped.isEmpty() && m_onClientText)
        m_onClientText(QString::fromUtf8(skipped));
    for (const TrackedList& list : lists) {
        m_heard = true;
        m_pollTimer->stop();
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
    if ((change.lost || change.gained || change.changed) && m_onChange)
        m_onChange(change);
}

// A polled list comes from a server that the adapter let settle.
void DeviceTracker::OnPolled(const QString& output)
{
    if (!m_active)
        return;
    if (m_onClientText)
        m_onClientText(output);
    if (const std::optional<TrackedList> list = ParseDevicesList(output)) {
        m_settle->stop();
        Judge(*list);
    }
}

void DeviceTracker::OnEnded()
{
    if (!m_active)
        return;
    if (!m_pollTimer->isActive())
        m_pollTimer->start();
    if (m_heard)
        m_nextDelayMs = m_retry.firstMs;
    m_restart->start(m_nextDelayMs);
    m_nextDelayMs = std::min(m_nextDelayMs * 2, m_retry.maxMs);
}

}  // namespace kz
