#pragma once
// Skins are Qt Designer .ui files in the folder "skin" beside the program.
// Images named in a skin by a relative file name resolve against that folder;
// style sheets can reach it as "skin:<file>" (a registered search path).

#include <QString>

class QWidget;

namespace kz::ui {

// ProgramDirectory()/skin, without a trailing separator.
QString SkinDirectory();

// Absolute path of a file in the skin folder.
QString SkinFilePath(const QString& fileName);

// Loads a skin file; the root widget becomes a child of parent (may be
// null).  Null on failure, with the reason in *error when given.
QWidget* LoadSkin(const QString& fileName, QWidget* parent, QString* error = nullptr);

}  // namespace kz::ui
