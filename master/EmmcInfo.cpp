#include "master/EmmcInfo.h"

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "master/core/ReadUserRow.h"

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
    // The box ends its lines with CR CR LF, which a text control would show
    // as a blank line after every line: one line per line, as READ USER shows.
    kz::ui::SetControlText(FindControl(QStringLiteral("edit_emmcinfo")), kz::master::ReadUserRowText(m_text));
    if (m_owner)
        kz::ui::SetControlText(FindControl(QStringLiteral("text_title")), m_owner->Text(kz::text::ChipInfoTitle));
}
