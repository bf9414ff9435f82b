// korvald-emmc-cli: the box's operations from a shell, one per run, judged
// by the same rules as the windows.
#include <QString>
#include <QStringList>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/Warnings.h"
#include "cli/core/CommandTable.h"
#include "cli/core/ManPage.h"
#include "cli/core/ParseArgs.h"

int main(int argc, char** argv)
{
    using namespace kz::cli;
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const ParseResult parsed = ParseArgs(args);
    Warnings warnings;
    kz::SetMessageService(&warnings);
    Session session(parsed.request, warnings);
    const CliRequest& request = parsed.request;
    if (!parsed.error.isEmpty())
        return session.Usage(parsed.error);
    if (request.man) {
        WriteOut(ManPage(QStringLiteral(KZ_VERSION)));
        return kExitOk;
    }
    if (request.help) {
        WriteOut(request.command ? CommandHelp(*request.command) : ToolHelp());
        return kExitOk;
    }
    const CommandRun run = FindRun(*request.command);
    if (!run)
        return session.Usage(QStringLiteral("unknown command"));
    // The device list is about every box; every other command goes to one.
    if (run != RunDevices) {
        if (const std::optional<int> code = session.ChooseBox())
            return *code;
    }
    return run(session);
}
