// Delete and rename of the selected file, requested by the shortcut menu.
#include "files/FileManager.h"

#include "device/ServerStartLines.h"
#include "link/Texts.h"
#include "files/FileNameDlg.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"
#include "platform/MessageBox.h"

namespace ft = kz::files::text;

void CFileManager::OnDeleteRequested()
{
    QString name;
    if (!SelectedName(name)) {
        Prompt(ft::FileNotSelected);
        return;
    }
    const QString command = kz::files::DeleteCommand(m_mode, name);
    if (command.isEmpty())
        return;
    if (!kz::files::IsShellSafeName(name)) {
        Prompt(kz::files::UnsafeFileName);
        return;
    }
    const kz::MsgAnswer answer = kz::ShowMessageBox(GetHWND(), Text(ft::DeleteQuestion), Text(ft::DeleteCaption),
                                                    kz::MsgButtons::YesNo, kz::MsgIcon::Question);
    if (answer != kz::MsgAnswer::Yes)
        return;
    // A client that did not start printed nothing either: no success then.
    const kz::ClientAnswer removal = RunCommand(command);
    const bool removed = removal.started && kz::IsEmptyAnswer(removal.output);
    RecordOutcome(QStringLiteral("delete"), removed, removed ? ft::DeleteOk : ft::DeleteFailed, removal,
                  {{QStringLiteral("file"), name}});
    if (removed) {
        RefreshList();
        Prompt(ft::DeleteOk);
    } else {
        Prompt(ft::DeleteFailed);
    }
}

void CFileManager::RecordOutcome(const QString& operation, bool ok, const char* key, const kz::ClientAnswer& answer,
                                 const QJsonObject& names)
{
    std::vector<kz::LogNote> notes = kz::VerdictNotes(ok, Text(key), key, operation,
                                                      answer.started ? answer.output : answer.failure);
    notes.front().tag.extra = names;
    m_log.RecordOnly(std::move(notes));
}

void CFileManager::OnRenameRequested()
{
    QString name;
    if (!SelectedName(name)) {
        Prompt(ft::FileNotSelected);
        return;
    }
    if (!kz::files::IsShellSafeName(name)) {
        Prompt(kz::files::UnsafeFileName);
        return;
    }
    auto* dialog = new CFileNameDlg(this);
    dialog->Create(GetHWND(), QString::fromUtf8(ft::NameDialogCaption));
    dialog->CenterWindow();
    dialog->ShowModal();
}
