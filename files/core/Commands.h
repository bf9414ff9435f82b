#pragma once
// The client command lines of the file manager.  Every file name is put
// between single quotes (ShellQuote) inside the double-quoted shell command,
// and never where it could read as an option; callers check names with
// IsShellSafeName() first.

#include <QString>

namespace kz::files {

// shell "ls -l <root>" for the folder a mode lists; empty for no mode.
QString ListCommand(int mode);

// shell "cd <root> && rm ./'<name>'"; empty for no mode.
QString DeleteCommand(int mode, const QString& name);

// shell "mv <root>/'<old>' <root>/'<new>'"; empty for no mode.
QString RenameCommand(int mode, const QString& oldName, const QString& newName);

// Copy paths: the source in the listed root, the target in the other one.
// Both with the name quoted, e.g. /mnt/udisk/'a b.bin'.
QString CopySourcePath(int mode, const QString& name);
QString CopyTargetDirectory(int mode);  // "/mnt/sdcard/" or "/mnt/udisk/"
QString CopyTargetPath(int mode, const QString& name);

QString ProbeCommand(const QString& path);        // shell "ls -l <path>"
QString VerifyProbeCommand(const QString& path);  // shell " ls -l <path>"
QString FreeSpaceCommand(const QString& directory);  // shell "df <dir>"
QString CopyCommand(const QString& sourcePath, const QString& targetPath);
// shell "/mnt/sdcard/busybox md5sum <path>": the sum that proves a copy.
QString ChecksumCommand(const QString& path);

}  // namespace kz::files
