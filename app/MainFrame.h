#pragma once
// The program's only top-level window: device state, language binding,
// operation log and the dispatch of every button.

#include <QMutex>
#include <QPointer>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "link/ChipInfoReads.h"
#include "device/ClientErrors.h"
#include "link/LinkState.h"
#include "app/DeviceTracker.h"
#include "app/DialogTimings.h"
#include "app/MonitorSettings.h"
#include "files/core/BoxApplets.h"
#include "link/OperatorRecord.h"
#include "app/OutcomeLog.h"
#include "link/LogLine.h"
#include "app/core/LogStore.h"
#include "device/AdbRunner.h"
#include "settings/Ini.h"
#include "ui/CallbackListModel.h"
#include "ui/ListCallback.h"
#include "ui/WindowImplBase.h"

class QLabel;
class QListView;
class QWidget;


// Messages the main menu posts to the main window.
inline constexpr uint WM_MENU_SETTING = kz::ui::kWmUser + 102;
inline constexpr uint WM_MENU_ABOUT = kz::ui::kWmUser + 103;
inline constexpr uint WM_MENU_UPDATE = kz::ui::kWmUser + 104;
inline constexpr uint WM_MENU_LOG_FOLDER = kz::ui::kWmUser + 105;

class CMainFrame : public kz::ui::WindowImplBase, public kz::ui::IListCallbackUI {
    Q_OBJECT
public:
    explicit CMainFrame(kz::MonitorSettings monitor = {}, kz::DialogTimings dialogs = {});
    ~CMainFrame() override;

    const kz::DialogTimings& Timings() const { return m_dialogs; }

    // The one main window of the process (null before it is built).
    static CMainFrame* Instance();

    QString GetWindowClassName() const override { return QStringLiteral("eMMC"); }
    QString GetSkinFile() const override { return QStringLiteral("skin_main.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;
    qintptr HandleCustomMessage(uint msg, qintptr wParam, qintptr lParam, bool& handled) override;
    void OnFinalMessage() override;
    bool EscapeCloses() const override { return false; }
    QString GetItemText(int row, int column) override;

    // Operation log.  Callable from any thread; rows appear in call order.
    // Each row also goes to the operator's record, with the English key and
    // the operation the tag names.
    int WriteLog(int style, QString text, kz::LogTag tag = {});
    // Operations' outcomes: recorded at once (on the disk before a message
    // box tells them), their rows shown when the flow says.  Built on the
    // GUI thread, handed to workers.
    kz::OutcomeLog Outcomes() { return kz::OutcomeLog(m_sharedRecord, this); }
    // Rows already recorded; any thread.
    void ShowRecordedRows(kz::RecordedRows rows);
    // A command's answer, from any thread: a device error makes the list be
    // looked at at once.
    void NoteAnswer(const QString& output);
    // Connection monitor: one detection at a time, on the GUI thread.
    void DetectDevice();
    // A USB hot-plug broadcast (DBT_DEVICEARRIVAL / DBT_DEVICEREMOVECOMPLETE).
    void OnDeviceChange(int event, const QString& deviceName);
    // Mounts the box's U-disk; true when it is (now or already) mounted.
    bool MountUdisk();
    void LoadLanguageTexts();

    // The localised text for an English key in the language in use.
    QString Text(const char* key) const;
    QString Text(const QString& key) const;

    // Chip-information reads, on the GUI thread: the loading dialog begins
    // one and its worker hands the answer here, stored under the read's
    // number (see kz::ChipInfoReads).
    kz::ChipInfoReads::ReadId BeginChipInfoRead() { return m_chipReads.Begin(); }
    void StoreChipInfoAnswer(kz::ChipInfoReads::ReadId read, const kz::ClientAnswer& answer);
    // The output of the last answer kept.
    QString ChipInfoOutput() const { return m_chipReads.LastOutput(); }

    // One short device command on behalf of the GUI: the window keeps painting
    // but takes no input until the client has answered.
    QString RunShortCommand(const QString& command);
    // The same, telling whether the client started at all.
    kz::ClientAnswer RunShortClient(const QString& command);

    // What the box's busybox was found to have at detection; all Unknown
    // while no box is connected.
    const kz::files::BoxApplets& Applets() const { return m_applets; }

    // Tests replace the end of the program.
    void SetQuitHandler(std::function<void()> quit) { m_quit = std::move(quit); }

    // State the dialogs opened from here read; written on the GUI thread only.
    CAdbHelper m_adbHelper;
    bool m_bUdiskMounted = false;
    bool m_bDeviceConnected = false;
    CIni m_ini;
    QString m_strLanguage;
    QString m_strLogText;
    QString m_szLanguageFile;
    kz::CLogStore m_logLines;

private:
    void OnWindowInit();
    void FindControls();
    void OnClick(const kz::ui::TNotifyUI& msg);
    bool RequireDevice();
    void PromptBox(const char* key);
    void AppendLogRow(const QString& line);
    void AppendRecordedRows(const kz::RecordedRows& rows);
    // The chip of a report read now tags the record's entries from here on.
    void RecordChip(const QString& report);
    void TellRecordFailure(const QString& failure, const QDateTime& time);
    void OpenRecordFolder();
    // Composes the entry in m_strLogText, writes it and empties the text.
    void LogEntry(int style, const QString& text, const kz::LogTag& tag = {});
    // The entry of an English key, shown in the language in use.
    void LogKey(int style, const char* key, const QString& operation = {});
    // An outcome of the window's own, recorded and shown at once.
    void LogOutcome(bool ok, const char* key, const QString& operation, const QString& tip = {});

    void RunDetections();
    void DetectOnce();
    void IdentifySingleDevice(const QString& serial);
    void OnRemoval();
    void ClearDeviceState();
    // The state adb gives the box: named on the state line, and what to do
    // about it told once per change.
    void NameLinkState(kz::LinkState state, const QString& words);
    void ShowLinkState();
    // What the client said besides a list (adb missing, another adb's
    // server), from any command: each told once.
    void NoteClientText(const QString& output);
    // Following adb's own device list besides the USB broadcasts.
    void StartDeviceTracker();
    void StopDeviceTracker();
    void OnTrackedChange(const kz::TrackedChange& change);

    void OpenMainMenu();
    // Runs the loading dialog; the chip report of this read, or nothing
    // (an error was reported, or the read ended without an answer).
    std::optional<QString> ReadChipInfo();
    void ShowChipInfo(const QString& report);
    void RunMtxFlow();
    void Reboot();

    QPointer<QLabel> m_textState;
    QPointer<QListView> m_listLog;
    QPointer<QWidget> m_containerInfo;
    QPointer<kz::ui::CallbackListModel> m_logModel;

    kz::ChipInfoReads m_chipReads;
    // Shared with workers, which record their outcomes themselves and may
    // outlive the window; m_record is the window's own name for it.
    std::shared_ptr<kz::OperatorRecord> m_sharedRecord =
        std::make_shared<kz::OperatorRecord>(kz::DefaultRecordFolder());
    kz::OperatorRecord& m_record = *m_sharedRecord;

    std::deque<std::function<void()>> m_detections;  // each: what to do after it
    bool m_bDetecting = false;
    kz::MonitorSettings m_monitor;
    kz::DialogTimings m_dialogs;
    std::unique_ptr<kz::DeviceTracker> m_tracker;
    kz::LinkState m_linkState = kz::LinkState::None;
    QList<kz::VersionClash> m_toldClashes;
    kz::files::BoxApplets m_applets;
    std::atomic<int> m_pendingLogWrites{0};  // rows on their way to the GUI thread
    std::function<void()> m_quit;
};
