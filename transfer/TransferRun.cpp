#include "transfer/TransferRun.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <future>
#include <system_error>

#include "device/ServerStartLines.h"

#include "files/core/ChecksumJudge.h"
#include "files/core/Commands.h"
#include "files/core/CopyJudge.h"
#include "files/core/FileTexts.h"
#include "files/core/Listing.h"
#include "files/core/ShellName.h"
#include "transfer/HostFiles.h"
#include "transfer/WatchedClient.h"
#include "transfer/core/TransferJudge.h"
#include "transfer/core/TransferTexts.h"

namespace kz::transfer {

namespace {

using Clock = std::chrono::steady_clock;
namespace ft = kz::files::text;

qint64 MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

QString Told(const kz::ClientAnswer& answer)
{
    return answer.started ? answer.output : answer.failure;
}

TransferReport Refused(const char* key, const QString& told = {})
{
    TransferReport report;
    report.refusal = key;
    report.told = told;
    return report;
}

const char* NameRefusal(const TransferPlan& plan)
{
    if (const char* refusal = BoxNameRefusal(plan.boxName))
        return refusal;
    return PcNameRefusal(plan.pcName);
}

// How many bytes have arrived, as seen from the PC.
quint64 BytesDone(const TransferPlan& plan, pid_t client)
{
    if (plan.direction == Direction::Pull)
        return RegularFileSize(plan.PcPartPath()).value_or(0);
    return ReadOffsetBelow(client, plan.PcPath()).value_or(0);
}

// The client run with progress ticks; false when it did not move the file.
// A pull's bytes are summed as they land (`follower`).
bool MoveBytes(const TransferJob& job, ITransferSink& sink, TransferReport& report, FollowingMd5* follower)
{
    const quint64 total = quint64(std::max<qint64>(report.facts.bytes, 0));
    const auto start = Clock::now();
    static const std::atomic<bool> never{false};
    const WatchedAnswer moved = RunWatchedClient(
        job.clientLine(MoveCommand(job.plan)),
        [&](pid_t client) {
            // A pull's total is the box's listed size, short of the truth
            // for files of 4 GiB and more: the bytes done are not cut to it.
            sink.Progress(BytesDone(job.plan, client), total, MsSince(start));
            if (follower)
                follower->CatchUp();
        },
        job.cancel ? *job.cancel : never, job.tickEvery);
    report.facts.transferMs = MsSince(start);
    if (moved.cancelled) {
        report.facts.verdict = Verdict::Cancelled;
        return false;
    }
    if (!moved.answer.started || !ClientMovedFile(moved.answer.output, job.plan.direction)) {
        report.facts.verdict = Verdict::ClientFailed;
        report.told = Told(moved.answer);
        return false;
    }
    // The box lists sizes modulo 2^32; what arrived is the real size.
    if (job.plan.direction == Direction::Pull)
        report.facts.bytes = qint64(RegularFileSize(job.plan.PcPartPath()).value_or(total));
    sink.Progress(quint64(report.facts.bytes), quint64(report.facts.bytes), report.facts.transferMs);
    return true;
}

// Removes the part file of a transfer that did not make it.
void Discard(const TransferJob& job)
{
    if (job.plan.direction == Direction::Pull)
        QFile::remove(job.plan.PcPartPath());
    else
        job.run(BoxDiscardCommand(job.plan));
}

// The part file takes the target's name.
bool Commit(const TransferJob& job, TransferReport& report)
{
    if (job.plan.direction == Direction::Pull) {
        const QByteArray from = QFile::encodeName(job.plan.PcPartPath());
        const QByteArray to = QFile::encodeName(job.plan.PcPath());
        if (std::rename(from.constData(), to.constData()) == 0)
            return true;
        report.told = QStringLiteral("rename: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const kz::ClientAnswer mv = job.run(BoxCommitCommand(job.plan));
    if (mv.started && kz::IsEmptyAnswer(mv.output))
        return true;
    report.told = Told(mv);
    return false;
}

// The sums, the verdict, and the part file's end either way.
void Prove(const TransferJob& job, ITransferSink& sink, std::future<QString>& besideSum, FollowingMd5* follower,
           TransferReport& report)
{
    sink.Verifying();
    const auto start = Clock::now();
    const bool push = job.plan.direction == Direction::Push;
    QString boxOutput;
    if (push) {
        boxOutput = Told(job.run(BoxSumCommand(job.plan, /*part=*/true)));
        report.facts.pcMd5 = besideSum.get();
    } else {
        report.facts.pcMd5 = follower ? follower->Finish() : FileMd5(job.plan.PcPartPath());
        boxOutput = besideSum.get();
    }
    report.facts.verifyMs = MsSince(start);
    report.facts.boxMd5 = kz::files::Md5SumOf(boxOutput);
    report.facts.verdict = JudgeProof(report.facts.pcMd5, boxOutput);
    if (report.facts.verdict != Verdict::Verified) {
        report.told = QStringLiteral("PC md5 %1, box md5sum: %2").arg(report.facts.pcMd5, boxOutput.trimmed());
        Discard(job);
        return;
    }
    if (!Commit(job, report)) {
        report.facts.verdict = Verdict::ClientFailed;
        Discard(job);
    }
}

// The room on the target for `bytes`; a refusal when it cannot take them.
const char* RoomRefusal(const TransferJob& job, quint64 bytes, QString& told)
{
    if (job.plan.direction == Direction::Pull) {
        const std::optional<quint64> free = FreeBytesIn(job.plan.pcFolder);
        return free ? PcRoomRefusal(bytes, *free) : ft::NotEnoughDisk;
    }
    const kz::ClientAnswer df = job.run(BoxSpaceCommand(job.plan));
    told = Told(df);
    return df.started ? BoxRoomRefusal(bytes, df.output) : text::NoFreeSpaceReported;
}

}  // namespace

std::optional<quint64> BoxFileBytes(const TransferJob& job, QString& told)
{
    const QString path = BoxRoot(job.plan.storage) + u'/' + kz::files::ShellQuote(job.plan.boxName);
    const kz::ClientAnswer probe = job.run(kz::files::ProbeCommand(path));
    told = Told(probe);
    if (!probe.started || !kz::files::IsListingOfFile(probe.output, job.plan.boxName))
        return std::nullopt;
    return kz::files::SizeFieldValue(kz::files::ProbeFileSize(probe.output));
}

TransferReport RunTransfer(const TransferJob& job, ITransferSink& sink)
{
    if (const char* refusal = NameRefusal(job.plan))
        return Refused(refusal);
    const bool push = job.plan.direction == Direction::Push;
    QString told;
    const std::optional<quint64> bytes = push ? RegularFileSize(job.plan.PcPath()) : BoxFileBytes(job, told);
    if (!bytes)
        return Refused(push ? text::PcFileUnreadable : ft::NoFile, told);
    if (const char* refusal = RoomRefusal(job, *bytes, told))
        return Refused(refusal, told);

    TransferReport report;
    report.facts.direction = job.plan.direction;
    report.facts.pcPath = job.plan.PcPath();
    report.facts.boxPath = job.plan.BoxPath();
    report.facts.bytes = qint64(*bytes);
    // The other side's sum is taken while the bytes travel: the source does
    // not change meanwhile, and the proof then costs one sum, not two.
    std::atomic<bool> stopSum{false};
    const auto otherSum = [&job, &stopSum, push] {
        return push ? FileMd5(job.plan.PcPath(), &stopSum) : Told(job.run(BoxSumCommand(job.plan, /*part=*/false)));
    };
    std::future<QString> besideSum;
    try {
        besideSum = std::async(std::launch::async, otherSum);
    } catch (const std::system_error&) {
        besideSum = std::async(std::launch::deferred, otherSum);  // no thread left: taken afterwards
    }
    // A part file left by an earlier run would be summed as this one's.
    std::optional<FollowingMd5> follower;
    if (!push) {
        QFile::remove(job.plan.PcPartPath());
        follower.emplace(job.plan.PcPartPath());
    }
    if (!MoveBytes(job, sink, report, follower ? &*follower : nullptr)) {
        stopSum = true;
        besideSum.wait();
        Discard(job);
        return report;
    }
    Prove(job, sink, besideSum, follower ? &*follower : nullptr, report);
    return report;
}

}  // namespace kz::transfer
