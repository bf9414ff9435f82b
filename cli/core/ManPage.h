#pragma once
// The manual page (roff, section 1), written from the command table that
// also gives --help its text.

#include <QString>

namespace kz::cli {

QString ManPage(const QString& version);

// Text as roff reads it literally: backslashes, hyphens, and a line that
// would start with a control character.
QString RoffEscape(const QString& text);

}  // namespace kz::cli
