#include "app/MainFrame.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListView>

#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "platform/MessageBox.h"
#include "settings/AboutDlg.h"
#include "settings/ConfigDlg.h"
#include "ui/CallbackListModel.h"
#include "ui/GuiThread.h"
#include "ui/Markup.h"
#include "ui/RichTextDelegate.h"
#include "ui/RowListView.h"
#include "update/UpdateDlg.h"

namespace {
CMainFrame* g_mainFrame = nullptr;

// A modal child of the main window; About and update release themselves.
void RunModal(kz::ui::WindowImplBase& dialog, QWidget* parent, const QString& caption)
{
    dialog.Create(parent, caption);
    dialog.CenterWindow();
    dialog.ShowModal();
}
}

CMainFrame::CMainFrame(kz::MonitorSettings monitor, kz::DialogTimings dialogs)
    : m_monitor(monitor), m_dialogs(dialogs)
{
    g_mainFrame = this;
    m_quit = [] { QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection); };
}

CMainFrame::~CMainFrame()
{
    if (m_logModel)
        m_logModel->DetachOwner();
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

CMainFrame* CMainFrame::Instance()
{
    return g_mainFrame;
}

void CMainFrame::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyClick))
        OnClick(msg);
}

void CMainFrame::OnWindowInit()
{
    // The log only grows: its list measures each row once, when it arrives.
    kz::ui::ReplaceWithRowListView(FindControl<QListView>(QStringLiteral("list_log")));
    FindControls();
    if (m_listLog) {
        m_logModel = kz::ui::SetTextCallback(m_listLog, this);
        // Rows name their font by number (<f 2>): the numbers are the skin's.
        const kz::ui::MarkupContext context{QString(), kz::ui::FontTable::FromSkin(GetHWND())};
        m_listLog->setItemDelegate(new kz::ui::RichTextDelegate(context, m_listLog));
    }
    LoadLanguageTexts();
    // A U-disk left mounted by an earlier run is released first.
    RunShortCommand(QString::fromUtf8(kz::kUmountCommand));
    DetectDevice();
    StartDeviceTracker();
}

void CMainFrame::FindControls()
{
    m_textState = FindControl<QLabel>(QStringLiteral("text_state"));
    m_containerInfo = FindControl(QStringLiteral("container_info"));
    m_listLog = FindControl<QListView>(QStringLiteral("list_log"));
}

qintptr CMainFrame::HandleCustomMessage(uint msg, qintptr wParam, qintptr lParam, bool& handled)
{
    Q_UNUSED(wParam);
    Q_UNUSED(lParam);
    switch (msg) {
    case kz::ui::kWmNcLButtonDblClk:
        handled = true;
        break;
    case WM_MENU_SETTING:
        handled = true;
        {
            CConfig config(this);
            RunModal(config, GetHWND(), QStringLiteral("设置"));
        }
        break;
    case WM_MENU_ABOUT:
        handled = true;
        RunModal(*new CAbout, GetHWND(), QStringLiteral("关于"));
        break;
    case WM_MENU_UPDATE:
        handled = true;
        if (RequireDevice())
            RunModal(*new CUpdate(this), GetHWND(), QStringLiteral("升级"));
        break;
    case WM_MENU_LOG_FOLDER:
        handled = true;
        OpenRecordFolder();
        break;
    default:
        break;
    }
    return 0;
}

void CMainFrame::OnFinalMessage()
{
    StopDeviceTracker();  // else it would start the server again
    // The helper's own stop at destruction then has nothing left to do.
    if (!kz::ui::RunBlockingKeepingPaint([this] { m_adbHelper.StopServer(); }))
        m_adbHelper.StopServer();
    if (m_quit)
        m_quit();
}

QString CMainFrame::Text(const QString& key) const
{
    return m_ini.Text(m_strLanguage, key);
}

QString CMainFrame::Text(const char* key) const
{
    return Text(QString::fromUtf8(key));
}

void CMainFrame::StoreChipInfoAnswer(kz::ChipInfoReads::ReadId read, const kz::ClientAnswer& answer)
{
    m_chipReads.Store(read, answer);
    NoteAnswer(answer.output);
}

QString CMainFrame::RunShortCommand(const QString& command)
{
    return RunShortClient(command).output;
}

kz::ClientAnswer CMainFrame::RunShortClient(const QString& command)
{
    kz::ClientAnswer answer;
    if (!kz::ui::RunBlockingKeepingPaint([&] { answer = kz::RunAdbClient(command); }))
        answer = kz::ReportClientStartFailure("CreateThread Failed!");
    NoteAnswer(answer.output);
    return answer;
}

bool CMainFrame::RequireDevice()
{
    if (m_bDeviceConnected)
        return true;
    PromptBox(kz::text::NoDeviceFound);
    return false;
}

void CMainFrame::PromptBox(const char* key)
{
    kz::ShowMessageBox(GetHWND(), Text(key), Text(kz::text::Prompt));
}

