#pragma once
// Splitting of a Windows-style command line into an argument vector.
//
// Every device command is written as one line of text in the form the adb
// client's C runtime would have parsed on its original platform ("shell
// \"cd /mnt/sdcard && ./eMMC ...\"").  We spawn the client with an argument
// vector instead, so the line is split here by the same rules:
//  - blanks and tabs outside double quotes separate arguments; runs of them
//    count as one separator, leading and trailing ones are dropped;
//  - a double quote toggles quoting and is removed; "" opens and closes an
//    empty argument;
//  - inside a quoted section, "" gives one literal double quote and the
//    section stays open (the C runtime's rule; the shell's own splitter
//    differs here, but the client was a C runtime program);
//  - 2n backslashes before a double quote give n backslashes and the quote
//    acts as above; 2n+1 give n backslashes and a literal double quote;
//    backslashes anywhere else are literal;
//  - single quotes are ordinary characters: they reach the box's shell as
//    they stand, which is how file names are protected there.

#include <QString>
#include <QStringList>

namespace kz {

QStringList SplitWindowsCommandLine(const QString& line);

// The inverse for one argument: the text that SplitWindowsCommandLine turns
// back into exactly `arg` (for host paths with blanks in "push" lines).
QString QuoteWindowsArgument(const QString& arg);

}  // namespace kz
