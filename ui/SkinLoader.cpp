#include "ui/SkinLoader.h"

#include <QDir>
#include <QFile>
#include <QUiLoader>
#include <QWidget>

#include "platform/ProgramDir.h"

namespace kz::ui {

QString SkinDirectory()
{
    return kz::ProgramDirectory() + QStringLiteral("/skin");
}

QString SkinFilePath(const QString& fileName)
{
    return SkinDirectory() + QLatin1Char('/') + fileName;
}

QWidget* LoadSkin(const QString& fileName, QWidget* parent, QString* error)
{
    const QString dir = SkinDirectory();
    // Style sheets name skin images as "skin:<file>"; the folder may change
    // between tests, so the path is set on every load.
    QDir::setSearchPaths(QStringLiteral("skin"), {dir});
    QFile file(dir + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot open %1: %2").arg(file.fileName(), file.errorString());
        return nullptr;
    }
    QUiLoader loader;
    loader.setWorkingDirectory(QDir(dir));  // relative image names in the skin
    QWidget* root = loader.load(&file, parent);
    if (!root && error)
        *error = QStringLiteral("cannot load %1: %2").arg(file.fileName(), loader.errorString());
    return root;
}

}  // namespace kz::ui
