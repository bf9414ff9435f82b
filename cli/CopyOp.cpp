// The file manager's copy between the stick and the SD card: the same checks
// before it, the same worker body (progress, copy, sizes, checksums) and the
// same verdict.  Progress goes to standard error only when it is a terminal.
#include <unistd.h>

#include "cli/Commands.h"
#include "cli/core/Operands.h"
#include "cli/core/ProgressText.h"
#include "files/core/Commands.h"
#include "files/core/CopyChecks.h"
#include "files/core/CopyRun.h"
#include "files/core/FileTexts.h"

namespace kz::cli {

namespace ft = kz::files::text;

namespace {

class TerminalCopySink : public kz::files::ICopySink {
public:
    explicit TerminalCopySink(bool drawBar) : m_drawBar(drawBar) {}

    void CopyStarted() override { Draw(0, QStringLiteral("copying")); }
    void Progress(int percent) override { Draw(percent, QStringLiteral("copying")); }
    void Verifying() override { Draw(100, QString::fromUtf8(ft::Verifying)); }
    void CopyEnded() override
    {
        if (m_drawBar)
            WriteErr(QStringLiteral("\n"));
    }
    void Report(const kz::files::CopyReport& report) override { m_report = report; }
    void ProgressCleared() override {}

    const kz::files::CopyReport& Result() const { return m_report; }

private:
    void Draw(int percent, const QString& label)
    {
        if (m_drawBar)
            WriteErr(ProgressBarText(percent, 40, label));
    }

    const bool m_drawBar;
    kz::files::CopyReport m_report;
};

// The two operands: from one storage into the other.  An exit code when they
// are not that.
std::optional<int> CopyEnds(Session& session, Location& from, Location& to)
{
    const LocationResult source = ParseLocation(session.Request().operands.at(0));
    const LocationResult target = ParseLocation(session.Request().operands.at(1));
    if (!source.error.isEmpty() || !target.error.isEmpty())
        return session.Usage(source.error.isEmpty() ? target.error : source.error);
    if (source.location.storage == target.location.storage)
        return session.Usage(QStringLiteral("copy goes from one storage into the other (udisk:NAME sdcard:NAME)"));
    from = source.location;
    to = target.location;
    return std::nullopt;
}

// The source and the room on the target, as the file manager checks them;
// the failure when the copy must not start.
std::optional<Outcome> StartFailure(const Session& session, int mode, const Location& from, const QString& sourcePath,
                                    const QString& operation)
{
    const kz::ClientAnswer probe = session.Run(kz::files::ProbeCommand(sourcePath));
    if (!probe.started)
        return Failed(probe.failure.toUtf8().constData(), operation);
    const kz::ClientAnswer df = session.Run(kz::files::FreeSpaceCommand(kz::files::CopyTargetDirectory(mode)));
    if (!df.started)
        return Failed(df.failure.toUtf8().constData(), operation);
    const kz::files::CopyStartRefusal refusal = kz::files::JudgeCopyStart(from.name, probe.output, df.output);
    if (refusal.key)
        return Failed(refusal.key, operation, refusal.tip);
    return std::nullopt;
}

}  // namespace

int RunCopy(Session& session)
{
    const QString operation = QStringLiteral("copy");
    Location from;
    Location to;
    if (std::optional<int> code = CopyEnds(session, from, to))
        return *code;
    const int mode = ListMode(from.storage);
    if (const char* refusal = kz::files::CopyTargetRefusal(mode, to.name))
        return session.Usage(refusal);
    if (const char* refusal = kz::files::CopyNamesRefusal(from.name, to.name))
        return session.Usage(refusal);
    // Either way the stick is one end.
    if (std::optional<Outcome> failure = session.MountStick(operation))
        return session.Finish(*failure);
    const QString sourcePath = kz::files::CopySourcePath(mode, from.name);
    if (std::optional<Outcome> failure = StartFailure(session, mode, from, sourcePath, operation))
        return session.Finish(*failure);

    auto sink = std::make_shared<TerminalCopySink>(!session.Json() && ::isatty(STDERR_FILENO) == 1);
    kz::files::CopyJob job;
    job.sourcePath = sourcePath;
    job.targetPath = kz::files::CopyTargetPath(mode, to.name);
    job.sourceName = from.name;
    job.targetName = to.name;
    job.run = [&session](const QString& command) { return session.Run(command); };
    job.sink = sink;
    kz::files::RunCopy(job);
    const kz::files::CopyReport& report = sink->Result();
    const QJsonObject facts = kz::files::CopyFactsJson(report.facts);
    if (!report.success)
        return session.Finish(Failed(ft::CopyFailed, operation, report.told, facts));
    const bool bySize = report.facts.verify == QLatin1String("size");
    return session.Finish(Succeeded(ft::CopyOk, operation, facts),
                          bySize ? QStringLiteral("%1\n%2").arg(ft::CopyOk, ft::CheckedBySizeOnly) : QString());
}

}  // namespace kz::cli
