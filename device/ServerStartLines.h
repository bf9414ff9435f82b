#pragma once
// The adb client prints lines of its own when it has to start the server first
// ("* daemon not running ...", "* daemon started successfully *").  They are
// not the box's answer: commands whose success is an empty answer are judged
// on what remains after removing them.

#include <QString>

namespace kz {

// `output` without the server-start lines (each removed with its line end).
QString StripServerStartLines(const QString& output);

// True when nothing but the server-start lines and line ends was printed.
bool IsEmptyAnswer(const QString& output);

}  // namespace kz
