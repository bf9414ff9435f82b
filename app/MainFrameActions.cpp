// The main window's own device actions: mounting the U-disk and rebooting.
#include "app/MainFrame.h"

#include <QThread>

#include "app/core/DeviceActions.h"
#include "app/core/Texts.h"
#include "platform/MessageBox.h"
#include "ui/GuiThread.h"

namespace {
// The operations named in the record.
const QString kOperationMount = QStringLiteral("mount");
const QString kOperationReboot = QStringLiteral("reboot");
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
    // The box's USB stack settles briefly after the device comes up.
    kz::ui::RunBlockingKeepingPaint([] { QThread::msleep(100); });
    const kz::MountVerdict verdict = kz::JudgeMount(RunShortClient(QString::fromUtf8(kz::kMountCommand)));
    if (verdict.kind == kz::MountVerdict::Mounted)
        LogKey(kz::LOG_SUCCESS, kz::text::MountOk, kOperationMount);
    if (verdict.ok()) {
        m_bUdiskMounted = true;
        return true;
    }
    m_bUdiskMounted = false;
    LogKey(kz::LOG_FAILURE, kz::text::MountFailed, kOperationMount);
    LogEntry(kz::LOG_TIP, verdict.tip, {{}, kOperationMount});
    return false;
}

void CMainFrame::Reboot()
{
    const kz::RebootVerdict verdict = kz::JudgeReboot(RunShortClient(QString::fromUtf8(kz::kRebootCommand)));
    if (verdict.ok) {
        LogKey(kz::LOG_SUCCESS, kz::text::RebootOk, kOperationReboot);
        return;
    }
    if (!verdict.message.isEmpty())
        kz::ShowMessageBox(GetHWND(), Text(verdict.message), Text(kz::text::Prompt));
    LogKey(kz::LOG_FAILURE, kz::text::RebootFailed, kOperationReboot);
    LogEntry(kz::LOG_TIP, verdict.tip, {{}, kOperationReboot});
}
