// The connection monitor: is exactly one box attached, online and identified?
//
// Detections are serialised: a request made while one runs (a USB arrival's
// timer firing while a message box or a device command is waiting) is queued
// and runs after it.  Everything happens on the GUI thread; the device commands
// themselves run on a helper thread while the window keeps painting.
//
// Two sources start detections: the USB broadcasts and adb's own device list.
// Both pass the GUI hand-over gate, so an event that comes while a short
// command waits is acted on after that command, never in the middle of it.
#include "app/MainFrame.h"

#include <QTimer>

#include "app/core/DeviceActions.h"
#include "app/core/DeviceList.h"
#include "app/core/Texts.h"
#include "app/core/UsbBroadcast.h"
#include "device/AdbRunner.h"
#include "ui/GuiThread.h"

void CMainFrame::DetectDevice()
{
    m_detections.push_back({});
    RunDetections();
}

void CMainFrame::RunDetections()
{
    if (m_bDetecting)
        return;
    m_bDetecting = true;
    while (!m_detections.empty()) {
        std::function<void()> after = std::move(m_detections.front());
        m_detections.pop_front();
        DetectOnce();
        if (after)
            after();
    }
    m_bDetecting = false;
}

void CMainFrame::DetectOnce()
{
    if (m_bDeviceConnected || IsClosed())
        return;
    const kz::DeviceListVerdict verdict = kz::JudgeDeviceList(RunShortCommand(QString::fromUtf8(kz::kDevicesCommand)));
    if (verdict.kind == kz::DeviceListVerdict::NoAnswer)
        return;
    if (verdict.kind == kz::DeviceListVerdict::Offline) {
        ClearDeviceState();
        PromptBox(kz::text::DeviceOfflineReboot);
        return;
    }
    if (verdict.onlineCount == 1) {
        IdentifySingleDevice(verdict.serial);
    } else if (verdict.onlineCount >= 2) {
        ClearDeviceState();
        PromptBox(kz::text::MultipleDevices);
        PostMessage(kz::ui::kWmClose);
    } else {
        ClearDeviceState();
    }
}

void CMainFrame::IdentifySingleDevice(const QString& serial)
{
    if (!kz::IsBoxModel(RunShortCommand(QString::fromUtf8(kz::kModelCommand)))) {
        ClearDeviceState();
        return;
    }
    SetStateText(true);
    m_bDeviceConnected = true;
    m_record.SetSerial(serial);
    if (!m_bUdiskMounted)
        MountUdisk();
    m_applets = kz::files::JudgeAppletProbe(RunShortCommand(kz::files::AppletProbeCommand()));
}

void CMainFrame::ClearDeviceState()
{
    m_bUdiskMounted = false;
    m_bDeviceConnected = false;
    m_applets = {};
    SetStateText(false);
    m_record.ForgetBox();
}

void CMainFrame::OnDeviceChange(int event, const QString& deviceName)
{
    if (!kz::IsUsbDeviceName(deviceName))
        return;
    if (event == kz::DBT_DEVICEARRIVAL) {
        // The box needs a moment after its USB arrival before adb sees it.
        QTimer::singleShot(m_monitor.arrivalDelayMs, this, [this] { kz::ui::RunOnGui(this, [this] { DetectDevice(); }); });
    } else if (event == kz::DBT_DEVICEREMOVECOMPLETE) {
        kz::ui::RunOnGui(this, [this] { OnRemoval(); });
    }
}

void CMainFrame::StartDeviceTracker()
{
    if (!m_monitor.followAdbList || m_tracker)
        return;
    m_tracker = std::make_unique<kz::DeviceTracker>(
        kz::AdbClientPath(), m_monitor.trackerRetry, [this] { return m_bDeviceConnected; },
        [this](const kz::TrackedChange& change) { OnTrackedChange(change); });
    m_tracker->Start();
}

void CMainFrame::StopDeviceTracker()
{
    if (m_tracker)
        m_tracker->Stop();
}

// adb lists the box as usable only once it answers: no arrival delay.
void CMainFrame::OnTrackedChange(const kz::TrackedChange& change)
{
    kz::ui::RunOnGui(this, [this, change] {
        if (change.lost)
            OnRemoval();
        if (change.gained)
            DetectDevice();
    });
}

void CMainFrame::OnRemoval()
{
    if (!m_bDeviceConnected)
        return;
    m_bDeviceConnected = false;
    m_applets = {};
    m_detections.push_back([this] {
        if (m_bDeviceConnected)
            return;  // another USB device went; the box is still there
        m_bUdiskMounted = false;
        SetStateText(false);
        LogKey(kz::LOG_TIP, kz::text::DeviceSetAside);
        m_record.ForgetBox();  // the entry that says so still names the box
    });
    RunDetections();
}
