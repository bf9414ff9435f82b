// The transfer window's push and pull between this PC and the box: the same
// checks, the same run and the same proof (transfer/TransferRun), with the
// bar, the speed and the time left on standard error when it is a terminal.
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <unistd.h>

#include "cli/Commands.h"
#include "cli/core/Operands.h"
#include "cli/core/ProgressText.h"
#include "files/core/FileTexts.h"
#include "transfer/TransferRun.h"
#include "transfer/core/RateText.h"
#include "transfer/core/TransferTexts.h"

namespace kz::cli {

namespace ft = kz::files::text;
namespace kt = kz::transfer;

namespace {

class TerminalTransferSink : public kt::ITransferSink {
public:
    explicit TerminalTransferSink(bool drawBar) : m_drawBar(drawBar) {}
    ~TerminalTransferSink() override
    {
        if (m_drawBar && m_drawn)
            WriteErr(QStringLiteral("\n"));
    }

    void Progress(quint64 done, quint64 total, qint64 elapsedMs) override
    {
        const int percent = total > 0 ? int(std::min<quint64>(done * 100 / total, 100)) : 0;
        const kt::Rate rate = kt::MeasureRate(done, total, elapsedMs);
        Draw(percent, kt::RateText(rate, QString::fromUtf8(kt::text::TimeLeft)));
    }
    void Verifying() override { Draw(100, QString::fromUtf8(ft::Verifying)); }

private:
    void Draw(int percent, const QString& label)
    {
        if (!m_drawBar)
            return;
        m_drawn = true;
        // Trailing blanks wipe a longer label drawn before.
        WriteErr(ProgressBarText(percent, 30, label) + QStringLiteral("          "));
    }

    const bool m_drawBar;
    bool m_drawn = false;
};

// Ctrl-C or a TERM during a transfer cancels it, so that its part file is
// removed before the tool ends instead of being left behind.
std::atomic<bool> g_cancel{false};

void CancelOnSignal(int)
{
    g_cancel = true;
}

void CancelOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = CancelOnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

kt::BoxStorage BoxStorageOf(Storage storage)
{
    return storage == Storage::Udisk ? kt::BoxStorage::Udisk : kt::BoxStorage::Sdcard;
}

// The PC's side of the plan from LOCAL: a file, or for a pull a folder to
// put the box's name in.
void PlacePcSide(const QString& local, kt::TransferPlan& plan)
{
    const QFileInfo info(local);
    if (plan.direction == kt::Direction::Pull && info.isDir()) {
        plan.pcFolder = info.absoluteFilePath();
        plan.pcName = plan.boxName;
        return;
    }
    plan.pcFolder = info.absolutePath();
    plan.pcName = info.fileName();
}

// The target already there, and no --replace: the window would ask.
bool TargetTaken(const Session& session, const kt::TransferJob& job)
{
    if (session.Request().Has("--replace"))
        return false;
    if (job.plan.direction == kt::Direction::Pull)
        return QFileInfo::exists(job.plan.PcPath());
    QString told;
    return kt::BoxFileBytes(job, told).has_value();
}

int RunTransfer(Session& session, kt::Direction direction, const QString& boxOperand, const QString& local)
{
    const QString operation = kt::OperationName(direction);
    const LocationResult box = ParseLocation(boxOperand);
    if (!box.error.isEmpty())
        return session.Usage(box.error);
    kt::TransferJob job;
    job.plan.direction = direction;
    job.plan.storage = BoxStorageOf(box.location.storage);
    job.plan.boxName = box.location.name;
    PlacePcSide(local, job.plan);
    if (const char* refusal = kt::BoxNameRefusal(job.plan.boxName))
        return session.Usage(refusal);
    if (const char* refusal = kt::PcNameRefusal(job.plan.pcName))
        return session.Usage(refusal);
    if (box.location.storage == Storage::Udisk) {
        if (std::optional<Outcome> failure = session.MountStick(operation))
            return session.Finish(*failure);
    }
    job.run = [&session](const QString& command) { return session.Run(command); };
    job.clientLine = [&session](const QString& command) { return session.ClientLine(command); };
    if (TargetTaken(session, job))
        return session.Finish(
            Failed(kt::text::ReplaceQuestion, operation, QStringLiteral("(give --replace to replace it)")));

    CancelOnInterrupt();
    job.cancel = &g_cancel;
    TerminalTransferSink sink(!session.Json() && ::isatty(STDERR_FILENO) == 1);
    const kt::TransferReport report = kt::RunTransfer(job, sink);
    if (report.refusal != nullptr)
        return session.Finish(Failed(report.refusal, operation, report.told));
    const QJsonObject facts = kt::TransferFactsJson(report.facts);
    return session.Finish(report.Success() ? Succeeded(kt::text::TransferOk, operation, facts)
                                           : Failed(kt::VerdictKey(report.facts.verdict), operation, report.told, facts));
}

}  // namespace

int RunPush(Session& session)
{
    const QStringList& operands = session.Request().operands;
    return RunTransfer(session, kt::Direction::Push, operands.at(1), operands.at(0));
}

int RunPull(Session& session)
{
    const QStringList& operands = session.Request().operands;
    return RunTransfer(session, kt::Direction::Pull, operands.at(0), operands.at(1));
}

}  // namespace kz::cli
