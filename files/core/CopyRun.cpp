#include "files/core/CopyRun.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/core/ServerStartLines.h"

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

QString ProbeSize(const CommandRunner& run, const QString& command)
{
    return ProbeFileSize(run(command).output);
}

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

CopyEvidence ProbeCopy(const CopyJob& job, const QString& copyOutput)
{
    CopyEvidence evidence{copyOutput, {}, {}, job.sourceName, job.targetName};
    evidence.sourceProbe = job.run(VerifyProbeCommand(job.sourcePath)).output;
    evidence.targetProbe = job.run(VerifyProbeCommand(job.targetPath)).output;
    return evidence;
}

void RunCopy(const CopyJob& job)
{
    job.sink->CopyStarted();
    PollerControl control;
    // Without a poller the copy still runs, only without progress.
    std::optional<std::thread> poller;
    try {
        poller.emplace([&] {
            PollProgress(job, control);
            control.MarkEnded();
        });
    } catch (const std::system_error&) {
    }
    const kz::ClientAnswer copy = job.run(CopyCommand(job.sourcePath, job.targetPath));
    if (poller) {
        if (!control.WaitEnded(job.timing.pollerGraceMs))
            control.RequestStop();
        poller->join();
    }
    job.sink->CopyEnded();
    // Only a copy that ran and printed nothing is worth probing.  When the
    // probes fail it, their words are the box's account of why (a box gone
    // mid-copy leaves cp silent and the probes say "device not found").
    bool success = false;
    QString told = copy.started ? copy.output : copy.failure;
    if (copy.started && IsEmptyAnswer(copy.output)) {
        const CopyEvidence evidence = ProbeCopy(job, copy.output);
        success = CopySucceeded(evidence);
        if (!success)
            told = evidence.sourceProbe + evidence.targetProbe;
    }
    job.sink->Report(success, told);
    job.sink->ProgressCleared();
}

bool StartCopyWorker(CopyJob job, const kz::ui::ThreadStarter& start)
{
    auto shared = std::make_shared<CopyJob>(std::move(job));
    try {
        kz::ui::StartThread(start, [shared] { RunCopy(*shared); }).detach();
        return true;
    } catch (const std::system_error&) {
    }
    shared->sink->CopyEnded();
    shared->sink->Report(false, QStringLiteral("The copy could not be started: no thread left."));
    shared->sink->ProgressCleared();
    return false;
}

}  // namespace kz::files
