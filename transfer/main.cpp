// FTPClient: moves files between this PC and the box, started beside the
// program by the main window's "Connect Ftp Server" (or on its own).
#include <QApplication>
#include <QStandardPaths>

#include "link/OperatorRecord.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDir.h"
#include "settings/Ini.h"
#include "settings/Language.h"
#include "transfer/TransferWnd.h"
#include "ui/GuiMessageService.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    static kz::ui::GuiMessageService messages;
    kz::SetMessageService(&messages);
    CIni ini;
    const kz::LanguageBinding binding = kz::LoadLanguageBinding(kz::ProgramDirectory(), ini);
    CTransferWnd::Seams seams;
    seams.settingsFile = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/korvald-emmc/transfer.ini");
    seams.recordFolder = kz::DefaultRecordFolder();
    auto* window = new CTransferWnd(ini, binding.language, std::move(seams));
    window->Create(nullptr, window->Text("File Transfer"));
    window->CenterWindow();
    window->ShowModal();
    // A transfer still running when the window closed is cancelled: its
    // client ends and its part file goes before the program does.
    window->Cancel();
    while (window->Busy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    delete window;
    kz::SetMessageService(nullptr);
    return 0;
}
