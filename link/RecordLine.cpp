#include "link/RecordLine.h"

#include "link/LogLine.h"

#include <QJsonDocument>

namespace kz {

QString RecordKind(int logStyle)
{
    switch (logStyle) {
    case LOG_SUCCESS:
        return QStringLiteral("success");
    case LOG_FAILURE:
        return QStringLiteral("failure");
    case LOG_TIP:
        return QStringLiteral("tip");
    default:
        return QStringLiteral("info");
    }
}

QString RecordFileName(const QDate& day)
{
    return day.toString(u"yyyy-MM-dd") + QStringLiteral(".jsonl");
}

QByteArray RecordLine(const RecordEntry& entry)
{
    QJsonObject object;
    object.insert(u"time", entry.time.toOffsetFromUtc(entry.time.offsetFromUtc()).toString(Qt::ISODateWithMs));
    object.insert(u"kind", entry.kind);
    const auto put = [&object](QStringView name, const QString& value) {
        if (!value.isEmpty())
            object.insert(name, value);
    };
    put(u"key", entry.key);
    put(u"text", entry.shown);
    put(u"operation", entry.operation);
    put(u"serial", entry.serial);
    if (!entry.chip.isEmpty())
        object.insert(u"chip", entry.chip);
    for (auto it = entry.extra.begin(); it != entry.extra.end(); ++it)
        object.insert(it.key(), it.value());
    // Compact JSON escapes control characters, so the line feed added here is
    // the line's only one.
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace kz
