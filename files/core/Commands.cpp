#include "files/core/Commands.h"

#include "files/FileManagerMode.h"

namespace kz::files {

namespace {

QString Quoted(const QString& name) { return u'\'' + name + u'\''; }

}  // namespace

QString ListCommand(int mode)
{
    const QString root = RootOf(mode);
    return root.isEmpty() ? QString() : QStringLiteral("shell \"ls -l %1\"").arg(root);
}

QString DeleteCommand(int mode, const QString& name)
{
    const QString root = RootOf(mode);
    if (root.isEmpty())
        return {};
    return QStringLiteral("shell \"cd ") + root + QStringLiteral(" && rm ") + Quoted(name) + u'"';
}

QString RenameCommand(int mode, const QString& oldName, const QString& newName)
{
    const QString root = RootOf(mode);
    if (root.isEmpty())
        return {};
    return QStringLiteral("shell \"mv ") + root + u'/' + Quoted(oldName) + u' ' + root + u'/' + Quoted(newName) +
           u'"';
}

QString CopySourcePath(int mode, const QString& name)
{
    if (mode == COPY_UDISK_TO_SDCARD)
        return QStringLiteral("/mnt/udisk/") + Quoted(name);
    if (mode == COPY_SDCARD_TO_UDISK)
        return QStringLiteral("/mnt/sdcard/") + Quoted(name);
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
    return dir.isEmpty() ? QString() : dir + Quoted(name);
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

}  // namespace kz::files
