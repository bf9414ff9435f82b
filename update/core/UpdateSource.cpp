#include "update/core/UpdateSource.h"

#include <QDir>
#include <QFileInfo>

#include "update/core/UpdateSequence.h"

namespace kz {

QString UpdateSourceFolder()
{
    return QDir::homePath() + QStringLiteral("/korvald-update/");
}

QStringList MissingUpdateFiles(const QString& folder)
{
    QStringList missing;
    for (const QString& name : UpdateFileNames()) {
        const QFileInfo file(folder + name);
        if (!file.isFile() || !file.isReadable())
            missing << file.filePath();
    }
    return missing;
}

}  // namespace kz
