#include "cli/core/ChipText.h"

#include <QJsonArray>

namespace kz::cli {

QString ChipRecordText(const QJsonObject& record)
{
    static const char* const kOrder[] = {"manufacturer", "manufacturerId", "card", "product", "revision", "serial",
                                         "date", "bootPartitionEnable", "ack", "bootMode", "busWidth"};
    QString text;
    for (const char* field : kOrder) {
        const QJsonValue value = record.value(QLatin1String(field));
        if (value.isString())
            text += QStringLiteral("%1: %2\n").arg(QLatin1String(field), value.toString());
    }
    for (const QJsonValue& partition : record.value(QLatin1String("partitions")).toArray()) {
        const QJsonObject p = partition.toObject();
        text += QStringLiteral("partition #%1: %2, %3 bytes\n")
                    .arg(p.value(QLatin1String("number")).toInt())
                    .arg(p.value(QLatin1String("name")).toString())
                    .arg(qint64(p.value(QLatin1String("bytes")).toDouble()));
    }
    return text;
}

}  // namespace kz::cli
