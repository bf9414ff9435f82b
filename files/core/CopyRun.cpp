#include "files/core/CopyRun.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "device/ServerStartLines.h"

#include "files/core/BoxApplets.h"
#include "files/core/ChecksumJudge.h"
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

namespace {

qint64 MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

QString Told(const kz::ClientAnswer& answer)
{
    return answer.started ? answer.output : answer.failure;
}

// The copy command with the poller beside it; the poller has ended when
// this returns, so no progress arrives after it.
kz::ClientAnswer CopyWithProgress(const CopyJob& job, CopyFacts& facts)
{
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
    const auto start = std::chrono::steady_clock::now();
    const kz::ClientAnswer copy = job.run(CopyCommand(job.sourcePath, job.targetPath));
    facts.copyMs = MsSince(start);
    if (poller) {
        if (!control.WaitEnded(job.timing.pollerGraceMs))
            control.RequestStop();
        poller->join();
    }
    return copy;
}

// The sizes agreed and the box cannot sum: their verdict stands.
void BySizeOnly(CopyReport& report)
{
    report.success = true;
    report.told.clear();
    report.facts.verify = QStringLiteral("size");
}

// Equal sizes cannot tell a byte flipped on the way: the box's md5sum of
// both files must be there and agree.  Otherwise its two answers are the tip.
void ProveBySums(const CopyJob& job, CopyReport& report)
{
    const auto start = std::chrono::steady_clock::now();
    const kz::ClientAnswer source = job.run(ChecksumCommand(job.sourcePath));
    const kz::ClientAnswer target = job.run(ChecksumCommand(job.targetPath));
    report.facts.verifyMs = MsSince(start);
    if (source.started && target.started && (IsCommandMissing(source.output) || IsCommandMissing(target.output))) {
        BySizeOnly(report);
        return;
    }
    report.facts.sourceMd5 = Md5SumOf(source.output);
    report.facts.targetMd5 = Md5SumOf(target.output);
    report.facts.verify = QStringLiteral("md5");
    report.success =
        source.started && target.started && JudgeSums(source.output, target.output) == SumVerdict::Equal;
    report.told = report.success ? QString() : Told(source) + Told(target);
}

// Only a copy that ran and printed nothing is worth probing.  When the
// probes fail it, their words are the box's account of why (a box gone
// mid-copy leaves cp silent and the probes say "device not found").
void JudgeCopy(const CopyJob& job, const kz::ClientAnswer& copy, CopyReport& report)
{
    report.told = Told(copy);
    if (!copy.started || !IsEmptyAnswer(copy.output))
        return;
    const CopyEvidence evidence = ProbeCopy(job, copy.output);
    if (IsListingOfFile(evidence.sourceProbe, job.sourceName))
        report.facts.listedBytes = qint64(SizeFieldValue(ProbeFileSize(evidence.sourceProbe)));
    if (!CopySucceeded(evidence)) {
        report.told = evidence.sourceProbe + evidence.targetProbe;
        return;
    }
    if (job.applets.md5sum == Applet::Missing) {
        BySizeOnly(report);
        return;
    }
    job.sink->Verifying();
    ProveBySums(job, report);
}

}  // namespace

void RunCopy(const CopyJob& job)
{
    job.sink->CopyStarted();
    CopyReport report;
    report.facts.sourceName = job.sourceName;
    report.facts.targetName = job.targetName;
    const kz::ClientAnswer copy = CopyWithProgress(job, report.facts);
    JudgeCopy(job, copy, report);
    job.sink->CopyEnded();
    job.sink->Report(report);
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
    CopyReport report;
    report.told = QStringLiteral("The copy could not be started: no thread left.");
    report.facts.sourceName = shared->sourceName;
    report.facts.targetName = shared->targetName;
    shared->sink->Report(report);
    shared->sink->ProgressCleared();
    return false;
}

}  // namespace kz::files
