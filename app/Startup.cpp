#include "app/Startup.h"

#include <QApplication>
#include <QIcon>

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDir.h"
#include "platform/SingleInstance.h"
#include "platform/UsbHotplug.h"
#include "settings/ConfigDlgRestart.h"

namespace kz {

namespace {

const char kAlreadyRunning[] = "系统检测到您已经运行了该个程序。\r\n请退出另外一个程序再运行该程序！";

// The size the main window's skin is laid out for.
constexpr int kMainWindowWidth = 840;
constexpr int kMainWindowHeight = 600;

void StartHotplug(UsbHotplug& hotplug, CMainFrame& frame)
{
    QObject::connect(&hotplug, &UsbHotplug::deviceChanged, &frame,
                     [&frame](int event, const QString& name) { frame.OnDeviceChange(event, name); });
    // Without udev the program still works; only plugging in and out goes
    // unnoticed until the next start.
    if (!hotplug.Start())
        ShowMessageBox(nullptr, QStringLiteral("RegisterDeviceNotificationFailed"),
                       QString::fromUtf8(text::ChineseHint));
}

}  // namespace

int RunMainWindow()
{
    const QString title = QString::fromUtf8(text::WindowTitle);
    SingleInstance instance;
    // After a language change the old instance is still closing.
    const bool acquired = TakeRestartMark() ? instance.Acquire(title, kRestartWaitMs) : instance.TryAcquire(title);
    if (!acquired) {
        ShowMessageBox(nullptr, QString::fromUtf8(kAlreadyRunning), QStringLiteral("提示："));
        return 0;
    }
    CMainFrame frame;  // starts the adb server
    frame.Create(nullptr, title);
    QWidget* window = frame.GetHWND();
    window->setWindowIcon(QIcon(ProgramDirectory() + QStringLiteral("/skin/korvald-emmc.png")));
    window->resize(kMainWindowWidth, kMainWindowHeight);
    UsbHotplug hotplug;
    StartHotplug(hotplug, frame);
    frame.CenterWindow();
    frame.ShowWindow();
    QApplication::exec();
    return 0;
}

}  // namespace kz
