#pragma once
// Loads a skin the way the windows do: QUiLoader with the skin folder as
// the working directory, so relative image names resolve there.
#include <QString>
#include <QWidget>
#include <memory>

namespace kz::skintest {

QString SkinDirectory();
std::unique_ptr<QWidget> LoadSkin(const QString& fileName, QString* error = nullptr);

}  // namespace kz::skintest
