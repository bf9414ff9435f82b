#include "master/EmmcInfo.h"

#include "app/MainFrame.h"
#include "app/core/Texts.h"

CEmmcInfo::CEmmcInfo(CMainFrame* owner, QString text) : m_owner(owner), m_text(std::move(text)) {}

void CEmmcInfo::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else
        WindowImplBase::Notify(msg);  // "closebtn" closes, "minbtn" minimises
}

void CEmmcInfo::OnWindowInit()
{
    kz::ui::SetControlText(FindControl(QStringLiteral("edit_emmcinfo")), m_text);
    if (m_owner)
        kz::ui::SetControlText(FindControl(QStringLiteral("text_title")), m_owner->Text(kz::text::ChipInfoTitle));
}
