#include "transfer/WatchedClient.h"

#include <QStringDecoder>
#include <csignal>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "device/AdbRunner.h"
#include "device/ClientTexts.h"
#include "platform/CommandLine.h"
#include "platform/Process.h"

namespace kz::transfer {

namespace {

// Ticks until the client has ended; a cancel ends the client.
class Ticker {
public:
    void Run(pid_t pid, const std::function<void(pid_t)>& tick, const std::atomic<bool>& cancel,
             std::chrono::milliseconds every, std::atomic<bool>& cancelled)
    {
        std::unique_lock lock(m_mutex);
        while (!m_ended) {
            if (cancel.load() && !cancelled.exchange(true))
                ::kill(pid, SIGTERM);
            lock.unlock();
            if (tick)
                tick(pid);
            lock.lock();
            m_changed.wait_for(lock, every, [this] { return m_ended; });
        }
    }
    void End()
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ended = false;
};

}  // namespace

WatchedAnswer RunWatchedClient(const QString& command, const std::function<void(pid_t)>& tick,
                               const std::atomic<bool>& cancel, std::chrono::milliseconds every)
{
    WatchedAnswer result;
    kz::PipedChild client;
    switch (client.Start(kz::AdbClientPath(), kz::SplitWindowsCommandLine(command))) {
    case kz::StartResult::PipeFailed:
        result.answer = kz::ReportClientStartFailure(kz::text::PipesNotMade);
        return result;
    case kz::StartResult::SpawnFailed:
        result.answer = kz::ReportClientStartFailure(kz::text::ClientNotStarted);
        return result;
    case kz::StartResult::Started:
        break;
    }
    client.CloseInput();
    result.answer.started = true;
    std::atomic<bool> cancelled{false};
    Ticker ticker;
    // Without a thread for the ticks the client still runs, only unwatched.
    std::optional<std::thread> watcher;
    try {
        watcher.emplace([&] { ticker.Run(client.Pid(), tick, cancel, every, cancelled); });
    } catch (const std::system_error&) {
    }
    QByteArray raw;
    client.Pump([&raw](const char* data, std::size_t size) { raw.append(data, qsizetype(size)); });
    ticker.End();
    if (watcher)
        watcher->join();
    result.answer.output = QString::fromUtf8(raw);
    result.cancelled = cancelled.load();
    return result;
}

}  // namespace kz::transfer
