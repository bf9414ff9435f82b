#include "update/UpdateDlg.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <system_error>
#include <thread>

#include "app/MainFrame.h"
#include "link/DeviceActions.h"
#include "platform/CommandLine.h"
#include "platform/MessageBox.h"
#include "transfer/HostFiles.h"
#include "transfer/core/RateText.h"
#include "transfer/core/TransferTexts.h"
#include "ui/GuiThread.h"
#include "update/core/UpdateRunner.h"
#include "update/core/UpdatePassword.h"
#include "update/core/UpdateSource.h"

namespace {

const char kTitle[] = "System File Update";
const char kUpdate[] = "Update";
const char kPassWord[] = "PassWord";
const char kPrompt[] = "Prompt";
const char kWrongPassword[] = "Wrong password, please enter again!";
const char kUpdateOk[] = "Update successfully, it will restart soon!";
const char kUpdateFailed[] = "Update failed!";
const char kNoFile[] = "No file!";

}  // namespace

CUpdate::CUpdate(CMainFrame* owner, kz::ui::ThreadStarter start)
    : m_start(std::move(start)), m_strLanguage(owner ? owner->m_strLanguage : QString()), m_owner(owner)
{
}

CUpdate::~CUpdate() = default;

QString CUpdate::Text(const char* key) const
{
    return m_owner ? m_owner->m_ini.Text(m_strLanguage, QString::fromUtf8(key)) : QString();
}

void CUpdate::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else if (kz::ui::NotifyIs(msg, kz::ui::kNotifyClick, QStringLiteral("closebtn")))
        OnCloseClicked();
    else if (kz::ui::NotifyIs(msg, kz::ui::kNotifyClick, QStringLiteral("btn_update")))
        OnUpdateClicked();
}

qintptr CUpdate::HandleCustomMessage(uint msg, qintptr wParam, qintptr, bool& handled)
{
    // The progress is shown and the message still left to the default.
    if (msg == WM_UPDATE_PROGRESS && m_progress)
        m_progress->setValue(int(wParam) * 10);
    handled = false;
    return 0;
}

void CUpdate::OnFinalMessage()
{
    if (m_workerAlive)
        m_releaseWhenDone = true;
    else
        delete this;
}

void CUpdate::OnWindowInit()
{
    m_textCaption = FindControl(QStringLiteral("text_caption"));
    m_textPassword = FindControl(QStringLiteral("text_password"));
    m_btnUpdate = FindControl(QStringLiteral("btn_update"));
    m_editPassword = FindControl(QStringLiteral("edit_password"));
    m_progress = FindControl<QProgressBar>(QStringLiteral("progress_update"));
    kz::ui::SetControlText(m_textCaption, Text(kTitle));
    kz::ui::SetControlText(m_btnUpdate, Text(kUpdate));
    kz::ui::SetControlText(m_textPassword, Text(kPassWord));
}

void CUpdate::OnCloseClicked()
{
    if (!IsRunning()) {
        Close(kz::ui::kResultOk);
        return;
    }
    const kz::MsgAnswer answer = kz::ShowMessageBox(GetHWND(), QStringLiteral("Are you sure to stop ？！"),
                                                    QStringLiteral("Warnning"), kz::MsgButtons::YesNo);
    if (answer == kz::MsgAnswer::Yes)
        Close(kz::ui::kResultOk);
}

void CUpdate::OnUpdateClicked()
{
    if (m_workerAlive)
        return;
    if (!kz::IsUpdatePassword(kz::ui::GetControlText(m_editPassword))) {
        kz::ShowMessageBox(GetHWND(), Text(kWrongPassword), Text(kPrompt));
        return;
    }
    if (!SourceFilesPresent())
        return;
    if (m_progress)
        m_progress->setVisible(true);
    if (m_btnUpdate)
        m_btnUpdate->setEnabled(false);
    StartWorker();
}

// Checked before anything is sent: the update first empties /data/bin on
// the box, so a file found missing half-way would leave the box without its
// support programs.
bool CUpdate::SourceFilesPresent()
{
    const QStringList missing = kz::MissingUpdateFiles(kz::UpdateSourceFolder());
    if (missing.isEmpty())
        return true;
    const QString text = Text(kUpdateFailed) + QStringLiteral("\n\n") + Text(kNoFile) + u'\n' + missing.join(u'\n');
    RecordOutcome(Texts(), false, Text(kNoFile) + u'\n' + missing.join(u'\n'));
    kz::ShowMessageBox(GetHWND(), text, Text(kPrompt));
    return false;
}

void CUpdate::StartWorker()
{
    m_workerAlive = true;
    m_running = 1;  // before the worker runs, so a close right now asks first
    const WorkerTexts texts = Texts();
    const QPointer<QWidget> window = GetHWND();
    try {
        kz::ui::StartThread(m_start, [this, texts, window] { RunWorker(texts, window); }).detach();
    } catch (const std::system_error&) {
        // Nothing was sent: the operator is told, and may try again.
        RecordOutcome(texts, false);
        kz::ShowMessageBox(GetHWND(), texts.failure, texts.caption);
        OnWorkerFailed();
    }
}

// Worker thread.  The dialog object stays alive until OnWorkerEnded has run,
// so `this` may be used as the context of the calls handed to the GUI.
void CUpdate::RunWorker(const WorkerTexts& texts, const QPointer<QWidget>& window)
{
    // The pushes' bytes give the bar its speed and time left.
    const QString folder = kz::UpdateSourceFolder();
    quint64 total = 0;
    quint64 pushed = 0;
    for (const QString& name : kz::UpdateFileNames())
        total += kz::transfer::RegularFileSize(folder + name).value_or(0);
    QElapsedTimer started;
    started.start();
    const auto run = [&](const QString& command) {
        const kz::ClientAnswer answer = kz::RunAdbClient(command);
        for (const QString& name : kz::UpdateFileNames())
            if (command.startsWith(QLatin1String("push ")) && command.contains(kz::QuoteWindowsArgument(folder + name)))
                pushed += kz::transfer::RegularFileSize(folder + name).value_or(0);
        return answer;
    };
    const QString timeLeft = Text(kz::transfer::text::TimeLeft);
    const auto progress = [&, bar = QPointer<QProgressBar>(m_progress)](int step) {
        PostMessage(WM_UPDATE_PROGRESS, step);
        const QString text =
            kz::transfer::PercentWithRate(step * 10, kz::transfer::MeasureRate(pushed, total, started.elapsed()), timeLeft);
        kz::ui::RunOnGui(bar, [bar, text] { bar->setFormat(text); });
    };
    const kz::UpdateOutcome outcome =
        kz::RunUpdateSteps(kz::BuildUpdateSequence(kz::UpdateSourceFolder()), run, progress);
    RecordOutcome(texts, outcome.passed, outcome.failedOutput);
    if (!outcome.passed) {
        kz::ShowMessageBox(window.data(), texts.failure, texts.caption);
        kz::ui::RunOnGui(this, [this] { OnWorkerFailed(); });
        return;
    }
    m_running = 0;
    kz::ShowMessageBox(window.data(), texts.success, texts.caption);
    run(QString::fromUtf8(kz::kRebootCommand));
    kz::ui::RunOnGui(this, [this] {
        Close(kz::ui::kResultOk);
        OnWorkerEnded();
    });
}

CUpdate::WorkerTexts CUpdate::Texts() const
{
    return {Text(kUpdateOk), Text(kUpdateFailed), Text(kPrompt), m_owner ? m_owner->Outcomes() : kz::OutcomeLog()};
}

void CUpdate::RecordOutcome(const WorkerTexts& texts, bool ok, const QString& words)
{
    texts.log.RecordOnly(kz::VerdictNotes(ok, ok ? texts.success : texts.failure, ok ? kUpdateOk : kUpdateFailed,
                                          QStringLiteral("update"), words));
}

void CUpdate::OnWorkerFailed()
{
    if (m_btnUpdate)
        m_btnUpdate->setEnabled(true);
    if (m_progress) {
        m_progress->setValue(0);
        m_progress->setFormat(QStringLiteral("%p%"));
    }
    m_running = 0;
    OnWorkerEnded();
}

void CUpdate::OnWorkerEnded()
{
    m_workerAlive = false;
    if (m_releaseWhenDone)
        deleteLater();
}
