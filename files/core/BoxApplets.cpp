#include "files/core/BoxApplets.h"

#include <QRegularExpression>
#include <QStringList>

#include "device/ServerStartLines.h"

namespace kz::files {

namespace {

Applet Listed(const QStringList& names, const char* applet)
{
    return names.contains(QLatin1String(applet)) ? Applet::Present : Applet::Missing;
}

}  // namespace

QString AppletProbeCommand()
{
    return QStringLiteral("shell \"/mnt/sdcard/busybox\"");
}

BoxApplets JudgeAppletProbe(const QString& output)
{
    static const QLatin1String marker("Currently defined functions:");
    const qsizetype at = output.indexOf(marker);
    if (at < 0)
        return {};
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList names = output.mid(at + marker.size()).split(separators, Qt::SkipEmptyParts);
    if (names.isEmpty())
        return {};
    return {Listed(names, "md5sum"), Listed(names, "truncate")};
}

bool IsCommandMissing(const QString& output)
{
    // "[shell: ]name: applet not found" or "[shell: ]name: not found", one
    // word each, and nothing else on the line.
    static const QRegularExpression missing(QStringLiteral("^(\\S+: )?\\S+: (applet )?not found$"));
    bool any = false;
    for (const QString& raw : StripServerStartLines(output).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("error:")) || !missing.match(line).hasMatch())
            return false;
        any = true;
    }
    return any;
}

}  // namespace kz::files
