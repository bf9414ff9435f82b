#include "cli/core/ParseArgs.h"

#include <optional>

namespace kz::cli {

namespace {

const OptionSpec* FindOption(const std::vector<OptionSpec>& options, QStringView name)
{
    for (const OptionSpec& option : options) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

class Parser {
public:
    explicit Parser(const QStringList& args) : m_args(args) {}

    ParseResult Run()
    {
        for (m_at = 0; m_at < m_args.size() && m_error.isEmpty(); ++m_at)
            Take(m_args.at(m_at));
        if (m_error.isEmpty())
            CheckComplete();
        return {m_request, m_error};
    }

private:
    void Take(const QString& arg)
    {
        if (!m_optionsEnded && arg == QLatin1String("--"))
            m_optionsEnded = true;
        else if (!m_optionsEnded && arg.startsWith(QLatin1String("--")))
            TakeOption(arg);
        else if (!m_optionsEnded && arg.size() > 1 && arg.startsWith(u'-'))
            m_error = QStringLiteral("unknown option %1 (put -- before a name that starts with '-')").arg(arg);
        else if (!m_request.command)
            TakeCommand(arg);
        else
            m_request.operands << arg;
    }

    void TakeCommand(const QString& name)
    {
        m_request.command = FindCommand(name);
        if (!m_request.command)
            m_error = QStringLiteral("unknown command '%1'").arg(name);
    }

    void TakeOption(const QString& arg)
    {
        const qsizetype equals = arg.indexOf(u'=');
        const QString name = equals < 0 ? arg : arg.left(equals);
        const OptionSpec* option = FindOption(GlobalOptions(), name);
        if (!option && m_request.command)
            option = FindOption(m_request.command->options, name);
        if (!option) {
            m_error = m_request.command ? QStringLiteral("%1 does not take %2").arg(QLatin1String(m_request.command->name), name)
                                        : QStringLiteral("unknown option %1").arg(name);
            return;
        }
        std::optional<QString> value;
        if (equals >= 0)
            value = arg.mid(equals + 1);
        else if (option->value && m_at + 1 < m_args.size())
            value = m_args.at(++m_at);
        if (!option->value && value) {
            m_error = QStringLiteral("%1 takes no value").arg(name);
            return;
        }
        if (option->value && !value) {
            m_error = QStringLiteral("%1 needs a value (%2)").arg(name, QLatin1String(option->value));
            return;
        }
        Store(*option, value.value_or(QString()));
    }

    void Store(const OptionSpec& option, const QString& value)
    {
        const QString name = QLatin1String(option.name);
        if (option.choices && !QString::fromUtf8(option.choices).split(u'|').contains(value)) {
            m_error = QStringLiteral("%1 takes %2, not '%3'").arg(name, QLatin1String(option.choices), value);
            return;
        }
        if (name == QLatin1String("--serial")) {
            if (value.isEmpty())
                m_error = QStringLiteral("--serial needs a box's serial");
            m_request.serial = value;
        } else if (name == QLatin1String("--json")) {
            m_request.json = true;
        } else if (name == QLatin1String("--help")) {
            m_request.help = true;
        } else if (name == QLatin1String("--man")) {
            m_request.man = true;
        } else if (m_request.options.contains(name)) {
            m_error = QStringLiteral("%1 is given twice").arg(name);
        } else {
            m_request.options.insert(name, value);
        }
    }

    void CheckComplete()
    {
        if (m_request.help || m_request.man)
            return;
        const CommandSpec* command = m_request.command;
        if (!command) {
            m_error = QStringLiteral("no command given");
            return;
        }
        const qsizetype count = m_request.operands.size();
        if (count < command->minOperands)
            m_error = QStringLiteral("%1 needs %2").arg(QLatin1String(command->name), QString::fromUtf8(command->operands));
        else if (count > command->maxOperands)
            m_error = QStringLiteral("%1 takes %2, not '%3'")
                          .arg(QLatin1String(command->name),
                               *command->operands ? QString::fromUtf8(command->operands) : QStringLiteral("no operand"),
                               m_request.operands.join(u' '));
        for (const OptionSpec& option : command->options) {
            if (m_error.isEmpty() && option.required && !m_request.Has(option.name))
                m_error = QStringLiteral("%1 needs %2 %3").arg(QLatin1String(command->name), QLatin1String(option.name),
                                                              QLatin1String(option.value));
        }
    }

    const QStringList& m_args;
    qsizetype m_at = 0;
    bool m_optionsEnded = false;
    CliRequest m_request;
    QString m_error;
};

}  // namespace

ParseResult ParseArgs(const QStringList& args)
{
    return Parser(args).Run();
}

}  // namespace kz::cli
