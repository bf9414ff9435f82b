#pragma once
// Where the operator puts the files of a system update on this computer:
// the folder "korvald-update" in the home folder (~/korvald-update/).  The
// program folder is usually not writable for the operator, the home folder
// always is.

#include <QString>
#include <QStringList>

namespace kz {

// The update folder, with a trailing slash.
QString UpdateSourceFolder();

// Full paths of the update files missing from `folder` (or present but not
// readable files), in push order.
QStringList MissingUpdateFiles(const QString& folder);

}  // namespace kz
