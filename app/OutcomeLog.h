#pragma once
// An operation's outcome goes to the operator's record the moment its verdict
// is known, on the disk before any message box about it: an operator who
// walks away from the box, a crash or a power cut must not cost the record a
// verified copy.  The log's rows may follow later, after the box, where the
// flow shows them so.

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

#include "link/OperatorRecord.h"

class CMainFrame;

namespace kz {

// One entry as a flow writes it.
struct LogNote {
    int style = 0;
    QString text;
    LogTag tag = {};
};

// Entries already in the record, waiting to be shown as the log's rows.
struct RecordedRows {
    QDateTime time;
    std::vector<std::pair<int, QString>> rows;  // style and text as shown
    QString recordFailure;  // the record could not be written: said once in the log
};

// Appends the notes to `record` as entries of the time of the call.
RecordedRows RecordNotes(OperatorRecord& record, std::vector<LogNote> notes, Durability durability);

// Copied freely, to workers too: a worker that outlives the main window still
// records, and its rows are dropped.
class OutcomeLog {
public:
    OutcomeLog() = default;  // no main window: records and shows nothing
    OutcomeLog(std::shared_ptr<OperatorRecord> record, QPointer<CMainFrame> main)
        : m_record(std::move(record)), m_main(std::move(main))
    {
    }

    // Writes the entries to the record now: on the disk when this returns.
    // Any thread; on the GUI thread the windows keep painting meanwhile.
    RecordedRows Record(std::vector<LogNote> notes) const;
    // Shows the rows in the main window's log, in call order.  Any thread.
    void Show(RecordedRows rows) const;
    // An outcome told by message boxes only: recorded, with no row to follow.
    void RecordOnly(std::vector<LogNote> notes) const;

private:
    std::shared_ptr<OperatorRecord> m_record;
    QPointer<CMainFrame> m_main;
};

// The verdict's entry (`shown` as the operator sees it, `key` its English
// text) and, on failure, the box's words as a tip under it.  The operation's
// facts go into the first entry's tag.
std::vector<LogNote> VerdictNotes(bool success, const QString& shown, const char* key, const QString& operation,
                                  const QString& boxWords = {});

}  // namespace kz
