#include "app/MainMenuWnd.h"

#include "app/MainFrame.h"
#include "link/Texts.h"

void CMainMenuWnd::OnCreate()
{
    kz::ui::SetControlText(FindControl(QStringLiteral("text_setting")), m_owner->Text("setting"));
    kz::ui::SetControlText(FindControl(QStringLiteral("text_about")), m_owner->Text("about"));
    kz::ui::SetControlText(FindControl(QStringLiteral("text_update")), m_owner->Text("update"));
    kz::ui::SetControlText(FindControl(QStringLiteral("text_logfolder")), m_owner->Text(kz::text::LogFolder));
}

void CMainMenuWnd::Notify(kz::ui::TNotifyUI& msg)
{
    if (!kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyItemClick))
        return;
    // Item names are matched exactly, unlike the main window's buttons.
    uint message = 0;
    if (msg.senderName == QLatin1String("menu_setting"))
        message = WM_MENU_SETTING;
    else if (msg.senderName == QLatin1String("menu_about"))
        message = WM_MENU_ABOUT;
    else if (msg.senderName == QLatin1String("menu_update"))
        message = WM_MENU_UPDATE;
    else if (msg.senderName == QLatin1String("menu_logfolder"))
        message = WM_MENU_LOG_FOLDER;
    if (message == 0)
        return;
    m_owner->PostMessage(message);
    Close();
}
