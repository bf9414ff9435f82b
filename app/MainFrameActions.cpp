// The main window's own device actions: mounting the U-disk and rebooting.
#include "app/MainFrame.h"

#include <QThread>

#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "platform/MessageBox.h"
#include "ui/GuiThread.h"

namespace {
// The operations named in the record.
const QString kOperationMount = QStringLiteral("mount");
const QString kOperationReboot = QStringLiteral("reboot");
// The box's USB stack settles briefly after the device comes up.
constexpr unsigned long kUsbSettleMs = 100;
}  // namespace

bool CMainFrame::MountUdisk()
{
    // The flags and the log text belong to the GUI thread; a dialog's worker
    // that needs the stick waits for the mount there.
    if (!kz::ui::IsGuiThread()) {
        bool mounted = false;
        kz::ui::RunOnGuiBlocking(this, [&] { mounted = MountUdisk(); });
        return mounted;
    }
    kz::ui::RunBlockingKeepingPaint([] { QThread::msleep(kUsbSettleMs); });
    const kz::MountVerdict verdict = kz::JudgeMount(RunShortClient(QString::fromUtf8(kz::kMountCommand)));
    m_bUdiskMounted = verdict.ok();
    // A stick found mounted already is no outcome of this call.
    if (verdict.kind != kz::MountVerdict::AlreadyMounted)
        LogOutcome(verdict.ok(), verdict.ok() ? kz::text::MountOk : kz::text::MountFailed, kOperationMount,
                   verdict.tip);
    return verdict.ok();
}

void CMainFrame::LogOutcome(bool ok, const char* key, const QString& operation, const QString& tip)
{
    const kz::OutcomeLog log = Outcomes();
    log.Show(log.Record(kz::VerdictNotes(ok, Text(key), key, operation, tip)));
}

void CMainFrame::Reboot()
{
    const kz::RebootVerdict verdict = kz::JudgeReboot(RunShortClient(QString::fromUtf8(kz::kRebootCommand)));
    if (verdict.ok) {
        LogOutcome(true, kz::text::RebootOk, kOperationReboot);
        return;
    }
    // Recorded before the box; the rows follow it.
    const kz::OutcomeLog log = Outcomes();
    kz::RecordedRows rows = log.Record(kz::VerdictNotes(false, Text(kz::text::RebootFailed), kz::text::RebootFailed,
                                                        kOperationReboot, verdict.tip));
    if (!verdict.message.isEmpty())
        kz::ShowMessageBox(GetHWND(), Text(verdict.message), Text(kz::text::Prompt));
    log.Show(std::move(rows));
}
