#include "files/core/Commands.h"

#include "files/core/FileManagerMode.h"
#include "files/core/ShellName.h"

namespace kz::files {

QString ListCommand(int mode)
{
    const QString root = RootOf(mode);
    return root.isEmpty() ? QString() : QStringLiteral("shell \"ls -l %1\"").arg(root);
}

// "./" keeps a name such as "-rf" from reading as rm's options; mv and cp get
// whole paths, which start with "/".
QString DeleteCommand(int mode, const QString& name)
{
    const QString root = RootOf(mode);
    if (root.isEmpty())
        return {};
    return QStringLiteral("shell \"cd ") + root + QStringLiteral(" && rm ./") + ShellQuote(name) + u'"';
}

QString RenameCommand(int mode, const QString& oldName, const QString& newName)
{
    const QString root = RootOf(mode);
    if (root.isEmpty())
        return {};
    return QStringLiteral("shell \"mv ") + root + u'/' + ShellQuote(oldName) + u' ' + root + u'/' + ShellQuote(newName) +
           u'"';
}

QString CopySourcePath(int mode, const QString& name)
{
    if (mode == COPY_UDISK_TO_SDCARD)
        return QStringLiteral("/mnt/udisk/") + ShellQuote(name);
    if (mode == COPY_SDCARD_TO_UDISK)
        return QStringLiteral("/mnt/sdcard/") + ShellQuote(name);
    return {};
}

QString CopyTargetDirectory(int mode)
{
    if (mode == COPY_UDISK_TO_SDCARD)
        return QStringLiteral("/mnt/sdcard/");
    if (mode == COPY_SDCARD_TO_UDISK)
        return QStringLiteral("/mnt/udisk/");
    return {};
}

QString CopyTargetPath(int mode, const QString& name)
{
    const QString dir = CopyTargetDirectory(mode);
    return dir.isEmpty() ? QString() : dir + ShellQuote(name);
}

// The paths are passed as built above: names already quoted, so the
// arguments are placed as they are (QString::arg would also expand %1 in a
// name).
QString ProbeCommand(const QString& path) { return QStringLiteral("shell \"ls -l ") + path + u'"'; }

QString VerifyProbeCommand(const QString& path) { return QStringLiteral("shell \" ls -l ") + path + u'"'; }

QString FreeSpaceCommand(const QString& directory) { return QStringLiteral("shell \"df ") + directory + u'"'; }

QString CopyCommand(const QString& sourcePath, const QString& targetPath)
{
    return QStringLiteral("shell \"/mnt/sdcard/busybox cp ") + sourcePath + u' ' + targetPath + u'"';
}

QString ChecksumCommand(const QString& path)
{
    return QStringLiteral("shell \"/mnt/sdcard/busybox md5sum ") + path + u'"';
}

}  // namespace kz::files
