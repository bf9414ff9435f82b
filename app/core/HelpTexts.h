#pragma once
// The help panel of the main window: twelve lines and a background picture, in
// English or Chinese depending on the language in use.

#include <QString>
#include <array>

namespace kz {

struct HelpTextSet {
    int font = 0;
    QString image;  // file name in the skin folder
    // Texts of "text_info1" .. "text_info12"; a null text leaves that label as
    // the skin drew it.
    std::array<QString, 12> lines;
};

// The English set for any language name that contains "English", else Chinese.
HelpTextSet HelpTextsFor(const QString& language);

// Full path of the panel's picture for `language`.
QString HelpImagePath(const QString& programDirectory, const QString& language);

}  // namespace kz
