#include "master/ReadUser.h"

#include <QListView>

#include "app/MainFrame.h"
#include "master/core/MasterTexts.h"
#include "master/core/ReadUserRow.h"
#include "master/core/ReadUserVerdict.h"
#include "ui/CallbackListModel.h"

namespace text = kz::master::text;

CReadUser::CReadUser(CMainFrame* owner) : CStreamingDialog(owner) {}

CReadUser::~CReadUser()
{
    if (m_model)
        m_model->DetachOwner();
}

CStreamingDialog::RunPlan CReadUser::Plan() const
{
    return {kz::master::kReadUserCommand, kz::master::kReadUserChunkBytes, text::ReadUserTitle, text::Reading};
}

void CReadUser::InitControls()
{
    m_list = FindControl<QListView>(QStringLiteral("list_output"));
    m_model = kz::ui::SetTextCallback(m_list, this, 1);
}

QString CReadUser::GetItemText(int row, int column)
{
    if (column != 0 || row < 0 || row >= m_rows.size())
        return QString();
    return kz::master::ReadUserRowDisplay(m_rows.at(row));
}

void CReadUser::OnPiece(const QString& piece)
{
    m_output += piece;
    m_rows << kz::master::ReadUserRowText(piece);
    if (!m_model)
        return;
    m_model->AppendRow();
    kz::ui::ScrollToNewest(m_list);
}

void CReadUser::OnFinished()
{
    const kz::master::ReadUserVerdict verdict = kz::master::JudgeReadUserOutput(m_output);
    const QByteArray failKey = verdict.message.isEmpty() ? QByteArray(text::Failed) : verdict.message.toUtf8();
    RecordOutcome(QStringLiteral("read-user"), verdict.ok, verdict.ok ? text::Successfully : failKey.constData(),
                  m_output);
    kz::ui::SetControlText(OkButton(), Text(text::Ok));
}

void RunReadUserDialog(CMainFrame* owner)
{
    CReadUser dialog(owner);
    dialog.Create(owner ? owner->GetHWND() : nullptr, QStringLiteral("READ USER"));
    dialog.CenterWindow();
    dialog.ShowModal();
}
