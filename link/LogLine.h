#pragma once
// Composition of one operation-log row: icon, colour, text and (for success and
// failure) the local time.  The row is rich-text mark-up drawn by the log list.

#include <QDateTime>
#include <QString>

namespace kz {

enum LogStyle { LOG_SUCCESS = 0, LOG_FAILURE = 1, LOG_TIP = 2 };

// "[YYYY-MM-DD hh:mm:ss]"
QString FormatLogTime(const QDateTime& time);

// The whole row for `style`; an unknown style gives the empty line.  The text
// is inserted as it is: mark-up in it is drawn, not escaped.
QString ComposeLogLine(int style, const QString& text, const QDateTime& time);

}  // namespace kz
