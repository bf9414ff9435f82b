#include "board/core/BoardCommands.h"

#include "files/core/FileManagerMode.h"
#include "files/core/ShellName.h"

namespace kz::board {

namespace {

const QString kDataTool = QStringLiteral("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA ");

QString Shell(const QString& inner)
{
    return QStringLiteral("shell \"") + inner + u'"';
}

// Apostrophes included (header-only, so this library needs no link to files).
QString Quoted(const QString& name)
{
    return kz::files::ShellQuote(name);
}

}  // namespace

QString BootWriteName(const QString& name)
{
    return name.toLower();
}

QString ReadBootCommand(int boot, const QString& name)
{
    return Shell(kDataTool + QStringLiteral("/READ_BOOT%1:").arg(boot) + Quoted(name));
}

QString WriteBootCommand(int boot, int source, const QString& name)
{
    const QString where = source == SOURCE_BOOT_UDISK ? QStringLiteral("/mnt/udisk/") : QString();
    return Shell(kDataTool + QStringLiteral("/WRITE_BOOT%1:").arg(boot) + where + Quoted(name));
}

QString WriteUserAreaCommand(int source, const QString& name, int startMb)
{
    const QString dir = source == SOURCE_USER_SDCARD ? QStringLiteral("/mnt/sdcard/") : QStringLiteral("/mnt/udisk/");
    return Shell(kDataTool + QStringLiteral("/WRITE_USER_AREA:") + dir + Quoted(name) +
                 QStringLiteral(" /WRITE_USER_AREA_S:%1MB").arg(startMb));
}

QString ReadUserAreaCommand(const QString& name, int size, const QString& unit)
{
    return Shell(kDataTool + QStringLiteral("/READ_USER_AREA:") + Quoted(name) +
                 QStringLiteral(" /READ_USER_AREA_SIZE:%1").arg(size) + unit) +
           u' ';
}

QString ConfigureBootCommand(BootSetting setting, int index)
{
    const QString tool = QStringLiteral("shell /mnt/sdcard/eMMC /configure_boot ");
    if (index < 0)
        return {};
    switch (setting) {
    case BootSetting::PartitionEnable:
        return tool + QStringLiteral("/boot_partition_enable:%1").arg(index);
    case BootSetting::Ack:
        if (index > 1)
            return {};
        return tool + QStringLiteral("/boot_ack:") + QLatin1String(index == 0 ? "On" : "Off");
    case BootSetting::Mode:
        return tool + QStringLiteral("/mode:%1").arg(index);
    case BootSetting::BusWidth:
        return tool + QStringLiteral("/bus_width:%1").arg(index);
    }
    return {};
}

bool IsTransferSuccess(const QString& output)
{
    return output.contains(QLatin1String("Complete successfully"));
}

bool IsConfigureSuccess(const QString& output)
{
    return output.contains(QLatin1String("Complete successfully !!"));
}

}  // namespace kz::board
