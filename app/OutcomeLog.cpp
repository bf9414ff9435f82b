#include "app/OutcomeLog.h"

#include "app/MainFrame.h"
#include "link/LogLine.h"
#include "ui/GuiThread.h"

namespace kz {

RecordedRows RecordNotes(OperatorRecord& record, std::vector<LogNote> notes, Durability durability)
{
    RecordedRows recorded;
    recorded.time = QDateTime::currentDateTime();
    std::vector<RecordEntry> entries;
    for (LogNote& note : notes) {
        RecordEntry entry;
        entry.time = recorded.time;
        entry.kind = RecordKind(note.style);
        entry.key = std::move(note.tag.key);
        entry.shown = note.text;
        entry.operation = std::move(note.tag.operation);
        entry.extra = std::move(note.tag.extra);
        entries.push_back(std::move(entry));
        recorded.rows.emplace_back(note.style, std::move(note.text));
    }
    recorded.recordFailure = record.Append(std::move(entries), durability);
    return recorded;
}

RecordedRows OutcomeLog::Record(std::vector<LogNote> notes) const
{
    // The box's words under a failure may tell that the box is gone: the
    // connection monitor hears them from the workers' commands too.
    QString boxWords;
    for (const LogNote& note : notes)
        if (note.style == LOG_TIP)
            boxWords += note.text;
    if (!boxWords.isEmpty())
        kz::ui::RunOnGui(m_main, [main = m_main, boxWords] { main->NoteAnswer(boxWords); });
    if (!m_record)
        return {};
    RecordedRows recorded;
    const auto write = [&] { recorded = RecordNotes(*m_record, std::move(notes), Durability::Synced); };
    // The disk may take a while to confirm; the windows paint meanwhile.
    if (!kz::ui::RunBlockingKeepingPaint(write))
        write();
    return recorded;
}

void OutcomeLog::Show(RecordedRows rows) const
{
    if (kz::ui::IsGuiThread()) {
        if (m_main)
            m_main->ShowRecordedRows(std::move(rows));
        return;
    }
    kz::ui::RunOnGui(m_main, [main = m_main, rows = std::move(rows)]() mutable {
        main->ShowRecordedRows(std::move(rows));
    });
}

void OutcomeLog::RecordOnly(std::vector<LogNote> notes) const
{
    RecordedRows recorded = Record(std::move(notes));
    recorded.rows.clear();
    if (!recorded.recordFailure.isEmpty())
        Show(std::move(recorded));
}

std::vector<LogNote> VerdictNotes(bool success, const QString& shown, const char* key, const QString& operation,
                                  const QString& boxWords)
{
    std::vector<LogNote> notes{{success ? LOG_SUCCESS : LOG_FAILURE, shown, {QString::fromUtf8(key), operation}}};
    if (!success)
        notes.push_back({LOG_TIP, boxWords, {{}, operation}});
    return notes;
}

}  // namespace kz
