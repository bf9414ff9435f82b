#pragma once
// The tool's command line as a request, checked against the command table:
// the command, its operands and options, and the global options, which may
// stand before or after the command.  "--" ends the options, so a file name
// that starts with "-" can still be given.

#include <QMap>
#include <QString>
#include <QStringList>

#include "cli/core/CommandTable.h"

namespace kz::cli {

struct CliRequest {
    const CommandSpec* command = nullptr;  // null with --help or --man alone
    QStringList operands;
    QMap<QString, QString> options;  // "--size" -> "8"; a flag maps to ""
    QString serial;
    bool json = false;
    bool help = false;  // with a command: that command's help
    bool man = false;

    bool Has(const char* option) const { return options.contains(QLatin1String(option)); }
    QString Value(const char* option) const { return options.value(QLatin1String(option)); }
};

struct ParseResult {
    CliRequest request;
    QString error;  // a usage error, in English; empty when the line is good
};

// args without the program's own name.
ParseResult ParseArgs(const QStringList& args);

}  // namespace kz::cli
