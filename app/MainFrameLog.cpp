// The operation log of the main window and its record on disk.
#include "app/MainFrame.h"

#include <QDateTime>
#include <QDir>
#include <QListView>
#include <QUrl>

#include "link/ChipRecord.h"
#include "link/Texts.h"
#include "platform/OpenUrl.h"
#include "ui/CallbackListModel.h"
#include "ui/GuiThread.h"

int CMainFrame::WriteLog(int style, QString text, kz::LogTag tag)
{
    // The time is the time of the call, not of the row's arrival on the GUI
    // thread.
    ShowRecordedRows(kz::RecordNotes(m_record, {{style, std::move(text), std::move(tag)}}, kz::Durability::Cached));
    return 0;
}

void CMainFrame::ShowRecordedRows(kz::RecordedRows rows)
{
    // A row shown on the GUI thread while rows of the same window are still
    // on their way waits behind them, so rows keep the order of the calls.
    if (kz::ui::IsGuiThread() && m_pendingLogWrites.load() == 0) {
        AppendRecordedRows(rows);
        return;
    }
    ++m_pendingLogWrites;
    kz::ui::RunOnGui(this, [this, rows = std::move(rows)] {
        --m_pendingLogWrites;
        AppendRecordedRows(rows);
    });
}

void CMainFrame::AppendRecordedRows(const kz::RecordedRows& rows)
{
    for (const auto& [style, text] : rows.rows)
        AppendLogRow(kz::ComposeLogLine(style, text, rows.time));
    TellRecordFailure(rows.recordFailure, rows.time);
}

void CMainFrame::AppendLogRow(const QString& line)
{
    m_logLines.Append(line);
    if (!m_logModel || !m_listLog)
        return;
    // The list paints the new row (and only it) itself.
    m_logModel->AppendRow();
    kz::ui::ScrollToNewest(m_listLog);
}

void CMainFrame::RecordChip(const QString& report)
{
    const QDateTime now = QDateTime::currentDateTime();
    TellRecordFailure(m_record.SetChip(kz::ChipRecordOf(report), now), now);
}

void CMainFrame::TellRecordFailure(const QString& failure, const QDateTime& time)
{
    if (failure.isEmpty())
        return;
    // Said in the log only: the record cannot hold its own failure.
    AppendLogRow(kz::ComposeLogLine(kz::LOG_FAILURE, Text(kz::text::RecordUnwritable), time));
    AppendLogRow(kz::ComposeLogLine(kz::LOG_TIP, failure, time));
}

void CMainFrame::OpenRecordFolder()
{
    // A first run has written nothing yet; the file manager is shown the
    // (empty) folder rather than an error of its own.
    QDir().mkpath(m_record.Folder());
    kz::OpenUrl(QUrl::fromLocalFile(m_record.Folder()).toString());  // the file manager reports its own failures
}

QString CMainFrame::GetItemText(int row, int column)
{
    return m_logLines.ItemText(row, column);
}

void CMainFrame::LogEntry(int style, const QString& text, const kz::LogTag& tag)
{
    m_strLogText = text;
    WriteLog(style, m_strLogText, tag);
    m_strLogText.clear();
}

void CMainFrame::LogKey(int style, const char* key, const QString& operation)
{
    LogEntry(style, Text(key), {QString::fromUtf8(key), operation});
}
