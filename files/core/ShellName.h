#pragma once
// File names travel to the box inside a command line of the form
//   shell "cd /mnt/sdcard && rm 'name'"
// The outer double quotes are taken apart on this side, the single quotes by
// the box's shell.  A name holding either quote, or a control character
// (a line break would end the shell command), cannot be carried safely and
// is refused before any command is sent.

#include <QString>

namespace kz::files {

bool IsShellSafeName(const QString& name);

// Language-file key of the message shown when a name is refused.
inline constexpr char UnsafeFileName[] = "File name can not contain quotes or control characters!";

}  // namespace kz::files
