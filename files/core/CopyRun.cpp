#include "files/core/CopyRun.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "files/core/Commands.h"
#include "files/core/CopyJudge.h"
#include "files/core/Listing.h"

namespace kz::files {

namespace {

// Shared by the worker and its poller: the stop request and the poller's end.
class PollerControl {
public:
    // Sleeps up to ms; false when a stop was requested meanwhile.
    bool Sleep(int ms)
    {
        std::unique_lock lock(m_mutex);
        return !m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop; });
    }
    bool StopRequested()
    {
        std::lock_guard lock(m_mutex);
        return m_stop;
    }
    void RequestStop()
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
    }
    void MarkEnded()
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_changed.notify_all();
    }
    // True when the poller ended by itself within ms.
    bool WaitEnded(int ms)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_ended; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stop = false;
    bool m_ended = false;
};

QString ProbeSize(const CommandRunner& run, const QString& command) { return ProbeFileSize(run(command)); }

void PollProgress(const CopyJob& job, PollerControl& control)
{
    if (!control.Sleep(job.timing.firstPollMs))
        return;
    while (!control.StopRequested()) {
        const QString target = ProbeSize(job.run, ProbeCommand(job.targetPath));
        if (control.StopRequested())
            return;
        const QString source = ProbeSize(job.run, ProbeCommand(job.sourcePath));
        job.sink->Progress(ProgressPercent(target, source));
        if (SizeFieldValue(target) == SizeFieldValue(source))
            return;
        if (!control.Sleep(job.timing.pollEveryMs))
            return;
    }
}

}  // namespace

bool VerifyCopy(const CommandRunner& run, const QString& sourcePath, const QString& targetPath)
{
    const QString source = ProbeSize(run, VerifyProbeCommand(sourcePath));
    const QString target = ProbeSize(run, VerifyProbeCommand(targetPath));
    return source == target;
}

void RunCopy(const CopyJob& job)
{
    job.sink->CopyStarted();
    PollerControl control;
    std::thread poller([&] {
        PollProgress(job, control);
        control.MarkEnded();
    });
    const QString output = job.run(CopyCommand(job.sourcePath, job.targetPath));
    if (!control.WaitEnded(job.timing.pollerGraceMs))
        control.RequestStop();
    poller.join();
    job.sink->CopyEnded();
    const bool success = !CopyReportedIoError(output) && VerifyCopy(job.run, job.sourcePath, job.targetPath);
    job.sink->Report(success, output);
    job.sink->ProgressCleared();
}

void StartCopyWorker(CopyJob job)
{
    std::thread([job = std::move(job)] { RunCopy(job); }).detach();
}

}  // namespace kz::files

