#pragma once
// The operator's record on disk: every entry of the main window's log, and
// every operation's outcome, is a line of the day's file, tagged with the box
// and the chip in force.  Callable from any thread: a worker records its
// outcome itself, the moment it knows it.  An entry costs one small append.

#include <QJsonObject>
#include <QString>
#include <mutex>
#include <vector>

#include "link/RecordLine.h"
#include "platform/AppendFile.h"

namespace kz {

// What a log entry's caller knows beside the text it shows.
struct LogTag {
    QString key;        // the English text; empty for the box's own words
    QString operation;  // what the entry belongs to; empty when none
    QJsonObject extra = {};  // the operation's checksums, sizes and durations
};

// "$XDG_DATA_HOME/korvald-emmc/log" ("~/.local/share/..." when unset).
QString DefaultRecordFolder();

class OperatorRecord {
public:
    explicit OperatorRecord(QString folder) : m_folder(std::move(folder)) {}

    const QString& Folder() const { return m_folder; }

    // The box in use; empty when none is.
    void SetSerial(const QString& serial);
    // The chip read last: written as a line of its own, then carried by
    // every later entry until another chip is read or the box is gone.  An
    // empty record (a report the decoder found nothing in) only ends the
    // last chip's.  Gives the failure to tell, as Append does.
    QString SetChip(const QJsonObject& chip, const QDateTime& time);
    // The box is gone: neither its serial nor its chip tags entries any more.
    void ForgetBox();

    // Appends the entry with the box's serial and chip.  The failure's
    // reason (the file and the system's words) is returned the first time
    // only: the operator hears of a file that cannot be written once, and
    // the program goes on without it.
    QString Append(RecordEntry entry, Durability durability = Durability::Cached);
    // An outcome's entries (its verdict and the box's words), whole or not at
    // all, all of the time of the first.
    QString Append(std::vector<RecordEntry> entries, Durability durability);

private:
    QString AppendLocked(std::vector<RecordEntry> entries, Durability durability);

    std::mutex m_mutex;
    QString m_folder;
    QString m_serial;
    QJsonObject m_chip;
    bool m_failureTold = false;
};

}  // namespace kz
