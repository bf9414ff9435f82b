#include "files/CopySink.h"

#include "app/MainFrame.h"
#include "app/core/LogLine.h"
#include "app/core/Texts.h"
#include "files/FileManager.h"
#include "files/core/FileTexts.h"
#include "platform/MessageBox.h"
#include "transfer/core/RateText.h"
#include "transfer/core/TransferTexts.h"
#include "ui/GuiThread.h"

namespace ft = kz::files::text;

CCopySink::CCopySink(CFileManager* dialog, CMainFrame* main, std::shared_ptr<CAdbHelper> server, quint64 sourceBytes)
    : m_dialog(dialog), m_window(dialog->GetHWND()), m_main(main), m_lang(dialog->Lang()), m_server(std::move(server)),
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

// The log lines are written after the box is answered, the failure line
// (with the copy's facts for the record) before the tip that carries the
// box's own words.
void CCopySink::Report(const kz::files::CopyReport& report)
{
    const char* key = report.success ? ft::CopyOk : ft::CopyFailed;
    const QString text = m_lang.Text(key);
    // Before the box, so the bar never says "Verifying" beside the verdict.
    kz::ui::RunOnGuiBlocking(m_dialog, [d = m_dialog, text] { d->ShowCopyVerdict(text); });
    kz::ShowMessageBox(kz::MessageRequest{m_window, text, m_lang.Text(kz::text::Prompt)});
    const QString operation = QStringLiteral("copy");
    WriteLogFromWorker(m_main, report.success ? kz::LOG_SUCCESS : kz::LOG_FAILURE, text,
                       {QString::fromUtf8(key), operation, kz::files::CopyFactsJson(report.facts)});
    if (!report.success)
        WriteLogFromWorker(m_main, kz::LOG_TIP, report.told, {{}, operation});
    if (report.facts.verify == QLatin1String("size"))
        WriteLogFromWorker(m_main, kz::LOG_TIP, m_lang.Text(ft::CheckedBySizeOnly),
                           {QString::fromUtf8(ft::CheckedBySizeOnly), operation});
}

void CCopySink::ProgressCleared()
{
    kz::ui::RunOnGui(m_dialog, [d = m_dialog] { d->SetCopyProgress(0, QStringLiteral(" ")); });
}
