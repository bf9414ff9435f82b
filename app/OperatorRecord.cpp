#include "app/OperatorRecord.h"

#include <QStandardPaths>

#include "platform/AppendFile.h"

namespace kz {

QString DefaultRecordFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/korvald-emmc/log");
}

QString OperatorRecord::SetChip(const QJsonObject& chip, const QDateTime& time)
{
    m_chip = chip;
    if (chip.isEmpty())
        return {};
    RecordEntry entry;
    entry.time = time;
    entry.kind = QStringLiteral("chip");
    return Append(std::move(entry));
}

void OperatorRecord::ForgetBox()
{
    m_serial.clear();
    m_chip = {};
}

QString OperatorRecord::Append(RecordEntry entry)
{
    entry.serial = m_serial;
    entry.chip = m_chip;
    const QString path = m_folder + u'/' + RecordFileName(entry.time.date());
    QString reason;
    if (AppendWholeLine(path, RecordLine(entry), reason) || m_failureTold)
        return {};
    m_failureTold = true;
    return path + QStringLiteral(": ") + reason;
}

}  // namespace kz
