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

#include <QLabel>
#include <QTimer>

#include "link/DeviceActions.h"
#include "device/ClientErrors.h"
#include "link/DeviceList.h"
#include "link/Texts.h"
#include "link/UsbBroadcast.h"
#include "device/AdbRunner.h"
#include "ui/GuiThread.h"

namespace {
// The operation the record names for what the monitor tells.
const QString kOperationDetect = QStringLiteral("detect");
}  // namespace

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
    switch (verdict.kind) {
    case kz::DeviceListVerdict::NoAnswer:
        return;
    case kz::DeviceListVerdict::Empty:
        // A state named before is over; with none named the line stays as it is.
        if (m_linkState != kz::LinkState::None)
            NameLinkState(kz::LinkState::None, {});
        return;
    case kz::DeviceListVerdict::AdbMissing:
    case kz::DeviceListVerdict::Offline:
        ClearDeviceState();
        NameLinkState(verdict.state, verdict.stateWords);
        if (verdict.kind == kz::DeviceListVerdict::Offline)
            PromptBox(kz::text::DeviceOfflineReboot);
        return;
    case kz::DeviceListVerdict::Online:
        break;
    }
    if (verdict.onlineCount == 1) {
        IdentifySingleDevice(verdict.serial);
    } else if (verdict.onlineCount >= 2) {
        ClearDeviceState();
        PromptBox(kz::text::MultipleDevices);
        PostMessage(kz::ui::kWmClose);
    } else {
        ClearDeviceState();
        NameLinkState(verdict.state, verdict.stateWords);
    }
}

void CMainFrame::IdentifySingleDevice(const QString& serial)
{
    NameLinkState(kz::LinkState::Device, {});
    if (!kz::IsBoxModel(RunShortCommand(QString::fromUtf8(kz::kModelCommand)))) {
        ClearDeviceState();
        return;
    }
    m_bDeviceConnected = true;
    ShowLinkState();
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
    ShowLinkState();
    m_record.ForgetBox();
}

void CMainFrame::NameLinkState(kz::LinkState state, const QString& words)
{
    if (state != m_linkState) {
        m_linkState = state;
        if (const char* advice = kz::TextsOf(state).advice)
            LogEntry(kz::LOG_TIP, kz::FillAdvice(Text(advice), words), {QString::fromUtf8(advice), kOperationDetect});
    }
    ShowLinkState();
}

void CMainFrame::ShowLinkState()
{
    if (m_textState)
        m_textState->setText(Text(m_bDeviceConnected ? kz::text::Connected : kz::TextsOf(m_linkState).line));
}

void CMainFrame::NoteClientText(const QString& output)
{
    if (kz::IsAdbMissing(output)) {
        // Without adb the box is out of reach too; the removal's detection
        // names the state, after the command that met it.
        if (m_bDeviceConnected)
            kz::ui::RunOnGui(this, [this] { OnRemoval(); });
        else
            NameLinkState(kz::LinkState::AdbMissing, {});
        return;
    }
    if (m_linkState == kz::LinkState::AdbMissing && kz::ParseDevicesList(output))
        NameLinkState(kz::LinkState::None, {});  // adb answers again: its list says the rest
    const std::optional<kz::VersionClash> clash = kz::ServerVersionClash(output);
    if (!clash || m_toldClashes.contains(*clash))
        return;
    m_toldClashes.append(*clash);
    QString text = Text(kz::text::ServerVersionClash);
    text.replace(QLatin1String("%1"), clash->server).replace(QLatin1String("%2"), clash->client);
    LogEntry(kz::LOG_TIP, text, {QString::fromUtf8(kz::text::ServerVersionClash), kOperationDetect});
}

void CMainFrame::NoteAnswer(const QString& output)
{
    if (!kz::ui::IsGuiThread()) {
        kz::ui::RunOnGui(this, [this, output] { NoteAnswer(output); });
        return;
    }
    NoteClientText(output);
    if (m_tracker && kz::IsDeviceError(output))
        m_tracker->CheckNow();
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
        [this](const kz::TrackedChange& change) { OnTrackedChange(change); },
        [this](const QString& text) { kz::ui::RunOnGui(this, [this, text] { NoteClientText(text); }); });
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
        // The removal of a connected box detects again by itself.
        const bool removal = change.lost && m_bDeviceConnected;
        if (change.lost)
            OnRemoval();
        if (!removal)
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
        ShowLinkState();
        LogKey(kz::LOG_TIP, kz::text::DeviceSetAside);
        m_record.ForgetBox();  // the entry that says so still names the box
    });
    RunDetections();
}
