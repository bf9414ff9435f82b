#pragma once
// What korvald-emmc-cli accepts, in one table: the argument parser checks a
// command line against it, and --help and the manual page are written from
// it, so the three never disagree.

#include <QString>
#include <QStringView>
#include <vector>

namespace kz::cli {

inline constexpr char kToolName[] = "korvald-emmc-cli";

struct OptionSpec {
    const char* name;     // "--size"
    const char* value;    // "N": takes a value; null: a flag
    const char* choices;  // "MB|GB": the only values taken; null: any
    bool required;
    const char* help;
};

struct CommandSpec {
    const char* name;
    const char* operands;  // synopsis of the operands, "" for none
    int minOperands;
    int maxOperands;
    const char* summary;  // one line
    const char* details;  // what it runs and how it is judged
    std::vector<OptionSpec> options;
};

const std::vector<CommandSpec>& Commands();
const CommandSpec* FindCommand(QStringView name);

// Options taken before or after any command.
const std::vector<OptionSpec>& GlobalOptions();

// "korvald-emmc-cli [--serial S] [--json] ls udisk|sdcard"
QString Synopsis(const CommandSpec& command);

// The tool's --help: synopsis, commands, global options, exit codes.
QString ToolHelp();
// COMMAND --help.
QString CommandHelp(const CommandSpec& command);

// The paragraph on exit codes, shared by the help and the manual page.
QString ExitCodesText();

}  // namespace kz::cli
