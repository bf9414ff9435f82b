#pragma once
// Where the program's companions live: the adb client adapter (adb/kz_daemon),
// the skin folder, the language files and the FTP client are all found beside
// the executable, never through the current directory.

#include <QString>

namespace kz {

// Directory of the running executable (from /proc/self/exe), without a
// trailing separator.
QString ProgramDirectory();

// Tests point the program at a folder of fakes; an empty text restores the
// real directory.
void SetProgramDirectoryForTests(const QString& dir);

}  // namespace kz
