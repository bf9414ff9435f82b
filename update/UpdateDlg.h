#pragma once
// The password-gated system update: after the service password it pushes
// new system files from the update folder to the box on a worker, shows the
// progress in ten steps and reboots the box when everything passed.
//
// The dialog releases itself when its window is gone, but not while its
// worker runs: the worker reports to it, and its adb helper must stop the
// server only after the last command.

#include <QPointer>
#include <atomic>

#include "app/OutcomeLog.h"
#include "device/AdbRunner.h"
#include "ui/ThreadStarter.h"
#include "ui/WindowImplBase.h"

class CMainFrame;
class QProgressBar;
class QWidget;

// Posted by the worker with the progress step (1 to 10) as wParam.
inline constexpr uint WM_UPDATE_PROGRESS = kz::ui::kWmUser + 1;

class CUpdate : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    // start: how the update worker is started (tests hand in one that fails).
    explicit CUpdate(CMainFrame* owner, kz::ui::ThreadStarter start = {});
    ~CUpdate() override;

    QString GetWindowClassName() const override { return QStringLiteral("Update"); }
    QString GetSkinFile() const override { return QStringLiteral("update.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;
    qintptr HandleCustomMessage(uint msg, qintptr wParam, qintptr lParam, bool& handled) override;
    void OnFinalMessage() override;

    bool IsRunning() const { return m_running.load() == 1; }

private:
    struct WorkerTexts {
        QString success;
        QString failure;
        QString caption;
        kz::OutcomeLog log;  // where the outcome is recorded before its box
    };

    void OnWindowInit();
    void OnCloseClicked();
    void OnUpdateClicked();
    bool SourceFilesPresent();
    void StartWorker();
    void RunWorker(const WorkerTexts& texts, const QPointer<QWidget>& window);
    void OnWorkerFailed();
    // Records the update's outcome; `words` says why it failed.
    WorkerTexts Texts() const;
    static void RecordOutcome(const WorkerTexts& texts, bool ok, const QString& words = {});
    void OnWorkerEnded();
    QString Text(const char* key) const;

    CAdbHelper m_adb;
    kz::ui::ThreadStarter m_start;
    QString m_strLanguage;
    CMainFrame* m_owner;
    std::atomic<int> m_running{0};
    bool m_workerAlive = false;      // GUI thread only
    bool m_releaseWhenDone = false;  // window gone while the worker ran

    QPointer<QWidget> m_textCaption;
    QPointer<QWidget> m_textPassword;
    QPointer<QWidget> m_btnUpdate;
    QPointer<QWidget> m_editPassword;
    QPointer<QProgressBar> m_progress;
};
