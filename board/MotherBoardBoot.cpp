// Reading and writing the chip's two boot partitions.
#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "board/BoardWorker.h"
#include "board/core/BootTransfer.h"
#include "board/MotherBoard.h"
#include "board/core/BoardCommands.h"
#include "board/core/BoardTexts.h"
#include "files/core/FileManagerMode.h"

namespace {

namespace text = kz::board::text;

QString Name(const char* pattern, int boot)
{
    return QString::fromUtf8(pattern).arg(boot);
}

// Each entry is in the record before the worker's message box shows; its row
// goes to the main window's log as long as that exists (a worker may outlive
// the dialog and the window).
kz::board::LogSink MainWindowLog(const kz::OutcomeLog& log)
{
    return [log](int style, const QString& text, const kz::LogTag& tag) {
        log.Show(log.Record({{style, text, tag}}));
    };
}

kz::files::BoxApplets OwnerApplets(const CMainFrame* owner)
{
    return owner ? owner->Applets() : kz::files::BoxApplets{};
}

}  // namespace

void CMotherBoard::BrowseBoot(int boot)
{
    PickFile(boot == 1 ? Boot1Source() : Boot2Source(),
             FindControl<QLineEdit>(Name("edit_writeboot%1filename", boot)));
}

// The job's texts and record, and the report its worker gives: the same for
// a read and a write.
kz::board::BootReport CMotherBoard::BootJobReport(kz::board::WorkerJob& job, const QString& operation,
                                                  const char* okKey, const char* failKey)
{
    job.caption = Text(kz::text::Prompt);
    job.okText = Text(okKey);
    job.failText = Text(failKey);
    kz::board::BootReport report{operation, job.okText, job.failText, okKey, failKey, MainWindowLog(Outcomes())};
    SetJobRecord(job, operation, okKey, failKey);
    report.applets = OwnerApplets(m_pOwner);
    return report;
}

void CMotherBoard::ReadBoot(int boot)
{
    QPointer<QLineEdit> status = FindControl<QLineEdit>(Name("edit_readboot%1filename", boot));
    QPointer<QAbstractButton> button = FindControl<QAbstractButton>(Name("btn_readboot%1", boot));
    const QString failText = Text(boot == 1 ? text::Boot1SaveFailed : text::Boot2SaveFailed);
    kz::ui::SetControlText(status, Text(boot == 1 ? text::Boot1ReadStarted : text::Boot2ReadStarted));
    m_strPickedName.clear();
    m_asker(*this);
    // The job takes the name now: a later read whose dialog is cancelled
    // must not find this one still pending.
    QString name = m_strPickedName;
    m_strPickedName.clear();
    if (!CheckName(name)) {
        kz::ui::SetControlText(status, failText);
        return;
    }
    const QString saving = Text(text::Saving);
    kz::ui::SetControlText(status, saving);
    kz::ui::SetControlText(button, saving);
    if (button)
        button->setEnabled(false);

    kz::board::WorkerJob job;
    const kz::board::BootReport report =
        BootJobReport(job, QStringLiteral("read-boot%1").arg(boot), boot == 1 ? text::Boot1SaveOk : text::Boot2SaveOk,
                      boot == 1 ? text::Boot1SaveFailed : text::Boot2SaveFailed);
    job.body = [boot, name, report] { return kz::board::RunBootRead(boot, name, report); };
    // Boot1 shows its success while the message box is open; every other
    // outcome leaves the field empty until the box is dismissed.
    job.beforeBox = [boot, status](bool ok, const QString& message) {
        kz::ui::SetControlText(status, boot == 1 && ok ? message : QString());
    };
    job.afterBox = [status, button, read = Text(text::Read)](bool, const QString& message) {
        if (button)
            button->setEnabled(true);
        kz::ui::SetControlText(status, message);
        kz::ui::SetControlText(button, read);
    };
    StartWorker(std::move(job));
}

void CMotherBoard::WriteBoot(int boot)
{
    QPointer<QAbstractButton> button = FindControl<QAbstractButton>(Name("btn_writeboot%1", boot));
    QString name = kz::ui::GetControlText(FindControl(Name("edit_writeboot%1filename", boot)));
    if (!CheckName(name))
        return;
    kz::ui::SetControlText(button, Text(text::Writing));
    if (button)
        button->setEnabled(false);

    kz::board::WorkerJob job;
    kz::board::BootReport report = BootJobReport(job, QStringLiteral("write-boot%1").arg(boot),
                                                 boot == 1 ? text::Boot1WriteOk : text::Boot2WriteOk,
                                                 boot == 1 ? text::Boot1WriteFailed : text::Boot2WriteFailed);
    report.notProvedText = Text(text::WriteNotProved);
    report.notProvedKey = text::WriteNotProved;
    // The source is read when the worker starts, not at the click.
    job.body = [boot, name = kz::board::BootWriteName(name), shared = m_shared, report, namer = m_readBackNamer] {
        const int source = boot == 1 ? shared->boot1Source.load() : shared->boot2Source.load();
        return kz::board::RunBootWrite(boot, source, name, report, namer);
    };
    job.afterBox = [button, write = Text(text::Write)](bool, const QString&) {
        if (button)
            button->setEnabled(true);
        kz::ui::SetControlText(button, write);
    };
    StartWorker(std::move(job));
}
