#include "link/LogLine.h"

namespace kz {

QString FormatLogTime(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return QString::asprintf("[%4d-%.2d-%.2d %.2d:%.2d:%.2d]", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

QString ComposeLogLine(int style, const QString& text, const QDateTime& time)
{
    switch (style) {
    case LOG_SUCCESS:
        return QStringLiteral("<i log_successful.png>") + QStringLiteral("<f 2><c #00CD00> ") + text +
               QStringLiteral("<c #6A5ACD> ") + FormatLogTime(time) + QStringLiteral("</c> ") +
               QStringLiteral("</f></c>");
    case LOG_FAILURE:
        return QStringLiteral("<i log_failed.png>") + QStringLiteral("<f 2><c #FF0000> ") + text +
               QStringLiteral("<c #6A5ACD> ") + FormatLogTime(time) + QStringLiteral("</c></f>") +
               QStringLiteral("</c> ");
    case LOG_TIP:
        return QStringLiteral("<i log_tips.png>") + QStringLiteral("<f 2><c #0000FF> ") + text +
               QStringLiteral("</c></f>");
    default:
        return QString();
    }
}

}  // namespace kz
