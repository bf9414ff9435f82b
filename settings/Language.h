#pragma once
// Which language file the program reads, and which of its sections.

#include <QString>

class CIni;

namespace kz {

inline constexpr int kLanguageNameMax = 255;

// The language file for a locale name such as "zh_TW.UTF-8": traditional
// Chinese for Taiwan, English for the United States, Britain and the C/POSIX
// locale, simplified Chinese for everything else.
QString LanguageFileName(const QString& localeName);

struct LanguageBinding {
    QString file;      // full path of the language file
    QString language;  // section in use, from [Default] Language (at most 255 characters)
};

// Binds `ini` to the language file in `programDir` chosen from `localeName`
// and reads the language in use (ReadLanguageChoice).  A missing file or
// setting gives an empty language name.
LanguageBinding LoadLanguageBinding(const QString& programDir, CIni& ini, const QString& localeName);

// The same with the operator's locale.
LanguageBinding LoadLanguageBinding(const QString& programDir, CIni& ini);

// The operator's own choice of language is kept in his configuration folder
// ($XDG_CONFIG_HOME/korvald-emmc/, by default ~/.config/korvald-emmc/), in a
// file named like the language file it applies to.  The language files
// beside the program are only read: an installed copy's folder is not the
// operator's to write, and other users share it.
QString UserLanguageFile(const QString& languageFile);

// [Default] Language of the operator's file, else of `languageFile` itself.
QString ReadLanguageChoice(const QString& languageFile);

// Stores the choice in the operator's file (creating its folder); false
// when it cannot be written.
bool StoreLanguageChoice(const QString& languageFile, const QString& language);

}  // namespace kz
