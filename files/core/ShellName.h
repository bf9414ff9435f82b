#pragma once
// File names travel to the box inside a command line of the form
//   shell "cd /mnt/sdcard && rm ./'name'"
// The outer double quotes are taken apart on this side, the single quotes by
// the box's shell.  An apostrophe is carried by closing the quotes, adding an
// escaped one and opening them again ('John'\''s.bin).  A double quote (it
// would end the outer quotes here) or a control character (a line break
// would end the shell command) cannot be carried safely and is refused
// before any command is sent.

#include <QString>

namespace kz::files {

bool IsShellSafeName(const QString& name);

// `name` as one word of the box's shell, between single quotes.  Header-only
// so that every folder building command lines can use it.
inline QString ShellQuote(const QString& name)
{
    QString quoted = name;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

// Language-file key of the message shown when a name is refused.
inline constexpr char UnsafeFileName[] = "File name can not contain double quotes or control characters!";

}  // namespace kz::files
