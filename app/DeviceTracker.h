#pragma once
// A long-lived "track-devices" run of the adb client: adb sends its device
// list again on every change, and each change that matters to the box is
// handed on.  A box reached over TCP sends no USB broadcast, so this is how
// its unplugging, reboot or going offline becomes known at all.
//
// Lives on the GUI thread; the client's output arrives through QProcess's
// notifier, never blocking.  When the client cannot start or its stream ends
// (adb missing, the server stopped), it is started again after a back-off,
// silently: the operator has nothing to do about it.  The lists of such a
// restarted run are judged only once its server had time to list what is
// attached (TrackerRetry::settleMs).
//
// While no run follows the list (none has delivered one yet, or the last
// ended: a client without "track-devices", a server that keeps failing),
// "devices" is asked every TrackerRetry::pollMs instead, so the list is never
// left unwatched.  CheckNow asks it at once.

#include <QObject>
#include <QString>
#include <functional>

#include "app/MonitorSettings.h"
#include "link/TrackDevices.h"

class QProcess;
class QTimer;

namespace kz {
class DeviceListPoll;
}

namespace kz {

class DeviceTracker : public QObject {
    Q_OBJECT
public:
    using ChangeHandler = std::function<void(const TrackedChange&)>;
    using TextHandler = std::function<void(const QString&)>;

    // `client` is the adb client adapter; it is run as "client track-devices".
    // `boxConnected` tells what the program believes when the first list
    // comes (see FirstTracked).  `onClientText` is given what the client
    // said besides the lists (adb's own messages) and every polled answer.
    DeviceTracker(QString client, TrackerRetry retry, std::function<bool()> boxConnected, ChangeHandler onChange,
                  TextHandler onClientText = {});
    ~DeviceTracker() override;

    void Start();
    // Ends the client (and the adb it runs) for good: no restart follows.
    // Returns once the client is gone.
    void Stop();
    // A command met a device error: the list is asked at once.
    void CheckNow();

private:
    void Launch();
    void OnOutput();
    void OnEnded();
    void OnPolled(const QString& output);
    void Judge(const TrackedList& list);

    QString m_client;
    TrackerRetry m_retry;
    std::function<bool()> m_boxConnected;
    ChangeHandler m_onChange;
    TextHandler m_onClientText;
    QProcess* m_process = nullptr;
    QTimer* m_restart = nullptr;
    QTimer* m_settle = nullptr;  // runs while a restarted run's lists wait
    QTimer* m_pollTimer = nullptr;  // runs while no run follows the list
    DeviceListPoll* m_poll = nullptr;
    TrackedList m_held;          // the latest of them
    bool m_restarted = false;    // this run follows an ended one
    TrackFrameReader m_reader;
    TrackedList m_last;  // kept across restarts: a change while down still counts
    bool m_haveLast = false;
    int m_nextDelayMs = 0;
    bool m_active = false;
    bool m_heard = false;  // the current run delivered a list
};

}  // namespace kz
