// What each button of the main window does.
#include "app/MainFrame.h"

#include <QPushButton>

#include "app/MainMenuWnd.h"
#include "app/core/FtpClient.h"
#include "link/Texts.h"
#include "board/RunMotherBoard.h"
#include "files/FileManager.h"
#include "master/EmmcInfo.h"
#include "master/Loading.h"
#include "master/Mtx.h"
#include "master/ReadUser.h"
#include "platform/MessageBox.h"

namespace {
bool Is(const kz::ui::TNotifyUI& msg, const char* name)
{
    return kz::ui::SenderIs(msg, QString::fromUtf8(name));
}
}  // namespace

void CMainFrame::OnClick(const kz::ui::TNotifyUI& msg)
{
    if (Is(msg, "closebtn") || Is(msg, "btn_exit"))
        Close();
    else if (Is(msg, "minbtn"))
        SendMessage(kz::ui::kWmSysCommand, kz::ui::kScMinimize);
    else if (Is(msg, "menubtn"))
        OpenMainMenu();
    else if (Is(msg, "btn_readInfo")) {
        if (!RequireDevice())
            return;
        if (const std::optional<QString> report = ReadChipInfo())
            ShowChipInfo(*report);
    } else if (Is(msg, "btn_readuser")) {
        if (RequireDevice())
            RunReadUserDialog(this);
    } else if (Is(msg, "btn_motherBoard")) {
        if (!RequireDevice())
            return;
        if (const std::optional<QString> report = ReadChipInfo())
            RunMotherBoardDialog(this, *report);
    } else if (Is(msg, "btn_mtx")) {
        if (RequireDevice())
            RunMtxFlow();
    } else if (Is(msg, "btn_copytoUdisk")) {
        if (RequireDevice()) {
            MountUdisk();
            OpenFileManager(this, COPY_SDCARD_TO_UDISK);
        }
    } else if (Is(msg, "btn_copytoSDcard")) {
        if (RequireDevice() && MountUdisk())
            OpenFileManager(this, COPY_UDISK_TO_SDCARD);
    } else if (Is(msg, "btn_connectFTP"))
        kz::StartFtpClient();
    else if (Is(msg, "btn_reboot")) {
        if (RequireDevice())
            Reboot();
    }
}

void CMainFrame::OpenMainMenu()
{
    auto* button = FindControl(QStringLiteral("menubtn"));
    if (!button)
        return;
    const QRect r = button->geometry();
    const QPoint at = button->parentWidget()->mapToGlobal(QPoint(r.left() - 5, r.bottom() - 5));
    auto* menu = new CMainMenuWnd(this);
    menu->Popup(button, at);
}

std::optional<QString> CMainFrame::ReadChipInfo()
{
    CLoading loading(this, m_dialogs.loading);
    loading.Create(GetHWND(), QStringLiteral("母片制作"));
    loading.CenterWindow();
    loading.ShowModal();
    const kz::ChipReadVerdict verdict = kz::JudgeChipRead(m_chipReads.AnswerOf(loading.Read()));
    if (verdict.kind == kz::ChipReadVerdict::Report) {
        RecordChip(verdict.text);
        return verdict.text;
    }
    if (verdict.kind == kz::ChipReadVerdict::Error)
        kz::ShowMessageBox(GetHWND(), Text(verdict.text), Text(kz::text::Prompt));
    return std::nullopt;
}

void CMainFrame::ShowChipInfo(const QString& report)
{
    CEmmcInfo info(this, report);
    info.Create(GetHWND(), QStringLiteral("eMMC芯片信息"));
    info.CenterWindow();
    info.ShowModal();
}

void CMainFrame::RunMtxFlow()
{
    LogKey(kz::LOG_TIP, kz::text::MtxHint, QStringLiteral("mtx"));
    if (!MountUdisk())
        return;
    const kz::MsgAnswer answer = kz::ShowMessageBox(GetHWND(), Text(kz::text::ConfirmMaster), Text(kz::text::Prompt),
                                                    kz::MsgButtons::YesNo, kz::MsgIcon::Question);
    if (answer == kz::MsgAnswer::Yes)
        RunMtxDialog(this);
}
