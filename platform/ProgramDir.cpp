#include "platform/ProgramDir.h"

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace kz {

namespace {
QMutex g_mutex;
QString g_override;

QString ExecutableDirectory()
{
    // Resolved once: the executable does not move while it runs.
    static const QString dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    return dir;
}
}  // namespace

QString ProgramDirectory()
{
    QMutexLocker lock(&g_mutex);
    return g_override.isEmpty() ? ExecutableDirectory() : g_override;
}

void SetProgramDirectoryForTests(const QString& dir)
{
    QMutexLocker lock(&g_mutex);
    g_override = dir;
}

}  // namespace kz
