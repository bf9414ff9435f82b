#include "link/OperatorRecord.h"

#include <QStandardPaths>


namespace kz {

QString DefaultRecordFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/korvald-emmc/log");
}

QString OperatorRecord::SetChip(const QJsonObject& chip, const QDateTime& time)
{
    const std::lock_guard lock(m_mutex);
    m_chip = chip;
    if (chip.isEmpty())
        return {};
    RecordEntry entry;
    entry.time = time;
    entry.kind = QStringLiteral("chip");
    return AppendLocked({std::move(entry)}, Durability::Cached);
}

void OperatorRecord::SetSerial(const QString& serial)
{
    const std::lock_guard lock(m_mutex);
    m_serial = serial;
}

void OperatorRecord::ForgetBox()
{
    const std::lock_guard lock(m_mutex);
    m_serial.clear();
    m_chip = {};
}

QString OperatorRecord::Append(RecordEntry entry, Durability durability)
{
    return Append(std::vector<RecordEntry>{std::move(entry)}, durability);
}

QString OperatorRecord::Append(std::vector<RecordEntry> entries, Durability durability)
{
    const std::lock_guard lock(m_mutex);
    return AppendLocked(std::move(entries), durability);
}

QString OperatorRecord::AppendLocked(std::vector<RecordEntry> entries, Durability durability)
{
    if (entries.empty())
        return {};
    QByteArray lines;
    for (RecordEntry& entry : entries) {
        entry.serial = m_serial;
        entry.chip = m_chip;
        lines += RecordLine(entry);
    }
    const QString path = m_folder + u'/' + RecordFileName(entries.front().time.date());
    QString reason;
    if (AppendWholeLine(path, lines, reason, durability) || m_failureTold)
        return {};
    m_failureTold = true;
    return path + QStringLiteral(": ") + reason;
}

}  // namespace kz
