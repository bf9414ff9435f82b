#include "settings/Language.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/Locale.h"
#include "settings/Ini.h"

namespace kz {

namespace {

// "en_US.UTF-8@euro" -> "en_us"; a dash stands for the underscore.
QString LanguageAndTerritory(const QString& localeName)
{
    QString base = localeName.trimmed();
    for (QChar stop : {u'.', u'@'}) {
        const qsizetype cut = base.indexOf(stop);
        if (cut >= 0)
            base.truncate(cut);
    }
    return base.replace(u'-', u'_').toLower();
}

}  // namespace

QString LanguageFileName(const QString& localeName)
{
    const QString base = LanguageAndTerritory(localeName);
    if (base == u"zh_tw")
        return QStringLiteral("Language_CN_T.ini");
    if (base == u"en_us" || base == u"en_gb" || base.isEmpty() || base == u"c" || base == u"posix")
        return QStringLiteral("Language_EN.ini");
    return QStringLiteral("Language_CN.ini");
}

LanguageBinding LoadLanguageBinding(const QString& programDir, CIni& ini, const QString& localeName)
{
    LanguageBinding binding;
    binding.file = programDir;
    if (!binding.file.isEmpty() && !binding.file.endsWith(u'/'))
        binding.file += u'/';
    binding.file += LanguageFileName(localeName);
    ini.SetFileName(binding.file);
    binding.language = ReadLanguageChoice(binding.file).left(kLanguageNameMax);
    return binding;
}

QString UserLanguageFile(const QString& languageFile)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/korvald-emmc/") + QFileInfo(languageFile).fileName();
}

QString ReadLanguageChoice(const QString& languageFile)
{
    const QString section = QStringLiteral("Default");
    const QString key = QStringLiteral("Language");
    CIni own;
    own.SetFileName(UserLanguageFile(languageFile));
    const QString chosen = own.ReadString(section, key);
    if (!chosen.isEmpty())
        return chosen;
    CIni beside;
    beside.SetFileName(languageFile);
    return beside.ReadString(section, key);
}

bool StoreLanguageChoice(const QString& languageFile, const QString& language)
{
    const QString path = UserLanguageFile(languageFile);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    CIni own;
    own.SetFileName(path);
    return own.WriteString(QStringLiteral("Default"), QStringLiteral("Language"), language);
}

LanguageBinding LoadLanguageBinding(const QString& programDir, CIni& ini)
{
    return LoadLanguageBinding(programDir, ini, SystemLocaleName());
}

}  // namespace kz
