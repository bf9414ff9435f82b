// The operation log of the main window.
#include "app/MainFrame.h"

#include <QDateTime>
#include <QListView>

#include "ui/CallbackListModel.h"
#include "ui/GuiThread.h"

int CMainFrame::WriteLog(int style, QString text)
{
    // The time is the time of the call, not of the row's arrival on the GUI
    // thread.  A row written on the GUI thread while workers' rows are still
    // on their way waits behind them, so rows keep the order of the calls.
    const QString line = kz::ComposeLogLine(style, text, QDateTime::currentDateTime());
    if (kz::ui::IsGuiThread() && m_pendingLogWrites.load() == 0) {
        AppendLogRow(line);
        return 0;
    }
    ++m_pendingLogWrites;
    kz::ui::RunOnGui(this, [this, line] {
        --m_pendingLogWrites;
        AppendLogRow(line);
    });
    return 0;
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

QString CMainFrame::GetItemText(int row, int column)
{
    return m_logLines.ItemText(row, column);
}

void CMainFrame::LogEntry(int style, const QString& text)
{
    m_strLogText = text;
    WriteLog(style, m_strLogText);
    m_strLogText.clear();
}
