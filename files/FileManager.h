#pragma once
// The device file manager: lists the U-disk or the SD card of the box, copies
// a file to the other storage (copy modes), lets a dialog pick a file (pick
// modes), and renames or deletes the selected file through its shortcut menu.
//
// The dialog releases itself when its window closes: the opener creates it
// with new, runs it modally and does not touch it afterwards.  Opening it
// starts the adb server when none runs, and its end then stops it again
// (after a copy still running has finished).

#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <memory>

#include "app/OutcomeLog.h"
#include "device/ClientAnswer.h"
#include "files/core/FileManagerMode.h"
#include "files/LangContext.h"
#include "files/core/CopyRun.h"
#include "files/core/Listing.h"
#include "ui/CallbackListModel.h"
#include "ui/ListCallback.h"
#include "ui/WindowImplBase.h"

class CAdbHelper;
class CMainFrame;
class CPickOwner;
class QAbstractItemView;

// Posted by the shortcut menu.
inline constexpr uint WM_FM_DELETE = kz::ui::kWmUser + 100;
inline constexpr uint WM_FM_RENAME = kz::ui::kWmUser + 101;

// Opens the file manager in a copy mode over the main window, modally.
void OpenFileManager(CMainFrame* main, int mode);

class CFileManager : public kz::ui::WindowImplBase, public kz::ui::IListCallbackUI {
    Q_OBJECT
public:
    CFileManager(CMainFrame* main, int mode);  // copy modes
    CFileManager(int mode, CPickOwner* owner); // pick modes
    ~CFileManager() override;

    QString GetWindowClassName() const override { return QStringLiteral("FileManager"); }
    QString GetSkinFile() const override { return QStringLiteral("explorer.xml"); }
    void OnFinalMessage() override;
    qintptr HandleCustomMessage(uint msg, qintptr wParam, qintptr lParam, bool& handled) override;
    void Notify(kz::ui::TNotifyUI& msg) override;
    bool EscapeCloses() const override { return false; }
    bool EscapeClicksCloseButton() const override { return true; }
    QString GetItemText(int row, int column) override;

    // Lists the mode's root again and rebuilds the rows (selection cleared).
    void RefreshList();
    // Runs a listing command; false when the client or the box reported an
    // error (shown).
    bool LoadListing(const QString& command);

    int Mode() const { return m_mode; }
    const QList<kz::files::FileEntry>& Entries() const { return m_entries; }
    QStringList EntryNames() const;
    // The folders of the last listing (they have no rows).
    const QStringList& Folders() const { return m_folders; }
    // The selected row, -1 when none.
    int SelectedRow() const;
    // The name of the entry at the selected row; false when none is selected.
    bool SelectedName(QString& name) const;

    QString Text(const char* key) const { return m_lang.Text(key); }
    const CLangContext& Lang() const { return m_lang; }
    // An OK box with the caption "Prompt" over this dialog.
    void Prompt(const char* key);
    // A rename's or delete's outcome goes to the record before its box;
    // `names` holds the names it acted on.
    void RecordOutcome(const QString& operation, bool ok, const char* key, const kz::ClientAnswer& answer,
                       const QJsonObject& names);
    // One device command for the GUI: the window keeps painting meanwhile.
    // A client that could not be started has shown its warning.
    kz::ClientAnswer RunCommand(const QString& command);

    // Copy display, on the GUI thread: running shows the bar and disables
    // "Copy"; the end enables it.
    void ShowCopyRunning(bool running);
    void SetCopyProgress(int percent, const QString& text);
    // The copy's outcome in the bar, which keeps its value.
    void ShowCopyVerdict(const QString& text);

private:
    void OnWindowInit();
    void SetHeaderTexts();
    void ShowModeControls();
    void OnClick(const kz::ui::TNotifyUI& msg);
    void OnOk();
    void OpenShortcutMenu(const kz::ui::TNotifyUI& msg);
    void StartCopy();
    bool CopyTargetName(QString& name);
    bool CheckTargetSpace(const QString& source, const QString& sourcePath);
    void StartCopyJob(const QString& source, const QString& target, const QString& sourcePath);
    void OnDeleteRequested();
    void OnRenameRequested();

    int m_mode;
    CMainFrame* m_main = nullptr;   // copy modes
    CPickOwner* m_owner = nullptr;  // pick modes
    kz::OutcomeLog m_log;
    CLangContext m_lang;
    std::shared_ptr<CAdbHelper> m_adb;  // shared with a running copy
    quint64 m_copyBytes = 0;            // the source's listed size, for the bar's speed
    QList<kz::files::FileEntry> m_entries;
    QStringList m_folders;
    QPointer<QAbstractItemView> m_list;
    QPointer<kz::ui::CallbackListModel> m_model;
};
