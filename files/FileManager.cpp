#include "files/FileManager.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QTreeView>

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "device/AdbRunner.h"
#include "files/MenuWnd.h"
#include "files/PickOwner.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"
#include "platform/MessageBox.h"
#include "ui/GuiThread.h"

namespace ft = kz::files::text;

namespace {
QString Name(const char* name) { return QString::fromLatin1(name); }
}  // namespace

CFileManager::CFileManager(CMainFrame* main, int mode)
    : m_mode(mode), m_main(main), m_log(main ? main->Outcomes() : kz::OutcomeLog()), m_lang(main),
      m_adb(std::make_shared<CAdbHelper>())
{
}

CFileManager::CFileManager(int mode, CPickOwner* owner)
    : m_mode(mode),
      m_owner(owner),
      m_log(owner && owner->PickOwnerMainFrame() ? owner->PickOwnerMainFrame()->Outcomes() : kz::OutcomeLog()),
      m_lang(owner ? owner->PickOwnerMainFrame() : nullptr),
      m_adb(std::make_shared<CAdbHelper>())
{
}

CFileManager::~CFileManager()
{
    if (m_model)
        m_model->DetachOwner();
}

// Released here, so the adb server stops as the window closes (a copy still
// running keeps it until the copy ends).
void CFileManager::OnFinalMessage()
{
    delete this;
}

void CFileManager::Notify(kz::ui::TNotifyUI& msg)
{
    using namespace kz::ui;
    if (NotifyTypeIs(msg, kNotifyWindowInit))
        OnWindowInit();
    else if (NotifyTypeIs(msg, kNotifyClick))
        OnClick(msg);
    else if (NotifyIs(msg, kNotifyMenu, Name("file")))
        OpenShortcutMenu(msg);
}

void CFileManager::OnClick(const kz::ui::TNotifyUI& msg)
{
    if (kz::ui::SenderIs(msg, Name("closebtn")))
        Close();
    else if (kz::ui::SenderIs(msg, Name("btn_copy"))) {
        if (kz::files::IsPickMode(m_mode))
            Close(kz::ui::kResultCancel);
        else
            StartCopy();
    } else if (kz::ui::SenderIs(msg, Name("btn_ok")))
        OnOk();
}

qintptr CFileManager::HandleCustomMessage(uint msg, qintptr, qintptr, bool& handled)
{
    if (msg == WM_FM_DELETE) {
        handled = true;
        OnDeleteRequested();
    } else if (msg == WM_FM_RENAME) {
        handled = true;
        OnRenameRequested();
    }
    return 0;
}

void CFileManager::OnWindowInit()
{
    m_list = FindControl<QAbstractItemView>(Name("file"));
    m_model = kz::ui::SetTextCallback(m_list, this, 3);
    SetHeaderTexts();
    if (kz::files::IsPickMode(m_mode)) {
        kz::ui::SetControlText(FindControl(Name("text_title")), Text(ft::SelectFile));
        kz::ui::SetControlText(FindControl(Name("text_tip")), Text(ft::SelectFile));
        kz::ui::SetControlText(FindControl(Name("btn_copy")), Text(ft::Cancel));
        kz::ui::SetControlText(FindControl(Name("btn_ok")), Text(ft::Ok));
    } else {
        kz::ui::SetControlText(FindControl(Name("btn_copy")), Text(ft::Copy));
    }
    RefreshList();
}

// The skin names the columns "listhead_name", "listhead_date" and
// "listhead_size" in the order the rows give their cells.
void CFileManager::SetHeaderTexts()
{
    if (!m_model)
        return;
    QStringList names = m_list->property("kzColumnNames").toString().split(u',', Qt::SkipEmptyParts);
    if (names.size() != 3)
        names = {Name("listhead_name"), Name("listhead_date"), Name("listhead_size")};
    QStringList headers;
    for (const QString& name : names) {
        const QString n = name.trimmed();
        headers << (n == QLatin1String("listhead_name")   ? Text(ft::Name)
                    : n == QLatin1String("listhead_size") ? Text(ft::Size)
                                                          : Text(ft::DateModified));
    }
    m_model->SetHeaders(headers);
    if (auto* tree = qobject_cast<QTreeView*>(m_list.data())) {
        const QStringList widths = tree->property("kzColumnWidths").toString().split(u',');
        for (int i = 0; i < widths.size() && i < 3; ++i) {
            if (const int w = widths[i].toInt(); w > 0)
                tree->setColumnWidth(i, w);
        }
    }
}

void CFileManager::RefreshList()
{
    m_entries.clear();
    m_folders.clear();
    if (m_model)
        m_model->SetRowCount(0);
    const QString command = kz::files::ListCommand(m_mode);
    if (command.isEmpty())
        return;
    ShowModeControls();
    LoadListing(command);
    if (m_model)
        m_model->SetRowCount(int(m_entries.size()));
}

void CFileManager::ShowModeControls()
{
    auto set = [this](const char* name, const char* key) { kz::ui::SetControlText(FindControl(Name(name)), Text(key)); };
    auto show = [this](const char* name, bool visible) {
        if (QWidget* w = FindControl(Name(name)))
            w->setVisible(visible);
    };
    const bool udisk = kz::files::IsUdiskMode(m_mode);
    if (kz::files::IsCopyMode(m_mode)) {
        set("text_title", udisk ? ft::CopyToSdcardTitle : ft::CopyToUdiskTitle);
        set("text_tip", udisk ? ft::SelectUdiskFile : ft::SelectSdcardFile);
        set("text_name", ft::TargetFileName);
        if (QWidget* tip = FindControl(Name("text_tip")))
            tip->setMaximumWidth(250);
        show("edit_name", !udisk);
        show("comb_name", udisk);
        return;
    }
    set("text_title", udisk ? ft::Udisk : ft::Sdcard);
    show("text_tip", false);
    show("text_name", false);
    show("comb_name", false);
    show("edit_name", false);
    show("btn_copy", true);
    show("btn_ok", true);
}

bool CFileManager::LoadListing(const QString& command)
{
    const kz::ClientAnswer answer = RunCommand(command);
    if (!answer.started)
        return false;
    if (const char* error = kz::files::ListingErrorKey(answer.output)) {
        Prompt(error);
        return false;
    }
    kz::files::Listing listing = kz::files::ParseListingAndFolders(answer.output);
    m_entries = std::move(listing.entries);
    m_folders = std::move(listing.folders);
    // A storage the box could not read ("/mnt/udisk: I/O error") is no empty
    // folder: what could be listed is shown, with the box's words.
    const QString words = kz::files::ListingOtherLines(answer.output).remove(u'\r').trimmed();
    if (!words.isEmpty())
        kz::ShowMessageBox(GetHWND(), Text(ft::FolderUnreadable) + u'\n' + words, Text(kz::text::Prompt));
    return words.isEmpty();
}

QString CFileManager::GetItemText(int row, int column)
{
    if (row < 0 || row >= m_entries.size())
        return {};
    const kz::files::FileEntry& e = m_entries.at(row);
    switch (column) {
    case 0:
        return e.name;
    case 1:
        return e.date;
    case 2:
        return e.size;
    default:
        return {};
    }
}

QStringList CFileManager::EntryNames() const
{
    QStringList names;
    for (const kz::files::FileEntry& e : m_entries)
        names << e.name;
    return names;
}

int CFileManager::SelectedRow() const
{
    if (!m_list || !m_list->selectionModel())
        return -1;
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= m_entries.size())
        return -1;
    return rows.first().row();
}

bool CFileManager::SelectedName(QString& name) const
{
    const int row = SelectedRow();
    if (row < 0)
        return false;
    name = m_entries.at(row).name;
    return true;
}

void CFileManager::Prompt(const char* key)
{
    kz::ShowMessageBox(GetHWND(), Text(key), Text(kz::text::Prompt));
}

kz::ClientAnswer CFileManager::RunCommand(const QString& command)
{
    kz::ClientAnswer answer;
    if (!kz::ui::RunBlockingKeepingPaint([&] { answer = kz::RunAdbClient(command); }))
        answer = kz::ReportClientStartFailure("CreateThread Failed!");
    return answer;
}

// Pick modes hand the selected file's name to the owner.
void CFileManager::OnOk()
{
    QString name;
    if (!SelectedName(name)) {
        Prompt(ft::FileNotSelected);
        return;
    }
    if (!kz::files::IsPickMode(m_mode))
        return;
    if (!kz::files::IsShellSafeName(name)) {
        Prompt(kz::files::UnsafeFileName);
        return;
    }
    if (!name.isEmpty() && m_owner)
        m_owner->SetPickedName(name);
    Close();
}

void CFileManager::OpenShortcutMenu(const kz::ui::TNotifyUI& msg)
{
    if (m_entries.isEmpty() || SelectedRow() < 0)
        return;
    auto* menu = new CMenuWnd;
    menu->SetFileManager(this);
    menu->Init(msg.pSender, msg.ptMouse);
}

void CFileManager::ShowCopyRunning(bool running)
{
    if (auto* bar = FindControl<QProgressBar>(Name("progress_copy")); bar && running)
        bar->setVisible(true);
    if (QWidget* button = FindControl(Name("btn_copy")))
        button->setEnabled(!running);
}

void CFileManager::SetCopyProgress(int percent, const QString& text)
{
    if (auto* bar = FindControl<QProgressBar>(Name("progress_copy"))) {
        bar->setValue(percent);
        bar->setFormat(text);
    }
}
