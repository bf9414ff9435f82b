// The board dialog's transfers and boot settings, with its command lines and
// its verdicts.  Names are trimmed as the dialog trims them, and also kept
// inside their folder, since here they are typed, never picked.
#include "link/LogLine.h"
#include "link/Texts.h"
#include "board/core/BoardCommands.h"
#include "board/core/BoardInput.h"
#include "board/core/BoardTexts.h"
#include "board/core/BootTransfer.h"
#include "cli/Commands.h"
#include "cli/core/ConfigSettings.h"
#include "cli/core/Operands.h"
#include "files/core/FileTexts.h"
#include "files/core/NameRules.h"
#include "files/core/TrimName.h"

namespace kz::cli {

namespace bt = kz::board::text;

namespace {

// The trimmed name, or the reason it is refused.
const char* TrimmedNameRefusal(QString& name)
{
    kz::files::TrimName(name);
    return name.isEmpty() ? kz::files::text::NameEmptyEnterAgain : kz::files::NewNameRefusal(name);
}

struct Transfer {
    QString command;
    const char* okKey;
    const char* failKey;
    QString operation;
};

int RunTransfer(Session& session, const Transfer& transfer)
{
    const kz::ClientAnswer answer = session.Run(transfer.command);
    if (answer.started && kz::board::IsTransferSuccess(answer.output))
        return session.Finish(Succeeded(transfer.okKey, transfer.operation));
    return session.Finish(Failed(transfer.failKey, transfer.operation, answer.started ? answer.output : answer.failure));
}

// A "udisk:NAME" source, trimmed and checked, with the stick mounted when
// the file is on it.  An exit code when the command must stop.
std::optional<int> PrepareSource(Session& session, const QString& operand, const QString& operation, Location& source)
{
    const LocationResult parsed = ParseLocation(operand);
    if (!parsed.error.isEmpty())
        return session.Usage(parsed.error);
    source = parsed.location;
    if (const char* refusal = TrimmedNameRefusal(source.name))
        return session.Usage(refusal);
    if (source.storage == Storage::Udisk) {
        if (std::optional<Outcome> failure = session.MountStick(operation))
            return session.Finish(*failure);
    }
    return std::nullopt;
}

std::optional<int> BootOperand(Session& session, int& boot)
{
    const std::optional<int> parsed = ParseBoot(session.Request().operands.at(0));
    if (!parsed)
        return session.Usage(QStringLiteral("the boot partition is 1 or 2, not '%1'").arg(session.Request().operands.at(0)));
    boot = *parsed;
    return std::nullopt;
}

// A boot transfer as the board dialog's worker runs it, proof included; its
// log entries become the command's outcome.
class BootOutcome {
public:
    kz::board::BootReport Report(const Session& session, int boot, bool write)
    {
        const QString operation = QStringLiteral("%1%2").arg(QLatin1String(write ? "write-boot" : "read-boot")).arg(boot);
        const char* okKey = write ? (boot == 1 ? bt::Boot1WriteOk : bt::Boot2WriteOk)
                                  : (boot == 1 ? bt::Boot1SaveOk : bt::Boot2SaveOk);
        const char* failKey = write ? (boot == 1 ? bt::Boot1WriteFailed : bt::Boot2WriteFailed)
                                    : (boot == 1 ? bt::Boot1SaveFailed : bt::Boot2SaveFailed);
        m_outcome = Failed(failKey, operation);
        kz::board::BootReport report{operation, QString::fromUtf8(okKey), QString::fromUtf8(failKey), okKey, failKey,
                                     {}, {}};
        report.log = [this, okKey, operation](int style, const QString& text, const kz::LogTag& tag) {
            if (style == kz::LOG_TIP)
                m_outcome.tip = Failed(nullptr, operation, text).tip;
            else if (style == kz::LOG_SUCCESS)
                m_outcome = Succeeded(okKey, operation, tag.extra);
            else
                m_outcome.extra = tag.extra;
        };
        report.run = [&session](const QString& command) { return session.Run(command); };
        report.notProvedText = QString::fromUtf8(bt::WriteNotProved);
        report.notProvedKey = bt::WriteNotProved;
        return report;
    }
    const Outcome& Result() const { return m_outcome; }

private:
    Outcome m_outcome;
};

}  // namespace

int RunReadBoot(Session& session)
{
    int boot = 0;
    if (std::optional<int> code = BootOperand(session, boot))
        return *code;
    QString name = session.Request().operands.at(1);
    if (const char* refusal = TrimmedNameRefusal(name))
        return session.Usage(refusal);
    BootOutcome outcome;
    kz::board::RunBootRead(boot, name, outcome.Report(session, boot, false));
    return session.Finish(outcome.Result());
}

int RunWriteBoot(Session& session)
{
    int boot = 0;
    if (std::optional<int> code = BootOperand(session, boot))
        return *code;
    const QString operation = QStringLiteral("write-boot%1").arg(boot);
    Location source;
    if (std::optional<int> code = PrepareSource(session, session.Request().operands.at(1), operation, source))
        return *code;
    BootOutcome outcome;
    kz::board::RunBootWrite(boot, BootSource(source.storage), kz::board::BootWriteName(source.name),
                            outcome.Report(session, boot, true));
    return session.Finish(outcome.Result());
}

int RunReadUser(Session& session)
{
    QString name = session.Request().operands.at(0);
    if (const char* refusal = TrimmedNameRefusal(name))
        return session.Usage(refusal);
    const std::optional<int> size = ParseCount(session.Request().Value("--size"));
    if (!size || *size < kz::board::kMinReadSize || *size > kz::board::kMaxReadSize)
        return session.Usage(bt::FileSizeRange);
    const QString unit = session.Request().Has("--unit") ? session.Request().Value("--unit") : QStringLiteral("MB");
    return RunTransfer(session, {kz::board::ReadUserAreaCommand(name, *size, unit), bt::UserReadOk, bt::UserReadFailed,
                                 QStringLiteral("read-user")});
}

int RunWriteUser(Session& session)
{
    const QString operation = QStringLiteral("write-user");
    // The address is judged before the name, as in the dialog.
    const std::optional<int> startMb = kz::board::WriteStartMb(session.Request().Value("--address"));
    if (!startMb)
        return session.Usage(bt::AddressFormat);
    Location source;
    if (std::optional<int> code = PrepareSource(session, session.Request().operands.at(0), operation, source))
        return *code;
    return RunTransfer(session, {kz::board::WriteUserAreaCommand(UserSource(source.storage), source.name, *startMb),
                                 bt::UserWriteOk, bt::UserWriteFailed, operation});
}

int RunConfig(Session& session)
{
    const QString operation = QStringLiteral("config");
    const std::vector<ConfigSetting> settings = ConfigSettings(session.Request());
    if (settings.empty())
        return session.Usage(QStringLiteral("config needs at least one of --boot-partition, --ack, --mode, --bus-width"));
    QJsonObject applied;
    for (const ConfigSetting& setting : settings) {
        const kz::ClientAnswer answer = session.Run(kz::board::ConfigureBootCommand(setting.setting, setting.index));
        // Nothing is rolled back: the settings applied before stay applied.
        if (!answer.started || !kz::board::IsConfigureSuccess(answer.output)) {
            Outcome failure = Failed(bt::SetFailed, operation, answer.started ? answer.output : answer.failure,
                                     {{QStringLiteral("applied"), applied}});
            failure.extra.insert(QStringLiteral("failed"), QJsonObject{{setting.option.mid(2), setting.value}});
            return session.Finish(failure);
        }
        applied.insert(setting.option.mid(2), setting.value);
    }
    return session.Finish(Succeeded(bt::SetOk, operation, {{QStringLiteral("applied"), applied}}));
}

}  // namespace kz::cli
