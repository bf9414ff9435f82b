#pragma once
// The single-board dialog: the chip's identity and boot configuration on one
// page, boot partition and user partition transfers on the other.  Transfers
// run on worker threads; the boot configuration runs as a short command on
// the GUI thread.
//
//   CMotherBoard board(mainFrame);
//   board.Create(mainFrame->GetHWND(), caption);
//   board.InitControls();
//   FillFromChipInfo(board, chipInfo);
//   board.CenterWindow();
//   board.ShowModal();
//
// Workers never touch the dialog object directly: control changes go to the
// GUI thread and are dropped once the dialog is gone, and what a worker reads
// while it runs (the file sources) lives in a shared block that outlives the
// dialog.

#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "app/OutcomeLog.h"
#include "link/ChipInfo.h"
#include "board/core/BootTransfer.h"
#include "files/PickOwner.h"
#include "ui/CallbackListModel.h"
#include "ui/ListCallback.h"
#include "ui/WindowImplBase.h"

class CMainFrame;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QStackedWidget;
class QWidget;

namespace kz::board {
struct BoardShared;
struct WorkerJob;
enum class BootSetting;
}  // namespace kz::board

class CMotherBoard : public kz::ui::WindowImplBase, public kz::ui::IListCallbackUI, public CPickOwner {
    Q_OBJECT
public:
    // readBackNamer: how boot writes name their read-back (tests fix it).
    explicit CMotherBoard(CMainFrame* owner, kz::board::ReadBackNamer readBackNamer = kz::board::NextReadBackName);
    ~CMotherBoard() override;

    QString GetWindowClassName() const override { return QStringLiteral("MotherBoard"); }
    QString GetSkinFile() const override { return QStringLiteral("motherboard.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;
    bool EscapeCloses() const override { return false; }
    bool EscapeClicksCloseButton() const override { return true; }
    QString GetItemText(int row, int column) override;

    CMainFrame* PickOwnerMainFrame() const override { return m_pOwner; }
    QWidget* PickOwnerWindow() const override { return GetHWND(); }

    // Finds the controls, sets their texts and starts every file source at
    // the U-disk.  Safe to call again (the window's "windowinit" does).
    void InitControls();

    // Puts a decoded chip report into the chip fields and the partition list.
    void ShowChipInfo(const kz::ChipInfo& info);

    // The file manager in a pick mode and the file-name dialog; tests put
    // scripted stand-ins here.  Each leaves a confirmed name in
    // m_strPickedName and returns.
    using FilePicker = std::function<void(CMotherBoard& board, int mode)>;
    using NameAsker = std::function<void(CMotherBoard& board)>;
    void SetPickers(FilePicker picker, NameAsker asker);

    // Current file sources (SOURCE_* of files/core/FileManagerMode.h).
    int Boot1Source() const;
    int Boot2Source() const;
    int UserRowSource(int row) const;
    // Transfers still running (their message box included).
    int RunningWorkers() const;
    // Runs fn on the GUI thread once no transfer runs (at once when none
    // does); the closed dialog is released this way.
    void CallWhenIdle(std::function<void()> fn);

    CMainFrame* m_pOwner;
    std::array<kz::PartitionRow, kz::kMaxPartitionRows> m_partitionRows;
    int m_partitionCount = 0;

private:
    QString Text(const char* key) const;
    void Prompt(const QString& text);
    void SetLabels();
    void SetUpPartitionList();
    void ResetSources();

    void OnClick(const kz::ui::TNotifyUI& msg);
    void OnSelectChanged(const kz::ui::TNotifyUI& msg);
    void OnItemSelect(const kz::ui::TNotifyUI& msg);
    void SelectChipWritePage(int page);
    void SelectUserPage(int page);
    void ShowRowCountControls(bool show);

    // Boot partitions.
    void ReadBoot(int boot);
    void WriteBoot(int boot);
    void BrowseBoot(int boot);
    // User partition.
    void BuildUserRows();
    QWidget* ClickedRow(const kz::ui::TNotifyUI& msg) const;
    void ChooseRowSource(const kz::ui::TNotifyUI& msg);
    void BrowseUserRow(QWidget* row);
    void WriteUserRow(QWidget* row);
    void ReadUserArea();
    // Boot configuration.
    void ShowBootSettings(const kz::ChipInfo& info);
    void ApplyBootSetting(kz::board::BootSetting setting, const char* button, const char* combo);

    // Picks a file for target; with a U-disk source the U-disk is mounted first.
    void PickFile(int mode, QLineEdit* target);
    // A name from an edit or the name dialog, trimmed and checked; empty
    // after a message when it cannot be used.
    bool CheckName(QString& name);
    void StartWorker(kz::board::WorkerJob job);
    // The job's outcome goes to the main window's record under `operation`.
    void SetJobRecord(kz::board::WorkerJob& job, const QString& operation, const char* okKey, const char* failKey);
    kz::board::BootReport BootJobReport(kz::board::WorkerJob& job, const QString& operation, const char* okKey,
                                        const char* failKey);
    // The main window's record and log; nowhere without a main window.
    kz::OutcomeLog Outcomes() const;

    std::shared_ptr<kz::board::BoardShared> m_shared;
    FilePicker m_picker;
    NameAsker m_asker;
    kz::board::ReadBackNamer m_readBackNamer;
    QPointer<kz::ui::CallbackListModel> m_partitionModel;
    int m_rowWritesRunning = 0;
};

// Fills the board dialog from the chip-information answer.
void FillFromChipInfo(CMotherBoard& dialog, QString output);
