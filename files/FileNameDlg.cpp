#include "files/FileNameDlg.h"

#include <QLineEdit>

#include "device/ServerStartLines.h"
#include "link/Texts.h"
#include "files/FileManager.h"
#include "files/PickOwner.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
#include "files/core/NameRules.h"
#include "files/core/ShellName.h"
#include "platform/MessageBox.h"

namespace ft = kz::files::text;

CFileNameDlg::CFileNameDlg(CFileManager* manager) : m_manager(manager), m_lang(manager->Lang()) {}

CFileNameDlg::CFileNameDlg(CPickOwner* owner)
    : m_owner(owner), m_lang(owner ? owner->PickOwnerMainFrame() : nullptr)
{
}

void CFileNameDlg::Notify(kz::ui::TNotifyUI& msg)
{
    using namespace kz::ui;
    if (NotifyTypeIs(msg, kNotifyWindowInit))
        OnWindowInit();
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("closebtn")))
        Close(kResultCancel);
    else if (NotifyIs(msg, kNotifyClick, QStringLiteral("btn_ok")))
        OnOk();
}

void CFileNameDlg::OnWindowInit()
{
    QWidget* edit = FindControl(QStringLiteral("edit_filename"));
    m_hasEdit = edit != nullptr;
    // Return in the one field presses OK.
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        connect(line, &QLineEdit::returnPressed, this, [this] { OnOk(); });
    kz::ui::SetControlText(FindControl(QStringLiteral("text_title")), m_lang.Text(ft::EnterFileName));
    kz::ui::SetControlText(FindControl(QStringLiteral("btn_ok")), m_lang.Text(ft::Ok));
}

QWidget* CFileNameDlg::MessageOwner() const
{
    if (m_manager)
        return m_manager->GetHWND();
    return m_owner ? m_owner->PickOwnerWindow() : nullptr;
}

bool CFileNameDlg::Acceptable(const QString& name)
{
    const char* refusal = m_manager                           ? kz::files::NewNameRefusal(name)
                          : name.isEmpty()                    ? ft::NameEmptyEnterAgain
                          : !kz::files::IsShellSafeName(name) ? kz::files::UnsafeFileName
                                                              : nullptr;
    if (!refusal)
        return true;
    kz::ShowMessageBox(MessageOwner(), m_lang.Text(refusal), m_lang.Text(kz::text::Prompt));
    return false;
}

void CFileNameDlg::OnOk()
{
    if (!m_hasEdit)
        return;
    const QString name = kz::ui::GetControlText(FindControl(QStringLiteral("edit_filename")));
    if (!Acceptable(name))
        return;
    if (m_manager) {
        if (!Rename(name))
            return;
    } else if (m_owner) {
        m_owner->SetPickedName(name);
    }
    Close();
}

// Another listed file of that name is replaced only when the operator says
// so; a folder of that name would swallow the file and is refused.  In both
// cases the dialog stays open for another name.
bool CFileNameDlg::MayTake(const QString& oldName, const QString& newName)
{
    using kz::files::NameClash;
    const NameClash clash =
        kz::files::FindNameClash(m_manager->EntryNames(), m_manager->Folders(), oldName, newName);
    if (clash == NameClash::Folder) {
        m_manager->Prompt(ft::FolderExists);
        return false;
    }
    if (clash == NameClash::File) {
        return kz::ShowMessageBox(MessageOwner(), m_lang.Text(ft::ReplaceQuestion), m_lang.Text(kz::text::Prompt),
                                  kz::MsgButtons::YesNo, kz::MsgIcon::Question) == kz::MsgAnswer::Yes;
    }
    return true;
}

// False when the dialog stays open (the new name was not taken).
bool CFileNameDlg::Rename(const QString& newName)
{
    QString oldName;
    if (!m_manager->SelectedName(oldName))
        return true;
    if (!MayTake(oldName, newName))
        return false;
    const kz::ClientAnswer answer =
        m_manager->RunCommand(kz::files::RenameCommand(m_manager->Mode(), oldName, newName));
    const bool renamed = answer.started && kz::IsEmptyAnswer(answer.output);
    m_manager->RecordOutcome(QStringLiteral("rename"), renamed, renamed ? ft::RenameOk : ft::RenameFailed, answer,
                             {{QStringLiteral("file"), oldName}, {QStringLiteral("newName"), newName}});
    if (renamed) {
        m_manager->Prompt(ft::RenameOk);
        m_manager->RefreshList();
    } else {
        m_manager->Prompt(ft::RenameFailed);
    }
    return true;
}
