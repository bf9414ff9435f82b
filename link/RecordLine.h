#pragma once
// The operator's record: every log entry, chip record and checksum also goes
// to a file as one JSON object per line (JSON Lines), so that a day's work can
// be read back by tools.  A line never holds a line break of its own: every
// text in it is escaped, so one line is always one whole record.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace kz {

// "success", "failure", "tip" for the log styles; "info" for anything else.
QString RecordKind(int logStyle);

struct RecordEntry {
    QDateTime time;
    QString kind;       // RecordKind(), or "chip" for a chip record
    QString key;        // the English text (the language files' key)
    QString shown;      // the text as the log showed it
    QString operation;  // e.g. "copy", "reboot", "read-boot1"; empty when none
    QString serial;     // the box's serial; empty when none is known
    QJsonObject chip;   // the chip record in force; empty when none
    QJsonObject extra;  // checksums, sizes, durations of the operation
};

// The file of a day: "YYYY-MM-DD.jsonl".
QString RecordFileName(const QDate& day);

// The entry as one compact JSON object and a line feed.  The time is ISO 8601
// with the zone offset; empty fields are left out.
QByteArray RecordLine(const RecordEntry& entry);

}  // namespace kz
