#include "files/CopySink.h"

#include "app/MainFrame.h"
#include "link/LogLine.h"
#include "link/Texts.h"
#include "files/FileManager.h"
#include "files/core/FileTexts.h"
#include "platform/MessageBox.h"
#include "transfer/core/RateText.h"
#include "transfer/core/TransferTexts.h"
#include "ui/GuiThread.h"

namespace ft = kz::files::text;

CCopySink::CCopySink(CFileManager* dialog, CMainFrame* main, std::shared_ptr<CAdbHelper> server, quint64 sourceBytes)
    : m_dialog(dialog),
      m_window(dialog->GetHWND()),
      m_log(main ? main->Outcomes() : kz::OutcomeLog()),
      m_lang(dialog->Lang()),
      m_server(std::move(server)),
      m_sourceBytes(sourceBytes)
{
}

void CCopySink::CopyStarted()
{
    m_started.start();
    kz::ui::RunOnGui(m_dialog, [d = m_dialog] { d->ShowCopyRunning(true); });
}

void CCopySink::Progress(int percent)
{
    const kz::transfer::Rate rate =
        kz::transfer::MeasureRate(m_sourceBytes * quint64(percent) / 100, m_sourceBytes, m_started.elapsed());
    const QString text = kz::transfer::PercentWithRate(percent, rate, m_lang.Text(kz::transfer::text::TimeLeft));
    kz::ui::RunOnGui(m_dialog, [d = m_dialog, percent, text] { d->SetCopyProgress(percent, text); });
}

void CCopySink::Verifying()
{
    kz::ui::RunOnGui(m_dialog, [d = m_dialog, text = m_lang.Text(ft::Verifying)] { d->SetCopyProgress(100, text); });
}

void CCopySink::CopyEnded()
{
    kz::ui::RunOnGui(m_dialog, [d = m_dialog] { d->ShowCopyRunning(false); });
}

// The outcome is in the record before the box shows; the log's rows follow
// once the box is answered, the failure row (with the copy's facts for the
// record) before the tip that carries the box's own words, and a proof by
// size alone says so.
void CCopySink::Report(const kz::files::CopyReport& report)
{
    const char* key = report.success ? ft::CopyOk : ft::CopyFailed;
    const QString text = m_lang.Text(key);
    const QString operation = QStringLiteral("copy");
    std::vector<kz::LogNote> notes = kz::VerdictNotes(report.success, text, key, operation, report.told);
    notes.front().tag.extra = kz::files::CopyFactsJson(report.facts);
    if (report.facts.verify == QLatin1String("size"))
        notes.push_back({kz::LOG_TIP, m_lang.Text(ft::CheckedBySizeOnly),
                         {QString::fromUtf8(ft::CheckedBySizeOnly), operation}});
    kz::RecordedRows rows = m_log.Record(std::move(notes));
    // Before the box, so the bar never says "Verifying" beside the verdict.
    kz::ui::RunOnGuiBlocking(m_dialog, [d = m_dialog, text] { d->ShowCopyVerdict(text); });
    kz::ShowMessageBox(kz::MessageRequest{m_window, text, m_lang.Text(kz::text::Prompt)});
    m_log.Show(std::move(rows));
}

void CCopySink::ProgressCleared()
{
    kz::ui::RunOnGui(m_dialog, [d = m_dialog] { d->SetCopyProgress(0, QStringLiteral(" ")); });
}
