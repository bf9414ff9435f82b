// Dispatch of the board dialog's notifications and its page switching.
#include <QAbstractButton>
#include <QStackedWidget>

#include "board/BoardWorker.h"
#include "board/MotherBoard.h"
#include "board/core/BoardCommands.h"
#include "files/core/FileManagerMode.h"

namespace {

using kz::ui::NotifyTypeIs;
using kz::ui::SenderIs;

bool Is(const kz::ui::TNotifyUI& msg, const char* name)
{
    return SenderIs(msg, QString::fromUtf8(name));
}

// Shows page of tab unless it is already shown; true when it changed.
bool SelectPage(QStackedWidget* tab, int page)
{
    if (!tab || page < 0 || page >= tab->count() || tab->currentIndex() == page)
        return false;
    tab->setCurrentIndex(page);
    return true;
}

}  // namespace

void CMotherBoard::Notify(kz::ui::TNotifyUI& msg)
{
    if (NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        InitControls();
    else if (NotifyTypeIs(msg, kz::ui::kNotifyClick))
        OnClick(msg);
    else if (NotifyTypeIs(msg, kz::ui::kNotifySelectChanged))
        OnSelectChanged(msg);
    else if (NotifyTypeIs(msg, kz::ui::kNotifyItemSelect))
        OnItemSelect(msg);
}

void CMotherBoard::OnClick(const kz::ui::TNotifyUI& msg)
{
    using kz::board::BootSetting;
    if (Is(msg, "btn_browseuserpartition") || Is(msg, "btn_writeuserpartition")) {
        if (QWidget* row = ClickedRow(msg))
            Is(msg, "btn_browseuserpartition") ? BrowseUserRow(row) : WriteUserRow(row);
    } else if (Is(msg, "closebtn")) {
        Close(kz::ui::kResultOk);
    } else if (Is(msg, "btn_partitionselected")) {
        ApplyBootSetting(BootSetting::PartitionEnable, "btn_partitionselected", "comb_partitionselected");
    } else if (Is(msg, "btn_ack")) {
        ApplyBootSetting(BootSetting::Ack, "btn_ack", "comb_ack");
    } else if (Is(msg, "btn_bootmode")) {
        ApplyBootSetting(BootSetting::Mode, "btn_bootmode", "comb_bootmode");
    } else if (Is(msg, "btn_buswidth")) {
        ApplyBootSetting(BootSetting::BusWidth, "btn_buswidth", "comb_buswidth");
    } else if (Is(msg, "btn_browseboot1") || Is(msg, "btn_browseboot2")) {
        BrowseBoot(Is(msg, "btn_browseboot1") ? 1 : 2);
    } else if (Is(msg, "btn_readboot1") || Is(msg, "btn_readboot2")) {
        ReadBoot(Is(msg, "btn_readboot1") ? 1 : 2);
    } else if (Is(msg, "btn_writeboot1") || Is(msg, "btn_writeboot2")) {
        WriteBoot(Is(msg, "btn_writeboot1") ? 1 : 2);
    } else if (Is(msg, "btn_ok")) {
        BuildUserRows();
    } else if (Is(msg, "btn_userread")) {
        ReadUserArea();
    }
}

void CMotherBoard::OnSelectChanged(const kz::ui::TNotifyUI& msg)
{
    auto* pages = FindControl<QStackedWidget>(QStringLiteral("tab_motherboard"));
    if (Is(msg, "option_info"))
        SelectPage(pages, 0);
    else if (Is(msg, "option_write"))
        SelectPage(pages, 1);
    else if (Is(msg, "option_boot1_udisk") || Is(msg, "option_boot1_sdcard"))
        m_shared->boot1Source = Is(msg, "option_boot1_udisk") ? SOURCE_BOOT_UDISK : SOURCE_BOOT_SDCARD;
    else if (Is(msg, "option_boot2_udisk") || Is(msg, "option_boot2_sdcard"))
        m_shared->boot2Source = Is(msg, "option_boot2_udisk") ? SOURCE_BOOT_UDISK : SOURCE_BOOT_SDCARD;
    else if (msg.senderName.contains(QLatin1String("option_user_udisk")) ||
             msg.senderName.contains(QLatin1String("option_user_sdcard")))
        ChooseRowSource(msg);
}

void CMotherBoard::OnItemSelect(const kz::ui::TNotifyUI& msg)
{
    if (Is(msg, "comb_chippartitioin"))
        SelectChipWritePage(int(msg.wParam));
    else if (Is(msg, "comb_userpartition"))
        SelectUserPage(int(msg.wParam));
}

// Boot page: the row-count controls and the sub-page combo belong to the
// user page and hide with it.
void CMotherBoard::SelectChipWritePage(int page)
{
    if (page != 0 && page != 1)
        return;
    if (!SelectPage(FindControl<QStackedWidget>(QStringLiteral("tab_chipwrite")), page))
        return;
    ShowRowCountControls(page == 1);
    if (QWidget* combo = FindControl(QStringLiteral("comb_userpartition")))
        combo->setVisible(page == 1);
}

void CMotherBoard::SelectUserPage(int page)
{
    if (page != 0 && page != 1)
        return;
    if (!SelectPage(FindControl<QStackedWidget>(QStringLiteral("tab_userpartition")), page))
        return;
    ShowRowCountControls(page == 0);
    if (QWidget* combo = FindControl(QStringLiteral("comb_userpartition")); combo && page == 0)
        combo->setVisible(true);
}

void CMotherBoard::ShowRowCountControls(bool show)
{
    for (const QString& name :
         {QStringLiteral("text_filenum"), QStringLiteral("edit_filenum"), QStringLiteral("btn_ok")}) {
        if (QWidget* control = FindControl(name))
            control->setVisible(show);
    }
}
