#include "settings/ConfigDlgRestart.h"

#include <QFileInfo>

#include "platform/Process.h"

namespace kz {

bool StartNewInstance(const QString& program)
{
    // The mark is set by a shell in front of the program rather than in our
    // own environment, which other threads may read while they start adb
    // clients.  The path travels as $0, so no character in it is special.
    const QString script = QStringLiteral("export %1=1; exec \"$0\"").arg(QLatin1String(kRestartMarkVariable));
    return StartDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, program}, /*newProcessGroup*/ true);
}

QString RunningProgram()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

bool TakeRestartMark()
{
    const bool marked = qEnvironmentVariable(kRestartMarkVariable) == QLatin1String("1");
    qunsetenv(kRestartMarkVariable);
    return marked;
}

}  // namespace kz
