#include "board/core/BootTransfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <atomic>

#include "link/LogLine.h"
#include "device/ServerStartLines.h"
#include "board/core/BoardCommands.h"
#include "board/core/BootCheck.h"
#include "device/AdbRunner.h"
#include "files/core/FileManagerMode.h"
#include "files/core/ChecksumJudge.h"
#include "files/core/Commands.h"

namespace kz::board {

namespace {

// A client that did not start printed nothing, which no step takes for success.
QString Run(const BootReport& report, const QString& command)
{
    return (report.run ? report.run(command) : RunAdbClient(command)).output;
}

QJsonValue SumOrMissing(const QString& md5sumOutput)
{
    const QString sum = kz::files::Md5SumOf(md5sumOutput);
    return sum.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(sum);
}

bool CannotProve(const kz::files::BoxApplets& applets)
{
    using kz::files::Applet;
    return applets.md5sum == Applet::Missing || applets.truncate == Applet::Missing;
}

void LogOutcome(const BootReport& report, bool ok, QJsonObject extra, const QString& tip)
{
    if (!report.log)
        return;
    report.log(ok ? kz::LOG_SUCCESS : kz::LOG_FAILURE, ok ? report.okText : report.failText,
               {QString::fromUtf8(ok ? report.okKey : report.failKey), report.operation, std::move(extra)});
    if (!ok)
        report.log(kz::LOG_TIP, tip, {{}, report.operation});
}

// Everything after a write the tool called complete.  The read-back is made
// only once there is an image sum to hold it against, and removed after it
// was asked for, whatever came of it (a failed read may leave a part).
void ReadBack(const BootReport& report, int boot, int source, const QString& readBackName, ReadBackEvidence& e)
{
    const QString image = BootImagePath(source, e.sourceName);
    e.sourceProbe = Run(report, kz::files::ProbeCommand(image));
    const std::optional<quint64> size = ListedSize(e.sourceProbe, e.sourceName);
    e.proofUnavailable = CannotProve(report.applets);
    if (!size || e.proofUnavailable)
        return;
    e.sourceSum = Run(report, kz::files::ChecksumCommand(image));
    if (kz::files::Md5SumOf(e.sourceSum).isEmpty())
        return;
    const QString readBack = BootImagePath(SOURCE_BOOT_SDCARD, readBackName);
    e.readBackOutput = Run(report, ReadBootCommand(boot, readBackName));
    if (IsTransferSuccess(e.readBackOutput)) {
        e.cutOutput = Run(report, CutCommand(readBack, *size));
        if (IsEmptyAnswer(e.cutOutput))
            e.readBackSum = Run(report, kz::files::ChecksumCommand(readBack));
    }
    Run(report, RemoveCommand(readBack));
}

}  // namespace

QString NextReadBackName(int boot)
{
    static std::atomic<int> made{0};
    return ReadBackName(boot, QCoreApplication::applicationPid(), ++made);
}

bool RunBootRead(int boot, const QString& name, const BootReport& report)
{
    QElapsedTimer clock;
    clock.start();
    const QString output = Run(report, ReadBootCommand(boot, name));
    QJsonObject extra{{QStringLiteral("file"), name}, {QStringLiteral("durationMs"), clock.elapsed()}};
    if (!IsTransferSuccess(output)) {
        LogOutcome(report, false, extra, output);
        return false;
    }
    const QString image = BootImagePath(SOURCE_BOOT_SDCARD, name);
    const bool canSum = report.applets.md5sum != kz::files::Applet::Missing;
    const QJsonValue sum = SumOrMissing(canSum ? Run(report, kz::files::ChecksumCommand(image)) : QString());
    extra.insert(QStringLiteral("md5"), sum);
    extra.insert(QStringLiteral("verify"), sum.isNull() ? QStringLiteral("none") : QStringLiteral("md5"));
    if (const auto size = ListedSize(Run(report, kz::files::ProbeCommand(image)), name))
        extra.insert(QStringLiteral("bytes"), qint64(*size));
    LogOutcome(report, true, extra, {});
    return true;
}

bool RunBootWrite(int boot, int source, const QString& name, const BootReport& report, const ReadBackNamer& namer)
{
    QElapsedTimer clock;
    clock.start();
    ReadBackEvidence e;
    e.sourceName = name;
    e.writeOutput = Run(report, WriteBootCommand(boot, source, name));
    const qint64 writeMs = clock.restart();
    if (IsTransferSuccess(e.writeOutput))
        ReadBack(report, boot, source, namer(boot), e);
    const WriteVerdict verdict = JudgeWrite(e);
    QJsonObject extra{
        {QStringLiteral("file"), name},
        {QStringLiteral("source"), source == SOURCE_BOOT_UDISK ? QStringLiteral("udisk") : QStringLiteral("sdcard")},
        {QStringLiteral("verdict"), VerdictName(verdict)},
        {QStringLiteral("writeMs"), writeMs},
    };
    if (verdict != WriteVerdict::WriteFailed) {
        extra.insert(QStringLiteral("verifyMs"), clock.elapsed());
        extra.insert(QStringLiteral("sourceMd5"), SumOrMissing(e.sourceSum));
        extra.insert(QStringLiteral("readBackMd5"), SumOrMissing(e.readBackSum));
    }
    if (const auto size = ListedSize(e.sourceProbe, name))
        extra.insert(QStringLiteral("bytes"), qint64(*size));
    if (verdict == WriteVerdict::Verified || verdict == WriteVerdict::NotProved)
        extra.insert(QStringLiteral("verify"),
                     verdict == WriteVerdict::Verified ? QStringLiteral("md5") : QStringLiteral("none"));
    const bool ok = verdict == WriteVerdict::Verified || verdict == WriteVerdict::NotProved;
    LogOutcome(report, ok, extra, WriteTip(e, verdict));
    if (verdict == WriteVerdict::NotProved && report.log)
        report.log(kz::LOG_TIP, report.notProvedText, {QString::fromUtf8(report.notProvedKey), report.operation});
    return ok;
}

}  // namespace kz::board
