#include "SkinLoader.h"

#include <QDir>
#include <QFile>
#include <QUiLoader>

namespace kz::skintest {

QString SkinDirectory() { return QStringLiteral(KZ_SOURCE_DIR "/skin"); }

std::unique_ptr<QWidget> LoadSkin(const QString& fileName, QString* error) {
    QFile file(QDir(SkinDirectory()).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return nullptr;
    }
    // Style sheets reach skin images as "skin:<file>", as in the program.
    QDir::setSearchPaths(QStringLiteral("skin"), {SkinDirectory()});
    QUiLoader loader;
    loader.setWorkingDirectory(QDir(SkinDirectory()));
    std::unique_ptr<QWidget> widget(loader.load(&file));
    if (!widget && error) *error = loader.errorString();
    return widget;
}

}  // namespace kz::skintest
