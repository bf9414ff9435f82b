#include "files/MenuWnd.h"

#include "files/FileManager.h"
#include "files/core/FileTexts.h"

namespace ft = kz::files::text;

bool CMenuWnd::Init(QWidget* ownerControl, const QPoint& screenPoint)
{
    return Popup(ownerControl, screenPoint);
}

void CMenuWnd::OnCreate()
{
    if (!m_manager)
        return;
    kz::ui::SetControlText(FindControl(QStringLiteral("text_rename")), m_manager->Text(ft::Rename));
    kz::ui::SetControlText(FindControl(QStringLiteral("text_delete")), m_manager->Text(ft::Delete));
}

void CMenuWnd::Notify(kz::ui::TNotifyUI& msg)
{
    using namespace kz::ui;
    if (NotifyTypeIs(msg, kNotifyItemSelect)) {
        Close();
        return;
    }
    if (!NotifyTypeIs(msg, kNotifyItemClick))
        return;
    const QPointer<WindowImplBase> target(m_manager.data());
    if (SenderIs(msg, QStringLiteral("menu_rename")))
        WindowImplBase::PostMessageTo(target, WM_FM_RENAME);
    else if (SenderIs(msg, QStringLiteral("menu_delete")))
        WindowImplBase::PostMessageTo(target, WM_FM_DELETE);
}
