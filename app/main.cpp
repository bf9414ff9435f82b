#include <QApplication>

#include "app/Startup.h"
#include "platform/MessageBox.h"
#include "ui/GuiMessageService.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Wayland compositors find the task bar's name and icon by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvald-emmc"));
    // The window's own close ends the program (after stopping the adb
    // server), not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    static kz::ui::GuiMessageService messages;
    kz::SetMessageService(&messages);
    const int code = kz::RunMainWindow();
    kz::SetMessageService(nullptr);
    return code;
}
