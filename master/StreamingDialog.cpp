#include "master/StreamingDialog.h"

#include <QAbstractButton>

#include "app/MainFrame.h"
#include "master/core/MasterTexts.h"
#include "master/core/StreamingCommand.h"
#include "platform/MessageBox.h"
#include "ui/GuiThread.h"

using kz::master::StreamingCommand;
namespace text = kz::master::text;

CStreamingDialog::CStreamingDialog(CMainFrame* owner) : m_owner(owner) {}

void CStreamingDialog::RecordOutcome(const QString& operation, bool ok, const char* key, const QString& output) const
{
    // The tool's last words say why it failed; a whole run's output is the
    // dialog's to show, not the record's to keep.
    constexpr qsizetype kTipChars = 1000;
    if (m_owner)
        m_owner->Outcomes().RecordOnly(kz::VerdictNotes(ok, Text(key), key, operation, output.right(kTipChars).trimmed()));
}

CStreamingDialog::~CStreamingDialog()
{
    StopStreaming();
}

QString CStreamingDialog::Text(const char* key) const
{
    return m_owner ? m_owner->Text(key) : QString::fromUtf8(key);
}

void CStreamingDialog::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else if (kz::ui::NotifyIs(msg, kz::ui::kNotifyClick, QStringLiteral("closebtn")))
        OnClose();
    else if (kz::ui::NotifyIs(msg, kz::ui::kNotifyClick, QStringLiteral("btn_ok")))
        Close(kz::ui::kResultOk);
    else
        WindowImplBase::Notify(msg);  // "minbtn"
}

void CStreamingDialog::OnFinalMessage()
{
    StopStreaming();
}

void CStreamingDialog::StopStreaming()
{
    if (m_run)
        m_run->Stop();
}

void CStreamingDialog::OnWindowInit()
{
    m_ok = FindControl<QAbstractButton>(QStringLiteral("btn_ok"));
    kz::ui::SetControlText(FindControl(QStringLiteral("text_title")), Text(Plan().titleKey));
    kz::ui::SetControlText(m_ok, Text(text::Ok));
    InitControls();
    StartCommand();
}

void CStreamingDialog::StartCommand()
{
    const RunPlan plan = Plan();
    kz::ui::SetControlText(m_ok, Text(plan.busyKey));
    m_done = false;
    if (m_ok)
        m_ok->setEnabled(false);
    // The reader may outlive this dialog: it reaches it only through a
    // guarded pointer on the GUI thread.
    QPointer<CStreamingDialog> self(this);
    StreamingCommand::Callbacks callbacks;
    callbacks.piece = [self](const QString& piece) {
        kz::ui::RunOnGui(self, [self, piece] { self->OnPiece(piece); });
    };
    callbacks.finished = [self] { kz::ui::RunOnGui(self, [self] { self->EndRun(); }); };
    m_run = StreamingCommand::Start(QString::fromUtf8(plan.command), plan.chunkBytes, std::move(callbacks));
}

void CStreamingDialog::EndRun()
{
    if (IsClosed())
        return;
    OnFinished();
    if (m_ok)
        m_ok->setEnabled(true);
    m_done = true;
    m_finished = true;
}

void CStreamingDialog::OnClose()
{
    if (!m_done) {
        const kz::MsgAnswer answer =
            kz::ShowMessageBox(GetHWND(), QString::fromUtf8(text::StopQuestion), QString::fromUtf8(text::StopCaption),
                               kz::MsgButtons::YesNo, kz::MsgIcon::Question);
        if (answer != kz::MsgAnswer::Yes)
            return;
    }
    Close(kz::ui::kResultOk);
}
