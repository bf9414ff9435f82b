#include "link/ChipRecord.h"

#include <QJsonArray>
#include <QRegularExpression>

#include "link/ChipInfo.h"

namespace kz {

namespace {

struct Field {
    const char* label;  // the line's label, before its colon
    const char* name;   // the record's field
};

// Labels whose value is the rest of the line.
constexpr Field kPlainFields[] = {
    {"Manufacturer ID", "manufacturerId"},
    {"Card/BGA", "card"},
    {"Product name", "product"},
    {"Product revision", "revision"},
    {"Serial number", "serial"},
    {"Product serial number", "serial"},
    {"Manufacturing date", "date"},
};

// Labels whose value is the decoding after the register: "... ==> On".
constexpr Field kDecodedFields[] = {
    {"Boot Partition Enable", "bootPartitionEnable"},
    {"ACK", "ack"},
    {"Boot mode", "bootMode"},
    {"Bus width", "busWidth"},
};

// "Partition #4 (USER): 7456 MB (7818182656 Bytes)"
const QRegularExpression kPartition(QStringLiteral(R"(^Partition #(\d+) \((.*)\): .*\((\d+) Bytes\)$)"));

QJsonObject PartitionOf(const QRegularExpressionMatch& match)
{
    return {{QStringLiteral("number"), match.captured(1).toInt()},
            {QStringLiteral("name"), match.captured(2)},
            {QStringLiteral("bytes"), match.captured(3).toLongLong()}};
}

// The field a "Label: value" line fills, if any.
void TakeField(QJsonObject& record, const QString& label, const QString& value)
{
    for (const Field& field : kPlainFields) {
        if (label == QLatin1String(field.label) && !value.isEmpty())
            record.insert(QLatin1String(field.name), value);
    }
    const qsizetype arrow = value.indexOf(QStringLiteral("==>"));
    for (const Field& field : kDecodedFields) {
        if (label == QLatin1String(field.label) && arrow >= 0)
            record.insert(QLatin1String(field.name), value.mid(arrow + 3).trimmed());
    }
}

}  // namespace

QJsonObject ChipRecordOf(const QString& report)
{
    QJsonObject record;
    QJsonArray partitions;
    for (const QString& raw : report.split(u'\n')) {
        const QString line = raw.trimmed();  // the box ends its lines in CR CR LF
        const QRegularExpressionMatch partition = kPartition.match(line);
        if (partition.hasMatch()) {
            partitions.append(PartitionOf(partition));
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0)
            TakeField(record, line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    if (!partitions.isEmpty())
        record.insert(QStringLiteral("partitions"), partitions);
    const QJsonValue id = record.value(QStringLiteral("manufacturerId"));
    if (!id.isUndefined())
        record.insert(QStringLiteral("manufacturer"), ManufacturerName(id.toString()));
    return record;
}

}  // namespace kz
