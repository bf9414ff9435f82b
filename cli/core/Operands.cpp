#include "cli/core/Operands.h"

#include "files/core/FileManagerMode.h"

namespace kz::cli {

std::optional<Storage> ParseStorage(const QString& word)
{
    if (word == QLatin1String("udisk"))
        return Storage::Udisk;
    if (word == QLatin1String("sdcard"))
        return Storage::Sdcard;
    return std::nullopt;
}

LocationResult ParseLocation(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    const std::optional<Storage> storage = colon < 0 ? std::nullopt : ParseStorage(text.left(colon));
    if (!storage)
        return {{}, QStringLiteral("'%1' is not udisk:NAME or sdcard:NAME").arg(text)};
    return {{*storage, text.mid(colon + 1)}, {}};
}

QString StorageWord(Storage storage)
{
    return storage == Storage::Udisk ? QStringLiteral("udisk") : QStringLiteral("sdcard");
}

int ListMode(Storage storage)
{
    return storage == Storage::Udisk ? COPY_UDISK_TO_SDCARD : COPY_SDCARD_TO_UDISK;
}

int BootSource(Storage storage)
{
    return storage == Storage::Udisk ? SOURCE_BOOT_UDISK : SOURCE_BOOT_SDCARD;
}

int UserSource(Storage storage)
{
    return storage == Storage::Udisk ? SOURCE_USER_UDISK : SOURCE_USER_SDCARD;
}

std::optional<int> ParseBoot(const QString& text)
{
    if (text == QLatin1String("1"))
        return 1;
    if (text == QLatin1String("2"))
        return 2;
    return std::nullopt;
}

std::optional<int> ParseCount(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

}  // namespace kz::cli
