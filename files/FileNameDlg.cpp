#include "files/FileNameDlg.h"

#include "app/core/ServerStartLines.h"
#include "app/core/Texts.h"
#include "files/FileManager.h"
#include "files/PickOwner.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
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
    m_hasEdit = FindControl(QStringLiteral("edit_filename")) != nullptr;
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
    const char* refusal = name.isEmpty()                       ? ft::NameEmptyEnterAgain
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
    if (m_manager)
        Rename(name);
    else if (m_owner)
        m_owner->SetPickedName(name);
    Close();
}

void CFileNameDlg::Rename(const QString& newName)
{
    QString oldName;
    if (!m_manager->SelectedName(oldName))
        return;
    const QString output =
        m_manager->RunCommand(kz::files::RenameCommand(m_manager->Mode(), oldName, newName));
    if (kz::IsEmptyAnswer(output)) {
        m_manager->Prompt(ft::RenameOk);
        m_manager->RefreshList();
    } else {
        m_manager->Prompt(ft::RenameFailed);
    }
}
