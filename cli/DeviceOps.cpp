// The main window's own operations: the device list, the chip's record, the
// stick's mount and the reboot.
#include <QJsonArray>

#include "link/ChipInfoReads.h"
#include "link/ChipRecord.h"
#include "link/DeviceActions.h"
#include "link/DeviceList.h"
#include "device/ServerStartLines.h"
#include "link/Texts.h"
#include "cli/Commands.h"
#include "cli/core/ChipText.h"
#include "cli/core/ListedDevices.h"
#include "device/AdbRunner.h"

namespace kz::cli {

namespace {

// The model of an online box; "-" for one that cannot answer.
QString ModelOf(const kz::TrackedDevice& device)
{
    if (device.state != QLatin1String("device"))
        return QStringLiteral("-");
    const kz::ClientAnswer answer =
        kz::RunAdbClient(ClientLineFor(device.serial, QString::fromLatin1(kz::kModelCommand)));
    const QString model = kz::StripServerStartLines(answer.output).trimmed();
    return answer.started && !model.isEmpty() ? model : QStringLiteral("-");
}

}  // namespace

int RunDevices(Session& session)
{
    const QString operation = QStringLiteral("devices");
    const kz::ClientAnswer answer = kz::RunAdbClient(QString::fromLatin1(kz::kDevicesCommand));
    if (!answer.started)
        return session.NotStarted(answer, operation);
    if (!answer.output.contains(QLatin1String("List of devices attached")))
        return session.Finish(Failed(nullptr, operation, answer.output));
    QJsonArray devices;
    QString text;
    for (const kz::TrackedDevice& device : ListedDevices(answer.output)) {
        const QString model = ModelOf(device);
        devices.append(QJsonObject{{QStringLiteral("serial"), device.serial},
                                   {QStringLiteral("state"), device.state},
                                   {QStringLiteral("model"), model},
                                   {QStringLiteral("box"), kz::IsBoxModel(model)}});
        text += device.serial + u'\t' + device.state + u'\t' + model + u'\n';
    }
    return session.Finish(Data(operation, {{QStringLiteral("devices"), devices}}), text);
}

int RunInfo(Session& session)
{
    const QString operation = QStringLiteral("info");
    const kz::ClientAnswer answer = session.Run(QString::fromLatin1(kz::kChipInfoCommand));
    if (!answer.started)
        return session.NotStarted(answer, operation);
    const kz::ChipReadVerdict verdict = kz::JudgeChipRead(answer);
    if (verdict.kind != kz::ChipReadVerdict::Report)
        return session.Finish(Failed(verdict.text.toUtf8().constData(), operation, answer.output));
    Outcome outcome = Data(operation, {});
    outcome.kind = QStringLiteral("chip");
    outcome.chip = kz::ChipRecordOf(verdict.text);
    const bool raw = session.Request().Has("--raw");
    if (raw)
        outcome.extra.insert(QStringLiteral("report"), verdict.text);
    return session.Finish(outcome, raw ? verdict.text : ChipRecordText(outcome.chip));
}

int RunMount(Session& session)
{
    const QString operation = QStringLiteral("mount");
    const kz::MountVerdict verdict = kz::JudgeMount(session.Run(QString::fromLatin1(kz::kMountCommand)));
    if (!verdict.ok())
        return session.Finish(Failed(kz::text::MountFailed, operation, verdict.tip));
    // The window logs nothing for a stick that was mounted already; a
    // script is told that it is mounted all the same.
    const bool already = verdict.kind == kz::MountVerdict::AlreadyMounted;
    return session.Finish(Succeeded(kz::text::MountOk, operation, {{QStringLiteral("alreadyMounted"), already}}));
}

int RunReboot(Session& session)
{
    const QString operation = QStringLiteral("reboot");
    const kz::RebootVerdict verdict = kz::JudgeReboot(session.Run(QString::fromLatin1(kz::kRebootCommand)));
    if (verdict.ok)
        return session.Finish(Succeeded(kz::text::RebootOk, operation));
    Outcome outcome = Failed(kz::text::RebootFailed, operation, verdict.tip);
    outcome.message = verdict.message;
    return session.Finish(outcome);
}

}  // namespace kz::cli
