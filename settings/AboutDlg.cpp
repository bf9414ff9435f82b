#include "settings/AboutDlg.h"

#include "platform/OpenUrl.h"

QString CAbout::WebSiteAddress()
{
    return QStringLiteral("https://www.korvald.example/");
}

void CAbout::Notify(kz::ui::TNotifyUI& msg)
{
    if (!kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyClick))
        return;
    if (kz::ui::SenderIs(msg, QStringLiteral("closebtn")) || kz::ui::SenderIs(msg, QStringLiteral("btn_ok")))
        Close(kz::ui::kResultOk);
    else if (kz::ui::SenderIs(msg, QStringLiteral("btn_connectme")))
        kz::OpenUrl(WebSiteAddress());  // the browser reports its own failures
}
