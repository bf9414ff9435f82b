#include "files/core/NameRules.h"

#include <algorithm>

#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"

namespace kz::files {

namespace {
bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool Listed(const QStringList& names, const QString& name)
{
    return std::any_of(names.begin(), names.end(), [&](const QString& n) { return Same(n, name); });
}
}  // namespace

bool LeavesFolder(const QString& name)
{
    return name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String("..");
}

const char* NewNameRefusal(const QString& newName)
{
    if (newName.isEmpty())
        return text::NameEmptyEnterAgain;
    if (!IsShellSafeName(newName))
        return UnsafeFileName;
    if (LeavesFolder(newName))
        return text::NameNotInFolder;
    return nullptr;
}

NameClash FindNameClash(const QStringList& files, const QStringList& folders, const QString& oldName,
                        const QString& newName)
{
    if (Same(oldName, newName))
        return NameClash::None;
    if (Listed(folders, newName))
        return NameClash::Folder;
    return Listed(files, newName) ? NameClash::File : NameClash::None;
}

}  // namespace kz::files
