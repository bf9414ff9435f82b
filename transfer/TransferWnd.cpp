#include "transfer/TransferWnd.h"

#include <QComboBox>
#include <algorithm>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSettings>
#include <system_error>

#include "link/OperatorRecord.h"
#include "link/DeviceActions.h"
#include "link/DeviceList.h"
#include "link/LogLine.h"
#include "device/AdbRunner.h"
#include "files/core/FileTexts.h"
#include "files/core/Listing.h"
#include "platform/MessageBox.h"
#include "settings/Ini.h"
#include "transfer/core/RateText.h"
#include "transfer/core/TransferTexts.h"
#include "ui/GuiThread.h"

namespace kt = kz::transfer;
namespace ft = kz::files::text;

namespace {

const char kPrompt[] = "Prompt";
const char kFolderKey[] = "pcFolder";

QString MiB(quint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
}

QString SelectedName(QListWidget* list)
{
    return list && list->currentItem() ? list->currentItem()->text() : QString();
}

}  // namespace

// Hands the worker's reports to the window on the GUI thread; dropped once
// the window object is gone.
class CTransferWnd::Sink : public kt::ITransferSink {
public:
    explicit Sink(QPointer<CTransferWnd> window) : m_window(std::move(window)) {}
    void Progress(quint64 done, quint64 total, qint64 elapsedMs) override
    {
        auto window = m_window;
        kz::ui::RunOnGui(window, [window, done, total, elapsedMs] { window->ShowProgress(done, total, elapsedMs); });
    }
    void Verifying() override
    {
        auto window = m_window;
        kz::ui::RunOnGui(window, [window] { window->ShowVerifying(); });
    }

private:
    QPointer<CTransferWnd> m_window;
};

CTransferWnd::CTransferWnd(const CIni& ini, QString language, Seams seams)
    : m_ini(ini), m_language(std::move(language)), m_seams(std::move(seams))
{
    if (!m_seams.transfer)
        m_seams.transfer = kt::RunTransfer;
    if (!m_seams.run)
        m_seams.run = [](const QString& command) { return kz::RunAdbClient(command); };
    m_pcFolder = QSettings(m_seams.settingsFile, QSettings::IniFormat).value(kFolderKey, QDir::homePath()).toString();
}

CTransferWnd::~CTransferWnd() = default;

QString CTransferWnd::Text(const char* key) const
{
    return m_ini.Text(m_language, QString::fromUtf8(key));
}

void CTransferWnd::Notify(kz::ui::TNotifyUI& msg)
{
    using namespace kz::ui;
    if (NotifyTypeIs(msg, kNotifyWindowInit))
        OnWindowInit();
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("btn_choosefolder")))
        ChooseFolder();
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("btn_refresh")) ||
             NotifyIs(msg, kNotifyItemSelect, QStringLiteral("comb_storage")))
        ListBox();
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("btn_upload")))
        StartTransfer(kt::Direction::Push);
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("btn_download")))
        StartTransfer(kt::Direction::Pull);
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("btn_cancel")))
        Cancel();
    else
        WindowImplBase::Notify(msg);
}

void CTransferWnd::Cancel()
{
    if (m_cancel)
        *m_cancel = true;
}

void CTransferWnd::OnWindowInit()
{
    m_caption = FindControl(QStringLiteral("text_caption"));
    m_editFolder = FindControl<QLineEdit>(QStringLiteral("edit_pcfolder"));
    m_listPc = FindControl<QListWidget>(QStringLiteral("list_pc"));
    m_listBox = FindControl<QListWidget>(QStringLiteral("list_box"));
    m_storage = FindControl<QComboBox>(QStringLiteral("comb_storage"));
    m_progress = FindControl<QProgressBar>(QStringLiteral("progress_transfer"));
    kz::ui::SetControlText(m_caption, Text(kt::text::Title));
    for (const auto& [name, key] : {std::pair{"text_pcfolder", kt::text::PcFolder},
                                    {"btn_choosefolder", kt::text::ChooseFolder},
                                    {"btn_refresh", kt::text::Refresh}, {"btn_upload", kt::text::Upload},
                                    {"btn_download", kt::text::Download}, {"btn_cancel", ft::Cancel}})
        kz::ui::SetControlText(FindControl(QString::fromLatin1(name)), Text(key));
    if (m_storage && m_storage->count() == 2) {
        m_storage->setItemText(0, Text(ft::Sdcard));
        m_storage->setItemText(1, Text(ft::Udisk));
    }
    SetPcFolder(m_pcFolder);
    ListBox();
}

void CTransferWnd::SetPcFolder(const QString& folder)
{
    m_pcFolder = folder;
    QSettings(m_seams.settingsFile, QSettings::IniFormat).setValue(kFolderKey, folder);
    if (m_editFolder) {
        m_editFolder->setText(folder);
        m_editFolder->setToolTip(folder);
    }
    ListPc();
}

void CTransferWnd::ChooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(GetHWND(), Text(kt::text::ChooseFolder), m_pcFolder);
    if (!folder.isEmpty())
        SetPcFolder(folder);
}

void CTransferWnd::ListPc()
{
    if (!m_listPc)
        return;
    m_listPc->clear();
    m_listPc->addItems(QDir(m_pcFolder).entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase));
}

kt::BoxStorage CTransferWnd::Storage() const
{
    return m_storage && m_storage->currentIndex() == 1 ? kt::BoxStorage::Udisk : kt::BoxStorage::Sdcard;
}

// The box's folder as the file manager lists it (the stick mounted first).
void CTransferWnd::ListBox()
{
    if (!m_listBox)
        return;
    m_listBox->clear();
    if (Storage() == kt::BoxStorage::Udisk)
        m_seams.run(QString::fromLatin1(kz::kMountCommand));
    const kz::ClientAnswer answer = m_seams.run(kt::BoxListCommand(Storage()));
    if (!answer.started)
        return;
    if (const char* error = kz::files::ListingErrorKey(answer.output)) {
        kz::ShowMessageBox(GetHWND(), Text(error), Text(kPrompt));
        return;
    }
    for (const kz::files::FileEntry& entry : kz::files::ParseListing(answer.output))
        m_listBox->addItem(entry.name);
}

void CTransferWnd::StartTransfer(kt::Direction direction)
{
    if (m_workerAlive)
        return;
    const bool push = direction == kt::Direction::Push;
    const QString name = SelectedName(push ? m_listPc : m_listBox);
    if (name.isEmpty()) {
        kz::ShowMessageBox(GetHWND(), Text(ft::FileNotSelected), Text(kPrompt));
        return;
    }
    kt::TransferJob job;
    job.plan = {direction, m_pcFolder, name, Storage(), name};
    if (const char* refusal = kt::BoxNameRefusal(name)) {
        kz::ShowMessageBox(GetHWND(), Text(refusal), Text(kPrompt));
        return;
    }
    if (!MayReplace(job.plan))
        return;
    job.run = m_seams.run;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    SetRunning(true);
    try {
        kz::ui::StartThread(m_seams.start, [this, job, cancel = m_cancel]() mutable {
            job.cancel = cancel.get();
            RunWorker(job);
        }).detach();
    } catch (const std::system_error&) {
        SetRunning(false);
        kz::ShowMessageBox(GetHWND(), Text(kt::text::TransferFailed), Text(kPrompt));
    }
}

// An existing target is replaced only when the operator says so.
bool CTransferWnd::MayReplace(const kt::TransferPlan& plan)
{
    const bool exists = plan.direction == kt::Direction::Pull
                            ? QFileInfo::exists(plan.PcPath())
                            : m_listBox && !m_listBox->findItems(plan.boxName, Qt::MatchFixedString).isEmpty();
    return !exists || kz::ShowMessageBox(GetHWND(), Text(kt::text::ReplaceQuestion), Text(kPrompt),
                                         kz::MsgButtons::YesNo) == kz::MsgAnswer::Yes;
}

// Worker thread.  The window object lives until OnTransferEnded has run.
void CTransferWnd::RunWorker(const kt::TransferJob& job)
{
    Sink sink{QPointer<CTransferWnd>(this)};
    // The box the record names: the one the client reaches.
    const QString serial = kz::JudgeDeviceList(job.run(QString::fromLatin1(kz::kDevicesCommand)).output).serial;
    // The stick is mounted before every use, as the main window does.
    if (job.plan.storage == kt::BoxStorage::Udisk)
        job.run(QString::fromLatin1(kz::kMountCommand));
    const kt::TransferReport report = m_seams.transfer(job, sink);
    kz::ui::RunOnGui(this, [this, report, serial] { OnTransferEnded(report, serial); });
}

void CTransferWnd::ShowProgress(quint64 done, quint64 total, qint64 elapsedMs)
{
    if (!m_progress)
        return;
    const int percent = total > 0 ? int(std::min<quint64>(done * 100 / total, 100)) : 0;
    const kt::Rate rate = kt::MeasureRate(done, total, elapsedMs);
    m_progress->setValue(percent);
    m_progress->setFormat(kt::PercentWithRate(percent, rate, Text(kt::text::TimeLeft)) +
                          QStringLiteral("  (%1 / %2 MB)").arg(MiB(done), MiB(total)));
}

void CTransferWnd::ShowVerifying()
{
    if (!m_progress)
        return;
    m_progress->setValue(100);
    m_progress->setFormat(Text(ft::Verifying));
}

void CTransferWnd::OnTransferEnded(const kt::TransferReport& report, const QString& serial)
{
    const char* key = report.refusal ? report.refusal : kt::VerdictKey(report.facts.verdict);
    QString shown = Text(key);
    if (!report.told.trimmed().isEmpty())
        shown += u'\n' + report.told.trimmed();
    Record(report, Text(key), serial);
    SetRunning(false);
    if (m_progress) {
        m_progress->setValue(0);
        m_progress->setFormat(QStringLiteral(" "));
    }
    if (!IsClosed()) {
        kz::ShowMessageBox(GetHWND(), shown, Text(kPrompt));
        ListPc();
        ListBox();
    }
}

void CTransferWnd::Record(const kt::TransferReport& report, const QString& shown, const QString& serial)
{
    kz::RecordEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.kind = kz::RecordKind(report.Success() ? kz::LOG_SUCCESS : kz::LOG_FAILURE);
    entry.key = QString::fromUtf8(report.refusal ? report.refusal : kt::VerdictKey(report.facts.verdict));
    entry.shown = shown;
    entry.operation = kt::OperationName(report.facts.direction);
    entry.extra = kt::TransferFactsJson(report.facts);
    if (!report.told.isEmpty())
        entry.extra[QStringLiteral("tip")] = report.told.trimmed();
    kz::OperatorRecord record(m_seams.recordFolder);
    record.SetSerial(serial);
    record.Append(entry, kz::Durability::Synced);  // on the disk before the box tells it
}

void CTransferWnd::SetRunning(bool running)
{
    m_workerAlive = running;
    for (const char* name : {"btn_upload", "btn_download", "btn_choosefolder", "btn_refresh"})
        if (QWidget* button = FindControl(QString::fromLatin1(name)))
            button->setEnabled(!running);
    if (QWidget* cancel = FindControl(QStringLiteral("btn_cancel")))
        cancel->setEnabled(running);
    if (!running)
        m_cancel.reset();
}
