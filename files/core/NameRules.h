#pragma once
// Rules for the new name of a rename.  The name is put after the listed
// folder ("mv /mnt/udisk/'old' /mnt/udisk/'new'"), so a slash, "." or ".."
// would move the file elsewhere, and a name that is already listed would
// replace that file (or move the file into that folder).

#include <QString>
#include <QStringList>

namespace kz::files {

// A slash, "." or "..": put after a folder, the name would point elsewhere.
bool LeavesFolder(const QString& name);

// Language key of the reason a typed new name is refused; null when it may be
// used.  Empty, not quotable for the box's shell, or leaving the folder.
const char* NewNameRefusal(const QString& newName);

enum class NameClash {
    None,    // a new name, or the file's own name in other letter case
    File,    // replaces another file: ask first
    Folder,  // would move the file into a folder: refused
};

// The storages are vfat: names that differ only in case are the same.
NameClash FindNameClash(const QStringList& files, const QStringList& folders, const QString& oldName,
                        const QString& newName);

}  // namespace kz::files
