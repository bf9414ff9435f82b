#include "cli/Session.h"

#include <QDateTime>
#include <cstdio>

#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "cli/Warnings.h"
#include "cli/core/ListedDevices.h"
#include "device/AdbRunner.h"
#include "platform/CommandLine.h"

namespace kz::cli {

namespace {
void Write(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
}  // namespace

void WriteOut(const QString& text)
{
    Write(stdout, text.toUtf8());
}

void WriteErr(const QString& text)
{
    Write(stderr, text.toUtf8());
}

Session::Session(const CliRequest& request, const Warnings& warnings)
    : m_request(request), m_warnings(warnings), m_serial(request.serial)
{
}

QString Session::LastWarning() const
{
    return m_warnings.Last();
}

std::optional<int> Session::ChooseBox()
{
    if (!m_serial.isEmpty())
        return std::nullopt;
    const kz::ClientAnswer answer = kz::RunAdbClient(QString::fromLatin1(kz::kDevicesCommand));
    if (!answer.started)
        return NotStarted(answer, QLatin1String(m_request.command->name));
    const SerialChoice choice = ChooseSerial(ListedDevices(answer.output));
    if (!choice.refusal.isEmpty())
        return Usage(choice.refusal);
    m_serial = choice.serial;
    return std::nullopt;
}

QString ClientLineFor(const QString& serial, const QString& command)
{
    if (serial.isEmpty())
        return command;
    return QStringLiteral("-s ") + kz::QuoteWindowsArgument(serial) + u' ' + command;
}

QString Session::ClientLine(const QString& command) const
{
    return ClientLineFor(m_serial, command);
}

kz::ClientAnswer Session::Run(const QString& command) const
{
    return kz::RunAdbClient(ClientLine(command));
}

std::optional<Outcome> Session::MountStick(const QString& operation) const
{
    const kz::MountVerdict verdict = kz::JudgeMount(Run(QString::fromLatin1(kz::kMountCommand)));
    if (verdict.ok())
        return std::nullopt;
    return Failed(kz::text::MountFailed, operation, verdict.tip);
}

int Session::Finish(const Outcome& outcome, const QString& text) const
{
    if (Json())
        WriteOut(QString::fromUtf8(OutcomeJson(outcome, m_serial, QDateTime::currentDateTime())));
    else if (!outcome.ok)
        WriteErr(FailureText(outcome));
    else if (!text.isEmpty() || !outcome.key.isEmpty())
        WriteOut((text.isEmpty() ? outcome.key : text) + (text.endsWith(u'\n') ? QString() : QStringLiteral("\n")));
    return ExitCodeOf(outcome);
}

int Session::NotStarted(const kz::ClientAnswer& answer, const QString& operation) const
{
    return Finish(Failed(answer.failure.toUtf8().constData(), operation));
}

int Session::Usage(const QString& reason) const
{
    const QString tool = QString::fromLatin1(kToolName);
    QString text = tool + QStringLiteral(": ") + reason + u'\n';
    text += m_request.command ? QStringLiteral("Try '%1 %2 --help'.\n").arg(tool, QLatin1String(m_request.command->name))
                              : QStringLiteral("Try '%1 --help'.\n").arg(tool);
    WriteErr(text);
    return kExitUsage;
}

void Session::StreamLine(const QString& line, const QString& operation) const
{
    if (Json())
        WriteOut(QString::fromUtf8(StreamLineJson(line, operation, m_serial, QDateTime::currentDateTime())));
    else
        WriteOut(line + u'\n');
}

}  // namespace kz::cli
