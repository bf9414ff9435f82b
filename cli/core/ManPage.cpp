#include "cli/core/ManPage.h"

#include "cli/core/CommandTable.h"

namespace kz::cli {

namespace {

QString OptionHead(const OptionSpec& option)
{
    QString head = QStringLiteral("\\fB%1\\fR").arg(RoffEscape(QString::fromUtf8(option.name)));
    if (option.value)
        head += QStringLiteral(" \\fI%1\\fR").arg(RoffEscape(QString::fromUtf8(option.choices ? option.choices : option.value)));
    return head;
}

QString OptionItems(const std::vector<OptionSpec>& options)
{
    QString text;
    for (const OptionSpec& option : options)
        text += QStringLiteral(".TP\n%1\n%2\n").arg(OptionHead(option), RoffEscape(QString::fromUtf8(option.help)));
    return text;
}

QString CommandItem(const CommandSpec& command)
{
    QString head = QStringLiteral("\\fB%1\\fR").arg(RoffEscape(QString::fromUtf8(command.name)));
    if (*command.operands)
        head += QStringLiteral(" \\fI%1\\fR").arg(RoffEscape(QString::fromUtf8(command.operands)));
    QString text = QStringLiteral(".TP\n%1\n%2.\n%3\n")
                       .arg(head, RoffEscape(QString::fromUtf8(command.summary)),
                            RoffEscape(QString::fromUtf8(command.details)));
    if (!command.options.empty())
        text += QStringLiteral(".RS\n") + OptionItems(command.options) + QStringLiteral(".RE\n");
    return text;
}

}  // namespace

QString RoffEscape(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\e"));
    escaped.replace(u'-', QStringLiteral("\\-"));
    escaped.replace(QStringLiteral("\n."), QStringLiteral("\n\\&."));
    escaped.replace(QStringLiteral("\n'"), QStringLiteral("\n\\&'"));
    if (escaped.startsWith(u'.') || escaped.startsWith(u'\''))
        escaped.prepend(QStringLiteral("\\&"));
    return escaped;
}

QString ManPage(const QString& version)
{
    const QString name = QString::fromLatin1(kToolName);
    QString page = QStringLiteral(".TH %1 1 \"\" \"%2 %3\" \"User Commands\"\n")
                       .arg(name.toUpper(), name, RoffEscape(version));
    page += QStringLiteral(".SH NAME\n%1 \\- drive a KORVALD eMMC duplicator box from a script\n").arg(RoffEscape(name));
    page += QStringLiteral(".SH SYNOPSIS\n.B %1\n[\\fB\\-\\-serial\\fR \\fIS\\fR] [\\fB\\-\\-json\\fR] \\fICOMMAND\\fR "
                           "[\\fIARGUMENTS\\fR]\n")
                .arg(RoffEscape(name));
    page += QStringLiteral(".SH DESCRIPTION\n"
                           "Every operation is one command line handed to the adb client adapter beside the program "
                           "(adb/kz_daemon), judged by the same rules as the windows of korvald\\-emmc. "
                           "Options may stand before or after the command; \\fB\\-\\-\\fR ends them.\n");
    page += QStringLiteral(".SH COMMANDS\n");
    for (const CommandSpec& command : Commands())
        page += CommandItem(command);
    page += QStringLiteral(".SH OPTIONS\n") + OptionItems(GlobalOptions());
    page += QStringLiteral(".SH EXIT STATUS\n") + RoffEscape(ExitCodesText()) + u'\n';
    page += QStringLiteral(".SH EXAMPLE\n.nf\n%1 \\-\\-serial emulator\\-5554 read\\-boot 1 boot1.bin\n"
                           "%1 \\-\\-json ls udisk\n.fi\n")
                .arg(RoffEscape(name));
    return page;
}

}  // namespace kz::cli
